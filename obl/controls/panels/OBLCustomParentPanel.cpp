#include "obl/controls/panels/OBLCustomParentPanel.h"

#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblprocs.h"
#include "obl/core/draw/Oblutils.h"
#include "obl/core/draw/OblutilsShared.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

TOBLCustomParentPanel::TOBLCustomParentPanel(TComponent* AOwner) : TOBLCustomBevelPanel(AOwner) {}

bool TOBLCustomParentPanel::IMLEmpty()
{
    return !ImageList() || !ImageList()->IsValidItem(ListIndex(), ImageIndex());
}

// ---- The cache ------------------------------------------------------------------------

void TOBLCustomParentPanel::CreateBack(bool Force)
{
    const bool passesEffects = BackFX()->Enabled() && PassBackFX();
    if ((IMLEmpty() && !Transparent()) || (Transparent() && !passesEffects)) {
        back_.reset();
        return;
    }
    if (!back_) back_.reset(new TBitmap);
    if (!Force && OBLRectinRect(ClientRect(), Rect(0, 0, back_->Width(), back_->Height()))) return;
    back_->SetSize(Width(), Height());
    if (Transparent())
        CopyParentBack();
    else
        DrawPicture();
}

void TOBLCustomParentPanel::CopyParentBack()
{
    // Without the cache the panel's background is its parent's again.
    back_.reset();
    if (!BackBitmap()) return;
    TOwned<TBitmap> copy(new TBitmap);
    copy->SetSize(Width(), Height());
    BackDrawArea(copy->Canvas(), ClientRect(), Point(0, 0), 0);
    back_ = std::move(copy);
}

void TOBLCustomParentPanel::DrawPicture()
{
    WORD flags = OBLBmpTile;
    const bool appRealizes = OBLApplication && OBLApplication->Options().Contains(aoAutoRealizePalette);
    // An application that realizes palettes itself does so on a display of 256 colours.
    if (!(appRealizes && OBLSIColorDepth() <= 8)) flags |= OBLBmpRealizePalette;
    ImageList()->ClipDraw(back_->Canvas(), Rect(0, 0, back_->Width(), back_->Height()), flags, 0, 0, ListIndex(),
                          ImageIndex());
}

// ---- The background lent to the children ------------------------------------------------

bool TOBLCustomParentPanel::BackBitmapCheck()
{
    return back_ || inherited::BackBitmapCheck();
}

TBitmap* TOBLCustomParentPanel::BackBitmap()
{
    if (back_) return back_.get();
    if (!BackBitmapCheck()) return nullptr;
    return ParentBackProvider()->BackBitmap();
}

TPoint TOBLCustomParentPanel::BackMapPoint(const TPoint& P)
{
    return back_ ? P : inherited::BackMapPoint(P);
}

bool TOBLCustomParentPanel::BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags)
{
    if (Loading()) return false;
    if (!back_) return inherited::BackDrawArea(Canvas, R, P, Flags);
    TRect dest = R;
    const TRect client = ClientRect();
    // The whole client area asked for: only what the canvas lets through is copied, from
    // the same place relative to the asking control.
    if (EqualRect(&dest, &client)) GetClipBox(Canvas->Handle(), &dest);
    const TPoint from = Point(dest.left + P.x, dest.top + P.y);
    RealizedPalette palette(Canvas, BackBitmapPalette());
    Canvas->CopyRect(dest, back_->Canvas(),
                     Rect(from.x, from.y, from.x + dest.right - dest.left, from.y + dest.bottom - dest.top));
    return true;
}

// ---- Changes --------------------------------------------------------------------------

void TOBLCustomParentPanel::GetChange(TObject* Sender)
{
    if (Loading()) return;
    CreateBack(true);
    if (Sender == Bevel()) BevelChanged();
    Invalidate();
}

void TOBLCustomParentPanel::GetIMLChange(TObject* Sender)
{
    GetChange(Sender);
    NotifyControls(CM_OBLBACKCHANGED);
}

bool TOBLCustomParentPanel::GetEmpty()
{
    return inherited::GetEmpty() && IMLEmpty();
}

HPALETTE TOBLCustomParentPanel::GetPalette()
{
    return IMLEmpty() ? nullptr : ImageList()->Palette(ListIndex());
}

void TOBLCustomParentPanel::Loaded()
{
    inherited::Loaded();
    CreateBack(true);
    NotifyControls(CM_OBLBACKCHANGED);
}

void TOBLCustomParentPanel::Paint()
{
    if (Loading()) return;
    FillControl();
    if (!GetEmpty())
        Bevel()->PaintBevel(Canvas(), ClientRect(), true);
    else if (Designing())
        DrawDashedFrame();
}

void TOBLCustomParentPanel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SIZE:
        if (!Loading()) CreateBack(false);
        break;
    case WM_MOVE:
        // A panel that holds its parent's background holds a piece that moved.
        if (PassBackFX()) {
            CreateBack(true);
            NotifyControls(CM_OBLBACKCHANGED);
        }
        break;
    case CM_OBLBACKCHANGED:
        if (PassBackFX()) CreateBack(true);
        break;
    }
    inherited::WndProc(Message);
}
