// Unit OBLCustomButton: the push button whose face the library paints itself. The window is
// the system's owner-drawn button (it captures the mouse, shows the pushed state and reports
// the click); each paint arrives as CN_DRAWITEM and draws a classic or themed face in one of
// the library's styles, then caption and glyph through the button's glyph object. The
// button adds a hot state under the mouse, an optional repeated click while the left button
// is held (a timer of the application's pool) and an optional drop-down menu.
#pragma once

#include "obl/core/base/Oblbase.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/draw/OBLButtonBase.h"
#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "obl/core/draw/oblglyph.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"

// Cells of a glyph strip, 0..5.
using TOBLNumGlyphs = std::uint8_t;

class TOBLCustomButton : public TButton {
    VENDARO_CLASS(TOBLCustomButton, TButton)
public:
    explicit TOBLCustomButton(TComponent* AOwner);
    ~TOBLCustomButton() override;

    const TOBLAboutVar& About() const { return about_; }
    void SetAbout(const TOBLAboutVar& Value) { about_ = Value; }
    TOBLButtonLayout* ButtonLayout() const { return buttonLayout_; }
    void SetButtonLayout(TOBLButtonLayout* Value) { buttonLayout_->Assign(Value); }
    TOBLFxCaption* FontFX() const { return fontFX_; }
    void SetFontFX(TOBLFxCaption* Value) { fontFX_->Assign(Value); }
    TCanvas* Canvas() const { return canvas_; }
    TBitmap* Glyph() const { return glyph_->Glyph(); }
    // Outside loading a set image list is let go first; the bitmap is copied.
    void SetGlyph(TBitmap* Value);
    TOBLGlyph* GlyphObject() const { return glyph_; }
    TOBLNumGlyphs NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(TOBLNumGlyphs Value);
    TOBLGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TOBLGlyphKind Value);
    TOBLCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TOBLCustomImageList* Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { SetIndex(imageIndex_, Value); }
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int Value) { SetIndex(listIndex_, Value); }
    bool HideHint() const { return hideHint_; }
    void SetHideHint(bool Value) { hideHint_ = Value; }
    bool UseCaption() const { return useCaption_; }
    void SetUseCaption(bool Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    bool RepeatedClick() const { return repeatedClick_; }
    void SetRepeatedClick(bool Value) { repeatedClick_ = Value; }
    WORD RepeatingDelay() const { return repeatingDelay_; }
    void SetRepeatingDelay(WORD Value) { repeatingDelay_ = Value; }
    WORD RepeatingInterval() const { return repeatingInterval_; }
    void SetRepeatingInterval(WORD Value) { repeatingInterval_ = Value; }
    TOBLUserButtonStyle ExtStyle() const { return extStyle_; }
    void SetExtStyle(TOBLUserButtonStyle Value);
    // The legacy style of old form descriptions: the same ordinal as ExtStyle.
    void SetStyle(TOBLNormalButtonStyle Value) { SetExtStyle(static_cast<TOBLUserButtonStyle>(Value)); }
    TOBLButtonState GetState() const { return state_; }
    bool MouseAbove() const { return mouseAbove_; }
    bool Dropped() const { return dropped_; }
    // The value SetButtonStyle last had: this is the button the Enter key presses.
    bool Active() const { return activeStyle_; }
    // Identifier of the pooled repeat timer; 0 when there is none.
    WORD RepeatTimerId() const { return repeatTimerId_; }

    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* Value);
    int DropDownIndent() const { return dropDownIndent_; }
    void SetDropDownIndent(int Value) { dropDownIndent_ = Value; }
    bool DropDownRight() const { return dropDownRight_; }
    void SetDropDownRight(bool Value) { dropDownRight_ = Value; }
    TNotifyEvent OnDropDown() const { return onDropDown_; }
    void SetOnDropDown(TNotifyEvent Value) { onDropDown_ = Value; }
    TNotifyEvent OnMouseEnter() const { return onMouseEnter_; }
    void SetOnMouseEnter(TNotifyEvent Value) { onMouseEnter_ = Value; }
    TNotifyEvent OnMouseExit() const { return onMouseExit_; }
    void SetOnMouseExit(TNotifyEvent Value) { onMouseExit_ = Value; }

    // With a drop-down menu (not open): OnClick, then the menu; the form's ModalResult is
    // left alone. Without one: the class library's click.
    void Click() override;
    // Opens the drop-down menu below the button (or at its right edge) and waits until it
    // closes; nothing without a menu or while it is open.
    void DropDown();
    // The change handler of the owned objects and of the font: repaints; a rotated caption
    // needs a TrueType font.
    void GetChange(TObject* Sender);
    // The image list or the indexes changed: the glyph follows the list's picture.
    void GetIMLChange(TObject* Sender);
    AnsiString GetCaption();
    HPALETTE GetPalette() override;
    // An action with a picture of its own gives the glyph; one without leaves it.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

    static void Publish(TClassBuilder<TOBLCustomButton>& c);

protected:
    virtual void BoundsChange(TOBLBoundsChangeStates Changes) {}
    virtual void DrawCaptionAndGlyph(TCanvas* ACanvas, const TRect& ARect, int Flags);
    virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);
    // One repetition: the pace becomes RepeatingInterval, then Click.
    virtual void DoRepeatedClick();
    void CreateParams(TCreateParams& Params) override;
    void DefineProperties(TFiler* Filer) override;
    void SetButtonStyle(bool ADefault) override;
    // Hiding: the mouse is no longer above and the repeat timer goes.
    void VisibleChanging() override;
    bool IsGlyphStored() const { return !imageList_ || glyphKind_ != gkCustom; }
    bool IsImageListStored() const { return imageList_ && (!OBLContainer || imageList_->Owner() != OBLContainer); }

private:
    bool Loading() const { return ComponentState().Contains(csLoading); }
    void SetIndex(int& Field, int Value);
    void ReadStyle(TReader* Reader);
    void DrawItemMessage(TMessage& Message);
    bool LoadBuiltInGlyph();
    void MouseEnter(TMessage& Message);
    void MouseLeave(TMessage& Message);
    void StartRepeat();
    void ExecuteRepeatedClick(TObject* Sender);
    void FreeTimer();
    void DrainMouseMessages();

    TOBLAboutVar about_;
    TOBLButtonLayout* buttonLayout_;
    TCanvas* canvas_;
    TPopupMenu* dropDownMenu_ = nullptr;
    int dropDownIndent_ = 0;
    bool dropDownRight_ = false;
    bool dropped_ = false;
    TOBLFxCaption* fontFX_;
    bool activeStyle_ = false;
    bool mouseAbove_ = false;
    bool multiLine_ = false;
    bool repeatedClick_ = false;
    WORD repeatingDelay_ = 500;
    WORD repeatingInterval_ = 100;
    TOBLButtonState state_ = bsUp;
    TOBLUserButtonStyle extStyle_ = ubsAutoDetect;
    WORD repeatTimerId_ = 0;
    bool hideHint_ = true;
    bool useCaption_ = true;
    TNotifyEvent onDropDown_, onMouseEnter_, onMouseExit_;
    TOBLCustomImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    TOBLChangeLink* link_;
    TOBLGlyph* glyph_;
    TOBLGlyphKind glyphKind_ = gkCustom;
};
