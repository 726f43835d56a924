// The standard controls: label (windowless), edit, push button, check box, group box and
// list box. The windowed ones subclass the window system's standard classes ("EDIT",
// "BUTTON", "LISTBOX") and learn of user actions from the notifications their parent
// reflects to them (CN_COMMAND).
#pragma once

#include "platform/classlib/Controls.h"

VENDARO_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
VENDARO_ENUM(TLeftRight, lrLeftJustify, lrRightJustify)
VENDARO_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
VENDARO_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
VENDARO_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)

// ---------------------------------------------------------------------------------------
// TLabel

class TCustomLabel : public TGraphicControl {
    VENDARO_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout v);
    bool Transparent() const { return !controlStyle_.Contains(csOpaque); }
    void SetTransparent(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* v);
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

    static void Publish(TClassBuilder<TCustomLabel>& c);

protected:
    void Paint() override;
    // Draws the caption into the rectangle (DT_CALCRECT in flags measures it instead).
    virtual void DoDrawText(TRect& rect, int flags);
    virtual void AdjustBounds();

private:
    int TextFlags() const;

    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
    VENDARO_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

// ---------------------------------------------------------------------------------------
// TEdit

class TCustomEdit : public TWinControl {
    VENDARO_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase v);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    bool Modified();
    void SetModified(bool v);
    int SelStart();
    void SetSelStart(int v);
    int SelLength();
    void SetSelLength(int v);
    AnsiString SelText();
    void SetSelText(const AnsiString& v);
    void SelectAll();
    void Clear() { SetText(""); }
    void ClearSelection() { SetSelText(""); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent v) { onChange_ = v; }
    void WndProc(TMessage& message) override;

    static void Publish(TClassBuilder<TCustomEdit>& c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change() { onChange_(this); }
    void DoEnter() override;

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    char passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    bool autoSelect_ = true;
    bool modified_ = false;
    int selStart_ = 0, selLength_ = 0;
    TNotifyEvent onChange_;
};

class TEdit : public TCustomEdit {
    VENDARO_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// ---------------------------------------------------------------------------------------
// TButton

class TButtonControl : public TWinControl {
    VENDARO_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);

protected:
    // While set, a programmatic state change does not fire OnClick.
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool v) { clicksDisabled_ = v; }

private:
    bool clicksDisabled_ = false;
};

class TButton : public TButtonControl {
    VENDARO_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int v) { modalResult_ = v; }
    // The button Enter presses: the focused button, else the default one.
    bool Active() const { return active_; }
    // Sets the form's ModalResult to the button's, then fires OnClick.
    void Click() override;
    void WndProc(TMessage& message) override;

    static void Publish(TClassBuilder<TButton>& c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // Shows the button as the default one (thick frame) or not; the focus change decides.
    virtual void SetButtonStyle(bool isDefault);

private:
    void FocusChanged(TMessage& message);

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    bool isFocused_ = false;
    int modalResult_ = 0;
};

// ---------------------------------------------------------------------------------------
// TCheckBox

class TCustomCheckBox : public TButtonControl {
    VENDARO_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change fires OnClick (unless clicks are disabled), as a click does.
    void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool v) { allowGrayed_ = v; }
    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight v);
    void WndProc(TMessage& message) override;

    static void Publish(TClassBuilder<TCustomCheckBox>& c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = lrRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    VENDARO_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// ---------------------------------------------------------------------------------------
// TGroupBox

class TCustomGroupBox : public TCustomControl {
    VENDARO_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
};

class TGroupBox : public TCustomGroupBox {
    VENDARO_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// ---------------------------------------------------------------------------------------
// TListBox

class TCustomListBox : public TWinControl {
    VENDARO_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* owner);

    // The lines; changes show in the window at once.
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* v) { items_->Assign(v); }
    int ItemIndex();
    void SetItemIndex(int v);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);
    int TopIndex();
    void SetTopIndex(int v);
    void Clear() { items_->Clear(); }
    void WndProc(TMessage& message) override;

    static void Publish(TClassBuilder<TCustomListBox>& c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void ItemsChanged(TObject* sender);
    void FillWindow();
    bool IsItemHeightStored() const { return itemHeight_ != 16; }

    TOwned<TStringList> items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    TBorderStyle borderStyle_ = bsSingle;
};

class TListBox : public TCustomListBox {
    VENDARO_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// Registers the standard controls and the form classes with the class registry.
void RegisterStdControls();
