#include "obl/controls/windowed/OBLCustomControl.h"

#include "obl/controls/windowed/OBLScopedHandles.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "platform/classlib/Forms.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

TOBLCustomControl::TOBLCustomControl(TComponent* AOwner)
    : TCustomControl(AOwner), link_(new TOBLChangeLink), backFX_(new TOBLBitmapEffectObject)
{
    controlStyle_.Include(csOpaque);
    link_->SetOnChange(TNotifyEvent(this, &TOBLCustomControl::GetIMLChange));
    SetBounds(Left(), Top(), 100, 40);
    SetDefaultTabStop(false);
    backFX_->SetOnChange(TNotifyEvent(this, &TOBLCustomControl::BackFXChange));
}

TOBLCustomControl::~TOBLCustomControl()
{
    backFX_->SetOnChange(TNotifyEvent());
    link_->SetOnChange(TNotifyEvent());
    if (imageList_) imageList_->UnRegisterChanges(link_.get());
}

// ---- Properties ----------------------------------------------------------------------

void TOBLCustomControl::SetCtlXP(bool Value)
{
    if (Value == ctlXP_) return;
    ctlXP_ = Value;
    DoThemeChanged();
}

void TOBLCustomControl::SetTransparent(bool Value)
{
    if (Value == transparent_) return;
    transparent_ = Value;
    if (Value)
        controlStyle_.Exclude(csOpaque);
    else
        controlStyle_.Include(csOpaque);
    RecreateWnd();
}

void TOBLCustomControl::SetFlat(bool Value)
{
    if (Value == flat_) return;
    flat_ = Value;
    DoFlatChanged();
    if (!HandleAllocated()) return;
    if (flat_)
        RestoreBorderBack();
    else
        RestoreBorderFront();
}

void TOBLCustomControl::SetBoolean(bool Value)
{
    if (Value == entered_) return;
    entered_ = Value;
    if (!entered_ && flat_ && HandleAllocated()) RestoreBorderBack();
}

void TOBLCustomControl::SetPassBackFX(bool Value)
{
    if (Value == passBackFX_) return;
    passBackFX_ = Value;
    DoForwardBackFX();
}

void TOBLCustomControl::SetImageList(TOBLCustomImageList* Value)
{
    if (imageList_) imageList_->UnRegisterChanges(link_.get());
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(link_.get());
        imageList_->FreeNotification(this);
    }
    GetIMLChange(this);
}

void TOBLCustomControl::SetIndex(int Index, int Value)
{
    int& field = Index == 0 ? imageIndex_ : listIndex_;
    if (Value < 0 || Value == field) return;
    field = Value;
    if (imageList_) GetIMLChange(this);
}

void TOBLCustomControl::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
}

// ---- Component protocol --------------------------------------------------------------

void TOBLCustomControl::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    // Redrawn whole on every resize, a transparent control would flicker.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TOBLCustomControl::Loaded()
{
    inherited::Loaded();
    if (OBLIsCollectionImageList(imageList_)) GetIMLChange(this);
}

void TOBLCustomControl::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (AComponent == imageList_) {
        // The going list lets its links go itself: nothing of it is called any more.
        imageList_ = nullptr;
        GetIMLChange(this);
    }
    if (ComponentState().Contains(csDestroying)) return;
    TOBLAlphaObject* alpha = backFX_->AlphaBlend();
    if (AComponent == alpha->ImageList()) alpha->SetImageList(nullptr);
}

void TOBLCustomControl::BackFXChange(TObject* Sender)
{
    // The alpha blend's list may be freed before this control: it must hear of it.
    if (TOBLCustomImageList* list = backFX_->AlphaBlend()->ImageList()) list->FreeNotification(this);
    GetChange(Sender);
}

void TOBLCustomControl::GetChange(TObject* Sender)
{
    if (repaintOnChange_) Repaint();
}

// ---- Painting ------------------------------------------------------------------------

bool TOBLCustomControl::UseXP()
{
    return ControlSupportsXP() && OBLApplication && OBLApplication->UseXPThemes() &&
           OBLApplication->GetXPThemesSupported() && ctlXP_;
}

bool TOBLCustomControl::XPSupportsTransparency()
{
    return transparent_ && OBLApplication && OBLApplication->UseXPThemes() && ctlXP_ && !BackBitmapCheck();
}

void TOBLCustomControl::Paint()
{
    if (Loading()) return;
    FillControl();
    // A theme erase, drawn or failed, counts for one paint only.
    erasedByTheme_ = false;
    themeEraseFailed_ = false;
    if (Designing()) {
        if (GetEmpty()) DrawDashedFrame();
    } else {
        RestoreBorderBack();
    }
}

void TOBLCustomControl::FillControl()
{
    if (erasedByTheme_) return;
    // A themed, partly transparent control leaves the parent background the theme draws at
    // its erase, also for a paint that came without one; only when the theme failed to draw
    // it at the last erase does the control fill itself.
    if (!themeEraseFailed_ && XPSupportsTransparency() && IsXPPartiallyTransparent()) return;
    const TRect client = ClientRect();
    if (CheckOptimized() && BackDrawArea(Canvas(), client, Point(0, 0), 0)) return;
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(client);
}

void TOBLCustomControl::DrawDashedFrame()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psDash);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, Width(), Height());
}

void TOBLCustomControl::RepBack(const TRect& Rect)
{
    if (UseXP()) return;
    if (CheckOptimized() && BackDrawArea(Canvas(), Rect, Point(0, 0), 0)) return;
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(Rect);
}

HPALETTE TOBLCustomControl::BackBitmapPalette()
{
    // A control that answers for a back bitmap itself gives no palette here, one that does
    // not gives the palette of the back bitmap its container lends.
    if (BackBitmapCheck()) return nullptr;
    TOBLBackProvider* provider = OBLFindBackProvider(this);
    TBitmap* lent = provider && provider->BackBitmapCheck() ? provider->BackBitmap() : nullptr;
    return lent ? lent->Palette() : nullptr;
}

void TOBLCustomControl::InvalidateFrame()
{
    if (!Parent() || !Parent()->HandleAllocated()) return;
    const TRect bounds = BoundsRect();
    InvalidateRect(Parent()->Handle(), &bounds, TRUE);
}

TRect TOBLCustomControl::GetScreenRect(const TRect& Rect)
{
    const TPoint topLeft = ClientToScreen(Point(Rect.left, Rect.top));
    const TPoint bottomRight = ClientToScreen(Point(Rect.right, Rect.bottom));
    return ::Rect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

// ---- Borders -------------------------------------------------------------------------

void TOBLCustomControl::GetXPBevelParams(AnsiString& ClassName, int& Part, int& State)
{
    ClassName = "EDIT";
    Part = 1;
    State = 1;
    if (Focused()) State = 5;
    if (mouseAbove_) State = 2;
    if (GetReadOnly()) State = 6;
    if (!Enabled()) State = 4;
}

void TOBLCustomControl::BevelXP(TCanvas* Canvas, const TRect& Rect)
{
    AnsiString className;
    int part = 0, state = 0;
    GetXPBevelParams(className, part, state);
    TThemeData theme(Handle(), className);
    DrawThemeBackground(theme.Handle(), Canvas->Handle(), part, state, &Rect, nullptr);
}

TRect TOBLCustomControl::WindowFrame(TRect& Interior)
{
    TRect window{};
    GetWindowRect(Handle(), &window);
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    const TRect client = ClientRect();
    Interior = Rect(origin.x - window.left, origin.y - window.top, origin.x - window.left + client.right,
                    origin.y - window.top + client.bottom);
    return Rect(0, 0, window.right - window.left, window.bottom - window.top);
}

void TOBLCustomControl::FrameXP(HDC WindowDC, const TRect& Frame, const TRect& Interior)
{
    // The theme's border goes round the client area, which keeps what the paint drew.
    const int saved = SaveDC(WindowDC);
    ExcludeClipRect(WindowDC, Interior.left, Interior.top, Interior.right, Interior.bottom);
    TCanvas canvas;
    canvas.SetHandle(WindowDC);
    BevelXP(&canvas, Frame);
    canvas.SetHandle(nullptr);
    RestoreDC(WindowDC, saved);
}

void TOBLCustomControl::RestoreBorderFront()
{
    if (!HandleAllocated()) return;
    TRect interior{};
    TRect frame = WindowFrame(interior);
    TWindowDC dc(Handle());
    if (UseXP()) {
        FrameXP(dc.Handle(), frame, interior);
        return;
    }
    TSysBrush windowFrame(COLOR_WINDOWFRAME);
    if (!Ctl3D()) {
        FrameRect(dc.Handle(), &frame, windowFrame.Handle());
        return;
    }
    TSysBrush face(COLOR_BTNFACE);
    TRect r = Rect(frame.left + 1, frame.top + 1, frame.right, frame.bottom);
    FrameRect(dc.Handle(), &r, windowFrame.Handle());
    r = Rect(frame.left, frame.top, frame.right - 1, frame.bottom - 1);
    FrameRect(dc.Handle(), &r, face.Handle());
    DrawEdge(dc.Handle(), &frame, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

void TOBLCustomControl::RestoreBorderBack()
{
    if (!HandleAllocated() || Focused() || !flat_ || mouseAbove_) return;
    TRect interior{};
    TRect frame = WindowFrame(interior);
    TWindowDC dc(Handle());
    if (UseXP()) {
        FrameXP(dc.Handle(), frame, interior);
        return;
    }
    TSysBrush face(COLOR_BTNFACE);
    FrameRect(dc.Handle(), &frame, face.Handle());
    if (!Ctl3D()) return;
    InflateRect(&frame, -1, -1);
    FrameRect(dc.Handle(), &frame, face.Handle());
}

// ---- Focus and mouse -----------------------------------------------------------------

void TOBLCustomControl::DoEnter()
{
    inherited::DoEnter();
    entered_ = true;
    if (flat_) RestoreBorderFront();
}

void TOBLCustomControl::DoExit()
{
    entered_ = false;
    RestoreBorderBack();
    inherited::DoExit();
}

void TOBLCustomControl::MouseEnter()
{
    onMouseEnter_(this);
    mouseAbove_ = true;
}

void TOBLCustomControl::MouseExit()
{
    mouseAbove_ = false;
    if (!entered_) RestoreBorderBack();
    onMouseExit_(this);
}

void TOBLCustomControl::DoThemeChanged()
{
    Repaint();
    NotifyControls(CM_OBLTHEMECHANGED);
}

// ---- Messages ------------------------------------------------------------------------

void TOBLCustomControl::EraseBackground(TMessage& Message)
{
    erasedByTheme_ = false;
    themeEraseFailed_ = false;
    if (transparent_ && XPSupportsTransparency() && IsXPPartiallyTransparent()) {
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        erasedByTheme_ = DrawThemeParentBackground(Handle(), dc, nullptr) == 0;
        themeEraseFailed_ = !erasedByTheme_;
        Message.Result = 1;
        return;
    }
    if (CheckOptimized()) {
        Message.Result = 1;
        return;
    }
    inherited::WndProc(Message);
}

void TOBLCustomControl::RefreshBackground()
{
    backFX_->DestroyBuffer();
    if (CheckOptimized()) {
        Repaint();
        NotifyControls(CM_OBLBACKCHANGED);
    } else {
        Invalidate();
    }
}

void TOBLCustomControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        inherited::WndProc(Message);
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(Message);
        MouseExit();
        return;
    case CM_OBLAFTERENTER: onAfterEnter_(this); return;
    case CM_OBLAFTEREXIT: onAfterExit_(this); return;
    case CM_OBLTHEMECHANGED: DoThemeChanged(); return;
    case WM_THEMECHANGED:
        inherited::WndProc(Message);
        DoThemeChanged();
        return;
    case CM_OBLBACKCHANGED:
        if (!Loading() && !ComponentState().Contains(csDestroying)) RefreshBackground();
        return;
    case CM_OBLSCROLLBOXSCROLLEVENT:
        if (CheckOptimized()) NotifyControls(CM_OBLBACKCHANGED);
        return;
    case CM_SYSCOLORCHANGE:
        inherited::WndProc(Message);
        if (!transparent_) Invalidate();
        return;
    case WM_ERASEBKGND: EraseBackground(Message); return;
    case WM_SETFOCUS:
        inherited::WndProc(Message);
        if (HandleAllocated()) PostMessageA(Handle(), CM_OBLAFTERENTER, 0, 0);
        return;
    case WM_KILLFOCUS:
        inherited::WndProc(Message);
        if (HandleAllocated()) PostMessageA(Handle(), CM_OBLAFTEREXIT, 0, 0);
        return;
    case WM_MOVE:
        inherited::WndProc(Message);
        if (CheckOptimized()) {
            backFX_->DestroyBuffer();
            Repaint();
        }
        return;
    case WM_SIZE:
        inherited::WndProc(Message);
        RefreshBackground();
        return;
    default: inherited::WndProc(Message);
    }
}

int OBLCheckForFormComponent(TComponent* AOwner, TClass AClass)
{
    if (!AClass || !dynamic_cast<TForm*>(AOwner)) return -1;
    for (int i = 0; i < AOwner->ComponentCount(); ++i)
        if (AOwner->Components(i)->InheritsFrom(AClass)) return i;
    return -1;
}
