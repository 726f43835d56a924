#include "obl/core/draw/Oblutils.h"

#include "platform/rtl/Arith.h"
#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr TColor kBack = static_cast<TColor>(RGB(1, 130, 7));
constexpr TColor kRed = static_cast<TColor>(RGB(255, 0, 0));
constexpr TColor kGreen = static_cast<TColor>(RGB(0, 255, 0));
constexpr TColor kBlue = static_cast<TColor>(RGB(0, 0, 255));

std::unique_ptr<TBitmap> Surface(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(kBack);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

COLORREF At(TBitmap* bitmap, int x, int y) { return ColorToRGB(bitmap->Canvas()->Pixels(x, y)); }

std::vector<COLORREF> Colors(TList& list)
{
    std::vector<COLORREF> result;
    for (int i = 0; i < list.Count(); ++i)
        result.push_back(static_cast<COLORREF>(OBLGradientColorAt(&list, i)));
    return result;
}

// A list of distinct, easily told colours.
void FillList(TList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(RGB(10 + 20 * i, 200 - 15 * i, 7 * i))));
}

bool Inside(int x, int y, const TRect& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

void ExpectPixels(TBitmap* bitmap, const std::function<COLORREF(int, int)>& expected)
{
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
            if (At(bitmap, x, y) != expected(x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << At(bitmap, x, y)
                              << ", expected " << expected(x, y);
                return;
            }
}

struct GetColorCase {
    TColor a, b;
    int step, steps;
    COLORREF expected;
};

TEST(GradientGetColor, TruncatesEachChannelsShare)
{
    const GetColorCase cases[] = {
        {clBlack, clWhite, 1, 2, RGB(127, 127, 127)},
        {clWhite, clBlack, 1, 3, RGB(170, 170, 170)},
        {static_cast<TColor>(RGB(10, 200, 0)), static_cast<TColor>(RGB(20, 100, 255)), 3, 4, RGB(17, 125, 191)},
        {kRed, kBlue, 0, 5, RGB(255, 0, 0)},
        {kRed, kBlue, 5, 5, RGB(0, 0, 255)},
        // No steps: the start colour.
        {kGreen, kBlue, 3, 0, RGB(0, 255, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " of " << c.steps);
        EXPECT_EQ(static_cast<COLORREF>(OBLGradientGetColor(c.a, c.b, c.step, c.steps)), c.expected);
    }
}

TEST(GradientCreateColorList, ClearingStartsAtAAndAppendingLeavesItOut)
{
    TList list;
    OBLGradientCreateColorList(clBlack, clWhite, 3, &list, true);
    EXPECT_EQ(Colors(list), (std::vector<COLORREF>{RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255)}));
    OBLGradientCreateColorList(clBlack, clWhite, 3, &list, true);
    EXPECT_EQ(list.Count(), 3);
    OBLGradientCreateColorList(clBlack, clWhite, 3, &list, false);
    EXPECT_EQ(Colors(list), (std::vector<COLORREF>{RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255),
                                                   RGB(128, 128, 128), RGB(255, 255, 255)}));
}

TEST(GradientCreateColorList, ResolvesSystemColoursAndHandlesTinyCounts)
{
    TList list;
    OBLGradientCreateColorList(clBtnFace, clBlack, 2, &list, true);
    EXPECT_EQ(Colors(list), (std::vector<COLORREF>{ColorToRGB(clBtnFace), RGB(0, 0, 0)}));
    // One colour is the start colour; nothing is added for none, or for one without clearing.
    OBLGradientCreateColorList(kRed, kBlue, 1, &list, true);
    EXPECT_EQ(Colors(list), (std::vector<COLORREF>{RGB(255, 0, 0)}));
    OBLGradientCreateColorList(kRed, kBlue, 1, &list, false);
    OBLGradientCreateColorList(kRed, kBlue, 0, &list, true);
    EXPECT_EQ(list.Count(), 1);
    OBLGradientCreateColorList(kRed, kBlue, 3, nullptr, true);
}

TEST(GradientCreatePalette, OneNoCollapseEntryPerColour)
{
    TList list;
    EXPECT_EQ(OBLGradientCreatePalette(nullptr), nullptr);
    EXPECT_EQ(OBLGradientCreatePalette(&list), nullptr);
    FillList(list, 3);
    HPALETTE palette = OBLGradientCreatePalette(&list);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[3] = {};
    ASSERT_EQ(GetPaletteEntries(palette, 0, 3, entries), 3u);
    for (int i = 0; i < 3; ++i) {
        COLORREF c = static_cast<COLORREF>(OBLGradientColorAt(&list, i));
        EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), c);
        EXPECT_EQ(entries[i].peFlags, PC_NOCOLLAPSE);
    }
    DeleteObject(palette);
}

struct BandCase {
    TOBLGradientStyle style;
    int colors;
    int extent;
    std::vector<int> bands;
};

TEST(GradientPaintExt, HorizontalAndVerticalBands)
{
    const BandCase cases[] = {
        {gstVertical, 4, 10, {3, 2, 3, 2}},
        {gstHorizontal, 4, 10, {3, 2, 3, 2}},
        {gstHorizontal, 3, 7, {2, 3, 2}},
        {gstVertical, 1, 5, {5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(c.style) << ", " << c.colors << " colours");
        TList list;
        FillList(list, c.colors);
        bool vertical = c.style == gstVertical;
        TRect r = vertical ? Rect(2, 1, 6, 1 + c.extent) : Rect(1, 2, 1 + c.extent, 6);
        auto surface = Surface(14, 14);
        OBLGradientPaintExt(surface->Canvas(), r, c.style, &list, nullptr, 0, 0);
        std::vector<COLORREF> along;
        for (int i = 0; i < c.extent; ++i)
            along.push_back(vertical ? At(surface.get(), 3, r.top + i) : At(surface.get(), r.left + i, 3));
        std::vector<COLORREF> expected;
        for (int band = 0; band < static_cast<int>(c.bands.size()); ++band)
            expected.insert(expected.end(), c.bands[band], static_cast<COLORREF>(OBLGradientColorAt(&list, band)));
        EXPECT_EQ(along, expected);
        ExpectPixels(surface.get(), [&](int x, int y) {
            if (!Inside(x, y, r))
                return ColorToRGB(kBack);
            int pos = vertical ? y - r.top : x - r.left;
            return along[pos];
        });
    }
}

// The colour a corner style gives a pixel: the smallest shape containing it, measured from
// the corner.
COLORREF CornerColor(TList& list, int dx, int dy, int w, int h)
{
    int n = list.Count();
    for (int i = 0; i < n; ++i)
        if (dx < MulDiv(i + 1, w, n) && dy < MulDiv(i + 1, h, n))
            return static_cast<COLORREF>(OBLGradientColorAt(&list, i));
    return ColorToRGB(kBack);
}

TEST(GradientPaintExt, CornerStylesGrowFromTheirCorner)
{
    const TOBLGradientStyle styles[] = {gstTopLeft, gstTopRight, gstBottomLeft, gstBottomRight};
    const TRect r = Rect(2, 3, 14, 11);
    const int w = 12, h = 8;
    for (TOBLGradientStyle style : styles) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style));
        TList list;
        FillList(list, 4);
        auto surface = Surface(16, 14);
        OBLGradientPaintExt(surface->Canvas(), r, style, &list, nullptr, 0, 0);
        bool right = style == gstTopRight || style == gstBottomRight;
        bool bottom = style == gstBottomLeft || style == gstBottomRight;
        ExpectPixels(surface.get(), [&](int x, int y) {
            if (!Inside(x, y, r))
                return ColorToRGB(kBack);
            int dx = right ? r.right - 1 - x : x - r.left;
            int dy = bottom ? r.bottom - 1 - y : y - r.top;
            return CornerColor(list, dx, dy, w, h);
        });
    }
}

TEST(GradientPaintExt, CentredStylesHaveTheFirstColourInTheMiddle)
{
    for (TOBLGradientStyle style : {gstSquare, gstElliptic}) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style));
        TList list;
        FillList(list, 5);
        auto surface = Surface(24, 24);
        TRect r = Rect(2, 2, 22, 22);
        OBLGradientPaintExt(surface->Canvas(), r, style, &list, nullptr, OBLGradClip, 0);
        EXPECT_EQ(At(surface.get(), 12, 12), static_cast<COLORREF>(OBLGradientColorAt(&list, 0)));
        EXPECT_EQ(At(surface.get(), 2, 2), static_cast<COLORREF>(OBLGradientColorAt(&list, 4)));
        EXPECT_EQ(At(surface.get(), 1, 12), ColorToRGB(kBack));
    }
}

TEST(GradientPaintExt, DiagonalsSpillOutsideUnlessClippedOrOffscreen)
{
    const TRect r = Rect(4, 4, 14, 12);
    for (TOBLGradientStyle style : {gstTopLeftDiagonal, gstTopRightDiagonal}) {
        SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(style));
        TList list;
        FillList(list, 3);
        auto spilled = Surface(20, 20);
        OBLGradientPaintExt(spilled->Canvas(), r, style, &list, nullptr, 0, 0);
        bool outsideTouched = false;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                outsideTouched |= !Inside(x, y, r) && At(spilled.get(), x, y) != ColorToRGB(kBack);
        EXPECT_TRUE(outsideTouched);

        auto clipped = Surface(20, 20);
        OBLGradientPaintExt(clipped->Canvas(), r, style, &list, nullptr, OBLGradClip, 0);
        auto offscreen = Surface(20, 20);
        OBLGradientPaintExt(offscreen->Canvas(), r, style, &list, nullptr, OBLGradOffscreen, 0);
        ExpectPixels(clipped.get(), [&](int x, int y) {
            return Inside(x, y, r) ? At(spilled.get(), x, y) : ColorToRGB(kBack);
        });
        ExpectPixels(offscreen.get(), [&](int x, int y) {
            return Inside(x, y, r) ? At(spilled.get(), x, y) : ColorToRGB(kBack);
        });
    }
}

TEST(GradientPaintExt, ClipMovesWithTheOffsetAndIsReleased)
{
    TList list;
    FillList(list, 2);
    auto surface = Surface(20, 10);
    // x +4, y -2.
    int offset = static_cast<int>((static_cast<unsigned>(static_cast<std::uint16_t>(-2)) << 16) | 4u);
    OBLGradientPaintExt(surface->Canvas(), Rect(2, 2, 12, 8), gstHorizontal, &list, nullptr, OBLGradClip, offset);
    ExpectPixels(surface.get(), [&](int x, int y) {
        if (!Inside(x, y, Rect(6, 2, 12, 6)))
            return ColorToRGB(kBack);
        return static_cast<COLORREF>(OBLGradientColorAt(&list, x < 7 ? 0 : 1));
    });
    surface->Canvas()->Brush()->SetColor(kRed);
    surface->Canvas()->FillRect(Rect(0, 0, 20, 10));
    EXPECT_EQ(At(surface.get(), 0, 9), ColorToRGB(kRed));
}

TEST(GradientPaintExt, NothingForAnEmptyListOrRectangle)
{
    TList empty, list;
    FillList(list, 3);
    auto surface = Surface(8, 8);
    OBLGradientPaintExt(surface->Canvas(), Rect(0, 0, 8, 8), gstVertical, &empty, nullptr, 0, 0);
    OBLGradientPaintExt(surface->Canvas(), Rect(0, 0, 8, 8), gstVertical, nullptr, nullptr, 0, 0);
    OBLGradientPaintExt(surface->Canvas(), Rect(4, 0, 4, 8), gstTopLeftDiagonal, &list, nullptr, 0, 0);
    ExpectPixels(surface.get(), [](int, int) { return ColorToRGB(kBack); });
}

TEST(GradientPaint, PaintsTheTwoColourGradientWithOrWithoutPalette)
{
    for (WORD flags : {WORD(0), OBLGradPalette, static_cast<WORD>(OBLGradPalette | OBLGradOffscreen)}) {
        SCOPED_TRACE(testing::Message() << "flags " << flags);
        auto surface = Surface(10, 4);
        OBLGradientPaint(surface->Canvas(), Rect(0, 0, 10, 4), clBlack, clWhite, 3, gstHorizontal, flags, 0);
        ExpectPixels(surface.get(), [](int x, int) {
            return x < 3 ? RGB(0, 0, 0) : x < 7 ? RGB(128, 128, 128) : RGB(255, 255, 255);
        });
    }
}

TEST(SuperGradientPaint, SegmentsLeaveOutTheFirstColour)
{
    const TColor colors[] = {kRed, kGreen, kBlue};
    auto surface = Surface(10, 2);
    // Two colours per segment: each adds only its end colour.
    OBLSuperGradientPaint(surface->Canvas(), Rect(0, 0, 10, 2), colors, 3, 4, gstHorizontal, 0, 0);
    ExpectPixels(surface.get(), [](int x, int) { return x < 5 ? ColorToRGB(kGreen) : ColorToRGB(kBlue); });

    auto three = Surface(12, 1);
    OBLSuperGradientPaint(three->Canvas(), Rect(0, 0, 12, 1), colors, 3, 6, gstHorizontal, 0, 0);
    // MulDiv rounds halves away from zero: 255 - 127.5 gives 127, 0 + 127.5 gives 128.
    const COLORREF expected[] = {RGB(127, 128, 0), RGB(0, 255, 0), RGB(0, 127, 128), RGB(0, 0, 255)};
    ExpectPixels(three.get(), [&](int x, int) { return expected[x / 3]; });

    auto single = Surface(4, 4);
    OBLSuperGradientPaint(single->Canvas(), Rect(0, 0, 4, 4), colors, 1, 4, gstHorizontal, 0, 0);
    ExpectPixels(single.get(), [](int, int) { return ColorToRGB(kBack); });
}

} // namespace
