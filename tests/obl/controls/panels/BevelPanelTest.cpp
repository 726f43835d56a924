// The bevel panel: the Windows bevel as the window's edge styles, children inside the
// bevel, the bevel painted, and hidden again on a flat panel by the background strips.
#include "PanelFixture.h"

#include "platform/classlib/Forms.h"

namespace {

class BevelPanelTest : public PanelFixture {
protected:
    static LONG ExStyle(TWinControl* c) { return GetWindowLongA(c->Handle(), GWL_EXSTYLE); }
    static LONG Style(TWinControl* c) { return GetWindowLongA(c->Handle(), GWL_STYLE); }
};

TEST_F(BevelPanelTest, TheWindowsBevelIsTheClientEdgeOrTheBorder)
{
    struct Case {
        bool ctl3D, themes, clientEdge, border;
    };
    for (const Case& k : {Case{true, false, true, false}, Case{false, false, false, true},
                          Case{true, true, false, false}, Case{false, true, false, false}}) {
        if (k.themes) RestartThemes(TThemeModuleState::Active);
        auto* p = Add<TProbeBevelPanel>(10, 10);
        p->themed = k.themes;
        p->SetCtl3D(k.ctl3D);
        p->Bevel()->SetMode(bmWindows);
        p->HandleNeeded();
        SCOPED_TRACE(testing::Message() << "Ctl3D " << k.ctl3D << " themes " << k.themes);
        EXPECT_EQ((ExStyle(p) & WS_EX_CLIENTEDGE) != 0, k.clientEdge);
        EXPECT_EQ((Style(p) & WS_BORDER) != 0, k.border);
        EXPECT_EQ(p->BevelExt(), 0);
        EXPECT_FALSE(p->GetEmpty());
        FreeObject(p);
    }
}

TEST_F(BevelPanelTest, OnlyAWindowsBevelMakesTheWindowAgainWhenCtl3DChanges)
{
    auto* p = AddWindowed<TProbeBevelPanel>(10, 10);
    int made = p->windowsMade;
    p->SetCtl3D(false);
    EXPECT_EQ(p->windowsMade, made) << "custom bevel";
    p->Bevel()->SetMode(bmWindows);
    EXPECT_EQ(p->windowsMade, ++made) << "switching to the Windows bevel";
    EXPECT_NE(Style(p) & WS_BORDER, 0);
    p->SetCtl3D(true);
    EXPECT_EQ(p->windowsMade, ++made);
    EXPECT_NE(ExStyle(p) & WS_EX_CLIENTEDGE, 0);
    p->Bevel()->SetMode(bmCustom);
    EXPECT_EQ(p->windowsMade, ++made) << "and away from it";
    EXPECT_EQ(ExStyle(p) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(BevelPanelTest, AlignedChildrenStayInsideTheBevel)
{
    auto* p = AddWindowed<TProbeBevelPanel>(10, 10);
    p->SetBounds(10, 10, 120, 80);
    auto* child = AddWindowed<TProbePanel>(0, 0, p);
    child->SetAlign(alClient);
    EXPECT_EQ(V(child->BoundsRect()), (std::vector<int>{0, 0, 120, 80}));
    p->Bevel()->SetBevelStyleOuter(bvRaised);
    p->Bevel()->SetBevelWidthOuter(3);
    EXPECT_EQ(p->BevelExt(), 3);
    EXPECT_EQ(p->DblBevelExt(), 6);
    EXPECT_EQ(V(p->BeveledRect()), (std::vector<int>{3, 3, 117, 77}));
    EXPECT_EQ(V(child->BoundsRect()), (std::vector<int>{3, 3, 117, 77})) << "a bevel change realigns";
    TOBLBevel shadow;
    shadow.SetBevelStyleOuter(bvShadow);
    shadow.SetBevelWidthOuter(4);
    p->SetBevel(&shadow);
    EXPECT_EQ(V(child->BoundsRect()), (std::vector<int>{1, 1, 115, 75}));
}

TEST_F(BevelPanelTest, APanelIsEmptyWithoutAnyBevel)
{
    auto* p = AddWindowed<TProbeBevelPanel>(10, 10);
    EXPECT_TRUE(p->GetEmpty());
    p->Bevel()->SetBorderSpace(1);
    EXPECT_FALSE(p->GetEmpty());
    p->Bevel()->SetBorderSpace(0);
    EXPECT_TRUE(p->GetEmpty());
    p->Bevel()->SetMode(bmWindows);
    EXPECT_FALSE(p->GetEmpty()) << "the window's border is its bevel";
}

class FlatBevelPanel : public BevelPanelTest {
protected:
    // A flat panel with a 2-pixel raised frame over a lending container's gradient.
    void SetUp() override
    {
        BevelPanelTest::SetUp();
        lender_ = AddWindowed<TGradientContainer>(0, 0);
        lender_->SetBounds(0, 0, 260, 180);
        panel_ = AddWindowed<TProbeBevelPanel>(40, 30, lender_);
        panel_->SetBounds(40, 30, 100, 60);
        panel_->SetTransparent(true);
        panel_->Bevel()->SetBevelStyleOuter(bvRaised);
        panel_->Bevel()->SetBevelWidthOuter(2);
        panel_->Bevel()->SetColor(1, clLime);
        panel_->SetFlat(true);
        MoveAway();
        Redraw();
    }
    std::uint32_t Back(int x, int y) { return Rgb(TGradientPanel::ColorAtRow(30 + y, 180)); }

    TGradientContainer* lender_ = nullptr;
    TProbeBevelPanel* panel_ = nullptr;
};

TEST_F(FlatBevelPanel, UnfocusedTheBevelIsHidden)
{
    EXPECT_EQ(PixelOf(panel_, 0, 20), Back(0, 20));
    EXPECT_EQ(PixelOf(panel_, 1, 1), Back(1, 1));
    panel_->SetFlat(false);
    Redraw();
    EXPECT_EQ(PixelOf(panel_, 0, 20), Rgb(clLime));
}

// The strips repaint the top and left extent, the right extent, and one row more than the
// bottom extent; what lies inside stays.
TEST_F(FlatBevelPanel, TheStripsCoverTheBevelAndOneMoreRowAtTheBottom)
{
    TCanvas* canvas = panel_->Canvas();
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(Rect(0, 0, 100, 60));
    panel_->RestoreBorderBack();
    struct Case {
        int x, y;
        bool restored;
    };
    for (const Case& k : {Case{50, 0, true}, Case{50, 1, true}, Case{50, 2, false}, Case{0, 30, true},
                          Case{1, 30, true}, Case{2, 30, false}, Case{99, 30, true}, Case{98, 30, true},
                          Case{97, 30, false}, Case{50, 59, true}, Case{50, 58, true}, Case{50, 57, true},
                          Case{50, 56, false}})
        EXPECT_EQ(PixelOf(panel_, k.x, k.y), k.restored ? Back(k.x, k.y) : 0u) << k.x << "," << k.y;
}

// Under the mouse the flat panel shows its bevel, and keeps it when it repaints meanwhile.
TEST_F(FlatBevelPanel, HoveredTheBevelShowsAndSurvivesARepaint)
{
    MoveTo(panel_, 50, 30);
    ASSERT_TRUE(panel_->MouseAbove());
    EXPECT_EQ(PixelOf(panel_, 0, 20), Rgb(clLime));
    panel_->Repaint();
    EXPECT_EQ(PixelOf(panel_, 0, 20), Rgb(clLime));
    EXPECT_EQ(PixelOf(panel_, 1, 20), Rgb(clLime));
    MoveAway();
    EXPECT_EQ(PixelOf(panel_, 0, 20), Back(0, 20));
}

TEST_F(FlatBevelPanel, FocusedTheBevelShows)
{
    panel_->SetFocus();
    Pump();
    EXPECT_EQ(PixelOf(panel_, 0, 20), Rgb(clLime));
    panel_->Repaint();
    EXPECT_EQ(PixelOf(panel_, 0, 20), Rgb(clLime));
}

} // namespace
