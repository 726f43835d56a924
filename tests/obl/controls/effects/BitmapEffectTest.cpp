#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "PixelFixture.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const TRect kAll = Rect(0, 0, 4, 3);
const TPoint kOrigin{0, 0};

// The fixture after the routines one after the other, as the whole-bitmap path chains them.
Rows Chained(std::initializer_list<std::function<void(TBitmap*)>> steps)
{
    auto bitmap = Make24(Fixture());
    for (const auto& step : steps)
        step(bitmap.get());
    return Bytes(bitmap.get());
}

// The effect object's flips by what they show: FlipVertical upside down (the routine
// OBLBMPFlipHorizonzal), FlipHorizontal left to right (OBLBMPFlipVertical).
void FlipV(TBitmap* b) { OBLBMPFlipHorizonzal(b, Rect(0, 0, b->Width(), b->Height()), b, kOrigin); }
void FlipH(TBitmap* b) { OBLBMPFlipVertical(b, Rect(0, 0, b->Width(), b->Height()), b, kOrigin); }
void Grey(TBitmap* b) { OBLBMPGrayScale(b, Rect(0, 0, b->Width(), b->Height()), b, kOrigin); }
void Inv(TBitmap* b) { OBLBMPInvert(b, Rect(0, 0, b->Width(), b->Height()), b, kOrigin); }

TEST(BitmapEffect, SummaryListsTheActiveEffects)
{
    TOBLBitmapEffectObject e;
    EXPECT_EQ(e.GetSetStr(), "{Disabled}");
    EXPECT_FALSE(e.Enabled());
    e.SetBool(2, true);
    e.SetBool(3, true);
    EXPECT_EQ(e.GetSetStr(), "{GS,INV}");
    e.SetBool(0, true);
    e.SetBool(1, true);
    e.SetBrightness(5);
    e.AlphaBlend()->FillObject()->SetFillStyle(sfBrush);
    EXPECT_EQ(e.GetSetStr(), "{alpha,FV,FH,GS,INV,B}");
    EXPECT_TRUE(e.Enabled());
}

// The fixture with the pixels of every row in reverse order.
Rows Mirrored(Rows rows)
{
    for (auto& row : rows)
        for (std::size_t a = 0, b = row.size() - 3; a < b; a += 3, b -= 3)
            for (int k = 0; k < 3; ++k)
                std::swap(row[a + k], row[b + k]);
    return rows;
}

TEST(BitmapEffect, FlipVerticalTurnsThePictureUpsideDownAndFlipHorizontalMirrorsIt)
{
    struct Case {
        const char* name;  // the published property
        Rows expected;
    };
    const Rows f = Fixture();
    for (const Case& c : {Case{"FlipVertical", Rows{f[2], f[1], f[0]}}, Case{"FlipHorizontal", Mirrored(f)}}) {
        SCOPED_TRACE(c.name);
        TOBLBitmapEffectObject e;
        SetOrdProp(&e, c.name, 1);
        ASSERT_TRUE(e.Enabled());
        auto bitmap = Make24(f);
        e.Draw(bitmap.get());
        EXPECT_EQ(Bytes(bitmap.get()), c.expected) << "in place";
        auto source = Make24(f);
        auto target = Solid24(4, 3, 0, 0, 0);
        e.DrawCopyRect(source.get(), kAll, kOrigin, target.get());
        EXPECT_EQ(Bytes(target.get()), c.expected) << "onto another bitmap";
    }
}

TEST(BitmapEffect, DrawChainsTheEffectsInOrder)
{
    TOBLBitmapEffectObject e;
    e.SetBool(0, true);
    e.SetBool(1, true);
    e.SetBool(2, true);
    e.SetBool(3, true);
    e.SetBrightness(30);
    auto bitmap = Make24(Fixture());
    e.Draw(bitmap.get());
    EXPECT_EQ(Bytes(bitmap.get()), Chained({FlipV, FlipH, Grey, Inv, [](TBitmap* b) {
                                               OBLBMPBrightness(b, kAll, b, 30, kOrigin);
                                           }}));
}

TEST(BitmapEffect, MonochromePicturesAreConvertedBeforeThePixelWork)
{
    TOBLBitmapEffectObject e;
    e.SetBool(3, true);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetMonochrome(true);
    bitmap->SetSize(3, 2);  // white
    e.Draw(bitmap.get());
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
    EXPECT_EQ(Bytes(bitmap.get()), Bytes(Solid24(3, 2, 0, 0, 0).get()));

    // The monochrome effect itself, then brightness on what it made.
    TOBLBitmapEffectObject mono;
    mono.SetBool(5, true);
    mono.SetBrightness(-55);
    auto picture = Solid24(2, 2, 255, 255, 255);
    mono.Draw(picture.get());
    EXPECT_EQ(Bytes(picture.get()), Bytes(Solid24(2, 2, 200, 200, 200).get()));
}

TEST(BitmapEffect, ABufferedObjectDrawsTheBufferUntilSomethingChanges)
{
    TOBLBitmapEffectObject e;
    e.SetBool(3, true);
    e.SetBool(4, true);
    auto first = Make24(Fixture());
    e.Draw(first.get());
    EXPECT_TRUE(e.BufferValid());
    Rows inverted = Chained({Inv});
    EXPECT_EQ(Bytes(first.get()), inverted);

    auto second = Solid24(4, 3, 0, 0, 0);
    e.Draw(second.get());
    EXPECT_EQ(Bytes(second.get()), inverted) << "the buffer, not a fresh inversion";

    e.AlphaBlend()->SetStrength(0.9f);  // a change of the alpha object counts as well
    EXPECT_FALSE(e.BufferValid());
    auto third = Solid24(4, 3, 0, 0, 0);
    e.Draw(third.get());
    EXPECT_EQ(Bytes(third.get()), Bytes(Solid24(4, 3, 255, 255, 255).get()));
    e.SetBool(4, false);
    EXPECT_FALSE(e.BufferValid());
}

// A listener that paints on every change must see the new settings, not the old buffer.
TEST(BitmapEffect, ListenersHearOfAChangeOnlyOnceTheBufferIsOutOfDate)
{
    TOBLBitmapEffectObject e;
    e.SetBool(4, true);
    auto warm = Make24(Fixture());
    e.Draw(warm.get());
    ASSERT_TRUE(e.BufferValid());
    struct Painter : TObject {
        TOBLBitmapEffectObject* effect;
        Rows painted;
        bool bufferValid = true;
        void Changed(TObject*)
        {
            bufferValid = effect->BufferValid();
            auto bitmap = Make24(Fixture());
            effect->Draw(bitmap.get());
            painted = Bytes(bitmap.get());
        }
    } painter;
    painter.effect = &e;
    e.SetOnChange(TNotifyEvent(&painter, &Painter::Changed));
    e.SetBool(2, true);
    EXPECT_FALSE(painter.bufferValid);
    EXPECT_EQ(painter.painted, Chained({Grey}));
    e.SetOnChange(TNotifyEvent());
}

TEST(BitmapEffect, AssignCopiesCreatesTheBufferAndNotifiesOnce)
{
    TOBLBitmapEffectObject source;
    source.SetBool(0, true);
    source.SetBool(2, true);
    source.SetBool(4, true);
    source.SetBrightness(-7);
    source.AlphaBlend()->SetStrength(0.4f);
    TOBLBitmapEffectObject target;
    ChangeCounter counter(target);
    target.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(target.FlipVertical());
    EXPECT_TRUE(target.GrayScale());
    EXPECT_TRUE(target.Buffered());
    EXPECT_EQ(target.Brightness(), -7);
    EXPECT_FLOAT_EQ(target.AlphaBlend()->Strength(), 0.4f);
    auto bitmap = Make24(Fixture());
    target.Draw(bitmap.get());
    EXPECT_TRUE(target.BufferValid()) << "the buffer exists";
}

TEST(BitmapEffect, BrightnessIsHeldToItsRange)
{
    TOBLBitmapEffectObject e;
    e.SetBrightness(900);
    EXPECT_EQ(e.Brightness(), 255);
    e.SetBrightness(-900);
    EXPECT_EQ(e.Brightness(), -255);
}

TEST(BitmapEffect, CopyRectCombinesTheEffectsAsTheWholeBitmapPathDoes)
{
    TOBLBitmapEffectObject e;
    e.SetBool(1, true);
    e.SetBool(3, true);
    e.SetBrightness(10);
    auto source = Make24(Fixture());
    auto target = Solid24(6, 5, 9, 9, 9);
    e.DrawCopyRect(source.get(), kAll, TPoint{2, 1}, target.get());
    Rows expected = Chained({FlipH, Inv, [](TBitmap* b) { OBLBMPBrightness(b, kAll, b, 10, kOrigin); }});
    Rows got = Bytes(target.get());
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(std::vector<BYTE>(got[y + 1].begin() + 6, got[y + 1].end()), expected[y]) << "row " << y;
    EXPECT_EQ(got[0], std::vector<BYTE>(18, 9));
    EXPECT_EQ(std::vector<BYTE>(got[2].begin(), got[2].begin() + 6), std::vector<BYTE>(6, 9));
}

TEST(BitmapEffect, CopyRectCutsRectanglesToTheBitmaps)
{
    TOBLBitmapEffectObject e;
    e.SetBool(3, true);
    auto source = Make24(Fixture());
    auto target = Solid24(3, 3, 9, 9, 9);
    // Only source (0..1, 0..2) exists and it lands at (1..2, 0..2); nothing else is touched.
    e.DrawCopyRect(source.get(), Rect(-1, 0, 2, 9), TPoint{0, 0}, target.get());
    Rows got = Bytes(target.get());
    Rows inverted = Chained({Inv});
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(std::vector<BYTE>(got[y].begin(), got[y].begin() + 3), (std::vector<BYTE>{9, 9, 9}));
        EXPECT_EQ(std::vector<BYTE>(got[y].begin() + 3, got[y].end()),
                  std::vector<BYTE>(inverted[y].begin(), inverted[y].begin() + 6));
    }
}

TEST(BitmapEffect, CutRect2BlendsTheWholeDestination)
{
    TOBLBitmapEffectObject e;
    e.AlphaBlend()->FillObject()->SetFillStyle(sfBrush);
    e.AlphaBlend()->FillObject()->Brush()->SetColor(static_cast<TColor>(RGB(100, 100, 100)));
    e.AlphaBlend()->SetStrength(0.5f);
    auto source = Make24(Fixture());
    auto target = Solid24(4, 3, 9, 9, 9);
    e.DrawCutRect2(source.get(), kAll, kAll, target.get());
    EXPECT_EQ(Bytes(target.get()), (Rows{{50, 50, 178, 50, 178, 50, 178, 50, 50, 178, 178, 178},
                                         {55, 60, 65, 70, 75, 80, 85, 90, 95, 50, 50, 50},
                                         {50, 51, 52, 114, 114, 114, 175, 52, 100, 52, 175, 150}}));
}

TEST(BitmapEffect, CutRectShowsTheProcessedPieceOverTheUnprocessedSource)
{
    TOBLBitmapEffectObject e;
    e.SetBool(3, true);
    auto source = Make24(Fixture());
    auto target = Solid24(4, 3, 9, 9, 9);
    e.DrawCutRect(source.get(), kAll, Rect(0, 0, 2, 3), target.get());
    Rows got = Bytes(target.get());
    Rows inverted = Chained({Inv});
    Rows original = Fixture();
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(std::vector<BYTE>(got[y].begin(), got[y].begin() + 6),
                  std::vector<BYTE>(inverted[y].begin(), inverted[y].begin() + 6));
        EXPECT_EQ(std::vector<BYTE>(got[y].begin() + 6, got[y].end()),
                  std::vector<BYTE>(original[y].begin() + 6, original[y].end()));
    }
}

TEST(BitmapEffect, DrawCopyMakesTheTargetAProcessedCopy)
{
    TOBLBitmapEffectObject e;
    e.SetBool(2, true);
    auto source = Make24(Fixture());
    auto target = Solid24(1, 1, 0, 0, 0);
    e.DrawCopy(source.get(), target.get());
    EXPECT_EQ(Bytes(target.get()), Chained({Grey}));
    EXPECT_EQ(Bytes(source.get()), Fixture());
}

} // namespace
