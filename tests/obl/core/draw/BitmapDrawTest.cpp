#include "obl/core/draw/Oblutils.h"

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr TColor kRed = static_cast<TColor>(RGB(220, 20, 20));
constexpr TColor kBlue = static_cast<TColor>(RGB(20, 20, 220));
constexpr TColor kGreen = static_cast<TColor>(RGB(20, 200, 20));
constexpr TColor kBack = static_cast<TColor>(RGB(1, 130, 7));

using PixelFn = std::function<TColor(int, int)>;

// A 32-bit bitmap painted pixel by pixel.
std::unique_ptr<TBitmap> MakeBitmap(int width, int height, const PixelFn& pixel)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Canvas()->SetPixels(x, y, pixel(x, y));
    return bitmap;
}

std::unique_ptr<TBitmap> Filled(int width, int height, TColor color)
{
    return MakeBitmap(width, height, [color](int, int) { return color; });
}

// A colour unique to each position of a small image.
TColor Gradientish(int x, int y) { return static_cast<TColor>(RGB(x * 7 + 3, y * 11 + 5, 90)); }

void ExpectPixels(TBitmap* bitmap, const PixelFn& expected)
{
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x) {
            COLORREF got = ColorToRGB(bitmap->Canvas()->Pixels(x, y));
            if (got != ColorToRGB(expected(x, y))) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", expected "
                              << ColorToRGB(expected(x, y));
                return;
            }
        }
}

bool Inside(int x, int y, const TRect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

void ExpectRect(const TRect& r, const TRect& expected)
{
    EXPECT_EQ(r.left, expected.left);
    EXPECT_EQ(r.top, expected.top);
    EXPECT_EQ(r.right, expected.right);
    EXPECT_EQ(r.bottom, expected.bottom);
}

struct PlacementCase {
    WORD flags;
    int sw, sh;
    TRect dest;
    TRect expected;
};

TEST(BmpDrawExt, PlacesTheImageAndReturnsTheCoveredRectangle)
{
    const PlacementCase cases[] = {
        {0, 10, 20, Rect(5, 5, 45, 45), Rect(5, 5, 15, 25)},
        {OBLBmpCenter, 10, 20, Rect(5, 5, 45, 45), Rect(20, 15, 30, 35)},
        {OBLBmpCenter, 11, 20, Rect(0, 0, 20, 20), Rect(4, 0, 15, 20)},
        {OBLBmpStretch, 10, 20, Rect(5, 5, 45, 45), Rect(5, 5, 45, 45)},
        {OBLBmpStretch | OBLBmpKeepWidth, 10, 20, Rect(0, 0, 40, 40), Rect(0, 0, 40, 80)},
        {OBLBmpStretch | OBLBmpKeepHeight, 10, 20, Rect(0, 0, 40, 40), Rect(0, 0, 20, 40)},
        {OBLBmpStretch | OBLBmpKeepAspect, 10, 20, Rect(3, 2, 43, 42), Rect(3, 2, 23, 42)},
        {OBLBmpTile, 16, 16, Rect(0, 0, 40, 20), Rect(0, 0, 16, 16)},
        // An empty source covers the destination.
        {0, 0, 0, Rect(2, 2, 12, 12), Rect(2, 2, 12, 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " source " << c.sw << "x" << c.sh);
        auto source = MakeBitmap(std::max(c.sw, 1), std::max(c.sh, 1), Gradientish);
        auto dest = Filled(50, 90, kBack);
        TRect result = OBLBmpDrawExt(dest->Canvas(), c.dest, source->Canvas(), Rect(0, 0, c.sw, c.sh), c.flags,
                                     clNone, nullptr, nullptr);
        ExpectRect(result, c.expected);
    }
}

TEST(BmpDrawExt, NaturalAndCentredCopyTheSourcePixels)
{
    auto source = MakeBitmap(10, 6, Gradientish);
    for (WORD flags : {WORD(0), OBLBmpCenter}) {
        auto dest = Filled(30, 20, kBack);
        TRect r = OBLBmpDrawExt(dest->Canvas(), Rect(2, 3, 28, 17), source->Canvas(), Rect(0, 0, 10, 6), flags,
                                clNone, nullptr, nullptr);
        ExpectPixels(dest.get(), [&](int x, int y) {
            return Inside(x, y, r) ? Gradientish(x - r.left, y - r.top) : kBack;
        });
    }
}

TEST(BmpDrawExt, StretchScalesTheSource)
{
    auto source = MakeBitmap(2, 2, [](int x, int y) { return x == y ? kRed : kBlue; });
    auto dest = Filled(12, 12, kBack);
    OBLBmpDrawExt(dest->Canvas(), Rect(2, 2, 10, 10), source->Canvas(), Rect(0, 0, 2, 2), OBLBmpStretch, clNone,
                  nullptr, nullptr);
    ExpectPixels(dest.get(), [](int x, int y) {
        if (!Inside(x, y, Rect(2, 2, 10, 10)))
            return kBack;
        return (x - 2) / 4 == (y - 2) / 4 ? kRed : kBlue;
    });
}

TEST(BmpDrawExt, TilesReachPastTheDestination)
{
    auto source = MakeBitmap(16, 16, Gradientish);
    auto dest = Filled(60, 40, kBack);
    OBLBmpDrawExt(dest->Canvas(), Rect(0, 0, 40, 20), source->Canvas(), Rect(0, 0, 16, 16), OBLBmpTile, clNone,
                  nullptr, nullptr);
    // Three columns by two rows of 16 x 16.
    ExpectPixels(dest.get(), [](int x, int y) { return x < 48 && y < 32 ? Gradientish(x % 16, y % 16) : kBack; });
}

TEST(BmpDrawExt, EmptyDestinationDrawsNothing)
{
    auto source = Filled(4, 4, kRed);
    auto dest = Filled(10, 10, kBack);
    TRect r = OBLBmpDrawExt(dest->Canvas(), Rect(5, 5, 5, 9), source->Canvas(), Rect(0, 0, 4, 4), OBLBmpTile,
                            clNone, nullptr, nullptr);
    EXPECT_TRUE(IsRectEmpty(&r));
    ExpectPixels(dest.get(), [](int, int) { return kBack; });
}

// A red image with a blue 2 x 2 square at (1, 1).
TColor SquareOnRed(int x, int y) { return x >= 1 && x < 3 && y >= 1 && y < 3 ? kBlue : kRed; }

TEST(BmpDrawExt, TransparentColourLeavesTheDestinationVisible)
{
    auto source = MakeBitmap(4, 4, SquareOnRed);
    auto dest = Filled(8, 8, kBack);
    OBLBmpDrawExt(dest->Canvas(), Rect(2, 2, 8, 8), source->Canvas(), Rect(0, 0, 4, 4), OBLBmpTransparent, kRed,
                  nullptr, nullptr);
    ExpectPixels(dest.get(), [](int x, int y) { return x >= 3 && x < 5 && y >= 3 && y < 5 ? kBlue : kBack; });
}

TEST(BmpDrawExt, TransparentWithPaletteKeepsTheCallersPalette)
{
    BYTE buffer[sizeof(LOGPALETTE) + sizeof(PALETTEENTRY)] = {};
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer);
    log->palVersion = 0x300;
    log->palNumEntries = 2;
    log->palPalEntry[0] = {220, 20, 20, 0};
    reinterpret_cast<PALETTEENTRY*>(log->palPalEntry)[1] = {20, 20, 220, 0};
    HPALETTE palette = CreatePalette(log);
    auto source = MakeBitmap(4, 4, SquareOnRed);
    auto dest = Filled(4, 4, kBack);
    OBLBmpDrawExt(dest->Canvas(), Rect(0, 0, 4, 4), source->Canvas(), Rect(0, 0, 4, 4), OBLBmpTransparent, kRed,
                  palette, nullptr);
    ExpectPixels(dest.get(), [](int x, int y) { return SquareOnRed(x, y) == kBlue ? kBlue : kBack; });
    PALETTEENTRY entry{};
    EXPECT_EQ(GetPaletteEntries(palette, 1, 1, &entry), 1u);
    EXPECT_EQ(entry.peBlue, 220);
    EXPECT_TRUE(DeleteObject(palette));
}

TEST(BmpDrawExt, ExplicitMaskShowsTheImageWhereTheMaskIsBlack)
{
    // The image is black where the mask lets the destination through.
    auto image = MakeBitmap(4, 4, [](int x, int y) { return x < 2 ? Gradientish(x, y) : clBlack; });
    auto mask = MakeBitmap(4, 4, [](int x, int) { return x < 2 ? clBlack : clWhite; });
    auto dest = Filled(6, 6, kGreen);
    TCopyMode before = dest->Canvas()->CopyMode();
    OBLBmpDrawExt(dest->Canvas(), Rect(1, 1, 6, 6), image->Canvas(), Rect(0, 0, 4, 4), OBLBmpMasked, clNone,
                  nullptr, mask->Canvas());
    ExpectPixels(dest.get(), [](int x, int y) {
        return x >= 1 && x < 3 && y >= 1 && y < 5 ? Gradientish(x - 1, y - 1) : kGreen;
    });
    EXPECT_EQ(dest->Canvas()->CopyMode(), before);
}

TEST(BmpDraw, BrushCopyPaintsTheColourWhereTheBitmapIsTransparent)
{
    auto bitmap = MakeBitmap(4, 4, SquareOnRed);
    bitmap->SetTransparentColor(kRed);
    auto dest = Filled(4, 4, kBack);
    TRect r = OBLBmpDraw(dest->Canvas(), Rect(0, 0, 4, 4), bitmap.get(), OBLBmpBrushCopy, kGreen);
    ExpectRect(r, Rect(0, 0, 4, 4));
    ExpectPixels(dest.get(), [](int x, int y) { return SquareOnRed(x, y) == kBlue ? kBlue : kGreen; });
}

TEST(BmpDraw, DrawsTheWholeBitmapUnlessItsPenIsParked)
{
    auto bitmap = MakeBitmap(3, 3, Gradientish);
    auto dest = Filled(5, 5, kBack);
    ExpectRect(OBLBmpDraw(dest->Canvas(), Rect(1, 1, 5, 5), bitmap.get(), OBLBmpRealizePalette, clNone),
               Rect(1, 1, 4, 4));
    ExpectPixels(dest.get(), [](int x, int y) {
        return Inside(x, y, Rect(1, 1, 4, 4)) ? Gradientish(x - 1, y - 1) : kBack;
    });

    auto parked = MakeBitmap(3, 3, Gradientish);
    parked->Canvas()->MoveTo(-1, 0);
    auto untouched = Filled(5, 5, kBack);
    TRect r = OBLBmpDraw(untouched->Canvas(), Rect(1, 1, 5, 5), parked.get(), 0, clNone);
    EXPECT_TRUE(IsRectEmpty(&r));
    ExpectPixels(untouched.get(), [](int, int) { return kBack; });
    EXPECT_TRUE(IsRectEmpty(&(r = OBLBmpDraw(untouched->Canvas(), Rect(0, 0, 5, 5), nullptr, 0, clNone))));
}

TEST(BmpStretchDraw, FillsTheRectangle)
{
    auto bitmap = Filled(2, 3, kRed);
    auto dest = Filled(10, 10, kBack);
    OBLBmpStretchDraw(dest->Canvas(), Rect(1, 2, 9, 7), bitmap.get());
    ExpectPixels(dest.get(), [](int x, int y) { return Inside(x, y, Rect(1, 2, 9, 7)) ? kRed : kBack; });
}

struct ClipCase {
    WORD flags;
    int offset;
    TRect painted;
};

TEST(BmpClipDraw, ClipsTilesToTheRectangleMovedByTheOffset)
{
    const ClipCase cases[] = {
        {OBLBmpTile | OBLBmpClip, 0, Rect(2, 2, 9, 7)},
        // x +3, y -1 (the high half is a signed 16-bit value).
        {OBLBmpTile | OBLBmpClip, static_cast<int>((0xFFFFu << 16) | 3u), Rect(5, 2, 10, 6)},
        // Two columns by two rows of tiles.
        {OBLBmpTile, 0, Rect(2, 2, 10, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " offset " << c.offset);
        auto bitmap = Filled(4, 4, kRed);
        auto dest = Filled(16, 12, kBack);
        OBLBmpClipDraw(dest->Canvas(), Rect(2, 2, 9, 7), bitmap.get(), c.flags, c.offset, clNone);
        ExpectPixels(dest.get(), [&](int x, int y) { return Inside(x, y, c.painted) ? kRed : kBack; });
        // The clip is gone afterwards.
        dest->Canvas()->Brush()->SetColor(kBlue);
        dest->Canvas()->FillRect(Rect(0, 0, 16, 12));
        EXPECT_EQ(ColorToRGB(dest->Canvas()->Pixels(15, 11)), ColorToRGB(kBlue));
    }
}

TEST(BmpCreateMasks, MaskIsWhereTheColourIsAndImageIsBlackThere)
{
    auto source = MakeBitmap(4, 4, SquareOnRed);
    TBitmap mask, image;
    OBLBmpCreateMasks(source.get(), &mask, &image, kRed);
    ASSERT_EQ(mask.Width(), 4);
    ASSERT_EQ(image.Height(), 4);
    ExpectPixels(&mask, [](int x, int y) { return SquareOnRed(x, y) == kRed ? clWhite : clBlack; });
    ExpectPixels(&image, [](int x, int y) { return SquareOnRed(x, y) == kRed ? clBlack : kBlue; });
}

TEST(BmpCreateMasks, PartOfACanvasAndNilBitmaps)
{
    auto source = MakeBitmap(6, 6, Gradientish);
    TBitmap mask, image;
    OBLBmpCreateMasksExt(source->Canvas(), Rect(2, 1, 5, 3), &mask, &image, Gradientish(2, 1));
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 2);
    ExpectPixels(&image, [](int x, int y) { return x == 0 && y == 0 ? clBlack : Gradientish(x + 2, y + 1); });
    TBitmap untouched;
    OBLBmpCreateMasksExt(source->Canvas(), Rect(0, 0, 4, 4), nullptr, &untouched, kRed);
    EXPECT_TRUE(untouched.Empty());
}

TEST(MaskBmpDraw, DrawsBThroughTKeepingColourTwoAndDroppingColourOne)
{
    // B: blue square on red; colour 2 (red) of B lets T show, colour 1 of T is transparent.
    auto b = MakeBitmap(4, 4, SquareOnRed);
    auto t = MakeBitmap(4, 4, [](int x, int) { return x < 2 ? kGreen : clWhite; });
    auto dest = Filled(4, 4, kBack);
    OBLMaskBmpDraw(dest->Canvas(), Rect(0, 0, 4, 4), b.get(), t.get(), clWhite, kRed);
    ExpectPixels(dest.get(), [](int x, int y) {
        if (SquareOnRed(x, y) == kBlue)
            return kBlue;
        return x < 2 ? kGreen : kBack;
    });
}

TEST(BmpCreateGrayscale, FourLevelsAroundTheImagesBrightness)
{
    // Background white at (0, 0); sums 30, 300, 750, 450: mean 382.5, offset 182.
    const TColor row[] = {clWhite, static_cast<TColor>(RGB(10, 10, 10)), static_cast<TColor>(RGB(100, 100, 100)),
                          static_cast<TColor>(RGB(250, 250, 250)), static_cast<TColor>(RGB(150, 150, 150))};
    auto source = MakeBitmap(5, 2, [&](int x, int y) { return y == 0 ? row[x] : clWhite; });
    TBitmap target;
    OBLBmpCreateGrayscale(&target, source.get());
    const TColor expected[] = {clWhite, clBlack, clBtnShadow, clWhite, clBtnHighlight};
    ExpectPixels(&target, [&](int x, int y) { return y == 0 ? expected[x] : clWhite; });
}

TEST(BmpCreateGrayscale, SingleColourBitmapIsCopiedUnchanged)
{
    auto source = Filled(3, 3, kRed);
    TBitmap target;
    OBLBmpCreateGrayscale(&target, source.get());
    ASSERT_EQ(target.Width(), 3);
    ExpectPixels(&target, [](int, int) { return kRed; });
}

TEST(BmpDrawDisabledState, EmbossesTheDarkPartsOfTheGlyph)
{
    // A black 2 x 2 square on white; transparent colour (lower left) white.
    auto source = MakeBitmap(5, 5, [](int x, int y) { return x >= 1 && x < 3 && y >= 1 && y < 3 ? clBlack : clWhite; });
    auto target = Filled(6, 6, kBack);
    OBLBmpDrawDisabledState(target.get(), source.get(), 0, 0);
    ExpectPixels(target.get(), [](int x, int y) {
        if (x >= 1 && x < 3 && y >= 1 && y < 3)
            return clBtnShadow;
        if (x >= 2 && x < 4 && y >= 2 && y < 4)
            return clBtnHighlight;
        return clWhite;
    });
}

TEST(SmallBitmapHelpers, FromRectCopySizeAndIcon)
{
    TBitmap bitmap;
    OBLBmpCreateFromRect(&bitmap, Rect(3, 4, 8, 6), kGreen);
    ASSERT_EQ(bitmap.Width(), 5);
    ASSERT_EQ(bitmap.Height(), 2);
    ExpectPixels(&bitmap, [](int, int) { return kGreen; });
    OBLBmpCreateFromRect(&bitmap, Rect(3, 4, 3, 6), kRed);
    EXPECT_EQ(bitmap.Width(), 5);

    TBitmap copy;
    OBLCopyBmpSize(&bitmap, &copy);
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Height(), 2);
}

struct TextureCase {
    TPoint offset;
    TPoint effective;
};

TEST(FillTexture, TilesFromTheOffset)
{
    const TextureCase cases[] = {
        {{0, 0}, {0, 0}}, {{3, 2}, {3, 2}}, {{5, 0}, {0, 0}}, {{8, 10}, {3, 0}}, {{4, 4}, {4, 4}},
    };
    auto texture = MakeBitmap(5, 5, Gradientish);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset.x << ", " << c.offset.y);
        auto dest = Filled(16, 16, kBack);
        TRect r = Rect(2, 1, 14, 13);
        OBLFillTexture(dest->Canvas()->Handle(), r, texture.get(), c.offset);
        ExpectPixels(dest.get(), [&](int x, int y) {
            if (!Inside(x, y, r))
                return kBack;
            return Gradientish((x - r.left + c.effective.x) % 5, (y - r.top + c.effective.y) % 5);
        });
    }
}

TEST(FillTexture, NegativeOffsetOrEmptyInputsDrawNothing)
{
    auto texture = MakeBitmap(5, 5, Gradientish);
    TBitmap empty;
    auto dest = Filled(8, 8, kBack);
    HDC dc = dest->Canvas()->Handle();
    OBLFillTexture(dc, Rect(0, 0, 8, 8), texture.get(), {-1, 0});
    OBLFillTexture(dc, Rect(0, 0, 8, 8), texture.get(), {0, -2});
    OBLFillTexture(dc, Rect(0, 0, 0, 8), texture.get(), {0, 0});
    OBLFillTexture(dc, Rect(0, 0, 8, 8), &empty, {0, 0});
    ExpectPixels(dest.get(), [](int, int) { return kBack; });
}

TEST(FillPattern, AndsThePatternIntoTheRectangle)
{
    auto pattern = MakeBitmap(8, 8, [](int x, int y) { return (x + y) % 2 ? clWhite : static_cast<TColor>(RGB(0, 255, 0)); });
    auto dest = Filled(10, 10, static_cast<TColor>(RGB(200, 100, 50)));
    OBLFillPattern(dest->Canvas()->Handle(), Rect(1, 1, 9, 9), pattern.get());
    ExpectPixels(dest.get(), [](int x, int y) {
        if (Inside(x, y, Rect(1, 1, 9, 9)) && (x + y) % 2 == 0)
            return static_cast<TColor>(RGB(0, 100, 0));
        return static_cast<TColor>(RGB(200, 100, 50));
    });
}

} // namespace
