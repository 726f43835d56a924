#include "obl/controls/effects/OBLAlphaObject.h"
#include "obl/core/containers/oblcont.h"
#include "PixelFixture.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>

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
    alpha.SetStrength(0.5f);
    alpha.SetStrength(std::nanf(""));
    EXPECT_EQ(alpha.Strength(), 0.0f) << "not a number counts as 0";
    EXPECT_EQ(counter.count, 4);
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

// ---------------------------------------------------------------------------------------
// The image list behind an image-list fill.

// Two lists holding one 2 x 2 picture: entry 1 of a bitmap list (entry 0 is a plain 3 x 3)
// and picture 1 of the one strip of an image list.
struct PictureLists {
    TOBLBitmapList bitmaps{nullptr};
    TOBLImageList strips{nullptr};

    PictureLists()
    {
        bitmaps.Add(nullptr);
        bitmaps.Items(0)->SetBitmap(Solid24(3, 3, 1, 2, 3).get());
        bitmaps.Add(nullptr);
        bitmaps.Items(1)->SetBitmap(Make24({{10, 20, 30, 40, 50, 60}, {70, 80, 90, 100, 110, 120}}).get());
        strips.Add(nullptr);
        strips.Items(0)->ConvertBmpToIML(
            Make24({{9, 9, 9, 9, 9, 9, 10, 20, 30, 40, 50, 60}, {9, 9, 9, 9, 9, 9, 70, 80, 90, 100, 110, 120}}).get(), 2,
            false);
    }
};

TEST(AlphaImageList, IMLEmptyAsksTheList)
{
    PictureLists lists;
    TOBLAlphaObject alpha;
    EXPECT_TRUE(alpha.IMLEmpty()) << "no list";
    struct Case {
        TOBLCustomImageList* list;
        int listIndex, imageIndex;
        bool empty;
    };
    for (const Case& c : {Case{&lists.bitmaps, 1, 0, false}, Case{&lists.bitmaps, 1, 5, false},
                          Case{&lists.bitmaps, 2, 0, true},
                          Case{&lists.strips, 0, 1, false}, Case{&lists.strips, 0, 2, true},
                          Case{&lists.strips, 0, -1, true}, Case{&lists.strips, 1, 0, true}}) {
        SCOPED_TRACE(testing::Message() << c.list->ClassName().c_str() << " " << c.listIndex << "/" << c.imageIndex);
        alpha.SetImageList(c.list);
        alpha.SetIndex(1, c.listIndex);
        alpha.SetIndex(0, c.imageIndex);
        EXPECT_EQ(alpha.IMLEmpty(), c.empty);
        EXPECT_EQ(alpha.FillObject()->ListBitmap()->Empty(), c.empty);
    }
    // The bitmap list raises for a negative entry: the object does not ask it about one.
    alpha.SetImageList(&lists.bitmaps);
    alpha.SetIndex(1, 1);
    EXPECT_NO_THROW(alpha.SetIndex(1, -1));
    EXPECT_EQ(alpha.ListIndex(), -1);
    EXPECT_TRUE(alpha.IMLEmpty());
}

TEST(AlphaImageList, TheLinkFollowsTheListAndNotifies)
{
    PictureLists lists;
    TOBLAlphaObject alpha;
    alpha.SetIndex(1, 1);
    ChangeCounter counter(alpha);
    alpha.SetImageList(&lists.bitmaps);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(lists.bitmaps.LinkCount(), 1);
    EXPECT_EQ(Bytes(alpha.FillObject()->ListBitmap()), Bytes(lists.bitmaps.Items(1)->GetBitmap()));

    // A change of the list reaches the object, which takes the picture again.
    auto other = Solid24(2, 2, 7, 7, 7);
    lists.bitmaps.Items(1)->SetBitmap(other.get());
    lists.bitmaps.Change();
    EXPECT_EQ(counter.count, 2);
    EXPECT_EQ(Bytes(alpha.FillObject()->ListBitmap()), Bytes(other.get()));

    // The same list again: still one link.
    alpha.SetImageList(&lists.bitmaps);
    EXPECT_EQ(lists.bitmaps.LinkCount(), 1);
    EXPECT_EQ(counter.count, 3);

    alpha.SetImageList(&lists.strips);
    EXPECT_EQ(lists.bitmaps.LinkCount(), 0);
    EXPECT_EQ(lists.strips.LinkCount(), 1);
    EXPECT_EQ(counter.count, 4);
    EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty()) << "the strip list has no entry 1";

    alpha.SetImageList(nullptr);
    EXPECT_EQ(lists.strips.LinkCount(), 0);
    EXPECT_EQ(counter.count, 5);
    lists.strips.Change();
    lists.bitmaps.Change();
    EXPECT_EQ(counter.count, 5) << "no list, no notification";
}

TEST(AlphaImageList, AssignMovesTheLink)
{
    PictureLists lists;
    TOBLAlphaObject source;
    source.SetImageList(&lists.bitmaps);
    source.SetIndex(1, 1);
    TOBLAlphaObject target;
    target.SetImageList(&lists.strips);
    ChangeCounter counter(target);
    target.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(target.ImageList(), &lists.bitmaps);
    EXPECT_EQ(lists.strips.LinkCount(), 0);
    EXPECT_EQ(lists.bitmaps.LinkCount(), 2);
    EXPECT_EQ(Bytes(target.FillObject()->ListBitmap()), Bytes(lists.bitmaps.Items(1)->GetBitmap()));
    lists.bitmaps.Change();
    EXPECT_EQ(counter.count, 2) << "the target hears the list it was given";
    lists.strips.Change();
    EXPECT_EQ(counter.count, 2);
}

TEST(AlphaImageList, FreeingOrDeletingTheListDropsIt)
{
    for (const bool freed : {true, false}) {
        SCOPED_TRACE(freed ? "Free" : "delete");
        auto* bitmaps = new TOBLBitmapList(nullptr);
        bitmaps->Add(nullptr);
        bitmaps->Items(0)->SetBitmap(Solid24(2, 2, 1, 2, 3).get());
        TOBLAlphaObject alpha;
        alpha.SetImageList(bitmaps);
        ASSERT_FALSE(alpha.IMLEmpty());
        ChangeCounter counter(alpha);
        if (freed)
            bitmaps->Free();
        else
            delete bitmaps;
        EXPECT_EQ(alpha.ImageList(), nullptr);
        EXPECT_TRUE(alpha.IMLEmpty());
        EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty());
        EXPECT_EQ(counter.count, 1);
    }

    // An object freed before its list leaves nothing behind in the list.
    TOBLBitmapList kept(nullptr);
    {
        TOBLAlphaObject gone;
        gone.SetImageList(&kept);
    }
    EXPECT_EQ(kept.LinkCount(), 0);
    kept.Change();
}

TEST(AlphaImageList, BlendDrawsTheListPicture)
{
    PictureLists lists;
    // Entry 1 of the bitmaps and picture 1 of the strip are the same 2 x 2 picture; tiled
    // over 4 x 3 at strength 0 the bitmap becomes the tiles.
    Rows tiles = {{10, 20, 30, 40, 50, 60, 10, 20, 30, 40, 50, 60},
                  {70, 80, 90, 100, 110, 120, 70, 80, 90, 100, 110, 120},
                  {10, 20, 30, 40, 50, 60, 10, 20, 30, 40, 50, 60}};
    struct Case {
        TOBLCustomImageList* list;
        int listIndex, imageIndex;
    };
    for (const Case& c : {Case{&lists.bitmaps, 1, 0}, Case{&lists.strips, 0, 1}}) {
        SCOPED_TRACE(c.list->ClassName().c_str());
        TOBLAlphaObject alpha;
        alpha.FillObject()->SetFillStyle(sfBitmapList);
        alpha.FillObject()->SetTileMode(tmTile);
        alpha.SetStrength(0.0f);
        alpha.SetIndex(1, c.listIndex);
        alpha.SetIndex(0, c.imageIndex);
        alpha.SetImageList(c.list);
        auto bitmap = Make24(Fixture());
        alpha.AlphaBlend(bitmap.get());
        EXPECT_EQ(Bytes(bitmap.get()), tiles);

        // At half strength every byte lies halfway between bitmap and picture (ties to
        // even), the last row and column included.
        alpha.SetStrength(0.5f);
        bitmap = Make24(Fixture());
        alpha.AlphaBlend(bitmap.get());
        Rows fixture = Fixture(), half = Bytes(bitmap.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 12; ++x) {
                double exact = (fixture[y][x] + tiles[y][x]) / 2.0;
                EXPECT_EQ(half[y][x], static_cast<BYTE>(std::nearbyint(exact))) << x << ", " << y;
            }
    }
}

// A list index the list has no entry for (a bitmap list raises for a negative one) names no
// picture: the setter keeps it, and the list's later changes reach the object unharmed.
TEST(AlphaObject, AListIndexTheListHasNoEntryForIsKeptAndNamesNoPicture)
{
    TOBLBitmapList pictures(nullptr);
    TBitmap picture;
    picture.SetSize(4, 3);
    pictures.Items(pictures.Add(nullptr))->SetBitmap(&picture);
    TOBLAlphaObject alpha;
    alpha.SetImageList(&pictures);
    EXPECT_FALSE(alpha.IMLEmpty());
    EXPECT_EQ(alpha.FillObject()->ListBitmap()->Width(), 4);
    EXPECT_NO_THROW(alpha.SetIndex(1, -1));
    EXPECT_EQ(alpha.ListIndex(), -1);
    EXPECT_TRUE(alpha.IMLEmpty());
    EXPECT_TRUE(alpha.FillObject()->ListBitmap()->Empty());
    EXPECT_NO_THROW(pictures.Add(nullptr));
    alpha.SetIndex(1, 0);
    EXPECT_EQ(alpha.FillObject()->ListBitmap()->Width(), 4);
    alpha.SetImageList(nullptr);
}

} // namespace
