#include "obl/controls/shapes/OBLFormShape.h"

#include "obl/core/app/oblclass.h"
#include "obl/core/containers/OBLContainerComponent.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Messages.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <memory>
#include <vector>

// Sits in the form's own dispatch (its WindowProc), which every window of the form goes
// through, made anew ones too: the shape learns there that the form has a window, also
// when it was made in code and is never loaded.
//
// A watch leaves the dispatch with its shape. On top it gives the form its procedure
// back; below another watch (a later shape's) that one skips it. Below a procedure of
// other code, which may hand messages to it for as long as the form lives, it stays as
// a plain pass-through and is freed once that form is gone.
class TOBLFormWatch : public TObject {
public:
    TOBLFormWatch(TCustomForm* form, TOBLFormShape* shape)
        : form_(form), formLife_(form->Liveness()), shape_(shape), saved_(form->WindowProc())
    {
        FreeUnused();
        form->SetWindowProc(Method());
        Watches().live.push_back(this);
    }
    ~TOBLFormWatch() override
    {
        auto& live = Watches().live;
        live.erase(std::remove(live.begin(), live.end(), this), live.end());
    }

    // Called while the form is whole.
    void Detach()
    {
        shape_ = nullptr;
        if (form_->WindowProc() == Method()) {
            form_->SetWindowProc(saved_);
            delete this;
        } else if (TOBLFormWatch* above = WatchAbove()) {
            above->saved_ = saved_;
            delete this;
        } else {
            Watches().passing.emplace_back(this);
        }
        FreeUnused();
    }

private:
    struct TWatches {
        std::vector<TOBLFormWatch*> live;
        // Pass-throughs left below other code's procedures, owned here.
        std::vector<std::unique_ptr<TOBLFormWatch>> passing;
    };
    static TWatches& Watches()
    {
        static TWatches watches;
        return watches;
    }
    // Frees the pass-throughs whose form has ended: nothing can call them any more.
    static void FreeUnused()
    {
        auto& passing = Watches().passing;
        std::erase_if(passing, [](const std::unique_ptr<TOBLFormWatch>& w) { return w->formLife_.expired(); });
    }
    TWndMethod Method() { return TWndMethod(this, &TOBLFormWatch::Dispatch); }
    TOBLFormWatch* WatchAbove()
    {
        for (TOBLFormWatch* w : Watches().live)
            if (w != this && w->saved_ == Method())
                return w;
        return nullptr;
    }
    // The shape is told before the message goes on: handling the message may free the
    // shape and this watch with it.
    void Dispatch(TMessage& m)
    {
        if (shape_ && (m.Msg == WM_SHOWWINDOW || m.Msg == WM_WINDOWPOSCHANGED || m.Msg == WM_SIZE))
            shape_->FormHasWindow();
        saved_(m);
    }

    TCustomForm* form_;
    std::weak_ptr<const void> formLife_;
    TOBLFormShape* shape_;
    TWndMethod saved_;
};

namespace {

// The non-client sizes of a form's border style, in window pixels.
struct TFrameSize {
    int cx = 0, cy = 0, caption = 0;
};

TFrameSize FrameSizeOf(TFormBorderStyle style, bool designing)
{
    TFrameSize f;
    const bool sizeable = style == bsSizeable || style == bsSizeToolWin;
    f.cx = GetSystemMetrics(sizeable ? SM_CXFRAME : SM_CXDLGFRAME);
    f.cy = GetSystemMetrics(sizeable ? SM_CYFRAME : SM_CYDLGFRAME);
    switch (style) {
    case bsSingle:
    case bsSizeable:
    case bsDialog: f.caption = GetSystemMetrics(SM_CYCAPTION); break;
    case bsToolWindow:
    case bsSizeToolWin: f.caption = GetSystemMetrics(SM_CYSMCAPTION); break;
    default: break;
    }
    if (style == bsNone && !designing)
        f.cx = f.cy = 0;
    return f;
}

HRGN CopyOf(HRGN rgn)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, rgn, nullptr, RGN_COPY);
    return copy;
}

void Combine(HRGN target, HRGN other, int mode)
{
    CombineRgn(target, target, other, mode);
    DeleteObject(other);
}

} // namespace

TOBLFormShape::TOBLFormShape(TComponent* AOwner)
    : TOBLWndProcComponent(AOwner), region_(new TOBLBorderRegion), fillObject_(new TOBLFillObject),
      backBitmap_(new TBitmap), link_(new TOBLChangeLink)
{
    // The region is cut from the owner form's window: nothing else can carry it.
    auto* form = dynamic_cast<TCustomForm*>(AOwner);
    if (!form || (Designing() && OBLCheckForSameClass(AOwner, ClassType(), false)))
        throw OBLEOneInstError(ClassName(), 0);
    const TNotifyEvent change(this, &TOBLFormShape::GetChange);
    region_->SetWindowControl(form);
    // Told while the form is still whole that it goes, so nothing touches it afterwards.
    form->FreeNotification(this);
    region_->SetOnChange(change);
    fillObject_->SetOnChange(change);
    link_->SetOnChange(TNotifyEvent(this, &TOBLFormShape::GetIMLChange));
    if (!Designing())
        watch_ = new TOBLFormWatch(form, this);
}

TOBLFormShape::~TOBLFormShape()
{
    // Unhooked first: no message may reach the component while it comes apart.
    if (watch_)
        watch_->Detach();
    watch_ = nullptr;
    RestoreWndProc();
    RemoveRegion();
    link_.reset();
    fillObject_->SetOnChange(TNotifyEvent());
    region_->SetOnChange(TNotifyEvent());
}

void TOBLFormShape::Loaded()
{
    inherited::Loaded();
    if (Enabled())
        ReRegion();
}

void TOBLFormShape::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == nullptr)
        return;
    if (AComponent == imageList_)
        SetImageList(nullptr);
    if (AComponent == region_->WindowControl()) {
        if (watch_)
            watch_->Detach();
        watch_ = nullptr;
        region_->SetWindowControl(nullptr);
        regionGiven_ = false;
    }
}

void TOBLFormShape::Init()
{
    if (hooking_)
        return;
    hooking_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{hooking_};
    inherited::Init();
}

void TOBLFormShape::FormHasWindow()
{
    TCustomForm* form = Form();
    if (hooking_ || Hooked() || !Enabled() || Designing() || ComponentState().Contains(csLoading) || !form ||
        !form->HandleAllocated() || form->ComponentState().Contains(csDestroying))
        return;
    Init();
    ReRegion();
}

void TOBLFormShape::GetChange(TObject* Sender)
{
    inherited::GetChange(Sender);
    ReRegion();
}

void TOBLFormShape::SetPolygonShape(const TPoint* Points, int Count)
{
    region_->SetUserPolygonRgn(Points, Count);
    ReRegion();
}

void TOBLFormShape::SetRegionShape(HRGN Rgn)
{
    region_->SetUserRgn(Rgn);
    ReRegion();
}

void TOBLFormShape::SetShowFormCaption(bool Value)
{
    if (showFormCaption_ == Value)
        return;
    showFormCaption_ = Value;
    ReRegion();
}

void TOBLFormShape::SetUseRgnBitmap(bool Value)
{
    if (useRgnBitmap_ == Value)
        return;
    useRgnBitmap_ = Value;
    GetChange(this);
}

void TOBLFormShape::SetImageList(TOBLCustomImageList* Value)
{
    OBLRelinkImageList(imageList_, Value, link_.get(), this);
    GetIMLChange(this);
}

bool TOBLFormShape::HasListControl() const
{
    return imageList_ && !OBLIsGlobalIdent(imageList_);
}

bool TOBLFormShape::ListItemValid() const
{
    // A list index the list has no entry for (a negative one too) names no picture.
    return imageList_ && imageList_->HasEntry(listIndex_) && imageList_->IsValidItem(listIndex_, imageIndex_);
}

// The form comes from the region: a component being freed has already left its owner.
TCustomForm* TOBLFormShape::Form() const { return static_cast<TCustomForm*>(region_->WindowControl()); }

HWND TOBLFormShape::FormWindow() const
{
    TCustomForm* form = Form();
    return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

void TOBLFormShape::RemoveRegion()
{
    if (!regionGiven_)
        return;
    regionGiven_ = false;
    TCustomForm* form = Form();
    if (HWND window = FormWindow(); window && !form->ComponentState().Contains(csDestroying))
        SetWindowRgn(window, nullptr, TRUE);
}

void TOBLFormShape::EnabledChanged()
{
    if (Designing())
        return;
    if (Enabled())
        ReRegion();
    else
        RemoveRegion();
}

void TOBLFormShape::ReRegion()
{
    TCustomForm* form = Form();
    if (ComponentState().Contains(csLoading) || !form || form->ComponentState().Contains(csDestroying) ||
        (!Enabled() && !Designing()))
        return;
    HWND window = FormWindow();
    const bool designing = Designing();
    const bool minimised = window && (GetWindowLongA(window, GWL_STYLE) & WS_MINIMIZE);
    const TFrameSize frame = FrameSizeOf(form->BorderStyle(), designing);
    TBitmap* maskBitmap = region_->Mask()->BorderBmp();
    if (!minimised && region_->Shape() == rsBitmap && !maskBitmap->Empty()) {
        const int depth = region_->Shadow()->Depth();
        form->SetBounds(form->Left(), form->Top(), maskBitmap->Width() + depth + 2 * frame.cx,
                        frame.caption + maskBitmap->Height() + 2 * frame.cy + depth);
    }
    // The window's own size: the form's bounds catch up with a move only after WM_SIZE.
    RECT bounds{0, 0, form->Width(), form->Height()};
    if (window)
        GetWindowRect(window, &bounds);
    const int W = bounds.right - bounds.left, H = bounds.bottom - bounds.top;
    const int stripHeight = frame.caption + frame.cy;
    HRGN result = nullptr;
    if (minimised) {
        region_->CreateSpecialRectRgn(Rect(0, 0, W, stripHeight));
        result = CopyOf(region_->CurrentRegion());
    } else {
        TRect R = Rect(0, 0, W - 2 * frame.cx, H - 2 * frame.cy - frame.caption);
        InflateRect(&R, 1, 1);
        region_->CreateRegion(R);
        if (!region_->CurrentRegion()) {
            // A shape without data: the form stays a plain rectangle.
            RemoveRegion();
            return;
        }
        result = CopyOf(region_->CurrentRegion());
        OffsetRgn(result, frame.cx, stripHeight);
        // Only what lies in the window (or casts its shadow there) counts: cutting the
        // shape to that first keeps the combining small for a complex shape, and the
        // shadow is cut to the window after.
        const int depth = std::max(region_->ShadowDepth(), 0);
        Combine(result, CreateRectRgn(-depth, -depth, W, H), RGN_AND);
        if (depth > 0) {
            HRGN moved = CopyOf(result);
            OffsetRgn(moved, depth, depth);
            Combine(result, moved, RGN_OR);
        }
        const bool keepCaption = (showFormCaption_ && form->BorderStyle() != bsNone) || designing;
        Combine(result, CreateRectRgn(0, 0, W, stripHeight), keepCaption ? RGN_OR : RGN_DIFF);
        if (depth > 0)
            Combine(result, CreateRectRgn(0, 0, W, H), RGN_AND);
    }
    if (designing || !window) {
        DeleteObject(result);
        return;
    }
    SetWindowRgn(window, nullptr, FALSE);
    // The window owns the region from here on.
    SetWindowRgn(window, result, TRUE);
    regionGiven_ = true;
}

// The shape's rectangle is the client area grown by one pixel, so the window region takes
// in a ring of the frame around the client, which the window paints as its frame. After
// each frame paint the ring gets what the client's edge shows, the background and the
// border, along the grown rectangle: the border goes on into it.
void TOBLFormShape::PaintFrameRing()
{
    TCustomForm* form = Form();
    HWND window = FormWindow();
    const TOBLRegionShape shape = region_->Shape();
    if (!regionGiven_ || !window || Designing() || form->ComponentState().Contains(csDestroying) ||
        shape == rsBitmap || shape == rsUserRegion)
        return;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const TPoint origin = form->ClientToScreen(Point(0, 0));
    const int ox = origin.x - bounds.left, oy = origin.y - bounds.top;
    const int cw = form->ClientWidth(), ch = form->ClientHeight();
    HRGN ring = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, ring) == ERROR) {
        DeleteObject(ring);
        return;
    }
    Combine(ring, CreateRectRgn(ox, oy, ox + cw, oy + ch), RGN_DIFF);
    Combine(ring, CreateRectRgn(0, 0, bounds.right - bounds.left, oy), RGN_DIFF);
    RECT box{};
    if (GetRgnBox(ring, &box) == NULLREGION) {
        DeleteObject(ring);
        return;
    }
    HDC dc = GetWindowDC(window);
    if (!dc) {
        DeleteObject(ring);
        return;
    }
    SelectClipRgn(dc, ring);
    DeleteObject(ring);
    POINT old{};
    SetViewportOrgEx(dc, ox, oy, &old);
    TCanvas canvas;
    canvas.SetHandle(dc);
    struct Release {
        TCanvas& canvas;
        HWND window;
        HDC dc;
        POINT old;
        ~Release()
        {
            canvas.SetHandle(nullptr);
            SetViewportOrgEx(dc, old.x, old.y, nullptr);
            SelectClipRgn(dc, nullptr);
            ReleaseDC(window, dc);
        }
    } release{canvas, window, dc, old};
    const TRect R = Rect(-1, -1, cw + 1, ch + 1);
    if (fillObject_->Style() != sfNone) {
        fillObject_->FillCanvas(&canvas, R, clWhite);
    } else {
        canvas.Brush()->SetColor(form->Color());
        canvas.FillRect(R);
    }
    region_->PaintRegionShape(&canvas, R);
}

void TOBLFormShape::PaintBorder(HDC DC)
{
    TCustomForm* form = Form();
    TCanvas own;
    TCanvas* canvas = form->Canvas();
    if (DC) {
        own.SetHandle(DC);
        canvas = &own;
    }
    const TRect R = form->ClientRect();
    const bool designing = Designing();
    if (useRgnBitmap_ && region_->Shape() == rsBitmap) {
        if (!designing) {
            canvas->Draw(0, 0, region_->Mask()->BorderBmp());
        } else if (HRGN stored = region_->Mask()->CreateRegion()) {
            OffsetRgn(stored, 0, -canvas->ClipRect().top);
            FrameRgn(canvas->Handle(), stored, canvas->Brush()->Handle(), 1, 1);
            DeleteObject(stored);
        }
    } else if (fillObject_->Style() != sfNone) {
        backBitmap_->SetSize(R.right - R.left, R.bottom - R.top);
        if (fillObject_->Style() == sfBitmapList && ListItemValid())
            imageList_->GetBitmapItem(listIndex_, imageIndex_, fillObject_->ListBitmap());
        fillObject_->FillCanvas(backBitmap_->Canvas(), R, clWhite);
        if (!designing)
            canvas->Draw(0, 0, backBitmap_.get());
    }
    region_->PaintRegionShape(canvas, R);
    if (DC)
        own.SetHandle(nullptr);
}

bool TOBLFormShape::BackBitmapCheck()
{
    return (useRgnBitmap_ && region_->Shape() == rsBitmap) || (fillObject_->Style() != sfNone && !Designing());
}

TBitmap* TOBLFormShape::BackBitmap()
{
    if (useRgnBitmap_ && region_->Shape() == rsBitmap)
        return region_->Mask()->BorderBmp();
    if (fillObject_->Style() != sfNone)
        return backBitmap_.get();
    return nullptr;
}

bool TOBLFormShape::BackDrawArea(TCanvas* Canvas, const TRect& Dest, const TPoint& Origin, WORD)
{
    if (!BackBitmapCheck())
        return false;
    const int w = Dest.right - Dest.left, h = Dest.bottom - Dest.top;
    Canvas->CopyRect(Dest, BackBitmap()->Canvas(), Rect(Origin.x, Origin.y, Origin.x + w, Origin.y + h));
    return true;
}

bool TOBLFormShape::PaintsBackground() const
{
    if (Designing())
        return false;
    if (useRgnBitmap_ && region_->Shape() == rsBitmap)
        return !region_->Mask()->BorderBmp()->Empty();
    switch (fillObject_->Style()) {
    case sfNone: return false;
    case sfBitmapList: return ListItemValid();
    default: return !fillObject_->GetEmpty();
    }
}

// An empty client spot of the form is its caption: pressing there drags the form.
void TOBLFormShape::HitTest(TMessage& Message)
{
    inherited::WndProc(Message);
    if (!formDragable_ || Message.Result != HTCLIENT || buttonDown_)
        return;
    TCustomForm* form = Form();
    const TPoint p = form->ScreenToClient(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
    if (!form->ControlAtPos(p, true, true))
        Message.Result = HTCAPTION;
}

void TOBLFormShape::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SIZE:
        inherited::WndProc(Message);
        ReRegion();
        if (HWND window = FormWindow())
            InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_ERASEBKGND:
        if (!PaintsBackground())
            inherited::WndProc(Message);
        PaintBorder(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        break;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        inherited::WndProc(Message);
        PaintFrameRing();
        break;
    case WM_NCHITTEST: HitTest(Message); break;
    case WM_NCLBUTTONDOWN:
        // Set before the default handling: a drag runs inside it, and its end
        // (WM_EXITSIZEMOVE) must find the flag set to clear it.
        buttonDown_ = true;
        inherited::WndProc(Message);
        if (GetKeyState(VK_LBUTTON) >= 0)
            buttonDown_ = false;
        break;
    case WM_NCLBUTTONUP:
    case WM_EXITSIZEMOVE:
        inherited::WndProc(Message);
        buttonDown_ = false;
        break;
    default: inherited::WndProc(Message); break;
    }
}

void TOBLFormShape::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
}

void TOBLFormShape::Publish(TClassBuilder<TOBLFormShape>& c)
{
    using C = TOBLFormShape;
    c.Property("About", &C::About, &C::SetAbout);
    c.Property("Enabled", &C::Enabled, &C::SetEnabled).Default(true);
    c.Property("Region", &C::Region, &C::SetRegion);
    c.Property("ShowFormCaption", &C::ShowFormCaption, &C::SetShowFormCaption).Default(true);
    c.Property("FormDragable", &C::FormDragable, &C::SetFormDragable).Default(true);
    c.Property("UseRgnBitmap", &C::UseRgnBitmap, &C::SetUseRgnBitmap).Default(true);
    c.Property("FillObject", &C::FillObject, &C::SetFillObject);
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::HasListControl);
    c.Property("ListIndex", &C::ListIndex, &C::SetListIndex).Default(0);
    c.Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex).Default(0);
}
