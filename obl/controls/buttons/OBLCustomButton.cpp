#include "obl/controls/buttons/OBLCustomButton.h"

#include "obl/core/app/oblclass.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/classlib/ActnList.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

// The styles whose face leaves the background to the button: it is filled first.
bool FillsBackground(TOBLUserButtonStyle style)
{
    switch (style) {
    case ubsExplorer:
    case ubsExplorerColored:
    case ubsWinXP:
    case ubsWinXPCombo:
    case ubsWinXPTool: return true;
    default: return false;
    }
}

TOBLGlyphStyle GlyphStyleOf(TOBLUserButtonStyle style)
{
    return style == ubsFlatUnColored || style == ubsNavigator || style == ubsExplorer ? gsExplorer : gsStandard;
}

} // namespace

TOBLCustomButton::TOBLCustomButton(TComponent* AOwner)
    : TButton(AOwner), buttonLayout_(new TOBLButtonLayout), canvas_(new TCanvas), fontFX_(new TOBLFxCaption),
      link_(new TOBLChangeLink), glyph_(new TOBLGlyph)
{
    controlStyle_.Include(csReplicatable);
    const TNotifyEvent change(this, &TOBLCustomButton::GetChange);
    glyph_->SetOnChange(change);
    buttonLayout_->SetOnChange(change);
    fontFX_->SetOnChange(change);
    link_->SetOnChange(TNotifyEvent(this, &TOBLCustomButton::GetIMLChange));
}

TOBLCustomButton::~TOBLCustomButton()
{
    FreeTimer();
    glyph_->SetOnChange(nullptr);
    buttonLayout_->SetOnChange(nullptr);
    fontFX_->SetOnChange(nullptr);
    link_->SetOnChange(nullptr);
    // The link leaves the image list as it goes.
    delete link_;
    delete fontFX_;
    delete buttonLayout_;
    delete glyph_;
    delete canvas_;
}

void TOBLCustomButton::Publish(TClassBuilder<TOBLCustomButton>& c)
{
    using C = TOBLCustomButton;
    c.Property("About", &C::About, &C::SetAbout).Stored(false);
    c.Property("ButtonLayout", &C::ButtonLayout, &C::SetButtonLayout);
    c.Property("FontFX", &C::FontFX, &C::SetFontFX);
    c.Property("Glyph", &C::Glyph, &C::SetGlyph).Stored(&C::IsGlyphStored);
    c.Property("HideHint", &C::HideHint, &C::SetHideHint).Default(true);
    c.Property("UseCaption", &C::UseCaption, &C::SetUseCaption).Default(true);
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::IsImageListStored);
    c.Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex).Default(0).ReadRange(0);
    c.Property("ListIndex", &C::ListIndex, &C::SetListIndex).Default(0).ReadRange(0);
    c.Property("MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
    c.Property("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs).Default(1);
    c.Property("RepeatedClick", &C::RepeatedClick, &C::SetRepeatedClick).Default(false);
    c.Property("RepeatingInterval", &C::RepeatingInterval, &C::SetRepeatingInterval).Default(100);
    c.Property("RepeatingDelay", &C::RepeatingDelay, &C::SetRepeatingDelay).Default(500);
    c.Property("ExtStyle", &C::ExtStyle, &C::SetExtStyle).Default(ubsAutoDetect);
    // Written even when true.
    c.Property("Visible", &C::Visible, &C::SetVisible);
    c.Property("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
    c.Property("OnMouseExit", &C::OnMouseExit, &C::SetOnMouseExit);
}

// ---- Properties ----------------------------------------------------------------------

void TOBLCustomButton::SetGlyph(TBitmap* Value)
{
    if (!Loading() && imageList_) SetImageList(nullptr);
    glyph_->SetGlyph(Value);
    Invalidate();
}

void TOBLCustomButton::SetNumGlyphs(TOBLNumGlyphs Value)
{
    glyph_->SetNumGlyphs(Value);
    Invalidate();
}

void TOBLCustomButton::SetGlyphKind(TOBLGlyphKind Value)
{
    if (Value == glyphKind_) return;
    if (!Loading()) SetGlyph(nullptr);
    glyphKind_ = Value;
    if (Loading()) return;
    // A built-in glyph is fetched at the next paint.
    if (Value != gkCustom)
        Invalidate();
    else
        GetIMLChange(this);
}

void TOBLCustomButton::SetImageList(TOBLCustomImageList* Value)
{
    if (imageList_) imageList_->UnRegisterChanges(link_);
    imageList_ = Value;
    if (imageList_) {
        imageList_->RegisterChanges(link_);
        imageList_->FreeNotification(this);
    }
    GetIMLChange(this);
}

void TOBLCustomButton::SetIndex(int& Field, int Value)
{
    if (Value < 0 || Value == Field) return;
    Field = Value;
    if (imageList_) GetIMLChange(this);
}

void TOBLCustomButton::SetUseCaption(bool Value)
{
    if (Value == useCaption_) return;
    useCaption_ = Value;
    Invalidate();
}

void TOBLCustomButton::SetMultiLine(bool Value)
{
    if (Value == multiLine_) return;
    multiLine_ = Value;
    Invalidate();
}

void TOBLCustomButton::SetExtStyle(TOBLUserButtonStyle Value)
{
    if (Value == extStyle_) return;
    extStyle_ = Value;
    glyph_->SetStyle(GlyphStyleOf(Value));
    Invalidate();
}

void TOBLCustomButton::SetDropDownMenu(TPopupMenu* Value)
{
    dropDownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TOBLCustomButton::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        IDS_INTERNAL, [this](TReader* reader) { SetImageList(OBLReadGlobalIdent(reader)); },
        [this](TWriter* writer) { OBLWriteGlobalIdent(writer, imageList_); }, OBLIsGlobalIdent(imageList_));
    // Old descriptions only: ExtStyle replaces it.
    Filer->DefineProperty("Style", [this](TReader* reader) { ReadStyle(reader); }, nullptr, false);
}

void TOBLCustomButton::ReadStyle(TReader* Reader)
{
    const AnsiString ident = Reader->ReadIdent();
    for (int i = 0; i < 3; ++i)
        if (SameText(ident, OBLNormalButtonStyleNames[i])) SetStyle(static_cast<TOBLNormalButtonStyle>(i));
}

// ---- Component protocol --------------------------------------------------------------

void TOBLCustomButton::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    // Turns the push-button type (0 or 1) into the owner-drawn one.
    Params.Style |= BS_OWNERDRAW;
}

void TOBLCustomButton::SetButtonStyle(bool ADefault)
{
    // No BM_SETSTYLE: the window stays owner-drawn; the face shows the default frame.
    if (ADefault == activeStyle_) return;
    activeStyle_ = ADefault;
    Refresh();
}

void TOBLCustomButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const TRect old = BoundsRect();
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Loading()) return;
    TOBLBoundsChangeStates changes;
    if (old.left != Left() || old.top != Top()) changes.Include(bcPos);
    if (old.right - old.left != Width() || old.bottom - old.top != Height()) changes.Include(bcSize);
    if (!changes.Empty()) BoundsChange(changes);
}

void TOBLCustomButton::Loaded()
{
    inherited::Loaded();
    // A collection list has its pictures only once everything is read.
    if (OBLIsCollectionImageList(imageList_)) GetIMLChange(this);
}

void TOBLCustomButton::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    if (AComponent == dropDownMenu_) dropDownMenu_ = nullptr;
    if (AComponent == imageList_) {
        // The going list lets its links go itself: nothing of it is called any more.
        imageList_ = nullptr;
        GetIMLChange(this);
    }
}

void TOBLCustomButton::VisibleChanging()
{
    if (Visible()) {
        mouseAbove_ = false;
        FreeTimer();
    }
    inherited::VisibleChanging();
}

// ---- Change handlers -----------------------------------------------------------------

void TOBLCustomButton::GetChange(TObject* Sender)
{
    if (Loading()) return;
    if (Sender == Font() || Sender == fontFX_) {
        SetParentFont(false);
        // Only TrueType faces rotate.
        if (fontFX_->Angle() != 0 && !OBLIsTrueTypeFont(Font())) {
            if (Sender == Font()) {
                fontFX_->SetAngle(0);
            } else {
                // The font change repaints.
                Font()->SetName("Arial");
                return;
            }
        }
    }
    Invalidate();
}

void TOBLCustomButton::GetIMLChange(TObject* Sender)
{
    if (glyphKind_ != gkCustom) return;
    if (!imageList_ || !imageList_->IsValidItem(listIndex_, imageIndex_)) {
        glyph_->SetGlyph(nullptr);
    } else {
        TBitmap bitmap;
        imageList_->GetBitmapItem(listIndex_, imageIndex_, &bitmap);
        glyph_->SetGlyph(&bitmap);
    }
    Invalidate();
}

void TOBLCustomButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    inherited::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (glyphKind_ != gkCustom || !action) return;
    TCustomImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
    const int index = action->ImageIndex();
    // An action without a picture of its own leaves the glyph as it is.
    if (!images || index < 0 || index >= images->Count()) return;
    TBitmap bitmap;
    bitmap.SetSize(images->Width(), images->Height());
    bitmap.Canvas()->Brush()->SetColor(static_cast<TColor>(0xFF00FF));
    bitmap.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(bitmap.Canvas(), 0, 0, index, true);
    // Into the glyph object, not through the Glyph property, which would let the image list go.
    glyph_->SetGlyph(&bitmap);
    Invalidate();
}

AnsiString TOBLCustomButton::GetCaption() { return useCaption_ ? Caption() : AnsiString(); }

HPALETTE TOBLCustomButton::GetPalette() { return glyph_->Glyph()->Palette(); }

// ---- Painting ------------------------------------------------------------------------

void TOBLCustomButton::DrawItemMessage(TMessage& Message)
{
    // A built-in kind whose picture cannot be loaded is drawn without a glyph.
    if (glyphKind_ != gkCustom && glyph_->Glyph()->Empty()) LoadBuiltInGlyph();
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
}

bool TOBLCustomButton::LoadBuiltInGlyph()
{
    TBitmap bitmap;
    OBLGetGlyphKind(&bitmap, glyphKind_);
    if (bitmap.Empty() || bitmap.Height() == 0) return false;
    glyph_->SetNumGlyphs(1);
    SetGlyph(&bitmap);
    return true;
}

void TOBLCustomButton::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct)
{
    struct Unbind {
        TCanvas* canvas;
        ~Unbind() { canvas->SetHandle(nullptr); }
    } unbind{canvas_};
    canvas_->SetHandle(DrawItemStruct.hDC);
    // Some faces draw with the canvas's current pen and brush, which the previous paint
    // left changed (the caption leaves the brush clear, the focus frame the pen grey):
    // every paint starts from the same ones.
    canvas_->Pen()->SetColor(clBlack);
    canvas_->Pen()->SetStyle(psSolid);
    canvas_->Pen()->SetWidth(1);
    canvas_->Brush()->SetColor(Color());
    canvas_->Brush()->SetStyle(bsSolid);
    TRect rect = ClientRect();
    const bool pressed = (DrawItemStruct.itemState & ODS_SELECTED) != 0;
    const bool focused = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
    state_ = !Enabled() ? bsDisabledUp : pressed ? bsDown : mouseAbove_ ? bsMouseOver : bsUp;
    WORD flags = 0x01;
    if (activeStyle_) flags |= 0x02;
    if (focused) flags |= 0x20;
    if (mouseAbove_) flags |= 0x40;
    if (FillsBackground(extStyle_)) canvas_->FillRect(ClientRect());
    OBLDrawBtnFaceExt(this, canvas_, mouseAbove_, rect, extStyle_, state_, flags, Color());
    // The themed combo part carries no caption.
    if (extStyle_ == ubsWinXPCombo && OBLApplication && OBLApplication->UseXPThemes()) return;
    canvas_->SetFont(Font());
    DrawCaptionAndGlyph(canvas_, rect, DrawTextBiDiModeFlags(0));
}

void TOBLCustomButton::DrawCaptionAndGlyph(TCanvas* ACanvas, const TRect& ARect, int Flags)
{
    const TOBLDrawTextStyles styles{Enabled() ? dtEnabled : dtDisabled, dt3DDisabled};
    glyph_->DrawButtonGlyphAndText(ACanvas, GetCaption(), fontFX_, ARect, state_, buttonLayout_, styles, multiLine_,
                                   Flags);
}

// ---- Mouse ---------------------------------------------------------------------------

void TOBLCustomButton::MouseEnter(TMessage& Message)
{
    const std::weak_ptr<const void> alive = Liveness();
    inherited::WndProc(Message);
    if (alive.expired()) return;
    if (state_ == bsUp) {
        onMouseEnter_(this);
        if (alive.expired()) return;
    }
    if (mouseAbove_) return;
    mouseAbove_ = true;
    Invalidate();
}

void TOBLCustomButton::MouseLeave(TMessage& Message)
{
    const std::weak_ptr<const void> alive = Liveness();
    inherited::WndProc(Message);
    if (alive.expired()) return;
    onMouseExit_(this);
    if (alive.expired()) return;
    if (mouseAbove_) {
        mouseAbove_ = false;
        state_ = bsUp;
        Invalidate();
    }
    if (hideHint_ && Application) Application->HideHint();
}

void TOBLCustomButton::Click()
{
    if (!dropDownMenu_ || dropped_) {
        inherited::Click();
        return;
    }
    const std::weak_ptr<const void> alive = Liveness();
    OnClick()(this);
    if (alive.expired()) return;
    DropDown();
}

// ---- Repeated click ------------------------------------------------------------------

void TOBLCustomButton::StartRepeat()
{
    if (!repeatedClick_ || repeatTimerId_ != 0 || !OBLApplication) return;
    const WORD ident = OBLApplication->AddTimer(OBLPoolInterval(repeatingDelay_),
                                                TNotifyEvent(this, &TOBLCustomButton::ExecuteRepeatedClick));
    if (ident == 0) throw EOutOfResources(SNoTimers);
    repeatTimerId_ = ident;
    if (TOBLTimerItem* item = OBLApplication->GetTimer(ident)) item->SetEnabled(true);
}

void TOBLCustomButton::ExecuteRepeatedClick(TObject*)
{
    // The repetitions pause while the pointer is outside the button.
    if (mouseAbove_) DoRepeatedClick();
}

void TOBLCustomButton::DoRepeatedClick()
{
    if (TOBLTimerItem* item = OBLApplication->GetTimer(repeatTimerId_))
        item->SetInterval(OBLPoolInterval(repeatingInterval_));
    Click();
}

void TOBLCustomButton::FreeTimer()
{
    const WORD ident = repeatTimerId_;
    repeatTimerId_ = 0;
    // The application object (and its pool with every timer) may already be gone at exit.
    if (ident == 0 || !OBLApplication) return;
    if (TOBLTimerItem* item = OBLApplication->GetTimer(ident)) {
        item->SetOnTimer(nullptr);
        item->SetEnabled(false);
    }
    // Through the application object, which also gives the identifier back.
    OBLApplication->RemoveTimer(ident);
}

// ---- Drop-down menu ------------------------------------------------------------------

void TOBLCustomButton::DropDown()
{
    if (!dropDownMenu_ || dropped_) return;
    const std::weak_ptr<const void> alive = Liveness();
    if (!activeStyle_ && CanFocus()) {
        SetFocus();
        if (alive.expired()) return;
    }
    SendMessageA(Handle(), BM_SETSTATE, 1, 0);
    Refresh();
    dropped_ = true;
    // Whatever ends the menu (a handler's exception included), the button comes back up.
    struct Reset {
        TOBLCustomButton* button;
        const std::weak_ptr<const void>& alive;
        ~Reset()
        {
            if (alive.expired()) return;
            button->dropped_ = false;
            button->state_ = bsUp;
            if (button->HandleAllocated()) SendMessageA(button->Handle(), BM_SETSTATE, 0, 0);
        }
    } reset{this, alive};
    onDropDown_(this);
    // The handler may have freed the button or the menu.
    if (alive.expired() || !dropDownMenu_) return;
    if (dropDownRight_) {
        const TPoint at = ClientToScreen(Point(Width(), 0));
        dropDownMenu_->Popup(at.x, at.y + dropDownIndent_);
    } else {
        const TPoint at = ClientToScreen(Point(0, Height()));
        dropDownMenu_->Popup(at.x + dropDownIndent_, at.y);
    }
    if (alive.expired()) return;
    // The click that closed the menu must not press the button again.
    DrainMouseMessages();
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
}

void TOBLCustomButton::DrainMouseMessages()
{
    if (!HandleAllocated()) return;
    MSG message;
    while (PeekMessageA(&message, Handle(), WM_MOUSEFIRST, WM_MOUSEWHEEL, PM_REMOVE)) {
    }
}

// ---- Messages ------------------------------------------------------------------------

void TOBLCustomButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_OBLTHEMECHANGED: Invalidate(); return;
    case CM_MOUSEENTER: MouseEnter(Message); return;
    case CM_MOUSELEAVE: MouseLeave(Message); return;
    case CN_DRAWITEM: DrawItemMessage(Message); return;
    case CN_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        item->itemWidth = static_cast<UINT>(Width());
        item->itemHeight = static_cast<UINT>(Height());
        return;
    }
    case CM_ENABLEDCHANGED: {
        if (!Enabled()) FreeTimer();
        const std::weak_ptr<const void> alive = Liveness();
        inherited::WndProc(Message);
        if (!alive.expired()) Invalidate();
        return;
    }
    // The font is drawn by the button itself; the window's own font does not matter.
    case CM_FONTCHANGED: GetChange(Font()); return;
    case WM_LBUTTONDBLCLK: Message.Result = Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam); return;
    case WM_LBUTTONDOWN: {
        const std::weak_ptr<const void> alive = Liveness();
        inherited::WndProc(Message);
        if (!alive.expired()) StartRepeat();
        return;
    }
    case WM_LBUTTONUP:
        // Before the click that the release reports: its handler may free the button or
        // open a dialog, and the timer must not fire meanwhile.
        FreeTimer();
        inherited::WndProc(Message);
        return;
    case WM_CAPTURECHANGED:
        FreeTimer();
        inherited::WndProc(Message);
        return;
    default: inherited::WndProc(Message);
    }
}
