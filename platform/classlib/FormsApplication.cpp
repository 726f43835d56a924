// TApplication: the hidden application window, form creation, the message loop with the
// keyboard interface of dialogs; TScreen; windows and window procedures bound to methods.
#include "platform/classlib/Forms.h"

#include "platform/win/kernel/Folders.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Input.h"

#include <algorithm>
#include <array>
#include <exception>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

void FormsInitialization()
{
    if (!Application)
        Application = new TApplication(nullptr);
    if (!Screen)
        Screen = new TScreen(nullptr);
}

void FormsFinalization()
{
    FreeAndNil(Application);
    FreeAndNil(Screen);
}

// ---------------------------------------------------------------------------------------
// Windows bound to methods

namespace {

const char* const kUtilWindowClass = "TPUtilWindow";
const char* const kMethodProperty = "VendaroMethod";

LRESULT UtilWindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* method = static_cast<TWndMethod*>(GetPropA(window, kMethodProperty));
    if (!method)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    (*method)(message);
    return message.Result;
}

// Object instances: a fixed set of plain procedures, each calling the method in its slot.
constexpr std::size_t kInstanceSlots = 64;
std::array<TWndMethod, kInstanceSlots> instanceMethods;
std::array<bool, kInstanceSlots> instanceUsed{};

template <std::size_t Slot>
LRESULT InstanceProcedure(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    instanceMethods[Slot](message);
    return message.Result;
}

template <std::size_t... Slots>
constexpr std::array<WNDPROC, kInstanceSlots> MakeInstanceTable(std::index_sequence<Slots...>)
{
    return {&InstanceProcedure<Slots>...};
}
constexpr std::array<WNDPROC, kInstanceSlots> instanceProcedures = MakeInstanceTable(std::make_index_sequence<kInstanceSlots>{});

} // namespace

HWND AllocateHWnd(TWndMethod method)
{
    WNDCLASSA cls{};
    if (!GetClassInfoA(nullptr, kUtilWindowClass, &cls)) {
        cls.lpfnWndProc = UtilWindowProcedure;
        cls.lpszClassName = kUtilWindowClass;
        RegisterClassA(&cls);
    }
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
    if (window && method.Assigned())
        SetPropA(window, kMethodProperty, new TWndMethod(method));
    return window;
}

void DeallocateHWnd(HWND window)
{
    delete static_cast<TWndMethod*>(RemovePropA(window, kMethodProperty));
    DestroyWindow(window);
}

WNDPROC MakeObjectInstance(TWndMethod method)
{
    for (std::size_t i = 0; i < kInstanceSlots; ++i)
        if (!instanceUsed[i]) {
            instanceUsed[i] = true;
            instanceMethods[i] = method;
            return instanceProcedures[i];
        }
    throw EOutOfResources("Out of object instances");
}

void FreeObjectInstance(WNDPROC instance)
{
    auto it = std::find(instanceProcedures.begin(), instanceProcedures.end(), instance);
    if (it == instanceProcedures.end())
        return;
    auto i = static_cast<std::size_t>(it - instanceProcedures.begin());
    instanceUsed[i] = false;
    instanceMethods[i] = TWndMethod();
}

// ---------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication()
{
    hintControl_ = nullptr;
    // The forms go before the application window they may refer to.
    DestroyComponents();
    if (handle_)
        DeallocateHWnd(handle_);
}

HWND TApplication::Handle()
{
    if (!handle_) {
        handle_ = AllocateHWnd(TWndMethod(this, &TApplication::WndProc));
        SetWindowTextA(handle_, title_.c_str());
    }
    return handle_;
}

void TApplication::WndProc(TMessage& message)
{
    if (message.Msg == WM_TIMER && message.WParam == kHintTimer) {
        KillTimer(handle_, kHintTimer);
        ShowHintFor(hintControl_);
        return;
    }
    bool handled = false;
    for (std::size_t i = hooks_.size(); i-- > 0 && !handled;)
        hooks_[i](message, handled);
    if (handled)
        return;
    message.Result = DefWindowProcA(handle_, message.Msg, message.WParam, message.LParam);
}

void TApplication::HookMainWindow(TWindowHook hook) { hooks_.push_back(hook); }

void TApplication::UnhookMainWindow(TWindowHook hook)
{
    auto it = std::find(hooks_.begin(), hooks_.end(), hook);
    if (it != hooks_.end())
        hooks_.erase(it);
}

void TApplication::SetTitle(const AnsiString& v)
{
    title_ = v;
    if (handle_)
        SetWindowTextA(handle_, v.c_str());
}

AnsiString TApplication::ExeName() const
{
    char buffer[MAX_PATH + 1] = {};
    int n = static_cast<int>(GetModuleFileNameA(nullptr, buffer, MAX_PATH));
    return AnsiString(buffer, n);
}

void TApplication::CreateForm(TClass formClass, void* reference)
{
    auto* instance = static_cast<TComponent*>(formClass->Create(this));
    *static_cast<TComponent**>(reference) = instance;
    try {
        bool described = InitInheritedComponent(instance);
        bool needsDescription = formClass->InheritsFrom(TCustomForm::StaticClass()) ||
                                formClass->InheritsFrom(TDataModule::StaticClass());
        bool plain = formClass == TForm::StaticClass() || formClass == TDataModule::StaticClass();
        if (!described && needsDescription && !plain)
            throw EResNotFound("Resource " + formClass->ClassName() + " not found");
        if (auto* form = dynamic_cast<TCustomForm*>(instance)) {
            form->DoCreate();
            if (!mainForm_)
                mainForm_ = form;
        } else if (auto* module = dynamic_cast<TDataModule*>(instance)) {
            module->DoCreate();
        }
    } catch (...) {
        *static_cast<TComponent**>(reference) = nullptr;
        instance->Free();
        throw;
    }
}

void TApplication::Run()
{
    if (!mainForm_)
        return;
    mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    if (terminated_)
        return;
    terminated_ = true;
    PostQuitMessage(0);
}

bool TApplication::IsKeyMessage(MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    HWND window = msg.hwnd;
    TWinControl* control = nullptr;
    while (window && !(control = TWinControl::FindControl(window)))
        window = GetParent(window);
    return control && control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage()
{
    MSG msg{};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (!IsKeyMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

bool TApplication::Idle()
{
    bool done = true;
    onIdle_(this, done);
    return done;
}

void TApplication::HandleMessage()
{
    if (ProcessMessage())
        return;
    Idle();
    if (UserHasPendingInput() || ProcessMessage())
        return;
    // Nothing can ever arrive (no display, no timer, no script): a loop waiting for input
    // would wait forever, so the application ends instead.
    if (!WaitMessage())
        Terminate();
}

int TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags)
{
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : Handle();
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::ShowException(const Exception& e)
{
    AnsiString message = e.Message();
    if (!message.IsEmpty() && message[message.Length()] > '.')
        message += ".";
    MessageBox(message, title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject* sender)
{
    // Called from a handler: the exception in flight is the one handled; outside of one
    // there is nothing to do.
    if (!std::current_exception())
        return;
    try {
        throw;
    } catch (Exception& e) {
        if (onException_.Assigned())
            onException_(sender, e);
        else
            ShowException(e);
    } catch (...) {
        Exception unknown("Unknown exception");
        if (onException_.Assigned())
            onException_(sender, unknown);
        else
            ShowException(unknown);
    }
}

// ---------------------------------------------------------------------------------------
// TScreen

TCustomForm* TScreen::ActiveForm() const
{
    HWND active = GetActiveWindow();
    for (TCustomForm* f : forms_)
        if (f->HandleAllocated() && f->Handle() == active)
            return f;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const
{
    TCustomForm* form = ActiveForm();
    return form ? form->ActiveControl() : nullptr;
}

void TScreen::SetCursor(TCursor v)
{
    cursor_ = v;
    ::SetCursor(Cursors(v));
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

HCURSOR TScreen::Cursors(TCursor index) const
{
    switch (index) {
    case crIBeam: return LoadCursorA(nullptr, IDC_IBEAM);
    case crHourGlass:
    case crSQLWait: return LoadCursorA(nullptr, IDC_WAIT);
    case crCross: return LoadCursorA(nullptr, IDC_CROSS);
    case crHandPoint: return LoadCursorA(nullptr, IDC_HAND);
    case crNo: return LoadCursorA(nullptr, IDC_NO);
    case crSizeAll: return LoadCursorA(nullptr, IDC_SIZEALL);
    default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}
