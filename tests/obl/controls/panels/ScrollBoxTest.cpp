// The scroll box: its frame from the bevel, scrolling by the wheel and the scroll bar with
// OnScroll and the repaint of a transparent box's background, the background its children
// take, and the windows of children out of view.
#include "ScrollBoxFixture.h"

namespace {

class ScrollBoxTest : public ScrollBoxFixture {
protected:
    DWORD Style(TWinControl* c) { return static_cast<DWORD>(GetWindowLongA(c->Handle(), GWL_STYLE)); }
    DWORD ExStyle(TWinControl* c) { return static_cast<DWORD>(GetWindowLongA(c->Handle(), GWL_EXSTYLE)); }
    // Where the client area starts within the window.
    TPoint ClientInset(TWinControl* c)
    {
        RECT window{};
        GetWindowRect(c->Handle(), &window);
        const TPoint origin = c->ClientToScreen(Point(0, 0));
        return Point(origin.x - window.left, origin.y - window.top);
    }
    std::vector<TEdit*> Edits(TWinControl* box, int rows)
    {
        std::vector<TEdit*> edits;
        for (int i = 0; i < rows; ++i) {
            auto* edit = Add<TEdit>(10, 10 + 60 * i, box);
            edit->SetWidth(120);
            edits.push_back(edit);
        }
        box->Realign();
        return edits;
    }
};

TEST_F(ScrollBoxTest, ADefaultBoxHasTheWindowsClientEdgeAndNoBevelExtent)
{
    auto* box = AddWindowed<TProbeScrollBox>(10, 10);
    EXPECT_EQ(V(box->BoundsRect()), (std::vector<int>{10, 10, 195, 51}));
    EXPECT_EQ(box->BorderStyle(), bsNone);
    EXPECT_EQ(box->Bevel()->Mode(), bmWindows);
    EXPECT_EQ(box->Bevel()->Ext(), 0);
    EXPECT_TRUE(box->Ctl3D());
    EXPECT_FALSE(box->ParentCtl3D());
    EXPECT_FALSE(box->ControlStyle().Contains(csOpaque));
    EXPECT_TRUE(ExStyle(box) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style(box) & WS_CLIPCHILDREN);
    EXPECT_EQ(GetClassLongA(box->Handle(), GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), 0u);
    EXPECT_EQ(V(ClientInset(box)), (std::vector<int>{2, 2}));
    box->SetCtl3D(false);
    EXPECT_FALSE(ExStyle(box) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style(box) & WS_BORDER);
}

TEST_F(ScrollBoxTest, WithThemesTheEdgeIsTheThemesOnePixelBorder)
{
    Themes(TThemeModuleState::Active);
    ASSERT_TRUE(OBLApplication->UseXPThemes());
    auto* box = AddWindowed<TProbeScrollBox>(10, 10);
    EXPECT_TRUE(box->UseXP());
    EXPECT_TRUE(ExStyle(box) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(V(ClientInset(box)), (std::vector<int>{1, 1}));
    EXPECT_EQ(box->ClientWidth(), 183);
    // The ring is the theme's: it differs from the classic edge's dark outer line.
    Redraw();
    const std::uint32_t themedRing = PixelOf(box, -1, 20);
    box->SetCtlXP(false);
    EXPECT_FALSE(box->UseXP());
    EXPECT_EQ(V(ClientInset(box)), (std::vector<int>{2, 2}));
    Redraw();
    EXPECT_NE(PixelOf(box, -2, 20), themedRing);
    box->Bevel()->SetMode(bmCustom);
    box->SetCtlXP(true);
    EXPECT_FALSE(box->UseXP());
}

TEST_F(ScrollBoxTest, ACustomBevelMakesTheWindowAgainAndMovesTheClientAreaIn)
{
    struct Case {
        const char* name;
        std::function<void(TOBLBevel&)> set;
        int left, right;
    };
    const std::vector<Case> cases = {
        {"raised 2", [](TOBLBevel& b) { b.SetMode(bmCustom); b.SetBevelStyleOuter(bvRaised); b.SetBevelWidthOuter(2); }, 2, 2},
        {"standard", [](TOBLBevel& b) { b.SetMode(bmStandard); b.SetStyle(lsSingle); }, 1, 1},
        {"shadow", [](TOBLBevel& b) { b.SetMode(bmCustom); b.SetBevelStyleOuter(bvShadow); b.SetBevelWidthOuter(4); }, 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* box = AddWindowed<TProbeScrollBox>(10, 10);
        const HWND before = box->Handle();
        c.set(*box->Bevel());
        EXPECT_NE(box->Handle(), before);
        EXPECT_EQ(ExStyle(box) & WS_EX_CLIENTEDGE, 0u);
        EXPECT_EQ(Style(box) & WS_BORDER, 0u);
        EXPECT_EQ(V(ClientInset(box)), (std::vector<int>{c.left, c.left}));
        EXPECT_EQ(box->ClientWidth(), 185 - c.left - c.right);
        box->Bevel()->SetMode(bmWindows);
        EXPECT_EQ(V(ClientInset(box)), (std::vector<int>{2, 2}));
        FreeObject(box);
    }
}

TEST_F(ScrollBoxTest, ScrollBarAndWheelFireOnScrollAndPaintTheFinalPosition)
{
    struct Case {
        bool transparent;
        bool refresh;
        BYTE delta;
        int afterClick, afterWheel;
    };
    // A click on the arrow is one line and the end; a wheel notch three lines and the end.
    const Case cases[] = {
        {true, true, 3, 1, 2}, {true, true, 1, 1, 4},  {true, true, 2, 1, 3},
        {true, false, 1, 1, 2}, {false, true, 3, 1, 4}, {false, false, 1, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transparent << c.refresh << int(c.delta));
        TProbeScrollBox* box = TransparentBox();
        box->SetTransparent(c.transparent);
        box->SetScrollRefresh(c.refresh);
        box->SetDelta(c.delta);
        Redraw();
        ClickDownArrow(box);
        EXPECT_EQ(box->VertScrollBar()->Position(), 8);
        EXPECT_EQ(box->scrolls, c.afterClick);
        if (c.transparent) {
            EXPECT_EQ(WrongRows(box, 165, box->ClientHeight()), std::vector<int>{});
        }
        WheelDown(box);
        EXPECT_EQ(box->VertScrollBar()->Position(), 32);
        EXPECT_EQ(box->scrolls, c.afterWheel);
        if (c.transparent) {
            EXPECT_EQ(WrongRows(box, 165, box->ClientHeight()), std::vector<int>{});
            EXPECT_EQ(WrongRows(box->Controls(1), 70, 40), std::vector<int>{});
        }
        FreeObject(box);
    }
}

TEST_F(ScrollBoxTest, ATransparentBoxRepaintsItsBackgroundEveryDeltaThScrollMessage)
{
    TProbeScrollBox* box = TransparentBox();
    box->SetDelta(3);
    const std::uint32_t at20 = BackUnder(box, 165, 20);
    for (int message = 1; message <= 3; ++message) {
        SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        Pump();
        SCOPED_TRACE(message);
        // Until the repaint the moved bits show the background from further down.
        EXPECT_EQ(PixelOf(box, 165, 20), message < 3 ? BackUnder(box, 165, 20 + 8 * message) : at20);
        EXPECT_EQ(box->scrolls, message < 3 ? 0 : 1);
    }
}

TEST_F(ScrollBoxTest, ChildrenTakeTheBackgroundUnderThemWhateverTheFrame)
{
    struct Case {
        const char* name;
        std::function<void(TOBLBevel&)> set;
    };
    const std::vector<Case> cases = {
        {"window edge", [](TOBLBevel&) {}},
        {"raised 3", [](TOBLBevel& b) { b.SetMode(bmCustom); b.SetBevelStyleOuter(bvRaised); b.SetBevelWidthOuter(3); }},
        {"edge", [](TOBLBevel& b) { b.SetMode(bmEdge); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TProbeScrollBox* box = TransparentBox();
        // Wide children bring up the horizontal bar too.
        static_cast<TControl*>(box->Controls(0))->SetWidth(300);
        box->Realign();
        c.set(*box->Bevel());
        Redraw();
        ASSERT_TRUE(box->ScrollBarsVisible());
        const TPoint inForm = form_->ScreenToClient(box->ClientToScreen(Point(0, 0)));
        EXPECT_EQ(V(box->BackMapPoint(Point(0, 0))), V(inForm));
        EXPECT_EQ(WrongRows(box, 165, box->ClientHeight()), std::vector<int>{});
        SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        SendMessageA(box->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
        Pump();
        EXPECT_EQ(WrongRows(box->Controls(0), 70, 40), std::vector<int>{});
        FreeObject(box);
    }
}

TEST_F(ScrollBoxTest, TheHorizontalBarsHeightIsLeftOutOfTheFrame)
{
    // Bars of different thickness tell the vertical bar's width from the horizontal one's height.
    struct TBars {
        TBars() { SetScrollBarSize(16, 24); }
        ~TBars() { SetScrollBarSize(16, 16); }
    } bars;
    TProbeScrollBox* box = TransparentBox();
    static_cast<TControl*>(box->Controls(0))->SetWidth(300);
    box->Realign();
    Redraw();
    ASSERT_TRUE(box->ScrollBarsVisible());
    const TPoint inForm = form_->ScreenToClient(box->ClientToScreen(Point(0, 0)));
    EXPECT_EQ(V(box->BackMapPoint(Point(0, 0))), V(inForm));
}

TEST_F(ScrollBoxTest, WithoutAParentBackgroundNothingIsLent)
{
    auto* box = AddWindowed<TProbeScrollBox>(10, 10);
    box->SetTransparent(true);
    EXPECT_FALSE(box->BackBitmapCheck());
    EXPECT_EQ(box->BackBitmap(), nullptr);
    EXPECT_EQ(V(box->BackMapPoint(Point(3, 4))), (std::vector<int>{3, 4}));
    GradientForm();
    box->SetTransparent(false);
    EXPECT_FALSE(box->BackBitmapCheck());
    box->SetTransparent(true);
    EXPECT_TRUE(box->BackBitmapCheck());
    EXPECT_EQ(box->BackBitmap(), shape_->BackBitmap());
}

TEST_F(ScrollBoxTest, ChildrenOutOfViewLoseTheirWindowsButTheFocusedOneKeepsIt)
{
    auto* box = Add<TProbeScrollBox>(20, 20);
    box->SetBounds(20, 20, 200, 120);
    std::vector<TEdit*> edits = Edits(box, 5);
    box->SetSaveResources(true);
    Pump();
    const std::vector<bool> atTop = {true, true, false, false, false};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(edits[i]->HandleAllocated(), atTop[i]) << i;
    edits[0]->SetFocus();
    ClickDownArrow(box);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    const std::vector<bool> atBottom = {true, false, false, true, true};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(edits[i]->HandleAllocated(), atBottom[i]) << i;
    EXPECT_TRUE(edits[0]->Focused());
    // Typing still reaches the focused edit out of view.
    UserInjectText("ok");
    UserPumpMessages();
    EXPECT_EQ(std::string(edits[0]->Text().c_str()), "ok");
    SendMessageA(box->Handle(), WM_VSCROLL, SB_TOP, 0);
    Pump();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(edits[i]->HandleAllocated(), atTop[i]) << i;
}

TEST_F(ScrollBoxTest, SavingResourcesWhileLoadingMakesNoWindow)
{
    TOwned<TForm> unshown(new TForm(nullptr));
    auto* box = new TProbeScrollBox(unshown.get());
    box->SetParent(unshown.get());
    box->SetBounds(0, 0, 200, 120);
    std::vector<TEdit*> edits;
    for (int i = 0; i < 3; ++i) {
        edits.push_back(new TEdit(unshown.get()));
        edits.back()->SetParent(box);
        edits.back()->SetTop(10 + 60 * i);
    }
    box->SetLoading(true);
    box->SetSaveResources(true);
    box->SetLoading(false);
    EXPECT_FALSE(unshown->HandleAllocated());
    EXPECT_FALSE(box->HandleAllocated());
    for (TEdit* edit : edits) EXPECT_FALSE(edit->HandleAllocated());
    // The first paint gives up the windows out of view.
    unshown->Show();
    Pump();
    EXPECT_TRUE(edits[0]->HandleAllocated());
    EXPECT_FALSE(edits[2]->HandleAllocated());
}

TEST_F(ScrollBoxTest, DeltaZeroIsIgnored)
{
    auto* box = AddWindowed<TProbeScrollBox>(10, 10);
    EXPECT_EQ(box->Delta(), 1);
    box->SetDelta(0);
    EXPECT_EQ(box->Delta(), 1);
    box->SetDelta(4);
    EXPECT_EQ(box->Delta(), 4);
}

// Sees what the client area shows when OnPaint runs.
class TPaintWatcher : public TObject {
public:
    explicit TPaintWatcher(TProbeScrollBox* box) : box_(box) { box->SetOnPaint(TNotifyEvent(this, &TPaintWatcher::Painted)); }
    void Painted(TObject*) { seen.push_back(Rgb(box_->Canvas()->Pixels(165, 20))); }
    std::vector<std::uint32_t> seen;

private:
    TProbeScrollBox* box_;
};

TEST_F(ScrollBoxTest, OnPaintRunsOnceTheBackgroundIsPainted)
{
    TProbeScrollBox* box = TransparentBox();
    TPaintWatcher watcher(box);
    box->Invalidate();
    box->Update();
    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(watcher.seen[0], BackUnder(box, 165, 20));
    box->SetOnPaint(TNotifyEvent());
}

} // namespace
