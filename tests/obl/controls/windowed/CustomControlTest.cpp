// The windowed control base: its defaults, the window it makes, the after-focus events, the
// fill (solid, over a container's background, over a theme-drawn parent), the palette of
// the background it shows, the borders drawn by the theme, and the free notification of the
// lists it follows.
#include "WindowedFixture.h"



namespace {

class CustomControlTest : public WindowedFixture {
protected:
    // With the themes active: a lime probe control, made transparent, with its window.
    void AddThemedTransparentLimeProbe(TProbeWindowed*& c)
    {
        RestartThemes(TThemeModuleState::Active);
        ASSERT_TRUE(OBLApplication->UseXPThemes());
        c = AddWindowed<TProbeWindowed>(10, 10);
        c->SetColor(clLime);
        c->SetTransparent(true);
        c->HandleNeeded();
    }
};

TEST_F(CustomControlTest, ANewControlIsOpaqueUnflatNotATabStopAndThemed)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    EXPECT_EQ(c->Width(), 100);
    EXPECT_EQ(c->Height(), 40);
    EXPECT_FALSE(c->TabStop());
    EXPECT_TRUE(c->ControlStyle().Contains(csOpaque));
    EXPECT_FALSE(c->Transparent());
    EXPECT_FALSE(c->Flat());
    EXPECT_TRUE(c->CtlXP());
    EXPECT_TRUE(c->RepaintOnChange());
    EXPECT_NE(GetWindowLongA(c->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
}

TEST_F(CustomControlTest, SettingTransparentRecreatesTheWindowOnce)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    const int made = c->windowsMade;
    c->SetTransparent(true);
    c->HandleNeeded();
    EXPECT_EQ(c->windowsMade, made + 1);
    EXPECT_FALSE(c->ControlStyle().Contains(csOpaque));
    c->SetTransparent(true);
    EXPECT_EQ(c->windowsMade, made + 1) << "no change, no new window";
    c->SetTransparent(false);
    c->HandleNeeded();
    EXPECT_TRUE(c->ControlStyle().Contains(csOpaque));
}

TEST_F(CustomControlTest, AfterEnterAndAfterExitRunFromTheQueueAfterTheFocusChange)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    auto* other = AddWindowed<TProbeWindowed>(10, 60);
    c->SetOnEnter(TNotifyEvent(c, &TProbeWindowed::Event));
    c->SetOnAfterEnter(TNotifyEvent(c, &TProbeWindowed::Event));
    c->SetOnExit(TNotifyEvent(c, &TProbeWindowed::Event));
    c->SetOnAfterExit(TNotifyEvent(c, &TProbeWindowed::Event));
    c->current = "enter";
    c->SetFocus();
    c->current = "after enter";
    EXPECT_TRUE(c->Entered());
    EXPECT_EQ(c->events, (std::vector<std::string>{"enter"})) << "the after-enter event waits in the queue";
    Pump();
    c->current = "exit";
    other->SetFocus();
    c->current = "after exit";
    Pump();
    EXPECT_FALSE(c->Entered());
    EXPECT_EQ(c->events, (std::vector<std::string>{"enter", "after enter", "exit", "after exit"}));
}

TEST_F(CustomControlTest, AnOpaqueControlIsFilledWithItsColour)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    c->SetColor(clLime);
    c->Repaint();
    EXPECT_EQ(PixelOf(c, 0, 0), Rgb(clLime));
    EXPECT_EQ(PixelOf(c, 50, 20), Rgb(clLime));
    EXPECT_EQ(PixelOf(c, 99, 39), Rgb(clLime));
}

TEST_F(CustomControlTest, ATransparentChildShowsTheBackgroundItsContainerLends)
{
    auto* panel = AddWindowed<TGradientContainer>(0, 0);
    panel->SetBounds(0, 0, 200, 150);
    auto* c = AddWindowed<TLendingChild>(20, 30, panel);
    c->SetColor(clLime);
    c->SetTransparent(true);
    Pump();
    c->Repaint();
    for (int y : {0, 17, 39})
        EXPECT_EQ(PixelOf(c, 5, y), Rgb(TGradientPanel::ColorAtRow(30 + y, 150))) << "row " << y;
    // A bevel is painted over the background.
    c->Bevel()->SetBevelStyleOuter(bvLowered);
    EXPECT_EQ(PixelOf(c, 0, 17), Rgb(clBtnShadow));
    EXPECT_EQ(PixelOf(c, 99, 17), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelOf(c, 5, 17), Rgb(TGradientPanel::ColorAtRow(30 + 17, 150)));
    // A container that stops lending leaves the control to its colour.
    panel->lends = false;
    c->Repaint();
    EXPECT_EQ(PixelOf(c, 5, 17), Rgb(clLime));
    // One that lends but draws nothing too.
    panel->lends = true;
    panel->draws = false;
    c->Repaint();
    EXPECT_EQ(PixelOf(c, 5, 17), Rgb(clLime));
}

bool PaintParentRed(HWND, HDC dc, const RECT* area)
{
    RECT r{0, 0, 400, 400};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, area ? area : &r, red);
    DeleteObject(red);
    return true;
}
bool FailParentBackground(HWND, HDC, const RECT*) { return false; }

TEST_F(CustomControlTest, AThemeThatFailsToDrawTheParentLeavesTheFillToTheControl)
{
    TProbeWindowed* c = nullptr;
    ASSERT_NO_FATAL_FAILURE(AddThemedTransparentLimeProbe(c));
    struct Case {
        TThemeParentBackgroundPainter painter;
        bool erased;
        TColor shown;
    };
    for (const Case& k : {Case{&FailParentBackground, false, clLime}, Case{&PaintParentRed, true, clRed},
                          Case{&FailParentBackground, false, clLime}}) {
        SetThemeParentBackgroundPainter(k.painter);
        c->Invalidate();
        form_->Update();
        EXPECT_EQ(c->erasedAtPaint, k.erased);
        EXPECT_EQ(PixelOf(c, 50, 20), Rgb(k.shown));
        EXPECT_FALSE(c->ErasedByTheme()) << "the flag holds for one paint only";
    }
    SetThemeParentBackgroundPainter(nullptr);
}

TEST_F(CustomControlTest, AThemedPartlyTransparentControlPaintedWithoutAnEraseKeepsTheParentBackground)
{
    TProbeWindowed* c = nullptr;
    ASSERT_NO_FATAL_FAILURE(AddThemedTransparentLimeProbe(c));
    SetThemeParentBackgroundPainter(&PaintParentRed);
    c->Invalidate();
    form_->Update();
    ASSERT_EQ(PixelOf(c, 50, 20), Rgb(clRed));
    // No erase, so the theme draws nothing this time: what it drew stays.
    InvalidateRect(c->Handle(), nullptr, FALSE);
    const int paints = c->paints;
    form_->Update();
    ASSERT_EQ(c->paints, paints + 1);
    EXPECT_FALSE(c->erasedAtPaint);
    EXPECT_EQ(PixelOf(c, 50, 20), Rgb(clRed));
    // After an erase the theme failed at, the control fills itself.
    SetThemeParentBackgroundPainter(&FailParentBackground);
    c->Invalidate();
    form_->Update();
    EXPECT_EQ(PixelOf(c, 50, 20), Rgb(clLime));
    SetThemeParentBackgroundPainter(nullptr);
}

// Keeps a back bitmap of its own, with a palette, as a lending container does.
class TOwnBackWindowed : public TProbeWindowed {
    VENDARO_CLASS(TOwnBackWindowed, TProbeWindowed)
public:
    explicit TOwnBackWindowed(TComponent* owner) : TProbeWindowed(owner) { back_.SetSize(4, 4); }
    bool BackBitmapCheck() override { return true; }
    TBitmap* BackBitmap() override { return &back_; }

private:
    TBitmap back_;
};

TEST_F(CustomControlTest, ThePaletteIsTheOneOfTheBackgroundShown)
{
    LOGPALETTE log{0x300, 1, {{10, 20, 30, 0}}};
    HPALETTE palette = CreatePalette(&log);
    auto* panel = AddWindowed<TGradientContainer>(0, 0);
    panel->SetBounds(0, 0, 200, 150);
    panel->BackBitmap()->SetPalette(palette);
    auto* child = AddWindowed<TProbeWindowed>(10, 10, panel);
    EXPECT_NE(panel->BackBitmap()->Palette(), nullptr);
    EXPECT_EQ(child->BackBitmapPalette(), panel->BackBitmap()->Palette());
    panel->lends = false;
    EXPECT_EQ(child->BackBitmapPalette(), nullptr);
    auto* alone = AddWindowed<TProbeWindowed>(10, 160);
    EXPECT_EQ(alone->BackBitmapPalette(), nullptr);
    // A control whose own back-bitmap check holds gives none, inside a lending container
    // or not, whatever palette its own back bitmap has.
    panel->lends = true;
    for (TWinControl* parent : {static_cast<TWinControl*>(panel), static_cast<TWinControl*>(form_)}) {
        auto* lender = AddWindowed<TOwnBackWindowed>(10, 60, parent);
        lender->BackBitmap()->SetPalette(CreatePalette(&log));
        ASSERT_NE(lender->BackBitmap()->Palette(), nullptr);
        EXPECT_EQ(lender->BackBitmapPalette(), nullptr);
        lender->Free();
    }
    DeleteObject(palette);
}

TEST_F(CustomControlTest, TheThemedBorderFillsTheWindowRectangleAroundTheInterior)
{
    RestartThemes(TThemeModuleState::Active);
    auto* c = Add<TBevelledWindowed>(10, 10);
    c->clientEdge = true;
    c->themed = true;
    c->SetColor(clLime);
    c->RecreateWnd();
    c->HandleNeeded();
    Pump();
    TRect window{};
    GetWindowRect(c->Handle(), &window);
    const TRect client = c->ClientRect();
    ASSERT_GT(window.right - window.left, client.right) << "the window has a frame";
    c->SetFlat(true);
    c->Repaint();
    ClearThemeCallLog();
    c->RestoreBorderBack();
    std::vector<TThemeCall> draws;
    for (const TThemeCall& call : ThemeCallLog())
        if (call.function == "DrawThemeBackground") draws.push_back(call);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].className, "EDIT");
    EXPECT_EQ(draws[0].part, 1);
    EXPECT_EQ(draws[0].state, 1);
    EXPECT_EQ(V(draws[0].rect), (std::vector<int>{0, 0, window.right - window.left, window.bottom - window.top}));
    EXPECT_EQ(PixelOf(c, 0, 0), Rgb(clLime)) << "the interior keeps what the paint drew";
    EXPECT_EQ(PixelOf(c, client.right - 1, client.bottom - 1), Rgb(clLime));
}

TEST_F(CustomControlTest, TheThemedBorderStateFollowsTheLaterRules)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    auto state = [c] {
        AnsiString name;
        int part = 0, state = 0;
        c->GetXPBevelParams(name, part, state);
        EXPECT_EQ(name, "EDIT");
        EXPECT_EQ(part, 1);
        return state;
    };
    EXPECT_EQ(state(), 1);
    c->SetFocus();
    EXPECT_EQ(state(), 5);
    c->SetMouseAbove(true);
    EXPECT_EQ(state(), 2);
    c->readOnly = true;
    EXPECT_EQ(state(), 6);
    c->SetEnabled(false);
    EXPECT_EQ(state(), 4);
}

TEST_F(CustomControlTest, AFlatBorderIsTheFaceColourUntilTheMouseComes)
{
    auto* c = Add<TBevelledWindowed>(10, 10);
    c->clientEdge = true;
    c->RecreateWnd();
    c->HandleNeeded();
    Pump();
    c->SetFlat(true);
    Pump();
    TRect window{};
    GetWindowRect(c->Handle(), &window);
    const TPoint corner = form_->ScreenToClient(Point(window.left, window.top));
    form_->Update();
    EXPECT_EQ(UserWindowSurface(form_->Handle())->Pixel(corner.x, corner.y) & 0xFFFFFF, Rgb(clBtnFace));
    c->SetFlat(false);
    EXPECT_EQ(UserWindowSurface(form_->Handle())->Pixel(corner.x + 1, corner.y + 1) & 0xFFFFFF,
              Rgb(clWindowFrame));
}

TEST_F(CustomControlTest, AFreedAlphaListIsLetGoByTheControl)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    auto* list = new TOBLBitmapList(form_);
    c->BackFX()->AlphaBlend()->SetImageList(list);
    auto* plain = new TOBLBitmapList(form_);
    c->SetImageList(plain);
    FreeObject(list);
    EXPECT_EQ(c->BackFX()->AlphaBlend()->ImageList(), nullptr);
    FreeObject(plain);
    EXPECT_EQ(c->ImageList(), nullptr);
    c->Repaint();
}

TEST_F(CustomControlTest, AFormComponentIsFoundOnlyOnAForm)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    EXPECT_EQ(OBLCheckForFormComponent(form_, TProbeWindowed::StaticClass()), form_->ComponentCount() - 1);
    EXPECT_EQ(OBLCheckForFormComponent(form_, TOBLCustomControl::StaticClass()),
              OBLCheckForFormComponent(form_, TProbeWindowed::StaticClass()));
    EXPECT_EQ(OBLCheckForFormComponent(form_, TLendingChild::StaticClass()), -1);
    EXPECT_EQ(OBLCheckForFormComponent(form_, nullptr), -1);
    EXPECT_EQ(OBLCheckForFormComponent(nullptr, TProbeWindowed::StaticClass()), -1);
    TDataModule module(nullptr);
    new TProbeWindowed(&module);
    EXPECT_EQ(OBLCheckForFormComponent(&module, TProbeWindowed::StaticClass()), -1);
    (void)c;
}

} // namespace

namespace {

class CustomControlEventsTest : public WindowedFixture {};

TEST_F(CustomControlEventsTest, TheMouseEnteringAndLeavingIsToldAndRemembered)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    c->SetOnMouseEnter(TNotifyEvent(c, &TProbeWindowed::Event));
    c->SetOnMouseExit(TNotifyEvent(c, &TProbeWindowed::Event));
    c->current = "enter";
    MoveTo(c, 20, 20);
    EXPECT_TRUE(c->MouseAbove());
    c->current = "exit";
    MoveAway();
    EXPECT_FALSE(c->MouseAbove());
    EXPECT_EQ(c->events, (std::vector<std::string>{"enter", "exit"}));
}

TEST_F(CustomControlEventsTest, AnEmptyControlShowsADashedFrameAtDesignTime)
{
    auto* c = AddWindowed<TProbeWindowed>(10, 10);
    c->SetColor(clLime);
    c->Repaint();
    EXPECT_EQ(PixelOf(c, 0, 20), Rgb(clLime));
    c->SetDesigning(true);
    c->Repaint();
    EXPECT_EQ(PixelOf(c, 0, 20), Rgb(clBlack)) << "the frame along the left";
    EXPECT_EQ(PixelOf(c, 50, 20), Rgb(clLime));
}

// Counts the background-changed messages it receives.
class TBackListener : public TProbeWindowed {
    VENDARO_CLASS(TBackListener, TProbeWindowed)
public:
    explicit TBackListener(TComponent* owner) : TProbeWindowed(owner) {}
    void WndProc(TMessage& message) override
    {
        if (message.Msg == CM_OBLBACKCHANGED) ++backChanges;
        inherited::WndProc(message);
    }
    int backChanges = 0;
};

// A control that lends its cached background as the containers do.
class TLendingParent : public TProbeWindowed {
    VENDARO_CLASS(TLendingParent, TProbeWindowed)
public:
    explicit TLendingParent(TComponent* owner) : TProbeWindowed(owner) {}
    bool BackBitmapCheck() override { return true; }
};

TEST_F(CustomControlEventsTest, ABackgroundChangeDropsTheBufferAndReachesTheChildrenOfAnOptimizedControl)
{
    auto* parent = AddWindowed<TLendingParent>(10, 10);
    parent->SetBounds(10, 10, 200, 100);
    auto* child = AddWindowed<TBackListener>(5, 5, parent);
    parent->BackFX()->SetBool(4, true);
    parent->Perform(CM_OBLBACKCHANGED, 0, 0);
    EXPECT_EQ(child->backChanges, 0) << "an opaque control only repaints itself";
    parent->SetTransparent(true);
    parent->HandleNeeded();
    Pump();
    const int paints = parent->paints, changes = child->backChanges;
    parent->Perform(CM_OBLBACKCHANGED, 0, 0);
    EXPECT_FALSE(parent->BackFX()->BufferValid());
    EXPECT_EQ(child->backChanges, changes + 1);
    EXPECT_EQ(parent->paints, paints + 1) << "painted at once";
    parent->Perform(CM_OBLSCROLLBOXSCROLLEVENT, 0, 0);
    EXPECT_EQ(child->backChanges, changes + 2);
}

TEST_F(CustomControlEventsTest, AResourceControlsWindowIsMadeAndLetGoFromOutside)
{
    TOBLResWinControl control(nullptr);
    control.SetParent(form_);
    control.FreeResources();
    EXPECT_FALSE(control.HandleAllocated());
    control.CreateHandle();
    EXPECT_TRUE(control.HandleAllocated());
    control.FreeResources();
    EXPECT_FALSE(control.HandleAllocated());
    control.SetParent(nullptr);
}

} // namespace
