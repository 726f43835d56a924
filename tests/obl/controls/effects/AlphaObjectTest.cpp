#include "obl/controls/effects/OBLAlphaObject.h"
#include "PixelFixture.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

namespace {

// The half blend of the fixture over grey 100 (each byte 100 + round((b - 100) / 2),
// halves to even), the whole 4 x 3 including the last row and column.
Rows HalfOverGrey()
{
    return {{50, 50, 178, 50, 178, 50, 178, 50, 50, 178, 178, 178},
            {55, 60, 65, 70, 75, 80, 85, 90, 95, 50, 50, 50},
            {50, 51, 52, 114, 114, 114, 175, 52, 100, 52, 175, 150}};
}

void GreyBrush(TOBLAlphaObject& alpha)
{
    alpha.FillObject()->SetFillStyle(sfBrush);
    alpha.FillObject()->Brush()->SetColor(static_cast<TColor>(RGB(100, 100, 100)));
}

TEST(AlphaObject, EnabledNeedsAFillAndAStrengthBelowOne)
{
    TOBLAlphaObject alpha;
    // The fill object starts without a fill, so a new alpha object blends nothing.
    EXPECT_EQ(alpha.FillObject()->Style(), sfNone);
    EXPECT_FLOAT_EQ(alpha.Strength(), 0.6f);
    EXPECT_FALSE(alpha.Enabled());
    alpha.FillObject()->SetFillStyle(sfBrush);
    EXPECT_TRUE(alpha.Enabled());
    alpha.SetStrength(1.0f);
    EXPECT_FALSE(alpha.Enabled());
    alpha.FillObject()->SetFillStyle(sfNone);
    alpha.SetStrength(0.2f);
    EXPECT_FALSE(alpha.Enabled());
}

TEST(AlphaObject, StrengthOutsideZeroToOneIsHeldAtTheEnds)
{
    TOBLAlphaObject alpha;
    ChangeCounter counter(alpha);
    alpha.SetStrength(3.0f);
    EXPECT_FLOAT_EQ(alpha.Strength(), 1.0f);
    alpha.SetStrength(1.5f);
    EXPECT_EQ(counter.count, 1) << "held at the same end: no change";
    alpha.SetStrength(-0.5f);
    EXPECT_FLOAT_EQ(alpha.Strength(), 0.0f);
    EXPECT_EQ(counter.count, 2);
}

TEST(AlphaObject, SummaryUsesAPointWhateverTheSettings)
{
    TOBLAlphaObject alpha;
    EXPECT_EQ(alpha.GetSetStr(), "{Disabled}");
    alpha.FillObject()->SetFillStyle(sfGradient);
    EXPECT_EQ(alpha.GetSetStr(), "{Enabled (grad), strength: 0.600}");
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    TFormatSettingsOverride local(comma);
    alpha.FillObject()->SetFillStyle(sfBitmapList);
    alpha.SetStrength(0.125f);
    EXPECT_EQ(alpha.GetSetStr(), "{Enabled (bmp), strength: 0.125}");
    alpha.FillObject()->SetFillStyle(sfBrush);
    EXPECT_EQ(alpha.GetSetStr(), "{Enabled (brush), strength: 0.125}");
    alpha.FillObject()->SetFillStyle(sfBrushBitmap);
    EXPECT_EQ(alpha.GetSetStr(), "{Enabled (), strength: 0.125}");
}

TEST(AlphaObject, BlendsTheFillOverTheWholeBitmap)
{
    TOBLAlphaObject alpha;
    GreyBrush(alpha);
    alpha.SetStrength(0.5f);
    auto bitmap = Make24(Fixture());
    alpha.AlphaBlend(bitmap.get());
    EXPECT_EQ(Bytes(bitmap.get()), HalfOverGrey());
}

TEST(AlphaObject, ABitmapOfAnotherFormatBecomes24Bit)
{
    TOBLAlphaObject alpha;
    GreyBrush(alpha);
    alpha.SetStrength(0.0f);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetMonochrome(true);
    bitmap->SetSize(5, 2);
    alpha.AlphaBlend(bitmap.get());
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(Bytes(bitmap.get()), Bytes(Solid24(5, 2, 100, 100, 100).get()));
}

TEST(AlphaObject, NoFillLeavesTheBitmapAlone)
{
    TOBLAlphaObject alpha;
    auto bitmap = Make24(Fixture());
    alpha.AlphaBlend(bitmap.get());
    EXPECT_EQ(Bytes(bitmap.get()), Fixture());
}

TEST(AlphaObject, ControlBlendCopiesTheBlendedAreaToTheCanvas)
{
    TOBLAlphaObject alpha;
    GreyBrush(alpha);
    alpha.SetStrength(0.5f);
    auto source = Make24(Fixture());
    auto target = Solid24(4, 3, 9, 9, 9);
    // Source rectangle: the right half; area (1, 1, 2, 3) of it lands at (0, 0, 1, 2).
    alpha.ControlBlend(source.get(), Rect(2, 0, 4, 3), Rect(1, 1, 2, 3), target->Canvas(), Rect(0, 0, 1, 2));
    Rows rows = Bytes(target.get());
    Rows half = HalfOverGrey();
    EXPECT_EQ(std::vector<BYTE>(rows[0].begin(), rows[0].begin() + 3), std::vector<BYTE>(half[1].begin() + 9, half[1].end()));
    EXPECT_EQ(std::vector<BYTE>(rows[1].begin(), rows[1].begin() + 3), std::vector<BYTE>(half[2].begin() + 9, half[2].end()));
    EXPECT_EQ(std::vector<BYTE>(rows[2].begin(), rows[2].begin() + 3), (std::vector<BYTE>{9, 9, 9}));
    EXPECT_EQ(Bytes(source.get()), Fixture());
}

TEST(AlphaObject, AssignCopiesEverythingAndNotifiesOnceAtTheEnd)
{
    TOBLAlphaObject source;
    source.FillObject()->SetFillStyle(sfGradient);
    source.SetStrength(0.3f);
    source.SetIndex(0, 4);
    source.SetIndex(1, 2);
    source.SetTransparent(true);
    TOBLAlphaObject target;
    float seen = -1;
    struct Listener : TObject {
        TOBLAlphaObject* watched;
        float* seen;
        int count = 0;
        void Changed(TObject*)
        {
            ++count;
            *seen = watched->Strength();
        }
    } listener;
    listener.watched = &target;
    listener.seen = &seen;
    target.SetOnChange(TNotifyEvent(&listener, &Listener::Changed));
    target.Assign(&source);
    EXPECT_EQ(listener.count, 1);
    EXPECT_FLOAT_EQ(seen, 0.3f) << "the listener sees the copied strength";
    EXPECT_EQ(target.FillObject()->Style(), sfGradient);
    EXPECT_EQ(target.ImageIndex(), 4);
    EXPECT_EQ(target.ListIndex(), 2);
    EXPECT_TRUE(target.Transparent());
    target.SetOnChange(TNotifyEvent());
}

TEST(AlphaObject, AnIndexWithoutAPictureClearsTheListBitmap)
{
    TOBLAlphaObject alpha;
    auto picture = Solid24(3, 3, 1, 2, 3);
    alpha.FillObject()->SetListBitmap(picture.get());
    ASSERT_FALSE(alpha.FillObject()->ListBitmap()->Empty());
    ChangeCounter counter(alpha);
    alpha.SetIndex(0, 7);
    EXPECT_TRUE(alpha.IMLEmpty());
    EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty());
    EXPECT_EQ(counter.count, 1);
}

} // namespace
