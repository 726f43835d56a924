// Scroll bars of scrolling containers, the scroll box, and data modules.
#include "platform/classlib/Forms.h"

#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/ScrollBars.h"

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------------------------------
// TControlScrollBar

int TControlScrollBar::ClientExtent() const
{
    TRect r = control_->ClientRect();
    return kind_ == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

int TControlScrollBar::MaxPosition() const { return std::max(0, range_ - ClientExtent()); }

bool TControlScrollBar::IsRangeStored() const { return !control_->AutoScroll(); }

bool TControlScrollBar::IsScrollBarVisible() const { return visible_ && range_ > ClientExtent(); }

void TControlScrollBar::SetPosition(int v)
{
    v = std::clamp(v, 0, MaxPosition());
    if (v == position_)
        return;
    int delta = position_ - v;
    position_ = v;
    if (kind_ == sbHorizontal)
        control_->ScrollBy(delta, 0);
    else
        control_->ScrollBy(0, delta);
    UpdateScrollInfo();
}

void TControlScrollBar::UpdateScrollInfo()
{
    // The window's own bar is what the mouse presses and drags: it must show the same range,
    // page and position.
    if (!control_->HandleAllocated() || !IsScrollBarVisible())
        return;
    const SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, range_ - 1,
                          static_cast<UINT>(ClientExtent()), position_, 0};
    SetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &info, TRUE);
}

void TControlScrollBar::SetRange(int v)
{
    range_ = std::max(v, 0);
    // With AutoScroll the children's extent is the range at once, as it is not stored.
    if (control_->AutoScroll())
        control_->CalcAutoRange();
    else
        control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v)
{
    visible_ = v;
    control_->UpdateScrollBars();
}

void TControlScrollBar::ScrollMessage(WPARAM code)
{
    int page = std::max(1, ClientExtent() * 9 / 10);
    switch (LOWORD(code)) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - page); break;
    case SB_PAGEDOWN: SetPosition(position_ + page); break;
    case SB_THUMBTRACK:
        if (tracking_)
            SetPosition(static_cast<short>(HIWORD(code)));
        break;
    case SB_THUMBPOSITION: SetPosition(static_cast<short>(HIWORD(code))); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
    }
}

void TControlScrollBar::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TControlScrollBar*>(source)) {
        visible_ = s->visible_;
        range_ = s->range_;
        increment_ = s->increment_;
        tracking_ = s->tracking_;
        margin_ = s->margin_;
        SetPosition(s->position_);
        control_->UpdateScrollBars();
        return;
    }
    inherited::Assign(source);
}

void TControlScrollBar::Publish(TClassBuilder<TControlScrollBar>& c)
{
    c.Property("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement).Default(8);
    c.Property("Margin", &TControlScrollBar::Margin, &TControlScrollBar::SetMargin).Default(0);
    c.Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0);
    c.Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange)
        .Default(0)
        .Stored(&TControlScrollBar::IsRangeStored);
    c.Property("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking).Default(false);
    c.Property("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible).Default(true);
}

// ---------------------------------------------------------------------------------------
// TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner), horz_(new TControlScrollBar(this, sbHorizontal)), vert_(new TControlScrollBar(this, sbVertical))
{
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool v)
{
    if (v == autoScroll_)
        return;
    autoScroll_ = v;
    if (v)
        CalcAutoRange();
    else {
        horz_->range_ = 0;
        vert_->range_ = 0;
        UpdateScrollBars();
    }
}

void TScrollingWinControl::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    // The bits and the child windows move together; only the uncovered strip repaints.
    const bool visible = HandleAllocated() && IsWindowVisible(Handle());
    if (visible)
        ScrollWindow(Handle(), dx, dy, nullptr, nullptr);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        auto* windowed = dynamic_cast<TWinControl*>(c);
        if (visible && windowed && windowed->HandleAllocated())
            continue;
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
}

void TScrollingWinControl::MouseWheelScroll(WPARAM wParam)
{
    const int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
    if (notches == 0)
        return;
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    // Through the scroll messages, so that descendants see the wheel as scrolling.
    const WPARAM code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < std::abs(notches) * static_cast<int>(lines); ++i)
        Perform(WM_VSCROLL, code, 0);
    Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void TScrollingWinControl::ScrollInView(TControl* control)
{
    if (!control || !ContainsControl(control) || control == this)
        return;
    TRect r = ClientRect();
    if (control->Left() < 0)
        horz_->SetPosition(horz_->position_ + control->Left());
    else if (control->Left() + control->Width() > r.right)
        horz_->SetPosition(horz_->position_ + control->Left() + control->Width() - r.right);
    if (control->Top() < 0)
        vert_->SetPosition(vert_->position_ + control->Top());
    else if (control->Top() + control->Height() > r.bottom)
        vert_->SetPosition(vert_->position_ + control->Top() + control->Height() - r.bottom);
}

void TScrollingWinControl::CalcAutoRange()
{
    if (!autoScroll_ || updating_)
        return;
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone)
            continue;
        right = std::max(right, c->Left() + c->Width() + horz_->position_ + horz_->margin_);
        bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_ + vert_->margin_);
    }
    horz_->range_ = right;
    vert_->range_ = bottom;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (!HandleAllocated() || updating_)
        return;
    updating_ = true;
    auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    DWORD wanted = style & ~(WS_HSCROLL | WS_VSCROLL);
    // Showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        if (horz_->IsScrollBarVisible())
            wanted |= WS_HSCROLL;
        if (vert_->IsScrollBarVisible())
            wanted |= WS_VSCROLL;
        if (wanted != static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE))) {
            SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG_PTR>(wanted));
            SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    updating_ = false;
    // A range that shrank leaves the position within it.
    horz_->SetPosition(horz_->position_);
    vert_->SetPosition(vert_->position_);
    horz_->UpdateScrollInfo();
    vert_->UpdateScrollInfo();
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect)
{
    TWinControl::AlignControls(control, rect);
    CalcAutoRange();
}

void TScrollingWinControl::CreateWnd()
{
    TWinControl::CreateWnd();
    CalcAutoRange();
    UpdateScrollBars();
}

void TScrollingWinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_HSCROLL:
        if (message.LParam == 0) {
            horz_->ScrollMessage(message.WParam);
            return;
        }
        break;
    case WM_VSCROLL:
        if (message.LParam == 0) {
            vert_->ScrollMessage(message.WParam);
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        if (vert_->IsScrollBarVisible()) {
            MouseWheelScroll(message.WParam);
            message.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdateScrollBars();
        return;
    default: break;
    }
    TWinControl::WndProc(message);
}

void TScrollingWinControl::Publish(TClassBuilder<TScrollingWinControl>& c)
{
    c.Property("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
    c.Property("HorzScrollBar", &TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar);
    c.Property("VertScrollBar", &TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar);
}

// ---------------------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner)
{
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    width_ = 185;
    height_ = 41;
}

void TScrollBox::CreateParams(TCreateParams& params)
{
    TScrollingWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    if (borderStyle_ == bsSingle) {
        if (NewStyleControls && Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TScrollBox::SetBorderStyle(TBorderStyle v)
{
    if (v == borderStyle_)
        return;
    borderStyle_ = v;
    RecreateWnd();
}

void TScrollBox::Publish(TClassBuilder<TScrollBox>& c)
{
    c.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
}

// ---------------------------------------------------------------------------------------
// TDataModule

// The object ends whatever the handler does: what it raises goes to the application.
void TDataModule::BeforeDestruction()
{
    try {
        onDestroy_(this);
    } catch (...) {
        if (Application)
            Application->HandleException(this);
    }
    inherited::BeforeDestruction();
}

void TDataModule::GetChildren(TGetChildProc proc, TComponent* root)
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent())
            proc(Components(i));
}

void TDataModule::Publish(TClassBuilder<TDataModule>& c)
{
    c.Property("OnCreate", &TDataModule::OnCreate, &TDataModule::SetOnCreate);
    c.Property("OnDestroy", &TDataModule::OnDestroy, &TDataModule::SetOnDestroy);
}
