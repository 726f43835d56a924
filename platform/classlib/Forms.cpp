// TCustomForm: top-level window styles, the focused-control chain, showing, closing and the
// modal loop; form descriptions compiled into the program.
#include "platform/classlib/Forms.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/kernel/SystemMetrics.h"

#include <algorithm>

bool NewStyleControls = true;

// ---------------------------------------------------------------------------------------
// Form descriptions

void RegisterFormDescription(const AnsiString& className, const AnsiString& text)
{
    std::vector<BYTE> data(text.c_str(), text.c_str() + text.Length());
    RegisterResource(nullptr, RT_RCDATA, UpperCase(className).c_str(), std::move(data));
}

bool InitInheritedComponent(TComponent* instance)
{
    AnsiString name = UpperCase(instance->ClassName());
    HRSRC resource = FindResourceA(nullptr, name.c_str(), RT_RCDATA);
    if (!resource)
        return false;
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    TStringStream stream(AnsiString(bytes, static_cast<int>(SizeofResource(nullptr, resource))));
    TReader reader(&stream);
    reader.ReadRootComponent(instance);
    return true;
}

TCustomForm* ValidParentForm(const TControl* control)
{
    TCustomForm* form = GetParentForm(control);
    if (!form)
        throw EInvalidOperation(Format("Control '%s' has no parent window", {control ? control->Name() : AnsiString()}));
    return form;
}

// ---------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(new TControlCanvas), icon_(new TIcon)
{
    canvas_->SetControl(this);
    icon_->SetOnChange(TNotifyEvent(this, &TCustomForm::IconChanged));
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetDefaultVisible(false);
    left_ = 0;
    top_ = 0;
    width_ = 320;
    height_ = 240;
    SetColor(clBtnFace);
    SetDefaultParentColor(false);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    if (Screen)
        Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm()
{
    if (Screen) {
        auto& forms = Screen->forms_;
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    }
    if (Application && Application->mainForm_ == this)
        Application->mainForm_ = nullptr;
}

// The object ends whatever the handler does: what it raises goes to the application.
void TCustomForm::BeforeDestruction()
{
    try {
        onDestroy_(this);
    } catch (...) {
        if (Application)
            Application->HandleException(this);
    }
    inherited::BeforeDestruction();
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.WndParent = nullptr;
    params.Style = WS_CLIPCHILDREN;
    params.ExStyle = 0;
    switch (borderStyle_) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        bool boxes = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
        if (boxes && borderIcons_.Contains(biMinimize))
            params.Style |= WS_MINIMIZEBOX;
        if (boxes && borderIcons_.Contains(biMaximize))
            params.Style |= WS_MAXIMIZEBOX;
    }
    if (formStyle_ == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (formStyle_ == fsMDIChild) {
        TCustomForm* frame = Application ? Application->MainForm() : nullptr;
        if (!frame || frame == this || frame->FormStyle() != fsMDIForm)
            throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
        params.Style = (params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
        params.ExStyle |= WS_EX_MDICHILD;
        params.WndParent = frame->Handle() ? frame->ClientHandle() : nullptr;
    }
    params.WindowClass.style = CS_DBLCLKS;
}

void TCustomForm::SetFormStyle(TFormStyle v)
{
    if (v == formStyle_)
        return;
    formStyle_ = v;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomForm::CreateMDIClient()
{
    static const char* const kClientClass = "MDICLIENT";
    WNDCLASSA cls{};
    if (!GetClassInfoA(nullptr, kClientClass, &cls)) {
        cls.style = CS_DBLCLKS;
        cls.lpfnWndProc = DefWindowProcA;
        cls.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
        cls.lpszClassName = kClientClass;
        RegisterClassA(&cls);
    }
    TRect r = ClientRect();
    clientHandle_ = CreateWindowExA(WS_EX_CLIENTEDGE, kClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                    0, 0, r.right, r.bottom, Handle(), nullptr, nullptr, nullptr);
}

int TCustomForm::MDIChildCount() const
{
    int n = 0;
    if (Screen && clientHandle_)
        for (TCustomForm* f : Screen->forms_)
            n += f->FormStyle() == fsMDIChild && f->HandleAllocated() && GetParent(f->Handle()) == clientHandle_;
    return n;
}

TCustomForm* TCustomForm::MDIChildren(int index) const
{
    if (Screen && clientHandle_)
        for (TCustomForm* f : Screen->forms_)
            if (f->FormStyle() == fsMDIChild && f->HandleAllocated() && GetParent(f->Handle()) == clientHandle_ &&
                index-- == 0)
                return f;
    return nullptr;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (formStyle_ == fsMDIForm)
        CreateMDIClient();
    // A client size read from the description is met now that the frame is known.
    TRect client = ClientRect();
    int w = clientWidth_ >= 0 ? width_ - client.right + clientWidth_ : width_;
    int h = clientHeight_ >= 0 ? height_ - client.bottom + clientHeight_ : height_;
    SetBounds(left_, top_, w, h);
    if (!icon_->Empty())
        IconChanged(icon_.get());
}

void TCustomForm::IconChanged(TObject*)
{
    if (HandleAllocated())
        SendMessageA(Handle(), WM_SETICON, 1, reinterpret_cast<LPARAM>(icon_->Empty() ? nullptr : icon_->Handle()));
}

void TCustomForm::SetFormClientWidth(int v)
{
    clientWidth_ = v;
    if (HandleAllocated())
        SetClientWidth(v);
}

void TCustomForm::SetFormClientHeight(int v)
{
    clientHeight_ = v;
    if (HandleAllocated())
        SetClientHeight(v);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    if (v == borderStyle_)
        return;
    borderStyle_ = v;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v)
{
    if (v == borderIcons_)
        return;
    borderIcons_ = v;
    RecreateWnd();
}

void TCustomForm::PaintWindow(HDC dc)
{
    canvas_->Lock();
    canvas_->FreeHandle();
    canvas_->SetHandle(dc);
    Paint();
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    if (activeControl_ && !activeControl_->CanFocus())
        activeControl_ = nullptr;
}

void TCustomForm::GetChildren(TGetChildProc proc, TComponent* root)
{
    TWinControl::GetChildren(proc, root);
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->HasParent())
            proc(c);
    }
}

// ---------------------------------------------------------------- focus

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == activeControl_)
        return;
    bool loading = ComponentState().Contains(csLoading);
    if (control && (control == this || control->GetParentForm() != this || (!loading && !control->CanFocus())))
        throw EInvalidOperation(SCannotFocus);
    activeControl_ = control;
    if (!loading && active_)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control)
{
    bool wasActive = active_;
    SetActiveControl(control);
    if (!wasActive)
        SetFocus();
}

void TCustomForm::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(SCannotFocus);
    ::SetFocus(Handle());
    if (active_ || GetActiveWindow() == Handle())
        SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    TWinControl* target = activeControl_ ? activeControl_ : this;
    ::SetFocus(target->Handle());
}

bool TCustomForm::SendFocusMessage(HWND window, UINT msg)
{
    int count = focusCount_;
    SendMessageA(window, msg, 0, 0);
    return focusCount_ == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (ComponentState().Contains(csDestroying))
        return true;
    ++focusCount_;
    activeControl_ = control != this ? control : nullptr;
    if (control->ControlState().Contains(csFocusing))
        return true;
    control->SetControlState(control->ControlState() + TControlState{csFocusing});
    struct Clear {
        TWinControl* c;
        ~Clear() { c->SetControlState(c->ControlState() - TControlState{csFocusing}); }
    } clear{control};
    if (!focusedControl_)
        focusedControl_ = this;
    if (focusedControl_ == control)
        return true;
    while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
        HWND window = focusedControl_->Handle();
        focusedControl_ = focusedControl_->Parent();
        if (!SendFocusMessage(window, CM_EXIT))
            return false;
    }
    while (focusedControl_ != control) {
        TWinControl* step = control;
        while (step->Parent() != focusedControl_)
            step = step->Parent();
        focusedControl_ = step;
        if (!SendFocusMessage(step->Handle(), CM_ENTER))
            return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing)
{
    if (removing && control->ContainsControl(focusedControl_))
        focusedControl_ = control->Parent();
    if (control->ContainsControl(activeControl_)) {
        activeControl_ = nullptr;
        if (active_ && !removing && !ComponentState().Contains(csDestroying))
            if (HandleAllocated())
                ::SetFocus(Handle());
    }
}

void TCustomForm::SetActive(bool v)
{
    active_ = v;
    if (!v) {
        Deactivate();
        return;
    }
    if (!activeControl_)
        activeControl_ = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
    Activate();
}

// ---------------------------------------------------------------- showing and closing

void TCustomForm::PlaceOnScreen()
{
    if (position_ != poScreenCenter && position_ != poDesktopCenter && position_ != poMainFormCenter &&
        position_ != poOwnerFormCenter)
        return;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    SetBounds((sw - width_) / 2, (sh - height_) / 2, width_, height_);
}

void TCustomForm::ShowingChanged()
{
    if (Showing()) {
        DoShow();
        PlaceOnScreen();
        ShowWindow(Handle(), SW_SHOWNORMAL);
        SetActiveWindow(Handle());
        if (GetActiveWindow() == Handle() && !active_)
            SetActive(true);
    } else {
        DoHide();
        ShowWindow(Handle(), SW_HIDE);
        active_ = false;
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    onCloseQuery_(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == caHide)
        SetVisible(false);
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else
        Release();
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || modal_)
        throw EInvalidOperation(SCannotShowModal);
    if (GetCapture())
        ReleaseCapture();
    std::vector<HWND> disabled;
    if (Screen)
        for (TCustomForm* f : Screen->forms_)
            if (f != this && f->HandleAllocated() && IsWindowEnabled(f->Handle())) {
                EnableWindow(f->Handle(), FALSE);
                disabled.push_back(f->Handle());
            }
    modal_ = true;
    modalResult_ = mrNone;
    struct Restore {
        TCustomForm* form;
        std::vector<HWND>& windows;
        ~Restore()
        {
            form->modal_ = false;
            for (HWND w : windows)
                if (IsWindow(w))
                    EnableWindow(w, TRUE);
            form->SetVisible(false);
        }
    } restore{this, disabled};
    Show();
    while (modalResult_ == mrNone) {
        Application->HandleMessage();
        if (Application->Terminated())
            modalResult_ = mrCancel;
        else if (modalResult_ != mrNone) {
            // Closing can be refused: the loop goes on.
            TCloseAction action = caHide;
            if (!CloseQuery())
                action = caNone;
            else
                DoClose(action);
            if (action == caNone)
                modalResult_ = mrNone;
            else if (action == caFree)
                Release();
        }
    }
    return modalResult_;
}

// ---------------------------------------------------------------- messages

void TCustomForm::DialogKey(TMessage& message)
{
    switch (message.WParam) {
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
            message.Result = 1;
            return;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (activeControl_) {
            activeControl_->Parent()->SelectNext(activeControl_, message.WParam == VK_RIGHT || message.WParam == VK_DOWN,
                                                 false);
            message.Result = 1;
        }
        return;
    default: break;
    }
    Broadcast(message);
}

void TCustomForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ACTIVATE:
        if (LOWORD(message.WParam) != WA_INACTIVE)
            SetActive(true);
        else if (active_)
            SetActive(false);
        return;
    case WM_CLOSE: Close(); return;
    case CM_RELEASE: Free(); return;
    case CM_SHOWINGCHANGED: ShowingChanged(); return;
    case CM_DIALOGKEY: DialogKey(message); return;
    case WM_SIZE:
        if (clientHandle_) {
            TRect r = ClientRect();
            MoveWindow(clientHandle_, 0, 0, r.right, r.bottom, TRUE);
        }
        break;
    case WM_NCDESTROY:
        clientHandle_ = nullptr;
        break;
    case WM_SETFOCUS:
        // The form itself got the focus: pass it on to the active control.
        if (activeControl_ && activeControl_ != this && activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->Handle());
            return;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

void TCustomForm::Publish(TClassBuilder<TCustomForm>& c)
{
    c.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    c.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    c.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
    c.Property("ClientHeight", [](const TCustomForm& f) { return const_cast<TCustomForm&>(f).FormClientHeight(); },
               &TCustomForm::SetFormClientHeight);
    c.Property("ClientWidth", [](const TCustomForm& f) { return const_cast<TCustomForm&>(f).FormClientWidth(); },
               &TCustomForm::SetFormClientWidth);
    c.Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
    c.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    c.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    c.Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
    c.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    c.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
    c.Property("OnActivate", &TCustomForm::OnActivate, &TCustomForm::SetOnActivate);
    c.Property("OnClose", &TCustomForm::OnClose, &TCustomForm::SetOnClose);
    c.Property("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::SetOnCloseQuery);
    c.Property("OnCreate", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate);
    c.Property("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::SetOnDeactivate);
    c.Property("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy);
    c.Property("OnHide", &TCustomForm::OnHide, &TCustomForm::SetOnHide);
    c.Property("OnPaint", &TCustomForm::OnPaint, &TCustomForm::SetOnPaint);
    c.Property("OnShow", &TCustomForm::OnShow, &TCustomForm::SetOnShow);
}
