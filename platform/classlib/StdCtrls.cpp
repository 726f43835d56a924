// The standard controls.
#include "platform/classlib/StdCtrls.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/Clipboard.h"

#include <algorithm>

namespace {

WORD NotifyCode(const TMessage& message) { return HIWORD(message.WParam); }

DWORD BorderExStyle(TBorderStyle style, bool ctl3D) { return style == bsSingle && ctl3D ? WS_EX_CLIENTEDGE : 0; }
DWORD BorderStyleBits(TBorderStyle style, bool ctl3D) { return style == bsSingle && !ctl3D ? WS_BORDER : 0; }

} // namespace

// ---------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    controlStyle_ = controlStyle_ + TControlStyle{csOpaque, csReplicatable};
    width_ = 65;
    height_ = 17;
}

int TCustomLabel::TextFlags() const
{
    int flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    return DrawTextBiDiModeFlags(flags);
}

void TCustomLabel::DoDrawText(TRect& rect, int flags)
{
    AnsiString text = Caption();
    if ((flags & DT_CALCRECT) && (text.IsEmpty() || (showAccelChar_ && text == "&")))
        text = " ";
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    Canvas()->SetFont(Font());
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    if (Enabled() || (flags & DT_CALCRECT)) {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        DrawTextA(dc, text.c_str(), text.Length(), &rect, static_cast<UINT>(flags));
        return;
    }
    // Disabled text: a highlight copy one pixel down and right under the shadow-coloured text.
    OffsetRect(&rect, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextA(dc, text.c_str(), text.Length(), &rect, static_cast<UINT>(flags));
    OffsetRect(&rect, -1, -1);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextA(dc, text.c_str(), text.Length(), &rect, static_cast<UINT>(flags));
}

void TCustomLabel::Paint()
{
    TRect r = ClientRect();
    if (!Transparent()) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Brush()->SetStyle(bsSolid);
        Canvas()->FillRect(r);
    }
    Canvas()->Brush()->SetStyle(bsClear);
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, TextFlags() | DT_CALCRECT);
        int offset = r.bottom - calc.bottom;
        OffsetRect(&r, 0, layout_ == tlBottom ? offset : offset / 2);
    }
    DoDrawText(r, TextFlags());
}

void TCustomLabel::AdjustBounds()
{
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !autoSize_)
        return;
    HDC dc = GetDC(nullptr);
    TRect r = ClientRect();
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    AnsiString text = Caption().IsEmpty() ? AnsiString(" ") : Caption();
    int flags = TextFlags() | DT_CALCRECT | (showAccelChar_ ? 0 : DT_NOPREFIX);
    DrawTextA(dc, text.c_str(), text.Length(), &r, static_cast<UINT>(flags));
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int x = left_;
    if (alignment_ == taRightJustify)
        x += width_ - r.right;
    else if (alignment_ == taCenter)
        x += (width_ - r.right) / 2;
    SetBounds(x, top_, r.right, r.bottom);
}

void TCustomLabel::SetAutoSize(bool v)
{
    if (v == autoSize_)
        return;
    autoSize_ = v;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment v)
{
    if (v == alignment_)
        return;
    alignment_ = v;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v)
{
    if (v == layout_)
        return;
    layout_ = v;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool v)
{
    if (v == Transparent())
        return;
    if (v)
        controlStyle_.Exclude(csOpaque);
    else
        controlStyle_.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool v)
{
    if (v == wordWrap_)
        return;
    wordWrap_ = v;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v)
{
    if (v == showAccelChar_)
        return;
    showAccelChar_ = v;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v)
{
    focusControl_ = v;
    if (v)
        v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        AdjustBounds();
        return;
    case CM_DIALOGCHAR:
        if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<WORD>(message.WParam), Caption()) &&
            focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            message.Result = 1;
        }
        return;
    default: TGraphicControl::WndProc(message);
    }
}

void TCustomLabel::Publish(TClassBuilder<TCustomLabel>& c)
{
    c.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
    c.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
    c.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
    c.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
    c.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
    c.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
    c.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
}

// ---------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    controlStyle_ = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    width_ = 121;
    height_ = 21;
    SetStoresCaption(false);
    SetDefaultTabStop(true);
    SetDefaultParentColor(false);
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | BorderStyleBits(borderStyle_, Ctl3D());
    params.ExStyle |= BorderExStyle(borderStyle_, Ctl3D());
    if (readOnly_)
        params.Style |= ES_READONLY;
    if (charCase_ == ecUpperCase)
        params.Style |= ES_UPPERCASE;
    else if (charCase_ == ecLowerCase)
        params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (passwordChar_)
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    SendMessageA(Handle(), EM_SETMODIFY, modified_, 0);
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(selStart_), selStart_ + selLength_);
}

void TCustomEdit::DestroyWnd()
{
    modified_ = Modified();
    selStart_ = SelStart();
    selLength_ = SelLength();
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetReadOnly(bool v)
{
    readOnly_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v)
{
    maxLength_ = std::max(v, 0);
    if (HandleAllocated())
        SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (v == charCase_)
        return;
    charCase_ = v;
    RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char v)
{
    passwordChar_ = v;
    if (HandleAllocated()) {
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(v), 0);
        Invalidate();
    }
}

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    if (v == borderStyle_)
        return;
    borderStyle_ = v;
    RecreateWnd();
}

bool TCustomEdit::Modified()
{
    return HandleAllocated() ? SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool v)
{
    modified_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), EM_SETMODIFY, v, 0);
}

int TCustomEdit::SelStart()
{
    if (!HandleAllocated())
        return selStart_;
    DWORD start = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int v)
{
    selStart_ = v;
    selLength_ = 0;
    if (HandleAllocated())
        SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(v), v);
}

int TCustomEdit::SelLength()
{
    if (!HandleAllocated())
        return selLength_;
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int v)
{
    int start = SelStart();
    selLength_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + v);
}

AnsiString TCustomEdit::SelText()
{
    return Copy(Text(), SelStart() + 1, SelLength());
}

void TCustomEdit::SetSelText(const AnsiString& v)
{
    SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(v.c_str()));
}

void TCustomEdit::SelectAll()
{
    if (HandleAllocated())
        SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TCustomEdit::DoEnter()
{
    if (autoSelect_ && !(GetKeyState(VK_LBUTTON) < 0))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == EN_CHANGE && !ControlState().Contains(csCreating))
            Change();
        return;
    case CM_TEXTCHANGED:
        // A window reports the change itself (EN_CHANGE); without one, the edit does.
        if (!HandleAllocated())
            Change();
        return;
    default: TWinControl::WndProc(message);
    }
}

void TCustomEdit::Publish(TClassBuilder<TCustomEdit>& c)
{
    c.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    c.Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    c.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
    c.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    c.Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default('\0');
    c.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    c.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetTextProperty);
    c.Property("OnChange", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange);
}

// ---------------------------------------------------------------------------------------
// TButton

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

TButton::TButton(TComponent* owner) : TButtonControl(owner)
{
    controlStyle_ = {csSetCaption, csDoubleClicks};
    width_ = 75;
    height_ = 25;
    SetDefaultTabStop(true);
}

void TButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    active_ = default_;
    isFocused_ = default_;
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm())
        form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::SetButtonStyle(bool isDefault)
{
    if (isDefault == isFocused_)
        return;
    isFocused_ = isDefault;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::SetDefault(bool v)
{
    default_ = v;
    if (!HandleAllocated())
        return;
    if (TCustomForm* form = GetParentForm())
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::FocusChanged(TMessage& message)
{
    auto* sender = reinterpret_cast<TWinControl*>(message.LParam);
    if (dynamic_cast<TButton*>(sender))
        active_ = sender == this;
    else
        active_ = default_;
    SetButtonStyle(active_);
}

void TButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == BN_CLICKED)
            Click();
        return;
    case CM_FOCUSCHANGED:
        FocusChanged(message);
        return;
    case CM_DIALOGKEY: {
        auto key = message.WParam;
        bool pressed = (key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_);
        if (pressed && KeyDataToShiftState(message.LParam).Empty() && CanFocus()) {
            Click();
            message.Result = 1;
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(message.WParam), Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
        }
        return;
    default: TButtonControl::WndProc(message);
    }
}

void TButton::Publish(TClassBuilder<TButton>& c)
{
    c.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    c.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
}

// ---------------------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner)
{
    controlStyle_ = {csSetCaption, csDoubleClicks};
    width_ = 97;
    height_ = 17;
    SetDefaultTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    // The control toggles itself on a click, so the window does not.
    params.Style |= BS_3STATE;
    if (alignment_ == lrLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_ == cbGrayed ? BST_INDETERMINATE : state_ == cbChecked ? BST_CHECKED : BST_UNCHECKED), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState v)
{
    if (v == state_)
        return;
    state_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(v == cbGrayed ? BST_INDETERMINATE : v == cbChecked ? BST_CHECKED : BST_UNCHECKED), 0);
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight v)
{
    if (v == alignment_)
        return;
    alignment_ = v;
    RecreateWnd();
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == BN_CLICKED)
            Toggle();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                Toggle();
            message.Result = 1;
        }
        return;
    default: TButtonControl::WndProc(message);
    }
}

void TCustomCheckBox::Publish(TClassBuilder<TCustomCheckBox>& c)
{
    c.Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment).Default(lrRightJustify);
    c.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false);
    c.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked).Stored(false);
    c.Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked);
}

// ---------------------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
    width_ = 185;
    height_ = 105;
}

void TCustomGroupBox::AdjustClientRect(TRect& rect)
{
    // Measured on the screen: the box's own canvas would make its window, and its form's,
    // while the form is still being read.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    SIZE caption{0, 0};
    GetTextExtentPoint32A(dc, "0", 1, &caption);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    rect.top += caption.cy;
    InflateRect(&rect, -1, -1);
    if (Ctl3D())
        InflateRect(&rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    int h = canvas->TextHeight("0");
    TRect r = Rect(0, h / 2 - 1, width_, height_);
    if (Ctl3D()) {
        ++r.left;
        ++r.top;
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FrameRect(r);
        OffsetRect(&r, -1, -1);
        canvas->Brush()->SetColor(clBtnShadow);
    } else {
        canvas->Brush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(r);
    AnsiString text = Caption();
    if (text.IsEmpty())
        return;
    r = Rect(8, 0, 0, h);
    UINT flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_SINGLELINE));
    HDC dc = canvas->Handle();
    DrawTextA(dc, text.c_str(), text.Length(), &r, flags | DT_CALCRECT);
    canvas->Brush()->SetColor(Color());
    dc = canvas->Handle();
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(Color()));
    DrawTextA(dc, text.c_str(), text.Length(), &r, flags);
}

void TCustomGroupBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(message.WParam), Caption()) && CanFocus()) {
            SelectNext(nullptr, true, true);
            message.Result = 1;
            return;
        }
        TCustomControl::WndProc(message);
        return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        Realign();
        return;
    default: TCustomControl::WndProc(message);
    }
}

// ---------------------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(new TStringList)
{
    controlStyle_ = {csSetCaption, csDoubleClicks};
    width_ = 121;
    height_ = 97;
    SetStoresCaption(false);
    SetDefaultTabStop(true);
    SetDefaultParentColor(false);
    items_->SetOnChange(TNotifyEvent(this, &TCustomListBox::ItemsChanged));
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "LISTBOX");
    params.Style |= WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                    BorderStyleBits(borderStyle_, Ctl3D());
    params.ExStyle |= BorderExStyle(borderStyle_, Ctl3D());
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
    FillWindow();
}

void TCustomListBox::DestroyWnd()
{
    itemIndex_ = ItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomListBox::FillWindow()
{
    if (!HandleAllocated())
        return;
    HWND window = Handle();
    SendMessageA(window, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->Count(); ++i)
        SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Strings(i).c_str()));
    if (itemIndex_ >= items_->Count())
        itemIndex_ = -1;
    SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TCustomListBox::ItemsChanged(TObject*)
{
    if (HandleAllocated()) {
        itemIndex_ = ItemIndex();
        FillWindow();
    } else if (itemIndex_ >= items_->Count()) {
        itemIndex_ = -1;
    }
}

int TCustomListBox::ItemIndex()
{
    if (!HandleAllocated())
        return itemIndex_;
    return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v)
{
    if (v < -1 || v >= items_->Count())
        v = -1;
    itemIndex_ = v;
    if (HandleAllocated())
        SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomListBox::SetItemHeight(int v)
{
    if (v <= 0 || v == itemHeight_)
        return;
    itemHeight_ = v;
    if (HandleAllocated()) {
        SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, v);
        Invalidate();
    }
}

void TCustomListBox::SetSorted(bool v)
{
    if (v == items_->Sorted())
        return;
    items_->SetSorted(v);
    FillWindow();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v)
{
    if (v == borderStyle_)
        return;
    borderStyle_ = v;
    RecreateWnd();
}

int TCustomListBox::TopIndex()
{
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetTopIndex(int v)
{
    if (HandleAllocated())
        SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(v), 0);
}

void TCustomListBox::WndProc(TMessage& message)
{
    if (message.Msg == CN_COMMAND) {
        if (NotifyCode(message) == LBN_SELCHANGE) {
            itemIndex_ = ItemIndex();
            Click();
        } else if (NotifyCode(message) == LBN_DBLCLK) {
            DblClick();
        }
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomListBox::Publish(TClassBuilder<TCustomListBox>& c)
{
    c.Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
    c.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Stored(&TCustomListBox::IsItemHeightStored);
    c.Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
    c.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
}

void RegisterStdControls()
{
    RegisterClasses({TForm::StaticClass(), TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass(),
                     TCheckBox::StaticClass(), TGroupBox::StaticClass(), TListBox::StaticClass(), TScrollBox::StaticClass(),
                     TDataModule::StaticClass()});
}
