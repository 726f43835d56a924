#include "obl/controls/panels/OBLCustomScrollBox.h"

#include "obl/controls/shapes/OBLFormShape.h"
#include "obl/controls/windowed/OBLCustomControl.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/User.h"

#include <string>

namespace {

// The window's whole device context, given back however the drawing ends.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~TWindowDC() { ReleaseDC(window_, dc_); }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A canvas lent a device context for one drawing, locked meanwhile.
class TCanvasOnDC {
public:
    TCanvasOnDC(TCanvas* canvas, HDC dc) : canvas_(canvas)
    {
        canvas_->Lock();
        canvas_->SetHandle(dc);
    }
    ~TCanvasOnDC()
    {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
    }
    TCanvasOnDC(const TCanvasOnDC&) = delete;
    TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

private:
    TCanvas* canvas_;
};

class TThemeData {
public:
    TThemeData(HWND window, const AnsiString& className)
    {
        const std::u16string wide(className.c_str(), className.c_str() + className.Length());
        theme_ = OpenThemeData(window, wide.c_str());
    }
    ~TThemeData() { CloseThemeData(theme_); }
    TThemeData(const TThemeData&) = delete;
    TThemeData& operator=(const TThemeData&) = delete;
    HTHEME Handle() const { return theme_; }

private:
    HTHEME theme_ = nullptr;
};

// A child's window is made and given up by its container, as the class library's own
// containers do.
struct TWindowAccess : TWinControl {
    using TWinControl::DestroyHandle;
};

void DestroyWindowOf(TWinControl* Control) { (Control->*&TWindowAccess::DestroyHandle)(); }

} // namespace

// ---- TOBLScrollBoxBevel --------------------------------------------------------------

TOBLScrollBoxBevel::TOBLScrollBoxBevel()
{
    SetWindowsSupport(true);
    SetMode(bmWindows);
}

void TOBLScrollBoxBevel::Publish(TClassBuilder<TOBLScrollBoxBevel>& c) { c.Redeclare("Mode").Default(bmWindows); }

// ---- TOBLCustomScrollBox -------------------------------------------------------------

TOBLCustomScrollBox::TOBLCustomScrollBox(TComponent* AOwner)
    : TScrollBox(AOwner), bevel_(new TOBLScrollBoxBevel), canvas_(new TControlCanvas)
{
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csReplicatable};
    canvas_->SetControl(this);
    SetBorderStyle(bsNone);
    bevel_->SetOnChange(TNotifyEvent(this, &TOBLCustomScrollBox::GetChange));
    SetCtl3D(true);
    // The scroll box keeps Ctl3D of its own: that is what its descriptions leave out.
    SetParentCtl3D(false);
    SetBounds(Left(), Top(), 185, 41);
}

TOBLCustomScrollBox::~TOBLCustomScrollBox() { bevel_->SetOnChange(TNotifyEvent()); }

// ---- Properties ----------------------------------------------------------------------

void TOBLCustomScrollBox::SetBevel(TOBLBevel* Value)
{
    bevel_->Assign(Value);
    Perform(CM_OBLBEVELCHANGED, 0, 0);
}

void TOBLCustomScrollBox::SetDelta(BYTE Value)
{
    if (Value == 0) return;
    delta_ = Value;
    scrollCounter_ = 0;
}

void TOBLCustomScrollBox::SetTransparent(bool Value)
{
    transparent_ = Value;
    if (Value)
        controlStyle_.Exclude(csOpaque);
    else
        controlStyle_.Include(csOpaque);
    RecreateWnd();
    Invalidate();
}

void TOBLCustomScrollBox::SetCtlXP(bool Value)
{
    ctlXP_ = Value;
    DoThemeChanged();
}

void TOBLCustomScrollBox::SetSaveResources(bool Value)
{
    saveResources_ = Value;
    // While loading the children are still to come; without a window none of them has one
    // yet. The first paint does it then.
    if (Value && !Loading() && HandleAllocated()) DestroyHandleForInvisibleControls();
}

bool TOBLCustomScrollBox::VertScrollBarVisible()
{
    return HandleAllocated() && (static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & WS_VSCROLL) != 0;
}

bool TOBLCustomScrollBox::HorzScrollBarVisible()
{
    return HandleAllocated() && (static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & WS_HSCROLL) != 0;
}

void TOBLCustomScrollBox::GetChange(TObject* Sender)
{
    if (Sender == bevel_.get()) {
        RecreateWnd();
        bevel_->SetWindowsSupport(true);
        return;
    }
    if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
    Invalidate();
}

// ---- Themes --------------------------------------------------------------------------

bool TOBLCustomScrollBox::UseXP()
{
    return bevel_->Mode() == bmWindows && ControlSupportsXP() && OBLApplication && OBLApplication->UseXPThemes() &&
           ctlXP_;
}

bool TOBLCustomScrollBox::XPSupportsTransparency()
{
    return OBLApplication && OBLApplication->UseXPThemes() && transparent_ && ctlXP_ && !BackBitmapCheck();
}

void TOBLCustomScrollBox::DoThemeChanged()
{
    RecreateWnd();
    NotifyControls(CM_OBLTHEMECHANGED);
}

void TOBLCustomScrollBox::GetXPBevelParams(AnsiString& ClassName, int& Part, int& State)
{
    ClassName = "EDIT";
    Part = 1;
    State = 1;
    if (Focused()) State = 5;
    if (!Enabled()) State = 4;
}

// ---- Window --------------------------------------------------------------------------

void TOBLCustomScrollBox::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    // Redrawn whole on every resize, a transparent scroll box would flicker.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    Params.Style |= WS_CLIPCHILDREN;
    if (bevel_->Mode() != bmWindows) return;
    if (NewStyleControls && Ctl3D())
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

void TOBLCustomScrollBox::DestroyHandleForInvisibleControls()
{
    const int horz = HorzScrollBar()->Position(), vert = VertScrollBar()->Position();
    const TRect client = ClientRect();
    for (int i = 0; i < ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(Controls(i));
        if (!child) continue;
        TRect common{};
        const TRect bounds = child->BoundsRect();
        if (IntersectRect(&common, &bounds, &client)) {
            if (!child->HandleAllocated()) {
                child->HandleNeeded();
                child->RecreateWnd();
            }
        } else if (child->HandleAllocated() && !HoldsFocus(child)) {
            // The focused one keeps its window: the keyboard input goes on to it.
            DestroyWindowOf(child);
        }
    }
    if (HorzScrollBar()->Position() != horz) HorzScrollBar()->SetPosition(horz);
    if (VertScrollBar()->Position() != vert) VertScrollBar()->SetPosition(vert);
}

bool TOBLCustomScrollBox::HoldsFocus(TWinControl* Control)
{
    const HWND focus = GetFocus();
    return focus && (focus == Control->Handle() || IsChild(Control->Handle(), focus));
}

// ---- Painting ------------------------------------------------------------------------

void TOBLCustomScrollBox::PaintWindow(HDC DC)
{
    if (Loading() || !DC) return;
    TCanvasOnDC on(canvas_.get(), DC);
    BackDrawArea(canvas_.get(), ClientRect(), Point(0, 0), 0);
    onPaint_(this);
}

void TOBLCustomScrollBox::PaintBevel()
{
    if (Loading()) return;
    if (UseXP()) {
        BevelXP();
        return;
    }
    bevel_->PaintBevel(canvas_.get(), Rect(0, 0, Width(), Height()), false);
}

void TOBLCustomScrollBox::BevelXP()
{
    TRect r = Rect(0, 0, Width(), Height());
    const HDC dc = canvas_->Handle();
    // The theme's border takes the one-pixel ring round the window only.
    HRGN ring = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    HRGN inside = CreateRectRgn(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    SelectClipRgn(dc, ring);
    ExtSelectClipRgn(dc, inside, RGN_DIFF);
    DeleteObject(inside);
    DeleteObject(ring);
    AnsiString className;
    int part = 0, state = 0;
    GetXPBevelParams(className, part, state);
    TThemeData theme(Handle(), className);
    DrawThemeBackground(theme.Handle(), dc, part, state, &r, nullptr);
    TRect content{};
    GetThemeBackgroundContentRect(theme.Handle(), dc, part, state, &r, &content);
    SelectClipRgn(dc, nullptr);
}

// ---- Background ----------------------------------------------------------------------

TOBLBackProvider* TOBLCustomScrollBox::ParentBackProvider()
{
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return nullptr;
    if (auto* lender = dynamic_cast<TOBLBackProvider*>(parent)) return lender;
    const int shape = OBLCheckForFormComponent(parent, TOBLFormShape::StaticClass());
    return shape < 0 ? nullptr : dynamic_cast<TOBLBackProvider*>(parent->Components(shape));
}

bool TOBLCustomScrollBox::BackBitmapCheck()
{
    if (!transparent_) return false;
    TOBLBackProvider* provider = ParentBackProvider();
    return provider && provider->BackBitmapCheck();
}

TBitmap* TOBLCustomScrollBox::BackBitmap() { return BackBitmapCheck() ? ParentBackProvider()->BackBitmap() : nullptr; }

TPoint TOBLCustomScrollBox::ClientOffset()
{
    const int v = VertScrollBarVisible() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int h = HorzScrollBarVisible() ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    return Point((Width() - ClientWidth() - v) / 2, (Height() - ClientHeight() - h) / 2);
}

TRect TOBLCustomScrollBox::ClientInBack(TOBLBackProvider* Provider)
{
    // The frame's half-width already holds the bevel's extent: it is not added again.
    const TPoint origin = Provider->BackMapPoint(Point(Left(), Top()));
    const TPoint offset = ClientOffset();
    return Bounds(origin.x + offset.x, origin.y + offset.y, ClientWidth(), ClientHeight());
}

TPoint TOBLCustomScrollBox::BackMapPoint(const TPoint& P)
{
    if (!BackBitmapCheck()) return P;
    const TRect b = ClientInBack(ParentBackProvider());
    return Point(b.left + P.x, b.top + P.y);
}

bool TOBLCustomScrollBox::BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags)
{
    if (Loading() || ComponentState().Contains(csDestroying)) return false;
    TBitmap* back = BackBitmap();
    if (!back) return false;
    const TRect b = ClientInBack(ParentBackProvider());
    TRect s = R;
    OffsetRect(&s, b.left + P.x, b.top + P.y);
    Canvas->CopyRect(R, back->Canvas(), s);
    return true;
}

// ---- Messages ------------------------------------------------------------------------

void TOBLCustomScrollBox::CalcSize(TMessage& Message)
{
    inherited::WndProc(Message);
    RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0];
    if (UseXP() && Ctl3D()) {
        // The theme draws a one-pixel border where the client edge takes two.
        InflateRect(&r, 1, 1);
        return;
    }
    r.left += bevel_->Ext();
    r.top += bevel_->Ext();
    r.right -= bevel_->ExtRightBottom();
    r.bottom -= bevel_->ExtRightBottom();
}

void TOBLCustomScrollBox::EraseBackground(TMessage& Message)
{
    if (!CheckOptimized()) {
        inherited::WndProc(Message);
        return;
    }
    Message.Result = 1;
    // With several children the paint that follows draws the background.
    if (ControlCount() < 2) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
}

void TOBLCustomScrollBox::NonClientPaint(TMessage& Message)
{
    if (Loading() && !IsWindowVisible(Handle())) return;
    inherited::WndProc(Message);
    TWindowDC dc(Handle());
    TCanvasOnDC on(canvas_.get(), dc.Handle());
    PaintBevel();
}

void TOBLCustomScrollBox::ClientPaint(TMessage& Message)
{
    // With children of any kind the client area paints through PaintWindow (the
    // background); an empty box paints it while erasing.
    const bool custom = ControlCount() > 0 && !ControlState().Contains(csCustomPaint);
    if (custom) controlState_.Include(csCustomPaint);
    inherited::WndProc(Message);
    if (custom) controlState_.Exclude(csCustomPaint);
}

bool TOBLCustomScrollBox::ScrollRefreshDue(WORD Code)
{
    // The end of a scroll always paints: the final position must not stay shifted.
    const bool end = Code == SB_ENDSCROLL;
    if (scrollRefresh_) {
        ++scrollCounter_;
        if (scrollCounter_ < delta_ && !end) return false;
    } else if (!end) {
        return false;
    }
    scrollCounter_ = 0;
    InvalidateRect(Handle(), nullptr, FALSE);
    NotifyControls(CM_OBLSCROLLBOXSCROLLEVENT);
    return true;
}

void TOBLCustomScrollBox::Scroll(TMessage& Message, TControlScrollBar* Bar)
{
    const int before = Bar->Position();
    inherited::WndProc(Message);
    if (Bar->Position() != before) scrollMoved_ = true;
    if (CheckOptimized() && !ScrollRefreshDue(LOWORD(Message.WParam))) return;
    if (saveResources_) DestroyHandleForInvisibleControls();
    // A move of a skipped message is told with the next one that paints.
    if (!scrollMoved_) return;
    scrollMoved_ = false;
    onScroll_(this);
}

void TOBLCustomScrollBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL: Scroll(Message, HorzScrollBar()); return;
    case WM_VSCROLL: Scroll(Message, VertScrollBar()); return;
    case WM_NCCALCSIZE: CalcSize(Message); return;
    case WM_NCHITTEST:
        inherited::WndProc(Message);
        if (Designing() && (Message.Result == HTNOWHERE || Message.Result == HTGROWBOX)) Message.Result = HTCLIENT;
        return;
    case WM_ERASEBKGND: EraseBackground(Message); return;
    case WM_NCPAINT: NonClientPaint(Message); return;
    case WM_PAINT:
        ClientPaint(Message);
        if (paintedOnce_) return;
        paintedOnce_ = true;
        if (saveResources_) DestroyHandleForInvisibleControls();
        return;
    case WM_SIZE:
        inherited::WndProc(Message);
        if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
        return;
    case WM_MOVE:
        inherited::WndProc(Message);
        if (!CheckOptimized()) return;
        Repaint();
        NotifyControls(CM_OBLBACKCHANGED);
        return;
    case WM_THEMECHANGED:
        inherited::WndProc(Message);
        DoThemeChanged();
        return;
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED:
        inherited::WndProc(Message);
        if (transparent_ || Loading()) return;
        Invalidate();
        if (ScrollBarsVisible()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
        return;
    case CM_OBLBACKCHANGED:
        Invalidate();
        if (CheckOptimized()) NotifyControls(CM_OBLBACKCHANGED);
        return;
    case CM_DESIGNHITTEST: Message.Result = 0; return;
    case CM_CTL3DCHANGED:
        if (NewStyleControls && bevel_->Mode() == bmWindows) RecreateWnd();
        inherited::WndProc(Message);
        return;
    default: inherited::WndProc(Message);
    }
}

void TOBLCustomScrollBox::Publish(TClassBuilder<TOBLCustomScrollBox>& c)
{
    using C = TOBLCustomScrollBox;
    c.Property("About", &C::About, &C::SetAbout).Stored(false);
    c.Property("BorderStyle", &C::BorderStyle);
    c.Redeclare("Ctl3D").Default(true);
    c.Redeclare("ParentCtl3D").Default(false);
    c.Property("OnScroll", &C::OnScroll, &C::SetOnScroll);
    c.Property("SaveResources", &C::SaveResources, &C::SetSaveResources).Default(false);
}
