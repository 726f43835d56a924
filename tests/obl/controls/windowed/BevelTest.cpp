// The bevel settings object: the extents of its kinds, the rectangle inside, what it paints
// (checked by pixels), the paired shadow styles, the recreation a switch to or from the
// window's own border asks for, copying and the property-editor summary.
#include "obl/controls/windowed/OBLBevel.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<int> V(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

class ChangeCounter : public TObject {
    VENDARO_CLASS(ChangeCounter, TObject)
public:
    void Changed(TObject*) { ++changes; }
    int changes = 0;
};

// A white 40 x 30 paper to paint a bevel on.
std::unique_ptr<TBitmap> Paper()
{
    auto paper = std::make_unique<TBitmap>();
    paper->SetPixelFormat(pf24bit);
    paper->SetSize(40, 30);
    paper->Canvas()->Brush()->SetColor(clWhite);
    paper->Canvas()->FillRect(Rect(0, 0, 40, 30));
    return paper;
}

COLORREF At(TBitmap* paper, int x, int y) { return GetPixel(paper->Canvas()->Handle(), x, y) & 0xFFFFFF; }

TEST(Bevel, AFreshBevelTakesAndPaintsNothingUntilItChanges)
{
    TOBLBevel bevel;
    EXPECT_EQ(bevel.Mode(), bmCustom);
    EXPECT_EQ(bevel.StandardStyle(), lsSingleLowered);
    EXPECT_EQ(bevel.Ext(), 0);
    EXPECT_EQ(V(bevel.ClientRect(Rect(0, 0, 40, 30))), (std::vector<int>{0, 0, 40, 30}));
    bevel.SetBorderWidth(3);
    auto paper = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{3, 3, 37, 27}));
    EXPECT_EQ(At(paper.get(), 0, 0), ColorToRGB(clBtnFace));
}

TEST(Bevel, TheExtentOfEachKind)
{
    struct Case {
        TOBLBevelMode mode;
        TOBLBevelStyle outer, inner;
        int widthOuter, widthInner, border, innerBorder;
        TOBLFrameSides sides;
        bool windowsSupport;
        int ext;
    };
    const TOBLFrameSides all{fsBottom, fsLeft, fsRight, fsTop};
    const Case cases[] = {
        {bmCustom, bvNone, bvNone, 1, 1, 3, 2, all, false, 5},
        {bmCustom, bvFrameRaised, bvNone, 2, 1, 0, 0, all, false, 3},
        {bmCustom, bvLowered, bvFrameLowered, 2, 3, 1, 1, all, false, 2 + 4 + 1 + 1},
        {bmCustom, bvShadow, bvShadow, 4, 1, 7, 0, all, false, 1},
        {bmStandard, bvNone, bvNone, 1, 1, 0, 1, all, false, 2},
        {bmEdge, bvNone, bvNone, 1, 1, 0, 3, all, false, 5},
        {bmEdge, bvNone, bvNone, 1, 1, 0, 3, {}, false, 3},
        {bmWindows, bvNone, bvNone, 1, 1, 0, 1, all, false, 3},
        {bmWindows, bvNone, bvNone, 1, 1, 0, 1, all, true, 0},
    };
    for (const Case& k : cases) {
        TOBLBevel bevel;
        bevel.SetWindowsSupport(k.windowsSupport);
        bevel.SetMode(k.mode);
        bevel.SetBevelStyleOuter(k.outer);
        bevel.SetBevelStyleInner(k.inner);
        bevel.SetBevelWidthOuter(static_cast<TOBLBevelWidth>(k.widthOuter));
        bevel.SetBevelWidthInner(static_cast<TOBLBevelWidth>(k.widthInner));
        bevel.SetBorderWidth(static_cast<TOBLBorderWidth>(k.border));
        bevel.SetBorderSpace(static_cast<TOBLBorderWidth>(k.innerBorder));
        bevel.SetBorderSides(k.sides);
        EXPECT_EQ(bevel.Ext(), k.ext) << "mode " << static_cast<int>(k.mode) << " outer " << static_cast<int>(k.outer);
        EXPECT_EQ(bevel.GetBevelExtend(), k.ext);
    }
}

TEST(Bevel, TheShadowStylesGoInPairs)
{
    TOBLBevel bevel;
    bevel.SetBevelStyleOuter(bvShadow);
    EXPECT_EQ(bevel.StyleInner(), bvShadow);
    bevel.SetBevelStyleInner(bvLowered);
    EXPECT_EQ(bevel.StyleOuter(), bvNone);
    bevel.SetBevelStyleInner(bvShadow);
    EXPECT_EQ(bevel.StyleOuter(), bvShadow);
    bevel.SetBevelStyleOuter(bvRaised);
    EXPECT_EQ(bevel.StyleInner(), bvNone);
}

TEST(Bevel, AShadowTakesMoreAtTheRightAndBottom)
{
    TOBLBevel bevel;
    bevel.SetBevelStyleOuter(bvShadow);
    bevel.SetBevelWidthOuter(4);
    EXPECT_EQ(bevel.Ext(), 1);
    EXPECT_EQ(bevel.ExtRightBottom(), 5);
    EXPECT_EQ(V(bevel.ClientRect(Rect(0, 0, 100, 50))), (std::vector<int>{1, 1, 95, 45}));
}

TEST(Bevel, AShadowWithoutAFrameIsStillPainted)
{
    TOBLBevel bevel;
    bevel.SetBevelStyleOuter(bvShadow);
    bevel.SetBevelWidthInner(0);
    bevel.SetBevelWidthOuter(4);
    bevel.SetColor(2, clRed);
    ASSERT_EQ(bevel.Ext(), 0);
    auto paper = Paper();
    bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), true);
    EXPECT_EQ(At(paper.get(), 38, 20), ColorToRGB(clRed)) << "the shadow at the right";
    EXPECT_EQ(At(paper.get(), 20, 28), ColorToRGB(clRed)) << "the shadow at the bottom";
    EXPECT_EQ(At(paper.get(), 20, 10), ColorToRGB(clWhite));
}

TEST(Bevel, FlatBordersAreOutlinesOfTheBorderColourUnlessTransparent)
{
    TOBLBevel bevel;
    bevel.SetBorderWidth(3);
    bevel.SetBorderSpace(2);
    bevel.SetColor(0, clBlue);
    auto paper = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{5, 5, 35, 25}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(At(paper.get(), i, 15), ColorToRGB(clBlue)) << i;
    EXPECT_EQ(At(paper.get(), 5, 15), ColorToRGB(clWhite));
    auto clear = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(clear->Canvas(), Rect(0, 0, 40, 30), true)), (std::vector<int>{5, 5, 35, 25}));
    EXPECT_EQ(At(clear.get(), 0, 15), ColorToRGB(clWhite));
}

TEST(Bevel, CustomFramesShowTheirLightAndShadowSides)
{
    struct Case {
        TOBLBevelStyle style;
        TColor topLeft, bottomRight;
    };
    for (const Case& k : {Case{bvLowered, clRed, clLime}, Case{bvRaised, clLime, clRed}}) {
        TOBLBevel bevel;
        bevel.SetColor(1, clLime);
        bevel.SetColor(2, clRed);
        bevel.SetBevelStyleOuter(k.style);
        bevel.SetBevelWidthOuter(2);
        auto paper = Paper();
        EXPECT_EQ(V(bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{2, 2, 38, 28}));
        EXPECT_EQ(At(paper.get(), 1, 15), ColorToRGB(k.topLeft)) << static_cast<int>(k.style);
        EXPECT_EQ(At(paper.get(), 20, 0), ColorToRGB(k.topLeft)) << static_cast<int>(k.style);
        EXPECT_EQ(At(paper.get(), 38, 15), ColorToRGB(k.bottomRight)) << static_cast<int>(k.style);
        EXPECT_EQ(At(paper.get(), 20, 29), ColorToRGB(k.bottomRight)) << static_cast<int>(k.style);
        EXPECT_EQ(At(paper.get(), 20, 15), ColorToRGB(clWhite));
    }
}

TEST(Bevel, TheStandardAndWindowsKindsDrawTheirFrames)
{
    struct Case {
        TOBLBevelMode mode;
        TOBLBorderStyle frame;
    };
    for (const Case& k : {Case{bmStandard, lsSingleLowered}, Case{bmWindows, lsLoweredExt}}) {
        TOBLBevel bevel;
        bevel.SetMode(k.mode);
        auto painted = Paper();
        auto expected = Paper();
        const TRect inner = bevel.PaintBevel(painted->Canvas(), Rect(0, 0, 40, 30), false);
        TRect r = Rect(0, 0, 40, 30);
        OBLDrawStdFrame(expected->Canvas(), r, k.frame, 0);
        EXPECT_EQ(V(inner), V(r));
        for (const POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{39, 29}, POINT{38, 28}, POINT{20, 0}, POINT{0, 15}})
            EXPECT_EQ(At(painted.get(), p.x, p.y), At(expected.get(), p.x, p.y)) << p.x << "," << p.y;
        EXPECT_NE(At(painted.get(), 0, 15), ColorToRGB(clWhite));
    }
}

TEST(Bevel, AnEdgeOnOneSideStillShrinksAllFour)
{
    TOBLBevel bevel;
    bevel.SetMode(bmEdge);
    bevel.SetBorderSides(TOBLFrameSides{fsBottom});
    auto paper = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{2, 2, 38, 28}));
    EXPECT_NE(At(paper.get(), 20, 28), ColorToRGB(clWhite)) << "the bottom edge (its dark inner line)";
    EXPECT_EQ(At(paper.get(), 20, 1), ColorToRGB(clWhite)) << "no top edge";
    EXPECT_EQ(At(paper.get(), 1, 15), ColorToRGB(clWhite)) << "no left edge";
    bevel.SetBorderSides({});
    auto none = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(none->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{0, 0, 40, 30}));
    EXPECT_EQ(At(none.get(), 20, 28), ColorToRGB(clWhite));
}

TEST(Bevel, TheWindowsKindOfASupportingOwnerTakesNothingAndRecreatesOncePerSwitch)
{
    TOBLBevel bevel;
    bevel.SetWindowsSupport(true);
    bevel.SetMode(bmWindows);
    EXPECT_EQ(bevel.Ext(), 0);
    auto paper = Paper();
    EXPECT_EQ(V(bevel.PaintBevel(paper->Canvas(), Rect(0, 0, 40, 30), false)), (std::vector<int>{0, 0, 40, 30}));
    EXPECT_EQ(At(paper.get(), 0, 0), ColorToRGB(clWhite));
    EXPECT_TRUE(bevel.GetRecreateWnd());
    EXPECT_FALSE(bevel.GetRecreateWnd()) << "asked once";
    bevel.SetColor(0, clRed);
    EXPECT_FALSE(bevel.GetRecreateWnd()) << "another change keeps the window";
    bevel.SetMode(bmEdge);
    EXPECT_TRUE(bevel.GetRecreateWnd());
    bevel.SetMode(bmStandard);
    EXPECT_FALSE(bevel.GetRecreateWnd()) << "neither kind is the window's own";
    TOBLBevel plain;
    plain.SetMode(bmWindows);
    EXPECT_FALSE(plain.GetRecreateWnd()) << "an owner without support draws it itself";
}

TEST(Bevel, TheStandardStyleNotifiesOnlyWhileShown)
{
    TOBLBevel bevel;
    ChangeCounter counter;
    bevel.SetOnChange(TNotifyEvent(&counter, &ChangeCounter::Changed));
    bevel.SetStyle(lsDoubleRaised);
    EXPECT_EQ(counter.changes, 0);
    EXPECT_EQ(bevel.StandardStyle(), lsDoubleRaised);
    bevel.SetMode(bmStandard);
    bevel.SetStyle(lsLowered);
    EXPECT_EQ(counter.changes, 2);
    bevel.SetColor(7, clRed);
    EXPECT_EQ(counter.changes, 3) << "an unknown colour index only notifies";
}

TEST(Bevel, AssignCopiesThePublishedSettingsAndRecomputesTheExtents)
{
    TOBLBevel source;
    source.SetWindowsSupport(true);
    source.SetBevelStyleOuter(bvShadow);
    source.SetBevelWidthOuter(6);
    source.SetBevelWidthInner(2);
    source.SetBorderSpace(1);
    source.SetColor(0, clRed);
    source.SetColor(1, clLime);
    source.SetColor(2, clBlue);
    source.SetEdgeStyle(etBump);
    source.SetBorderSides(TOBLFrameSides{fsTop});
    source.SetBorderWidth(9);
    source.SetStyle(lsRaised);
    TOBLBevel target;
    ChangeCounter counter;
    target.SetOnChange(TNotifyEvent(&counter, &ChangeCounter::Changed));
    target.Assign(&source);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(target.StyleOuter(), bvShadow);
    EXPECT_EQ(target.StyleInner(), bvShadow);
    EXPECT_EQ(target.WidthOuter(), 6);
    EXPECT_EQ(target.WidthInner(), 2);
    EXPECT_EQ(target.BorderInnerWidth(), 1);
    EXPECT_EQ(target.BorderColor(), clRed);
    EXPECT_EQ(target.LightColor(), clLime);
    EXPECT_EQ(target.ShadowColor(), clBlue);
    EXPECT_EQ(target.EdgeStyle(), etBump);
    EXPECT_TRUE(target.BorderSides() == TOBLFrameSides{fsTop});
    EXPECT_EQ(target.BorderWidth(), 9);
    EXPECT_EQ(target.StandardStyle(), lsRaised);
    EXPECT_EQ(target.Mode(), bmCustom);
    EXPECT_FALSE(target.WindowsSupport()) << "the owner's flag stays the owner's";
    EXPECT_EQ(target.Ext(), 3);
    EXPECT_EQ(target.ExtRightBottom(), 9);
    // The Windows kind copied onto a supporting owner is a switch of its window.
    TOBLBevel windows;
    windows.SetMode(bmWindows);
    TOBLBevel owner;
    owner.SetWindowsSupport(true);
    owner.Assign(&windows);
    EXPECT_EQ(owner.Ext(), 0);
    EXPECT_TRUE(owner.GetRecreateWnd());
    owner.Assign(&owner);
    EXPECT_FALSE(owner.GetRecreateWnd());
}

TEST(Bevel, TheSummaryNamesTheKind)
{
    const char* const texts[] = {"{Custom style}", "{Standard style}", "{Edged style}", "{Windows style}"};
    TOBLBevel bevel;
    for (int mode = 0; mode < 4; ++mode) {
        bevel.SetMode(static_cast<TOBLBevelMode>(mode));
        EXPECT_EQ(bevel.GetSetStr(), texts[mode]);
    }
}

} // namespace
