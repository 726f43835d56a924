#include "obl/core/draw/Oblutils.h"

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr TColor kWhite = clWhite;
constexpr TColor kLight = static_cast<TColor>(RGB(250, 240, 10));
constexpr TColor kShadow = static_cast<TColor>(RGB(40, 60, 200));
// Background of edge tests, unlike any system colour.
constexpr TColor kBack = static_cast<TColor>(RGB(1, 130, 7));

// A white 32-bit bitmap to draw on.
class Surface {
public:
    Surface(int width, int height, TColor fill = kWhite)
    {
        bitmap_.SetPixelFormat(pf32bit);
        bitmap_.SetSize(width, height);
        bitmap_.Canvas()->Brush()->SetColor(fill);
        bitmap_.Canvas()->FillRect(Rect(0, 0, width, height));
    }
    TCanvas* canvas() { return bitmap_.Canvas(); }
    TColor at(int x, int y) { return bitmap_.Canvas()->Pixels(x, y); }
    int width() const { return bitmap_.Width(); }
    int height() const { return bitmap_.Height(); }

    // Every pixel compared with the expected colour; reports the first difference.
    void ExpectPixels(const std::function<TColor(int, int)>& expected)
    {
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (static_cast<COLORREF>(at(x, y)) != ColorToRGB(expected(x, y))) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << at(x, y)
                                  << ", expected " << ColorToRGB(expected(x, y));
                    return;
                }
    }

private:
    TBitmap bitmap_;
};

void ExpectRect(const TRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(Frame3D, DrawsNothingWithoutWidthOrForNoneAndShadow)
{
    const std::pair<TOBLBevelStyle, int> cases[] = {
        {bvRaised, 0}, {bvLowered, -2}, {bvFrameRaised, -1}, {bvNone, 2}, {bvShadow, 1},
    };
    for (auto [style, width] : cases) {
        SCOPED_TRACE(static_cast<int>(style));
        Surface s(12, 12);
        TRect r = Rect(0, 0, 12, 12);
        EXPECT_FALSE(OBLDrawFrame3D(s.canvas(), r, style, kLight, kShadow, width));
        ExpectRect(r, 0, 0, 12, 12);
        s.ExpectPixels([](int, int) { return kWhite; });
    }
}

TEST(Frame3D, ThinBevelsPaintTheirEdgesAndLeaveTheInside)
{
    struct Case {
        TOBLBevelStyle style;
        TColor topLeft;
        TColor bottomRight;
    };
    const Case cases[] = {
        {bvRaised, kLight, kShadow},
        {bvLowered, kShadow, kLight},
        {bvNormal, clBlack, clBlack},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.style));
        Surface s(12, 12);
        TRect r = Rect(0, 0, 10, 10);
        EXPECT_TRUE(OBLDrawFrame3D(s.canvas(), r, k.style, kLight, kShadow, 1));
        ExpectRect(r, 1, 1, 9, 9);
        s.ExpectPixels([&](int x, int y) {
            if ((x == 0 && y <= 9) || (y == 0 && x <= 8)) return k.topLeft;
            if ((x == 9 && y <= 9) || (y == 9 && x <= 9)) return k.bottomRight;
            return kWhite;
        });
    }
}

TEST(Frame3D, WideBevelsAreBandsOfTheWidthSplitOnTheDiagonals)
{
    struct Case {
        TOBLBevelStyle style;
        int width;
        TRect frame;
    };
    const Case cases[] = {
        {bvRaised, 2, {0, 0, 12, 12}}, {bvLowered, 3, {1, 2, 15, 13}}, {bvNormal, 4, {0, 0, 16, 10}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.width);
        const bool lowered = k.style == bvLowered;
        TColor topLeft = lowered ? kShadow : kLight, bottomRight = lowered ? kLight : kShadow;
        if (k.style == bvNormal) topLeft = bottomRight = clBlack;
        Surface s(18, 16);
        TRect r = k.frame;
        EXPECT_TRUE(OBLDrawFrame3D(s.canvas(), r, k.style, kLight, kShadow, k.width));
        const TRect f = k.frame;
        const int w = k.width;
        ExpectRect(r, f.left + w, f.top + w, f.right - w, f.bottom - w);
        s.ExpectPixels([&](int x, int y) {
            if (x < f.left || y < f.top || x >= f.right || y >= f.bottom) return kWhite;
            const int fromLeft = x - f.left, fromTop = y - f.top;
            const int fromRight = f.right - 1 - x, fromBottom = f.bottom - 1 - y;
            if (fromLeft >= w && fromTop >= w && fromRight >= w && fromBottom >= w) return kWhite;
            // Above the top-right diagonal or left of the bottom-left one: the top-left colour.
            const bool topBand = fromTop < w && fromRight > fromTop;
            const bool leftBand = fromLeft < w && fromBottom >= fromLeft;
            return topBand || leftBand ? topLeft : bottomRight;
        });
    }
}

TEST(Frame3D, EtchedFramesShiftTwoFrames)
{
    const std::pair<TOBLBevelStyle, bool> cases[] = {{bvFrameLowered, true}, {bvFrameRaised, false}};
    for (auto [style, lowered] : cases) {
        SCOPED_TRACE(static_cast<int>(style));
        const TColor topLeft = lowered ? kShadow : kLight;
        const TColor bottomRight = lowered ? kLight : kShadow;
        Surface s(12, 12);
        TRect r = Rect(0, 0, 10, 10);
        EXPECT_TRUE(OBLDrawFrame3D(s.canvas(), r, style, kLight, kShadow, 1));
        ExpectRect(r, 2, 2, 8, 8);
        s.ExpectPixels([&](int x, int y) {
            const bool inner = x <= 8 && y <= 8 && (x == 0 || y == 0 || x == 8 || y == 8);
            const bool outer = x >= 1 && y >= 1 && x <= 9 && y <= 9 && (x == 1 || y == 1 || x == 9 || y == 9);
            if (inner) return topLeft;
            if (outer) return bottomRight;
            return kWhite;
        });
    }
}

TEST(Frame3D, EtchedFrameOfWidthTwoShrinksByThree)
{
    Surface s(16, 16);
    TRect r = Rect(0, 0, 14, 14);
    EXPECT_TRUE(OBLDrawFrame3D(s.canvas(), r, bvFrameRaised, kLight, kShadow, 2));
    ExpectRect(r, 3, 3, 11, 11);
    EXPECT_EQ(s.at(2, 6), kShadow);   // second shifted frame
    EXPECT_EQ(s.at(12, 6), kLight);   // second frame from the bottom-right
    EXPECT_EQ(s.at(3, 6), kWhite);
}

TEST(FrameShadow, ShadowCornersAndFrame)
{
    const bool modes[] = {false, true};
    for (bool transparent : modes) {
        SCOPED_TRACE(transparent);
        Surface s(22, 22);
        TRect r = Rect(0, 0, 20, 20);
        const TColor frame = clRed, back = clLime;
        EXPECT_TRUE(OBLDrawFrameShadow(s.canvas(), r, frame, kShadow, back, 3, 2, transparent, 0));
        ExpectRect(r, 2, 2, 15, 15);
        const TColor corner = transparent ? kWhite : back;
        s.ExpectPixels([&](int x, int y) {
            if (x >= 20 || y >= 20) return kWhite;
            if (x >= 17 && y < 3) return corner;
            if (y >= 17 && x < 3) return corner;
            if (x >= 17 || y >= 17) return kShadow;
            if (x <= 1 || y <= 1 || x >= 15 || y >= 15) return frame;
            return kWhite;
        });
    }
}

TEST(StdFrame, WidthOfEachBorderStyle)
{
    for (int i = 0; i <= static_cast<int>(lsDoubleLowered); ++i) {
        const auto style = static_cast<TOBLBorderStyle>(i);
        int expected = 2;
        if (style == lsNone) expected = 0;
        if (style == lsSingle || style == lsSingleRaised || style == lsSingleLowered) expected = 1;
        EXPECT_EQ(OBLDrawStdFrameExt(style), expected) << i;
    }
}

TEST(StdFrame, EachStyleShrinksTheRectangle)
{
    struct Case {
        TOBLBorderStyle style;
        TRect inside;
    };
    const Case cases[] = {
        {lsNone, {0, 0, 20, 20}},        {lsSingle, {1, 1, 20, 20}},       {lsLowered, {2, 2, 18, 18}},
        {lsRaised, {2, 2, 18, 18}},      {lsRaisedspb, {1, 1, 18, 18}},    {lsLoweredspb, {2, 2, 19, 19}},
        {lsRaisedExt, {2, 2, 18, 18}},   {lsLoweredExt, {2, 2, 18, 18}},   {lsFrameInset, {2, 2, 18, 18}},
        {lsFrameOffset, {2, 2, 18, 18}}, {lsWindowBorder, {2, 2, 18, 18}}, {lsSingleRaised, {1, 1, 19, 19}},
        {lsSingleLowered, {1, 1, 19, 19}}, {lsDoubleRaised, {2, 2, 18, 18}}, {lsDoubleLowered, {2, 2, 18, 18}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(static_cast<int>(k.style));
        Surface s(20, 20, kBack);
        TRect r = Rect(0, 0, 20, 20);
        EXPECT_TRUE(OBLDrawStdFrame(s.canvas(), r, k.style, 0));
        ExpectRect(r, k.inside.left, k.inside.top, k.inside.right, k.inside.bottom);
        // Whatever the border, the inside is left alone; only lsNone leaves the edge too.
        EXPECT_EQ(s.at(10, 10), kBack);
        EXPECT_EQ(s.at(k.inside.left, 10), kBack);
        EXPECT_EQ(s.at(19, 10) == kBack, k.style == lsNone);
    }
}

TEST(StdFrame, SingleLoweredUsesTheSunkenColours)
{
    Surface s(10, 10, kBack);
    TRect r = Rect(0, 0, 10, 10);
    OBLDrawStdFrame(s.canvas(), r, lsSingleLowered, 0);
    s.ExpectPixels([](int x, int y) {
        if (x == 9 || y == 9) return clBtnHighlight;
        if (x == 0 || y == 0) return clBtnShadow;
        return kBack;
    });
}

TEST(StdFrame, WindowBorderLeavesTheOuterTopLeftUnpainted)
{
    Surface s(10, 10, kBack);
    TRect r = Rect(0, 0, 10, 10);
    OBLDrawStdFrame(s.canvas(), r, lsWindowBorder, 0);
    ExpectRect(r, 2, 2, 8, 8);
    const std::pair<TPoint, TColor> probes[] = {
        {{0, 5}, kBack}, {{5, 0}, kBack}, {{9, 5}, cl3DDkShadow}, {{5, 9}, cl3DDkShadow},
        {{1, 5}, clBtnHighlight}, {{5, 1}, clBtnHighlight}, {{8, 5}, clBtnShadow}, {{5, 8}, clBtnShadow},
        {{2, 5}, kBack},
    };
    for (auto [p, color] : probes)
        EXPECT_EQ(static_cast<COLORREF>(s.at(p.x, p.y)), ColorToRGB(color)) << p.x << ", " << p.y;
}

TEST(Border, PaintsEachEdgePixelOnceInItsColour)
{
    Surface s(8, 7);
    const TRect r = Rect(1, 1, 6, 5);
    OBLDrawBorder(s.canvas(), r, kLight, kShadow);
    ExpectRect(r, 1, 1, 6, 5);
    s.ExpectPixels([](int x, int y) {
        if ((x == 1 && y >= 1 && y <= 4) || (y == 1 && x >= 1 && x <= 4)) return kLight;
        if ((x == 5 && y >= 1 && y <= 4) || (y == 4 && x >= 2 && x <= 5)) return kShadow;
        return kWhite;
    });
}

TEST(CtrlBorderWidth, OnlySingleBordersHaveWidth)
{
    struct Case {
        bool a;
        TFormBorderStyle style;
        bool b;
        int width;
    };
    const Case cases[] = {
        {false, bsSingle, false, 1}, {true, bsSingle, false, 2}, {false, bsSingle, true, 2},
        {true, bsSingle, true, 2},   {true, bsNone, true, 0},    {true, bsSizeable, false, 0},
        {false, bsDialog, false, 0},
    };
    for (const Case& k : cases) EXPECT_EQ(OBLGetCtrlBorderWidth(k.a, k.style, k.b), k.width);
}

// Pixels of a triangle with its box at (x, y).
bool InTriangle(int px, int py, int x, int y, int size, bool down)
{
    const int k = py - y;
    if (k < 0 || k >= size) return false;
    if (down) return px >= x + k && px <= x + 2 * size - 2 - k;
    const int middle = x + size / 2;
    return px >= middle - k && px <= middle + k;
}

TEST(Triangle, EnabledTrianglesInTheColour)
{
    struct Case {
        int x, y, size;
        bool down;
    };
    const Case cases[] = {{2, 2, 3, true}, {1, 1, 2, true}, {0, 3, 15, true}, {8, 2, 4, false}, {15, 1, 15, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.size);
        Surface s(32, 20);
        OBLDrawTriangle(s.canvas(), k.x, k.y, k.size, clRed, k.down, true);
        s.ExpectPixels([&](int px, int py) { return InTriangle(px, py, k.x, k.y, k.size, k.down) ? clRed : kWhite; });
    }
}

TEST(Triangle, SizesOutsideTheRangeDrawNothing)
{
    for (int size : {-1, 0, 1, 16, 40}) {
        Surface s(40, 40);
        OBLDrawTriangle(s.canvas(), 2, 2, size, clRed, true, true);
        OBLDrawTriangle(s.canvas(), 2, 2, size, clRed, false, false);
        s.ExpectPixels([](int, int) { return kWhite; });
    }
}

TEST(Triangle, DisabledShowsAHighlightCopyRightAndDown)
{
    for (bool down : {true, false}) {
        SCOPED_TRACE(down);
        Surface s(16, 12);
        OBLDrawTriangle(s.canvas(), 3, 2, 4, clRed, down, false);
        s.ExpectPixels([&](int px, int py) {
            if (InTriangle(px, py, 3, 2, 4, down)) return clGrayText;
            if (InTriangle(px, py, 4, 3, 4, down)) return clHighlightText;
            return kWhite;
        });
    }
}

} // namespace
