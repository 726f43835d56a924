#include "obl/controls/shapes/oblregion.h"
#include "tests/obl/controls/shapes/Paper.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

using Painter = std::function<void(TCanvas*, const TRect&, TColor, TColor, TColor, TOBLRegionBorderStyle)>;

struct Named {
    const char* name;
    Painter paint;
};

std::vector<Named> Painters()
{
    return {
        {"rect", OBLFrameRectRgn},
        {"elliptic", OBLFrameEllipticRgn},
        {"half round", OBLFrameHalfRoundRgn},
        {"diamond", OBLFrameDiamondRgn},
        {"star", OBLFrameStarRgn},
        {"octagon", OBLFrameOctagonRgn},
        {"comb", OBLFrameCombRgn},
        {"round shield", OBLFrameRoundShieldRgn},
        {"sharp shield", OBLFrameSharpShieldRgn},
        {"round rect",
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameRoundRectRgn(c, r, l, s, n, st, 30, 24);
         }},
        {"think bubble",
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameThinkBubbleRgn(c, r, 20, 3, epRightBottom, l, s, n, st);
         }},
        {"elliptic think bubble",
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameEllipticThinkBubbleRgn(c, r, 20, 3, epLeftTop, l, s, n, st);
         }},
        {"round think bubble",
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameRoundThinkBubbleRgn(c, r, 20, 2, epTopRight, 16, 16, l, s, n, st);
         }},
    };
}

constexpr TColor kLight = clRed, kShadow = clBlue, kSingle = clLime;

// How many pixels of each colour were painted, and where they lie on average along the
// top-left to bottom-right diagonal (x + y).
struct Tally {
    std::map<TColor, int> count;
    std::map<TColor, double> diagonal;

    double Mean(TColor c) const { return diagonal.at(c) / count.at(c); }
    bool Has(TColor c) const { return count.count(c) != 0; }
};

Tally Frame(const Painter& paint, TOBLRegionBorderStyle style)
{
    Paper paper(104, 84);
    paper.Canvas()->Brush()->SetStyle(bsClear);
    paint(paper.Canvas(), Rect(0, 0, 100, 80), kLight, kShadow, kSingle, style);
    Tally t;
    for (int y = 0; y < 84; ++y)
        for (int x = 0; x < 104; ++x)
            if (TColor c = paper.At(x, y); c != clWhite) {
                ++t.count[c];
                t.diagonal[c] += x + y;
            }
    return t;
}

TEST(RegionFrames, EveryPainterInEveryStyle)
{
    for (const auto& p : Painters()) {
        SCOPED_TRACE(p.name);
        EXPECT_TRUE(Frame(p.paint, rbNone).count.empty());

        auto single = Frame(p.paint, rbSingle);
        ASSERT_EQ(single.count.size(), 1u);
        EXPECT_TRUE(single.Has(kSingle));

        // Raised: light up-left of the shadow; lowered: the other way round.
        auto raised = Frame(p.paint, rbRaised);
        ASSERT_EQ(raised.count.size(), 2u);
        EXPECT_LT(raised.Mean(kLight), raised.Mean(kShadow));
        auto lowered = Frame(p.paint, rbLowered);
        ASSERT_EQ(lowered.count.size(), 2u);
        EXPECT_GT(lowered.Mean(kLight), lowered.Mean(kShadow));

        auto singleRaised = Frame(p.paint, rbSingleRaised);
        EXPECT_EQ(singleRaised.count.size(), 3u);
        EXPECT_LT(singleRaised.Mean(kLight), singleRaised.Mean(kShadow));
        auto singleLowered = Frame(p.paint, rbSingleLowered);
        EXPECT_EQ(singleLowered.count.size(), 3u);
        EXPECT_GT(singleLowered.Mean(kLight), singleLowered.Mean(kShadow));

        // psb: the lower-right half in the single colour, the shadow colour inside it.
        auto psb = Frame(p.paint, rbRaisedpsb);
        ASSERT_EQ(psb.count.size(), 3u);
        EXPECT_LT(psb.Mean(kLight), psb.Mean(kSingle));
        auto psbLowered = Frame(p.paint, rbLoweredpsb);
        ASSERT_EQ(psbLowered.count.size(), 3u);
        EXPECT_LT(psbLowered.Mean(kShadow), psbLowered.Mean(kSingle)) << "the lowered light half is in ShadowColor";
    }
}

TEST(RegionFrames, ThePainterLeavesTheClipRegionAsItWas)
{
    for (const auto& p : Painters()) {
        SCOPED_TRACE(p.name);
        {
            Paper paper(104, 84);
            HRGN clip = CreateRectRgn(5, 5, 90, 70);
            SelectClipRgn(paper.DC(), clip);
            paper.Canvas()->Brush()->SetStyle(bsClear);
            p.paint(paper.Canvas(), Rect(0, 0, 100, 80), kLight, kShadow, kSingle, rbSingleRaised);
            HRGN after = CreateRectRgn(0, 0, 0, 0);
            ASSERT_EQ(GetClipRgn(paper.DC(), after), 1);
            EXPECT_TRUE(EqualRgn(after, clip));
            DeleteObject(after);
            DeleteObject(clip);
            // Nothing was painted outside the clip.
            for (int x = 0; x < 104; ++x)
                EXPECT_EQ(paper.At(x, 2), clWhite) << x;
        }
        {
            Paper paper(104, 84);
            p.paint(paper.Canvas(), Rect(0, 0, 100, 80), kLight, kShadow, kSingle, rbRaisedpsb);
            HRGN after = CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(GetClipRgn(paper.DC(), after), 0) << "no clip before, none after";
            DeleteObject(after);
        }
    }
}

TEST(RegionFrames, BubblesAreFramedAndKeptOutOfTheBody)
{
    // Bubbles down-right of the body (0, 0) .. (80, 60) of (0, 0, 100, 80), nose 20.
    Paper paper(104, 84);
    paper.Canvas()->Brush()->SetStyle(bsClear);
    OBLFrameThinkBubbleRgn(paper.Canvas(), Rect(0, 0, 100, 80), 20, 3, epRightBottom, kLight, kShadow, kSingle,
                           rbSingle);
    TRect body = Rect(0, 0, 100, 80);
    auto bubbles = OBLThinkBubbles(body, 20, 3, epRightBottom);
    const auto& last = bubbles.back(); // the largest, at the body's corner
    const int half = last.Diameter / 2;
    ASSERT_GT(half, 2);
    // Its left edge is painted; the body's bottom edge, which runs through its box, is not.
    EXPECT_EQ(paper.At(last.X - half, last.Y), kSingle);
    EXPECT_EQ(paper.At(last.X - half - 2, last.Y), kSingle);
    EXPECT_EQ(paper.At(last.X - half + 2, last.Y), clWhite);
    EXPECT_EQ(paper.At(last.X, last.Y), clWhite);
    EXPECT_EQ(paper.At(body.left + 20, body.top), kSingle);
    EXPECT_EQ(paper.At(body.right, body.top + 20), kSingle);
}

TEST(RegionFrames, RectangleHalvesRunAlongItsEdges)
{
    Paper paper(30, 30);
    OBLFrameRectRgn(paper.Canvas(), Rect(5, 5, 25, 20), kLight, kShadow, kSingle, rbRaised);
    EXPECT_EQ(paper.At(15, 5), kLight);
    EXPECT_EQ(paper.At(5, 12), kLight);
    EXPECT_EQ(paper.At(15, 20), kShadow);
    EXPECT_EQ(paper.At(25, 12), kShadow);
    EXPECT_EQ(paper.At(15, 12), clWhite);
}

TEST(RegionFrames, HalfRoundStaysInItsRectangle)
{
    for (auto style : {rbSingle, rbSingleRaised, rbLoweredpsb}) {
        Paper paper(104, 84);
        OBLFrameHalfRoundRgn(paper.Canvas(), Rect(0, 40, 100, 80), kLight, kShadow, kSingle, style);
        int above = 0, below = 0;
        for (int y = 0; y < 84; ++y)
            for (int x = 0; x < 104; ++x)
                (y < 39 ? above : below) += paper.At(x, y) != clWhite;
        EXPECT_EQ(above, 0) << style;
        EXPECT_GT(below, 100) << style;
    }
}

// The shields' two colours run inside the single outline, as every shape's do: with the
// 2-pixel pen of the region object the outline stays whole over both scoops, its colour
// the first one met from above in every column between the corners where the scoops meet
// the sides.
TEST(RegionFrames, TheShieldsOutlineStaysWholeOverTheTwoColours)
{
    for (const auto& p : {Painters()[7], Painters()[8]}) {
        SCOPED_TRACE(p.name);
        Paper paper(104, 84);
        paper.Canvas()->Brush()->SetStyle(bsClear);
        paper.Canvas()->Pen()->SetWidth(2);
        p.paint(paper.Canvas(), Rect(0, 0, 100, 80), kLight, kShadow, kSingle, rbSingleRaised);
        for (int x = 4; x < 96; ++x) {
            int y = 0;
            while (y < 30 && paper.At(x, y) == clWhite)
                ++y;
            ASSERT_LT(y, 30) << x;
            EXPECT_EQ(paper.At(x, y), kSingle) << x << "," << y;
        }
    }
}

} // namespace
