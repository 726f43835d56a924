// Unit OBLBaseGraphicButton: the engine of the library's windowless buttons. It keeps the
// button's state (up, hot, down, pressed in a group, drop-down open, disabled), releases
// the other buttons of its group, keeps the hot state honest with a polling timer, repeats
// the click while held, opens a drop-down menu (optionally only from an arrow area at the
// right edge), answers its accelerator, and owns the glyph, caption effects and layout.
// Descendants paint; this class decides the state and when to repaint.
#pragma once

#include "obl/controls/graphic/OBLBaseControl.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/oblglyph.h"
#include "platform/classlib/Menus.h"

#include <memory>

class TOBLBaseGraphicButton : public TOBLBaseControl {
    VENDARO_CLASS(TOBLBaseGraphicButton, TOBLBaseControl)
public:
    explicit TOBLBaseGraphicButton(TComponent* AOwner);
    ~TOBLBaseGraphicButton() override;

    // ---- Settings ---------------------------------------------------------------------
    bool RepeatedClick() const { return repeatedClick_; }
    void SetRepeatedClick(bool Value) { repeatedClick_ = Value; }
    bool AllowMouseOver() const { return allowMouseOver_; }
    void SetAllowMouseOver(bool Value) { allowMouseOver_ = Value; }
    TOBLButtonLayout* ButtonLayout() const { return buttonLayout_.get(); }
    void SetButtonLayout(TOBLButtonLayout* Value) { buttonLayout_->Assign(Value); }
    TOBLFxCaption* FontFX() const { return fontFX_.get(); }
    void SetFontFX(TOBLFxCaption* Value) { fontFX_->Assign(Value); }
    WORD RepeatingDelay() const { return repeatingDelay_; }
    void SetRepeatingDelay(WORD Value) { repeatingDelay_ = Value; }
    WORD RepeatingInterval() const { return repeatingInterval_; }
    void SetRepeatingInterval(WORD Value) { repeatingInterval_ = Value; }
    bool DropDownCombo() const { return dropDownCombo_; }
    // Outside loading the button grows or shrinks by the arrow area.
    void SetDropDownCombo(bool Value);
    int DropDownComboWidth() const { return dropDownComboWidth_; }
    void SetDropDownComboWidth(int Value);
    TNotifyEvent OnDropDown() const { return onDropDown_; }
    void SetOnDropDown(TNotifyEvent Value) { onDropDown_ = Value; }
    bool HideHint() const { return hideHint_; }
    void SetHideHint(bool Value) { hideHint_ = Value; }
    bool UseCaption() const { return useCaption_; }
    void SetUseCaption(bool Value);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDown(TPopupMenu* Value);
    TColor EnterColor() const { return enterColor_; }
    void SetEnterColor(TColor Value);
    int DropDownIndent() const { return dropDownIndent_; }
    void SetDropDownIndent(int Value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool DropDownRight() const { return dropDownRight_; }
    void SetDropDownRight(bool Value);
    bool EnterColorChange() const { return enterColorChange_; }
    void SetEnterColorChange(bool Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    bool Pressed() const { return pressed_; }
    void SetPressed(bool Value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    bool AllowTransparency() const { return allowTransparency_; }
    void SetAllowTransparency(bool Value) { allowTransparency_ = Value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    // Outside loading a set image list is let go first.
    void SetGlyph(TBitmap* Value);
    std::uint8_t NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(std::uint8_t Value);
    TOBLGlyph* GlyphObject() const { return glyph_.get(); }

    // ---- State ------------------------------------------------------------------------
    TOBLButtonState State() const { return state_; }
    TOBLButtonState PreviousState() const { return previousState_; }
    bool MouseOver() const { return mouseOver_; }
    void SetMouseOver(bool Value) { mouseOver_ = Value; }
    // A drop-down menu is set and opens only from the arrow area.
    bool ComboArrow() const { return comboArrow_; }
    bool Captured() const { return captured_; }
    bool GetDroppedState() const { return state_ == bsDropDownOpen; }
    // The pooled timers: slot 0 the mouse-over check, slot 1 the repeat; 0 when none.
    WORD TimerId(int Index) const { return timerIds_[Index]; }

    // Shows the drop-down menu below (or right of) the button; nothing without one or
    // while it is open.
    void DropDown();
    // OnClick, when assigned.
    void Click() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    HPALETTE GetPalette() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    static void Publish(TClassBuilder<TOBLBaseGraphicButton>& c);

protected:
    // Whether Glyph is stored (no image list gives the picture).
    virtual bool IsCustom() { return !ImageList(); }
    bool IsGlyphStored() const { return const_cast<TOBLBaseGraphicButton*>(this)->IsCustom(); }
    virtual bool IsHotState() { return glyph_->Style() == gsExplorer; }
    virtual bool RepaintOnMouse() { return false; }
    virtual bool RestoreBack() { return false; }
    virtual bool ActionChangeable() { return true; }
    virtual void DoRepeatedClick();
    virtual void DrawGlyphAndText(TCanvas* Canvas, const TRect& Rect);
    virtual bool ShapeButtonColorChange() { return false; }
    // The point hits the button (the base: its rectangle).
    virtual bool VerifyTransparency(int X, int Y);
    // The handler of the mouse-over timer.
    virtual void VerifyMouseOver(TObject* Sender);
    // Every state has a face of its own, so every change repaints.
    virtual bool PaintsEveryState() { return false; }

    bool CheckOptimized() override;
    void GetIMLChange(TObject* Sender) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseExit() override;

    // The container's background under the button; true when it drew.
    bool BackDrawArea(TCanvas* Canvas, const TRect& Rect, const TPoint& Point, WORD Flags);
    void StateChange(TOBLButtonState NewState);
    void InformOptionSet();
    void ActivateTimer(int Index, WORD Interval, TNotifyEvent Handler);
    void DeActivateTimer(int Index);
    void EndRepeatedClick();
    void FontChange(TObject* Sender);
    // The one hit rule of the client rectangle: right and bottom edges excluded.
    bool InClient(int X, int Y);
    // The point hits the button by the rule in force (the picture or the rectangle).
    bool Hit(int X, int Y) { return allowTransparency_ ? VerifyTransparency(X, Y) : InClient(X, Y); }

private:
    void ExecuteRepeatedClick(TObject* Sender);
    void UpdateComboArrow() { comboArrow_ = dropDownMenu_ && dropDownCombo_; }
    bool CursorInside();
    // The press ended without a release here (the capture went elsewhere).
    void CaptureLost();
    bool MDIBlocksState(TOBLButtonState& NewState);
    bool NeedsRepaint(TOBLButtonState NewState);
    void ButtonPressed(TMessage& Message);
    void DialogChar(TMessage& Message);
    void EnabledChanged();
    void DoubleClicked(TMessage& Message);
    bool MouseUpGrouped(bool Inside, TOBLButtonState& NewState, bool& Toggled);
    // After the click of a release: the hot state again when the cursor stayed.
    void ReleaseTail(TOBLButtonState NewState, bool Toggled);

    bool repeatedClick_ = false;
    bool allowMouseOver_ = false;
    TOwned<TOBLButtonLayout> buttonLayout_;
    TOwned<TOBLFxCaption> fontFX_;
    WORD repeatingDelay_ = 500;
    WORD repeatingInterval_ = 100;
    bool dropDownCombo_ = false;
    int dropDownComboWidth_ = 12;
    TNotifyEvent onDropDown_;
    bool hideHint_ = true;
    bool useCaption_ = true;
    TPopupMenu* dropDownMenu_ = nullptr;
    TColor enterColor_ = clCaptionText;
    int dropDownIndent_ = 0;
    int groupIndex_ = 0;
    bool dropDownRight_ = false;
    bool enterColorChange_ = false;
    bool mouseOver_ = false;
    bool multiLine_ = false;
    bool pressed_ = false;
    bool captured_ = false;
    WORD timerIds_[2] = {0, 0};
    int releasing_ = 0;
    TOBLButtonState state_ = bsUp;
    TOBLButtonState previousState_ = bsUp;
    bool allowAllUp_ = false;
    bool allowTransparency_ = true;
    bool comboArrow_ = false;
    bool transparent_ = false;
    TOwned<TOBLGlyph> glyph_;
    // Turns false when the button is freed: a handler it calls may free it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
