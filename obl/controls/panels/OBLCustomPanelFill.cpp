#include "obl/controls/panels/OBLCustomPanelFill.h"

#include "obl/core/base/Oblprocs.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/win/user/User.h"

// The DrawText flags of each alignment, agTopLeft to agBottomRight: DT_LEFT, DT_CENTER or
// DT_RIGHT with DT_TOP, DT_VCENTER or DT_BOTTOM.
constexpr int TOBLALIGNFLAGS[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};

TOBLCustomPanelFill::TOBLCustomPanelFill(TComponent* AOwner)
    : TOBLCustomParentPanel(AOwner), captionFx_(new TOBLFxCaption), fillObject_(new TOBLFillObject)
{
    SetControlStyle(ControlStyle() + TControlStyle{csSetCaption});
    const TNotifyEvent change(static_cast<TOBLCustomControl*>(this), &TOBLCustomControl::GetChange);
    fillObject_->SetOnChange(change);
    captionFx_->SetOnChange(change);
}

TOBLCustomPanelFill::~TOBLCustomPanelFill()
{
    captionFx_->SetOnChange(TNotifyEvent());
    fillObject_->SetOnChange(TNotifyEvent());
}

void TOBLCustomPanelFill::SetAlignment(TOBLAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    GetChange(Font());
}

void TOBLCustomPanelFill::SetTransparentBorder(bool Value)
{
    if (Value == transparentBorder_) return;
    transparentBorder_ = Value;
    Invalidate();
}

// ---- The cache ------------------------------------------------------------------------

void TOBLCustomPanelFill::CreateBack(bool Force)
{
    if (Loading() || ComponentState().Contains(csDestroying)) return;
    const bool passesEffects = BackFX()->Enabled() && PassBackFX();
    if ((fillObject_->GetEmpty() && !Transparent()) || (Transparent() && !passesEffects)) {
        back_.reset();
        return;
    }
    if (!back_) back_.reset(new TBitmap);
    // A cache that still holds the client area is kept, unless the fill is laid out over
    // the panel's size (a gradient, a stretched, centred or placed picture): a larger
    // cache from before a shrink would show it at the old size.
    const bool sizeBound = !Transparent() && fillObject_->GetMustRedraw();
    if (!Force && !sizeBound && OBLRectinRect(ClientRect(), Rect(0, 0, back_->Width(), back_->Height()))) return;
    back_->SetSize(Width(), Height());
    if (!FillBack()) return;
    back_->SetPixelFormat(pf24bit);
    // What the effects buffered was made from the old cache.
    BackFX()->DestroyBuffer();
    BackFX()->Draw(back_.get());
}

bool TOBLCustomPanelFill::FillBack()
{
    if (Transparent()) {
        CopyParentBack();
        return back_ != nullptr;
    }
    fillObject_->FillCanvas(back_->Canvas(), Rect(0, 0, back_->Width(), back_->Height()), Color());
    return true;
}

// ---- Changes --------------------------------------------------------------------------

void TOBLCustomPanelFill::GetChange(TObject* Sender)
{
    inherited::GetChange(Sender);
    if (Sender == captionFx_.get()) {
        CheckCaptionFont();
        NotifyFontChanged();
    } else if (!Loading()) {
        if (Sender == fillObject_.get() || Sender == BackFX()) {
            CreateBack(true);
            NotifyControls(CM_OBLBACKCHANGED);
        } else if (Sender == Bevel()) {
            NotifyControls(CM_COLORCHANGED);
        }
    }
}

void TOBLCustomPanelFill::CheckCaptionFont()
{
    if (captionFx_->Angle() == 0 || Font()->Name() == OBL_DEFAULTFONT) return;
    // Measured on a bitmap of its own: the panel's window is not made for it, which
    // matters while the panel is read.
    TBitmap probe;
    probe.Canvas()->SetFont(Font());
    if (!OBLIsTrueTypeFontCheck(probe.Canvas())) Font()->SetName(OBL_DEFAULTFONT);
}

void TOBLCustomPanelFill::NotifyFontChanged()
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        // A control takes CM_FONTCHANGED for a change of its own font and stops following
        // its parent's; one that followed the panel's font takes it up again.
        const bool parentFont = child->ParentFont();
        child->Perform(CM_FONTCHANGED, 0, 0);
        if (parentFont) child->SetParentFont(true);
    }
}

void TOBLCustomPanelFill::GetIMLChange(TObject* Sender)
{
    if (IMLEmpty()) {
        fillObject_->SetListBitmap(nullptr);
    } else {
        TBitmap picture;
        ImageList()->GetBitmapItem(ListIndex(), ImageIndex(), &picture);
        fillObject_->SetListBitmap(&picture);
    }
    GetChange(fillObject_.get());
}

bool TOBLCustomPanelFill::GetEmpty()
{
    return inherited::GetEmpty() && Caption().IsEmpty() && fillObject_->GetEmpty();
}

HPALETTE TOBLCustomPanelFill::GetPalette() { return fillObject_->GetPalette(); }

void TOBLCustomPanelFill::Resize()
{
    inherited::Resize();
    if (fillObject_->Style() == sfGradient) NotifyControls(CM_COLORCHANGED);
}

void TOBLCustomPanelFill::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        inherited::WndProc(Message);
        GetChange(nullptr);
        return;
    case CM_FONTCHANGED:
        inherited::WndProc(Message);
        // The panel's own font now; taking the parent's font sets ParentFont back
        // once this message is handled.
        SetParentFont(false);
        GetChange(captionFx_.get());
        return;
    default: inherited::WndProc(Message);
    }
}

// ---- Painting -------------------------------------------------------------------------

void TOBLCustomPanelFill::Paint()
{
    if (Loading()) return;
    FillControl();
    if (!GetEmpty()) {
        const TRect R = !Flat() || Entered() ? Bevel()->PaintBevel(Canvas(), ClientRect(), transparentBorder_)
                                             : ClientRect();
        DrawCaption(R, alignment_);
    } else if (Designing()) {
        DrawDashedFrame();
    }
}

void TOBLCustomPanelFill::DrawCaption(const TRect& R, TOBLAlignment Alignment)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->Brush()->SetColor(Color());
    canvas->SetFont(Font());
    const int bidi = DrawTextBiDiModeFlags(0);
    // Measuring writes the text position into the caption effect: that is no change of the
    // panel's settings, and a change would rebuild the cache and paint again.
    struct Silence {
        TOBLFxCaption* fx;
        TNotifyEvent change;
        ~Silence() { fx->SetOnChange(change); }
    } silence{captionFx_.get(), captionFx_->OnChange()};
    captionFx_->SetOnChange(TNotifyEvent());
    TRect place = R;
    if (captionFx_->Angle() != 0 && alignment_ != agTopLeft)
        place = OBLAlignTextRect(Alignment, Caption(), captionFx_.get(), R, Font(), false, false, bidi);
    const int flags = TOBLALIGNFLAGS[static_cast<int>(Alignment)] | bidi | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX;
    TOBLDrawTextStyles states{Enabled() ? dtEnabled : dtDisabled, dtClip};
    OBLDrawTextExt(canvas, Caption(), captionFx_.get(), place, flags, states, nullptr);
}
