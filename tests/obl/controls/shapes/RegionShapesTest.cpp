#include "obl/controls/shapes/oblregion.h"
#include "tests/obl/controls/shapes/Paper.h"
#include "tests/obl/controls/shapes/RegionPixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {


template <std::size_t N> std::vector<POINT> V(const std::array<POINT, N>& a) { return {a.begin(), a.end()}; }

bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

TEST(RegionShapes, StatedVertices)
{
    struct Case {
        const char* name;
        std::vector<POINT> got, want;
    };
    TRect body = Rect(0, 0, 100, 50);
    auto nose = OBLNosePoints(body, 10, epLeftTop, 5);
    const Case cases[] = {
        {"diamond", V(OBLDiamondPoints(Rect(0, 0, 100, 100))), {{50, 0}, {0, 50}, {50, 100}, {100, 50}}},
        {"star", V(OBLStarPoints(Rect(0, 0, 100, 100))),
         {{50, 0}, {65, 38}, {100, 38}, {70, 60}, {85, 100}, {50, 75}, {15, 100}, {30, 60}, {0, 38}, {35, 38}}},
        {"nose", V(nose), {{0, 0}, {10, 15}, {10, 29}}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.got.size(), c.want.size()) << c.name;
        for (std::size_t i = 0; i < c.got.size(); ++i)
            EXPECT_TRUE(c.got[i] == c.want[i]) << c.name << " point " << i << ": " << c.got[i].x << ","
                                               << c.got[i].y;
    }
    EXPECT_EQ(body.left, 10);
    EXPECT_EQ(body.top, 10);
    EXPECT_EQ(body.right, 100);
    EXPECT_EQ(body.bottom, 50);
}

TEST(RegionShapes, PixelProbes)
{
    struct Probe {
        const char* name;
        std::function<HRGN()> make;
        int x, y;
        bool inside;
    };
    auto diamond = [] { return OBLCreateDiamondRgn(Rect(0, 0, 100, 100)); };
    auto star = [] { return OBLCreateStarRgn(Rect(0, 0, 100, 100)); };
    auto nose = [] { return OBLCreateNoseRectRgn(Rect(0, 0, 100, 50), 10, epLeftTop); };
    const Probe probes[] = {
        {"diamond centre", diamond, 50, 50, true},
        {"diamond near top", diamond, 50, 2, true},
        {"diamond corner", diamond, 5, 5, false},
        {"diamond corner br", diamond, 95, 95, false},
        {"diamond edge in", diamond, 26, 26, true},
        {"diamond edge out", diamond, 23, 23, false},
        {"star centre", star, 50, 50, true},
        {"star top arm", star, 50, 10, true},
        {"star beside top arm", star, 40, 10, false},
        {"star right arm", star, 95, 40, true},
        {"star notch between legs", star, 50, 90, false},
        {"star left leg", star, 20, 95, true},
        {"nose body", nose, 50, 30, true},
        {"nose body top strip", nose, 50, 5, false},
        {"nose body left strip", nose, 5, 45, false},
        {"nose triangle", nose, 7, 15, true},
        {"nose near its tip", nose, 5, 10, true},
        {"nose outside its edge", nose, 2, 10, false},
    };
    for (const auto& p : probes) {
        OwnedRgn r(p.make());
        EXPECT_EQ(PtInRegion(r.h, p.x, p.y) != 0, p.inside) << p.name;
    }
}

TEST(RegionShapes, SmallDiamondMask)
{
    OwnedRgn r(OBLCreateDiamondRgn(Rect(0, 0, 8, 8)));
    auto mask = Mask(r.h, 0, 0, 8, 8);
    // Pixels are in when their centre is; the vertices at x = 4 and y = 4 make the
    // shape symmetric about 3.5 in both directions.
    const std::vector<std::string> want = {
        "...#....", "..###...", ".#####..", "#######.", "#######.", ".#####..", "..###...", "...#....",
    };
    EXPECT_EQ(mask, want);
}

TEST(RegionShapes, ShieldsDependOnlyOnSize)
{
    for (auto make : {OBLCreateRoundShieldRgn, OBLCreateSharpShieldRgn}) {
        OwnedRgn a(make(Rect(0, 0, 80, 100))), b(make(Rect(300, 200, 380, 300)));
        EXPECT_TRUE(EqualRgn(a.h, b.h));
        RECT box;
        ASSERT_NE(GetRgnBox(a.h, &box), NULLREGION);
        // Nothing above the top edge survives, and the shield reaches its bottom.
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.bottom, 100);
        EXPECT_GT(box.bottom, 90);
        EXPECT_FALSE(PtInRegion(a.h, 1, 1)) << "scooped corner";
        EXPECT_TRUE(PtInRegion(a.h, 40, 50));
    }
}

TEST(RegionShapes, ThinkBubbleHasNoStrayPixelAndSurvivesZeroBubbles)
{
    // The body is (10, 10, 90, 50) and the bubbles lie down-right of it: (0, 0) is never
    // part of the region unless a seed pixel was left in it.
    for (int count : {-3, 0, 1, 3}) {
        OwnedRgn r(OBLCreateThinkBubbleRgn(Rect(10, 10, 110, 70), 20, count, epRightBottom));
        EXPECT_FALSE(PtInRegion(r.h, 0, 0)) << count;
        EXPECT_TRUE(PtInRegion(r.h, 40, 30)) << count;
        TRect body = Rect(0, 0, 100, 60);
        auto bubbles = OBLThinkBubbles(body, 20, count, epRightBottom);
        EXPECT_EQ(bubbles.size(), static_cast<std::size_t>((count < 1 ? 1 : count) + 2));
        EXPECT_EQ(bubbles.front().Diameter, 0);
        EXPECT_EQ(bubbles.front().X, 100) << "the smallest bubble sits at the outer corner";
        EXPECT_EQ(bubbles.front().Y, 60);
    }
}

TEST(RegionShapes, Screenshot)
{
    Surface surface(4 * 130 + 10, 3 * 130 + 10, 0xFFFFFF);
    HDC dc = GdiCreateSurfaceDC(&surface, POINT{0, 0}, nullptr);
    ASSERT_NE(dc, nullptr);
    std::vector<std::function<HRGN(const TRect&)>> makers = {
        OBLCreateDiamondRgn, OBLCreateStarRgn, OBLCreateOctagonRgn, OBLCreateCombRgn,
        OBLCreateRoundShieldRgn, OBLCreateSharpShieldRgn,
        [](const TRect& r) { return OBLCreateNoseRectRgn(r, 15, epLeftTop); },
        [](const TRect& r) { return OBLCreateRoundNoseRectRgn(r, 15, 20, 20, epBottomRight); },
        [](const TRect& r) { return OBLCreateThinkBubbleRgn(r, 25, 3, epLeftTop); },
        [](const TRect& r) { return OBLCreateEllipticThinkBubbleRgn(r, 25, 3, epRightBottom); },
        [](const TRect& r) { return OBLCreateRoundThinkBubbleRgn(r, 25, 2, epTopRight, 20, 20); },
    };
    HBRUSH brush = CreateSolidBrush(RGB(30, 90, 160));
    for (std::size_t i = 0; i < makers.size(); ++i) {
        int x = 10 + static_cast<int>(i % 4) * 130, y = 10 + static_cast<int>(i / 4) * 130;
        HRGN r = makers[i](Rect(x, y, x + 120, y + 120));
        // The shields lie at the origin; move them into their cell.
        if (i == 4 || i == 5)
            OffsetRgn(r, x, y);
        FillRgn(dc, r, brush);
        DeleteObject(r);
    }
    DeleteObject(brush);
    GdiDeleteSurfaceDC(dc);
    ASSERT_TRUE(SaveSurfacePng(surface, ScreenshotPath("region-shapes.png")));
    EXPECT_EQ(surface.Pixel(70, 70), 0x1E5AA0u) << "diamond centre is filled";
    EXPECT_EQ(surface.Pixel(12, 12), 0xFFFFFFu) << "diamond corner is not";
}

} // namespace

namespace {

// The colours at the upper-left edge (5, 5) and the lower-right edge (15, 15) of a
// 20 x 20 diamond framed on white.
std::pair<std::uint32_t, std::uint32_t> FramedDiamond(TOBLRegionBorderStyle style)
{
    Surface surface(21, 21, 0xFFFFFF);
    HDC dc = GdiCreateSurfaceDC(&surface, POINT{0, 0}, nullptr);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetStyle(bsClear);
        OBLFrameDiamondRgn(&canvas, Rect(0, 0, 20, 20), clRed, clBlue, clLime, style);
        canvas.SetHandle(nullptr);
    }
    GdiDeleteSurfaceDC(dc);
    return {surface.Pixel(5, 5), surface.Pixel(15, 15)};
}

TEST(RegionShapes, DiamondFrameStyles)
{
    const std::uint32_t red = 0xFF0000, blue = 0x0000FF, lime = 0x00FF00, white = 0xFFFFFF;
    struct Case {
        TOBLRegionBorderStyle style;
        std::uint32_t upperLeft, lowerRight;
    };
    const Case cases[] = {
        {rbNone, white, white},       {rbRaised, red, blue},        {rbLowered, blue, red},
        {rbSingle, lime, lime},       {rbRaisedpsb, red, lime},     {rbLoweredpsb, blue, lime},
    };
    for (const auto& c : cases) {
        auto [ul, lr] = FramedDiamond(c.style);
        EXPECT_EQ(ul, c.upperLeft) << "style " << c.style;
        EXPECT_EQ(lr, c.lowerRight) << "style " << c.style;
    }
}

} // namespace
