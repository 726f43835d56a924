// Unit OBLBaseDialog: the common base of the library's dialog components: the settings
// every dialog shares (caption, optional help button, position, opening effect, title-bar
// styling, background picture, hints) and BaseExecute, which applies them to a dialog
// form a descendant builds and shows it modally.
#pragma once

#include "obl/controls/forms/OBLBack.h"
#include "obl/controls/forms/OBLFormStyler.h"
#include "obl/core/containers/OBLContainerComponent.h"

VENDARO_ENUM(TOBLDlgEffect, deNone, deExplode, deExplodeExt)

class TOBLBaseDialog : public TOBLContainerComponent {
    VENDARO_CLASS(TOBLBaseDialog, TOBLContainerComponent)
public:
    explicit TOBLBaseDialog(TComponent* AOwner);

    // Empty: the caption the descendant passes.
    const AnsiString& CaptionTitle() const { return captionTitle_; }
    // While a dialog is shown it is retitled at once.
    void SetCaptionTitle(const AnsiString& Value);
    // Empty hides the help button.
    const AnsiString& HelpCaption() const { return helpCaption_; }
    void SetHelpCaption(const AnsiString& Value) { helpCaption_ = Value; }
    TOBLDlgEffect Effect() const { return effect_; }
    void SetEffect(TOBLDlgEffect Value) { effect_ = Value; }
    TStringList* GetHints() const { return hints_.get(); }
    void SetHints(TStrings* Value) { hints_->Assign(Value); }
    bool UseStyler() const { return useStyler_; }
    void SetUseStyler(bool Value) { useStyler_ = Value; }
    BYTE CaptionColors() const { return captionColors_; }
    void SetCaptionColors(BYTE Value) { captionColors_ = Value; }
    TOBLDlgPosition Position() const { return position_; }
    void SetPosition(TOBLDlgPosition Value) { position_ = Value; }
    TOBLDlgPosRel RelatePos() const { return relatePos_; }
    void SetRelatePos(TOBLDlgPosRel Value) { relatePos_ = Value; }
    TNotifyEvent OnCustomize() const { return onCustomize_; }
    void SetOnCustomize(TNotifyEvent Value) { onCustomize_ = Value; }
    TNotifyEvent OnHelpClick() const { return onHelpClick_; }
    void SetOnHelpClick(TNotifyEvent Value) { onHelpClick_ = Value; }

    // The form being shown; nil otherwise.
    TCustomForm* CurrentDialog() const { return currentDialog_; }

    // A descendant builds its form and shows it through BaseExecute.
    virtual bool Execute() { return false; }

protected:
    // Applies the settings to the dialog and its help button, styler and background (any
    // of them may be nil) and answers the dialog's modal result. Relative, when given,
    // is the control the dialog is placed against.
    TModalResult BaseExecute(TCustomForm* Dialog, TControl* Relative, TControl* HelpButton, TOBLFormStyler* Styler,
                             TOBLBack* Back, const AnsiString& DefaultCaption);

private:
    void Retitle(TCustomForm* Dialog, const AnsiString& Caption);
    void ShowHelpButton(TControl* HelpButton);
    void PlaceDialog(TCustomForm* Dialog, TControl* Relative);
    void ApplyStyler(TOBLFormStyler* Styler);
    void ApplyBack(TOBLBack* Back);

    AnsiString captionTitle_;
    AnsiString helpCaption_;
    TOBLDlgEffect effect_ = deNone;
    TOwned<TStringList> hints_;
    bool useStyler_ = false;
    BYTE captionColors_ = 32;
    TOBLDlgPosition position_ = bpCenter;
    TOBLDlgPosRel relatePos_ = brScreen;
    TNotifyEvent onCustomize_;
    TNotifyEvent onHelpClick_;
    TCustomForm* currentDialog_ = nullptr;
};
