#include "obl/controls/graphic/OBLBaseGraphicButton.h"

#include "obl/controls/graphic/OBLBackProvider.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/classlib/ActnList.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/ImgList.h"
#include "platform/rtl/RtlConsts.h"

namespace {

constexpr int kMouseOverSlot = 0, kRepeatSlot = 1;
constexpr WORD kMouseOverInterval = 100;

bool IsDisabledState(TOBLButtonState state) { return state == bsDisabledUp || state == bsDisabledDown; }

bool IsPair(TOBLButtonState a, TOBLButtonState b, TOBLButtonState x, TOBLButtonState y)
{
    return (a == x && b == y) || (a == y && b == x);
}

// Stores a changed value; false when it was already there.
template <class T>
bool Store(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// Counts a release in progress for as long as it lives, also when a handler raises.
struct ReleasingScope {
    int& flag;
    explicit ReleasingScope(int& f) : flag(f) { ++flag; }
    ~ReleasingScope() { --flag; }
};

} // namespace

TOBLBaseGraphicButton::TOBLBaseGraphicButton(TComponent* AOwner)
    : TOBLBaseControl(AOwner), buttonLayout_(new TOBLButtonLayout), fontFX_(new TOBLFxCaption), glyph_(new TOBLGlyph)
{
    TControlStyle style = ControlStyle();
    style.Include(csCaptureMouse).Include(csOpaque).Include(csDoubleClicks).Exclude(csSetCaption);
    SetControlStyle(style);
    fontFX_->SetOnChange(TNotifyEvent(this, &TOBLBaseGraphicButton::FontChange));
    glyph_->SetOnChange(TNotifyEvent(static_cast<TOBLControl*>(this), &TOBLControl::GetChange));
    buttonLayout_->SetOnChange(TNotifyEvent(static_cast<TOBLControl*>(this), &TOBLControl::GetChange));
    SetBounds(Left(), Top(), 25, 25);
}

TOBLBaseGraphicButton::~TOBLBaseGraphicButton()
{
    *alive_ = false;
    DeActivateTimer(kMouseOverSlot);
    DeActivateTimer(kRepeatSlot);
    buttonLayout_->SetOnChange(nullptr);
    glyph_->SetOnChange(nullptr);
    fontFX_->SetOnChange(nullptr);
}

void TOBLBaseGraphicButton::Publish(TClassBuilder<TOBLBaseGraphicButton>& c)
{
    using C = TOBLBaseGraphicButton;
    c.Property("About", &C::About, &C::SetAbout).Stored(false);
    c.Property("ButtonLayout", &C::ButtonLayout, &C::SetButtonLayout);
    c.Property("EnterColor", &C::EnterColor, &C::SetEnterColor).Default(clCaptionText);
    c.Property("EnterColorChange", &C::EnterColorChange, &C::SetEnterColorChange).Default(false);
    c.Property("FontFX", &C::FontFX, &C::SetFontFX);
    c.Property("Glyph", &C::Glyph, &C::SetGlyph).Stored(&C::IsGlyphStored);
    c.Property("HideHint", &C::HideHint, &C::SetHideHint).Default(true);
    PublishImageList(c);
    c.Property("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs).Default(std::uint8_t{1});
    c.Property("RepeatedClick", &C::RepeatedClick, &C::SetRepeatedClick).Default(false);
    c.Property("RepeatingInterval", &C::RepeatingInterval, &C::SetRepeatingInterval).Default(WORD{100});
    c.Property("RepeatingDelay", &C::RepeatingDelay, &C::SetRepeatingDelay).Default(WORD{500});
    c.Property("UseCaption", &C::UseCaption, &C::SetUseCaption).Default(true);
    c.Property("OnDropDown", &C::OnDropDown, &C::SetOnDropDown);
    c.Property("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
    c.Property("OnMouseExit", &C::OnMouseExit, &C::SetOnMouseExit);
}

// ---- Setters ------------------------------------------------------------------------

void TOBLBaseGraphicButton::SetDropDown(TPopupMenu* Value)
{
    if (Value == dropDownMenu_)
        return;
    dropDownMenu_ = Value;
    if (Value)
        Value->FreeNotification(this);
    UpdateComboArrow();
    if (dropDownCombo_)
        GetChange(this);
}

void TOBLBaseGraphicButton::SetDropDownCombo(bool Value)
{
    if (Value == dropDownCombo_)
        return;
    dropDownCombo_ = Value;
    if (!Loading())
        SetWidth(Width() + (Value ? dropDownComboWidth_ : -dropDownComboWidth_));
    UpdateComboArrow();
    GetChange(this);
}

void TOBLBaseGraphicButton::SetDropDownComboWidth(int Value)
{
    if (Value == dropDownComboWidth_)
        return;
    if (!Loading() && dropDownCombo_)
        SetWidth(Width() + Value - dropDownComboWidth_);
    dropDownComboWidth_ = Value;
    UpdateComboArrow();
    GetChange(this);
}

void TOBLBaseGraphicButton::SetUseCaption(bool Value)
{
    if (Store(useCaption_, Value))
        GetChange(this);
}
void TOBLBaseGraphicButton::SetEnterColor(TColor Value)
{
    if (Store(enterColor_, Value))
        GetChange(this);
}
void TOBLBaseGraphicButton::SetDropDownIndent(int Value)
{
    if (Store(dropDownIndent_, Value))
        GetChange(this);
}
void TOBLBaseGraphicButton::SetDropDownRight(bool Value)
{
    if (Store(dropDownRight_, Value))
        GetChange(this);
}
void TOBLBaseGraphicButton::SetEnterColorChange(bool Value)
{
    if (Store(enterColorChange_, Value))
        GetChange(this);
}
void TOBLBaseGraphicButton::SetMultiLine(bool Value)
{
    if (Store(multiLine_, Value))
        GetChange(this);
}

void TOBLBaseGraphicButton::SetGroupIndex(int Value)
{
    if (Store(groupIndex_, Value))
        InformOptionSet();
}

void TOBLBaseGraphicButton::SetAllowAllUp(bool Value)
{
    if (Store(allowAllUp_, Value))
        InformOptionSet();
}

void TOBLBaseGraphicButton::SetTransparent(bool Value)
{
    if (!Store(transparent_, Value))
        return;
    TControlStyle style = ControlStyle();
    if (Value)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Invalidate();
}

void TOBLBaseGraphicButton::SetGlyph(TBitmap* Value)
{
    if (!Loading() && ImageList())
        SetImageList(nullptr);
    glyph_->SetGlyph(Value);
    Invalidate();
}

void TOBLBaseGraphicButton::SetNumGlyphs(std::uint8_t Value)
{
    glyph_->SetNumGlyphs(Value);
    Repaint();
}

void TOBLBaseGraphicButton::SetPressed(bool Value)
{
    if (groupIndex_ == 0)
        Value = false;
    if (Value == pressed_ || (pressed_ && !allowAllUp_))
        return;
    pressed_ = Value;
    state_ = Value ? bsOptionSet : bsUp;
    Invalidate();
    if (Value)
        InformOptionSet();
}

// ---- Groups and timers --------------------------------------------------------------

void TOBLBaseGraphicButton::InformOptionSet()
{
    if (groupIndex_ == 0 || !Parent())
        return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TOBLBaseGraphicButton::ButtonPressed(TMessage& Message)
{
    if (static_cast<int>(Message.WParam) != groupIndex_)
        return;
    auto* sender = dynamic_cast<TOBLBaseGraphicButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!sender || sender == this)
        return;
    if (sender->pressed_ && pressed_) {
        pressed_ = false;
        if (mouseOver_ && IsHotState()) {
            state_ = bsMouseOver;
            previousState_ = bsUp;
        } else {
            state_ = bsUp;
        }
        Invalidate();
    }
    allowAllUp_ = sender->allowAllUp_;
}

void TOBLBaseGraphicButton::ActivateTimer(int Index, WORD Interval, TNotifyEvent Handler)
{
    if (timerIds_[Index] != 0)
        return;
    // The pool takes only multiples of its pace: a delay between them waits for the next.
    const WORD id = OBLApplication->AddTimer(OBLPoolInterval(Interval), Handler);
    if (id == 0)
        throw EOutOfResources(SNoTimers);
    timerIds_[Index] = id;
    OBLApplication->GetTimer(id)->SetEnabled(true);
}

void TOBLBaseGraphicButton::DeActivateTimer(int Index)
{
    const WORD id = timerIds_[Index];
    timerIds_[Index] = 0;
    if (id == 0 || !OBLApplication)
        return;
    if (TOBLTimerItem* timer = OBLApplication->GetTimer(id)) {
        timer->SetEnabled(false);
        timer->SetOnTimer(nullptr);
        OBLApplication->RemoveTimer(id);
    }
}

void TOBLBaseGraphicButton::EndRepeatedClick()
{
    if (repeatedClick_)
        DeActivateTimer(kRepeatSlot);
}

void TOBLBaseGraphicButton::DoRepeatedClick()
{
    if (TOBLTimerItem* timer = timerIds_[kRepeatSlot] ? OBLApplication->GetTimer(timerIds_[kRepeatSlot]) : nullptr)
        timer->SetInterval(OBLPoolInterval(repeatingInterval_));
    Click();
}

void TOBLBaseGraphicButton::ExecuteRepeatedClick(TObject* Sender)
{
    // The release may never come here when another window took the mouse.
    if (captured_ && !(MouseCapture() && Parent() && GetCapture() == Parent()->Handle())) {
        CaptureLost();
        return;
    }
    if (mouseOver_)
        DoRepeatedClick();
}

void TOBLBaseGraphicButton::CaptureLost()
{
    captured_ = false;
    DeActivateTimer(kRepeatSlot);
    DeActivateTimer(kMouseOverSlot);
    if (!IsDisabledState(state_))
        StateChange(pressed_ ? bsOptionSet : bsUp);
}

// ---- State --------------------------------------------------------------------------

bool TOBLBaseGraphicButton::MDIBlocksState(TOBLButtonState& NewState)
{
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (!form || (form->FormStyle() != fsMDIChild && form->FormStyle() != fsMDIForm) || !Application ||
        Application->Active())
        return false;
    if (NewState == bsMouseOver && releasing_ != 0) {
        NewState = bsUp;
        return false;
    }
    return true;
}

bool TOBLBaseGraphicButton::NeedsRepaint(TOBLButtonState NewState)
{
    const bool plain = glyph_->Style() != gsExplorer && !RepaintOnMouse() && NumGlyphs() <= 2 &&
                       !(allowMouseOver_ && enterColorChange_) && !PaintsEveryState() && !ShapeButtonColorChange();
    if (!plain)
        return true;
    return !IsPair(state_, NewState, bsUp, bsMouseOver) &&
           !(NumGlyphs() < 3 && IsPair(state_, NewState, bsMouseOver, bsOptionSet));
}

void TOBLBaseGraphicButton::StateChange(TOBLButtonState NewState)
{
    if (MDIBlocksState(NewState) || NewState == state_)
        return;
    const bool repaint = NeedsRepaint(NewState);
    const TOBLButtonState old = state_;
    previousState_ = NewState == bsMouseOver && state_ != bsOptionSet ? bsUp : state_;
    state_ = NewState;
    if (repaint && Visible()) {
        if (!transparent_ || CheckOptimized())
            Repaint();
        else
            Invalidate();
    }
    if (!allowMouseOver_)
        return;
    if (old == bsMouseOver)
        DeActivateTimer(kMouseOverSlot);
    if (NewState == bsMouseOver && !pressed_)
        ActivateTimer(kMouseOverSlot, kMouseOverInterval, TNotifyEvent(this, &TOBLBaseGraphicButton::VerifyMouseOver));
}

bool TOBLBaseGraphicButton::InClient(int X, int Y)
{
    const TRect r = ClientRect();
    return X >= r.left && X < r.right && Y >= r.top && Y < r.bottom;
}

bool TOBLBaseGraphicButton::VerifyTransparency(int X, int Y) { return InClient(X, Y); }

bool TOBLBaseGraphicButton::CursorInside()
{
    POINT p{};
    GetCursorPos(&p);
    const TPoint at = ScreenToClient(Point(p.x, p.y));
    return Hit(at.x, at.y);
}

void TOBLBaseGraphicButton::VerifyMouseOver(TObject* Sender)
{
    if (Enabled() && !pressed_ && !CursorInside())
        StateChange(bsUp);
}

// ---- Mouse --------------------------------------------------------------------------

void TOBLBaseGraphicButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const auto alive = alive_;
    inherited::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !Enabled())
        return;
    if (allowTransparency_ && !VerifyTransparency(X, Y))
        return;
    TOBLButtonState newState = state_;
    if (dropDownMenu_) {
        if (GetDroppedState()) {
            StateChange(bsMouseOver);
            return;
        }
        if (!comboArrow_ || X >= ClientWidth() - dropDownComboWidth_) {
            DropDown();
            if (*alive)
                StateChange(newState);
            return;
        }
    }
    captured_ = true;
    if (previousState_ == bsOptionSet && state_ == bsMouseOver && groupIndex_ != 0) {
        newState = bsOptionSet;
    } else if (!pressed_) {
        newState = bsDown;
        if (repeatedClick_) {
            // The first repetition comes at once, before the timer: the timer's first
            // interval is the delay.
            try {
                DoRepeatedClick();
                if (!*alive)
                    return;
                ActivateTimer(kRepeatSlot, repeatingDelay_,
                              TNotifyEvent(this, &TOBLBaseGraphicButton::ExecuteRepeatedClick));
            } catch (...) {
                if (*alive)
                    StateChange(newState);
                throw;
            }
        }
    }
    StateChange(newState);
}

void TOBLBaseGraphicButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (GetDroppedState())
        return;
    const auto alive = alive_;
    inherited::MouseMove(Shift, X, Y);
    if (!*alive || !Enabled())
        return;
    TOBLButtonState newState = state_;
    const bool inside = Hit(X, Y);
    if (allowTransparency_) {
        if (inside && allowMouseOver_ && !(groupIndex_ != 0 && state_ == bsOptionSet))
            newState = bsMouseOver;
        else if (state_ == bsMouseOver)
            newState = previousState_;
    }
    if (captured_) {
        if (inside)
            newState = pressed_ ? bsOptionSet : bsDown;
        else if (!(groupIndex_ != 0 && state_ != bsDown))
            newState = bsUp;
    }
    StateChange(newState);
    if (inside && !mouseOver_) {
        TOBLControl::MouseEnter();
        if (!*alive)
            return;
        mouseOver_ = true;
        if (state_ == bsUp && allowMouseOver_)
            StateChange(bsMouseOver);
    }
    mouseOver_ = inside;
}

bool TOBLBaseGraphicButton::MouseUpGrouped(bool Inside, TOBLButtonState& NewState, bool& Toggled)
{
    if (!Inside) {
        if (pressed_)
            NewState = bsOptionSet;
        return true;
    }
    if (state_ == bsOptionSet && !allowAllUp_)
        return false;
    SetPressed(!pressed_);
    if (allowMouseOver_)
        NewState = pressed_ ? state_ : bsUp;
    else
        Toggled = true;
    return true;
}

void TOBLBaseGraphicButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (GetDroppedState())
        return;
    const auto alive = alive_;
    inherited::MouseUp(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !captured_)
        return;
    captured_ = false;
    EndRepeatedClick();
    const bool inside = Hit(X, Y);
    TOBLButtonState newState = IsDisabledState(state_) ? state_ : bsUp;
    bool toggled = false;
    if (groupIndex_ != 0) {
        if (!MouseUpGrouped(inside, newState, toggled))
            return;
    } else if (inside && allowMouseOver_ && !IsDisabledState(newState)) {
        newState = bsMouseOver;
    }
    if (!inside) {
        if (!toggled)
            StateChange(newState);
        return;
    }
    if (NumGlyphs() < 3 && glyph_->Style() != gsExplorer && !toggled)
        StateChange(newState);
    if (!repeatedClick_) {
        Click();
        if (!*alive)
            return;
    }
    ReleaseTail(newState, toggled);
}

void TOBLBaseGraphicButton::ReleaseTail(TOBLButtonState NewState, bool Toggled)
{
    if ((NumGlyphs() <= 2 && !IsHotState()) || Toggled || IsDisabledState(NewState))
        return;
    if (CursorInside()) {
        ReleasingScope releasing(releasing_);
        StateChange(NewState == bsUp ? bsMouseOver : NewState);
    } else {
        StateChange(NewState);
    }
}

void TOBLBaseGraphicButton::MouseEnter()
{
    // With the picture as hit area the hot state follows the mouse moves instead.
    if (allowTransparency_)
        return;
    const auto alive = alive_;
    inherited::MouseEnter();
    if (!*alive)
        return;
    mouseOver_ = true;
    if (state_ == bsUp && allowMouseOver_ && Enabled())
        StateChange(bsMouseOver);
}

void TOBLBaseGraphicButton::MouseExit()
{
    const auto alive = alive_;
    inherited::MouseExit();
    if (!*alive)
        return;
    mouseOver_ = false;
    if (state_ == bsMouseOver)
        StateChange(previousState_);
    if (hideHint_ && Application)
        Application->HideHint();
}

// ---- Drop-down, click and accelerator -----------------------------------------------

void TOBLBaseGraphicButton::DropDown()
{
    if (!dropDownMenu_ || GetDroppedState())
        return;
    const auto alive = alive_;
    StateChange(bsDropDownOpen);
    onDropDown_(this);
    if (!*alive)
        return;
    if (dropDownMenu_) {
        TPoint at = ClientToScreen(dropDownRight_ ? Point(Width(), 0) : Point(0, Height()));
        if (dropDownRight_)
            at.y += dropDownIndent_;
        else
            at.x += dropDownIndent_;
        dropDownMenu_->Popup(at.x, at.y);
        if (!*alive)
            return;
    }
    // The click that closed the menu must not press the button again.
    MSG pending;
    while (PeekMessageA(&pending, nullptr, WM_MOUSEFIRST, WM_MOUSEWHEEL, PM_REMOVE)) {
    }
    if (HWND capture = GetCapture())
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
    StateChange(bsMouseOver);
}

void TOBLBaseGraphicButton::Click()
{
    if (OnClick().Assigned())
        OnClick()(this);
}

void TOBLBaseGraphicButton::DialogChar(TMessage& Message)
{
    TWinControl* parent = Parent();
    if (!IsAccel(static_cast<WORD>(Message.WParam), Caption()) || !Enabled() || !Visible() || !parent ||
        !parent->Enabled() || !parent->Showing()) {
        inherited::WndProc(Message);
        return;
    }
    Message.Result = 1;
    const auto alive = alive_;
    if (dropDownMenu_) {
        if (GetDroppedState())
            StateChange(bsMouseOver);
        else
            DropDown();
        return;
    }
    if (groupIndex_ != 0) {
        if (!allowAllUp_ && pressed_)
            return;
        SetPressed(!pressed_);
        if (!allowMouseOver_)
            return;
        if (pressed_) {
            StateChange(bsOptionSet);
            Click();
        } else {
            StateChange(bsUp);
        }
        return;
    }
    mouseOver_ = true;
    Repaint();
    Click();
    if (!*alive)
        return;
    Repaint();
    // The cursor in the button's own coordinates, wherever its parent stands.
    if (!CursorInside()) {
        mouseOver_ = false;
        Repaint();
    }
}

// ---- Painting helpers ---------------------------------------------------------------

void TOBLBaseGraphicButton::DrawGlyphAndText(TCanvas* Canvas, const TRect& Rect)
{
    Canvas->SetFont(Font());
    const bool lit = state_ == bsMouseOver || state_ == bsOptionSet || state_ == bsDown || state_ == bsDragOver ||
                     state_ == bsDropDownOpen;
    if (lit && allowMouseOver_ && enterColorChange_)
        Canvas->Font()->SetColor(enterColor_);
    TOBLDrawTextStyles styles{Enabled() ? dtEnabled : dtDisabled, dt3DDisabled};
    glyph_->DrawButtonGlyphAndText(Canvas, useCaption_ ? Caption() : AnsiString(), fontFX_.get(), Rect, state_,
                                   buttonLayout_.get(), styles, multiLine_, DrawTextBiDiModeFlags(0));
}

bool TOBLBaseGraphicButton::CheckOptimized()
{
    if (!transparent_)
        return false;
    TOBLBackProvider* provider = OBLFindBackProvider(this);
    return provider && provider->BackBitmapCheck();
}

bool TOBLBaseGraphicButton::BackDrawArea(TCanvas* Canvas, const TRect& Rect, const TPoint& Point, WORD Flags)
{
    TOBLBackProvider* provider = OBLFindBackProvider(this);
    return provider && provider->BackDrawArea(Canvas, Rect, Point, Flags);
}

void TOBLBaseGraphicButton::GetIMLChange(TObject* Sender)
{
    TBitmap picture;
    if (!IMLEmpty())
        ImageList()->GetBitmapItem(ListIndex(), ImageIndex(), &picture);
    glyph_->SetGlyph(&picture);
    Invalidate();
}

void TOBLBaseGraphicButton::FontChange(TObject* Sender)
{
    if (Sender == Font())
        SetParentFont(false);
    if (Loading())
        return;
    Canvas()->SetFont(Font());
    if (fontFX_->Angle() != 0 && !OBLIsTrueTypeFontCheck(Canvas())) {
        if (Sender == Font())
            fontFX_->SetAngle(0);
        else
            Font()->SetName("Arial");
    }
    GetChange(this);
}

void TOBLBaseGraphicButton::ActionChange(TObject* Sender, bool CheckDefaults)
{
    inherited::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!ActionChangeable() || !action)
        return;
    TCustomImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
    // The glyph follows the action's picture; an action without one leaves the glyph.
    if (!images || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count())
        return;
    TBitmap picture;
    picture.SetSize(images->Width(), images->Height());
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(picture.Canvas(), 0, 0, action->ImageIndex(), true);
    glyph_->SetGlyph(&picture);
    Invalidate();
}

HPALETTE TOBLBaseGraphicButton::GetPalette() { return Glyph()->Palette(); }

void TOBLBaseGraphicButton::Loaded()
{
    inherited::Loaded();
    UpdateComboArrow();
}

void TOBLBaseGraphicButton::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    // Through the setter, so the arrow area goes with the menu.
    if (Operation == opRemove && AComponent && AComponent == dropDownMenu_)
        SetDropDown(nullptr);
}

void TOBLBaseGraphicButton::EnabledChanged()
{
    if (Enabled()) {
        state_ = pressed_ ? bsOptionSet : bsUp;
    } else {
        state_ = pressed_ ? bsDisabledDown : bsDisabledUp;
        // A disabled button neither tracks the mouse nor repeats.
        captured_ = false;
        DeActivateTimer(kMouseOverSlot);
        DeActivateTimer(kRepeatSlot);
    }
    Invalidate();
}

void TOBLBaseGraphicButton::DoubleClicked(TMessage& Message)
{
    // The second press acts as a press; only a pressed group member reports the double
    // click, once (the class library's own report is held back meanwhile).
    const TControlStyle style = ControlStyle();
    SetControlStyle(TControlStyle(style).Exclude(csDoubleClicks));
    const auto alive = alive_;
    inherited::WndProc(Message);
    if (!*alive)
        return;
    SetControlStyle(style);
    if (pressed_)
        DblClick();
}

void TOBLBaseGraphicButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_BUTTONPRESSED: ButtonPressed(Message); return;
    case CM_DIALOGCHAR: DialogChar(Message); return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(Message);
        EnabledChanged();
        return;
    case CM_FONTCHANGED:
        FontChange(Font());
        if (transparent_)
            Repaint();
        else
            inherited::WndProc(Message);
        return;
    case CM_TEXTCHANGED:
        if (transparent_)
            Repaint();
        else
            Invalidate();
        return;
    case CM_CANCELMODE:
        if (captured_)
            CaptureLost();
        return;
    case WM_LBUTTONDBLCLK: DoubleClicked(Message); return;
    default: inherited::WndProc(Message);
    }
}
