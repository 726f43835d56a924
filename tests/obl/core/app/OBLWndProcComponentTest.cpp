#include "obl/core/app/OBLWndProcComponent.h"
#include "obl/core/app/OBLXPThemeManager.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/User.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_USER + 1;
constexpr WPARAM kFakeCreate = 0x0B1;

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

std::string Note(const char* who, UINT msg)
{
    switch (msg) {
    case kProbe: return std::string(who) + " probe";
    case WM_DESTROY: return std::string(who) + " destroy";
    case WM_NCDESTROY: return std::string(who) + " ncdestroy";
    case WM_THEMECHANGED: return std::string(who) + " themechanged";
    default: return std::string();
    }
}

void Record(const char* who, UINT msg)
{
    const std::string note = Note(who, msg);
    if (!note.empty()) Log().push_back(note);
}

class TLogForm : public TForm {
public:
    explicit TLogForm(TComponent* owner) : TForm(owner) {}
    void WndProc(TMessage& m) override
    {
        // A creation message sent by a test is not a real creation.
        if (m.Msg == WM_CREATE && m.WParam == kFakeCreate) {
            Log().push_back("form create");
            return;
        }
        Record("form", m.Msg);
        TForm::WndProc(m);
    }
};

class TLogHook : public TOBLWndProcComponent {
public:
    TLogHook(TComponent* owner, const char* name) : TOBLWndProcComponent(owner), name_(name) {}
    using TOBLWndProcComponent::OwnerDestroying;

protected:
    void WndProc(TMessage& m) override
    {
        Record(name_, m.Msg);
        TOBLWndProcComponent::WndProc(m);
    }
    bool AppWndProc(TMessage& m) override
    {
        Record("app", m.Msg);
        return false;
    }

private:
    const char* name_;
};

class OBLWndProcComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        ResetControlsState();
        FormsInitialization();
        Log().clear();
    }
    void TearDown() override
    {
        FormsFinalization();
        ResetControlsState();
        UserResetWindowSystem();
    }

    // The application's main form as an MDI frame, which MDI children need.
    static TForm* MakeMainMdiFrame()
    {
        TForm* frame = nullptr;
        Application->CreateForm(TForm::StaticClass(), &frame);
        frame->SetFormStyle(fsMDIForm);
        frame->HandleNeeded();
        return frame;
    }

    TLogForm* MakeForm(TFormStyle style = fsNormal)
    {
        auto* form = new TLogForm(Application);
        form->SetFormStyle(style);
        form->HandleNeeded();
        original = reinterpret_cast<WNDPROC>(GetWindowLongA(form->Handle(), GWL_WNDPROC));
        return form;
    }

    // A component streamed with its form hooks when loading ends.
    static TLogHook* Hook(TComponent* owner, const char* name)
    {
        auto* hook = new TLogHook(owner, name);
        hook->Loaded();
        return hook;
    }

    static std::vector<std::string> Probe(TWinControl* form)
    {
        Log().clear();
        SendMessageA(form->Handle(), kProbe, 0, 0);
        return Log();
    }

    WNDPROC Current(TWinControl* form) { return reinterpret_cast<WNDPROC>(GetWindowLongA(form->Handle(), GWL_WNDPROC)); }

    WNDPROC original = nullptr;
    using Notes = std::vector<std::string>;
};

TEST_F(OBLWndProcComponentTest, HooksChainAndUnhookInReverseOrder)
{
    TLogForm* form = MakeForm();
    TLogHook* a = Hook(form, "a");
    TLogHook* b = Hook(form, "b");
    EXPECT_TRUE(a->Hooked());
    EXPECT_TRUE(b->Hooked());
    EXPECT_EQ(Probe(form), (Notes{"b probe", "a probe", "form probe"}));
    b->SetEnabled(false);
    EXPECT_FALSE(b->Hooked());
    EXPECT_EQ(Probe(form), (Notes{"a probe", "form probe"}));
    a->SetEnabled(false);
    EXPECT_EQ(Current(form), original);
    EXPECT_EQ(Probe(form), (Notes{"form probe"}));
    // Enabled again at run time: hooked again.
    a->SetEnabled(true);
    EXPECT_TRUE(a->Hooked());
    EXPECT_EQ(Probe(form), (Notes{"a probe", "form probe"}));
    a->SilentRemove();
    EXPECT_FALSE(a->Enabled());
    EXPECT_EQ(Current(form), original);
    form->Free();
}

TEST_F(OBLWndProcComponentTest, UnhookingUnderAnotherHookLeavesAPassThrough)
{
    TLogForm* form = MakeForm();
    TLogHook* a = Hook(form, "a");
    TLogHook* b = Hook(form, "b");
    a->SetEnabled(false);
    EXPECT_FALSE(a->Hooked());
    EXPECT_EQ(Probe(form), (Notes{"b probe", "form probe"}));
    a->Free();
    EXPECT_EQ(Probe(form), (Notes{"b probe", "form probe"}));
    b->Free();
    EXPECT_EQ(Probe(form), (Notes{"form probe"}));
    // The pass-through stays in the chain up to the window's last message.
    Log().clear();
    DestroyWindow(form->Handle());
    EXPECT_EQ(Log(), (Notes{"form destroy", "form ncdestroy"}));
    EXPECT_FALSE(form->HandleAllocated());
    form->Free();
}

TEST_F(OBLWndProcComponentTest, WindowDestructionReachesTheFormAndUnhooks)
{
    TForm* frame = MakeMainMdiFrame();
    for (TFormStyle style : {fsNormal, fsMDIChild}) {
        SCOPED_TRACE(int(style));
        TLogForm* form = MakeForm(style);
        TLogHook* a = Hook(form, "a");
        TLogHook* b = Hook(form, "b");
        Log().clear();
        DestroyWindow(form->Handle());
        if (style == fsMDIChild) {
            // Unhooked at WM_DESTROY, which still reaches the form.
            EXPECT_EQ(Log(), (Notes{"b destroy", "a destroy", "form destroy", "form ncdestroy"}));
        } else {
            EXPECT_EQ(Log(), (Notes{"b destroy", "a destroy", "form destroy", "b ncdestroy", "a ncdestroy",
                                    "form ncdestroy"}));
        }
        EXPECT_FALSE(a->Hooked());
        EXPECT_FALSE(b->Hooked());
        EXPECT_FALSE(form->HandleAllocated());
        // The form makes a new window; the components stay off it until enabled again.
        EXPECT_EQ(Probe(form), (Notes{"form probe"}));
        a->SetEnabled(false);
        a->SetEnabled(true);
        EXPECT_EQ(Probe(form), (Notes{"a probe", "form probe"}));
        form->Free();
    }
    frame->Free();
}

// The hooks stay on the window to its last message, but once the form is being freed
// they only pass its messages on: no component's own handling sees a form that is coming
// apart (with the form's C++ parts already gone, a descendant's WndProc would reach them).
TEST_F(OBLWndProcComponentTest, FreeingOrDeletingTheFormWithHooksInPlace)
{
    for (const bool freed : {true, false}) {
        SCOPED_TRACE(freed ? "Free" : "delete");
        TLogForm* form = MakeForm();
        Hook(form, "a");
        Hook(form, "b");
        EXPECT_EQ(Probe(form), (Notes{"b probe", "a probe", "form probe"}));
        Log().clear();
        if (freed)
            form->Free();
        else
            delete form;
        EXPECT_EQ(Log(), Notes{});
    }
}

TEST_F(OBLWndProcComponentTest, WithoutOwnerNothingIsHooked)
{
    TLogHook hook(nullptr, "a");
    hook.Loaded();
    EXPECT_EQ(hook.GetOwnerHandle(), nullptr);
    EXPECT_FALSE(hook.NewWndProc());
    EXPECT_FALSE(hook.Hooked());
    EXPECT_FALSE(hook.ValidOwner());
    EXPECT_TRUE(hook.RestoreWndProc());
}

TEST_F(OBLWndProcComponentTest, DesignStateFollowsDesignEnabled)
{
    TLogForm* form = MakeForm();
    auto* hook = new TLogHook(form, "a");
    hook->SetDesigning(true);
    hook->Loaded();
    EXPECT_FALSE(hook->Hooked());
    hook->SetEnabled(false);
    hook->SetEnabled(true);
    EXPECT_FALSE(hook->Hooked());
    hook->SetDesignEnabled(true);
    EXPECT_TRUE(hook->Hooked());
    hook->SetDesignEnabled(false);
    EXPECT_FALSE(hook->Hooked());
    EXPECT_EQ(Current(form), original);
    form->Free();
}

TEST_F(OBLWndProcComponentTest, HandleAppIsTakenOnlyInDesignOrWhileLoading)
{
    TLogHook hook(nullptr, "a");
    hook.SetHandleApp(true);
    EXPECT_FALSE(hook.HandleApp());
    hook.SetDesigning(true);
    hook.SetHandleApp(true);
    EXPECT_TRUE(hook.HandleApp());
}

TEST_F(OBLWndProcComponentTest, MdiFrameHooksItsClientWindowUnlessTold)
{
    TLogForm* form = new TLogForm(Application);
    form->SetFormStyle(fsMDIForm);
    auto* hook = new TLogHook(form, "a");
    // No window yet: nothing to hook.
    EXPECT_EQ(hook->GetOwnerHandle(), nullptr);
    form->HandleNeeded();
    HWND client = form->ClientHandle();
    ASSERT_NE(client, nullptr);
    ASSERT_NE(client, form->Handle());
    EXPECT_EQ(hook->GetOwnerHandle(), client);
    hook->Loaded();
    Log().clear();
    SendMessageA(client, kProbe, 0, 0);
    EXPECT_EQ(Log(), (Notes{"a probe"}));
    EXPECT_EQ(Probe(form), (Notes{"form probe"}));
    hook->SetEnabled(false);
    hook->SetHookFormWindow(true);
    EXPECT_EQ(hook->GetOwnerHandle(), form->Handle());
    hook->SetEnabled(true);
    EXPECT_EQ(Probe(form), (Notes{"a probe", "form probe"}));
    form->Free();
}

// The application's theme operations, recorded.
struct AppThemes {
    static inline bool use = false;
    static inline std::vector<std::string> calls;
    AppThemes(bool on)
    {
        use = on;
        calls.clear();
        TOBLApplicationThemeHooks hooks;
        hooks.UseXPThemes = [] { return use; };
        hooks.InitXPSupport = [] { calls.push_back("init"); };
        hooks.SetXPThemeSupport = [](bool v) { calls.push_back(v ? "on" : "off"); };
        OBLSetApplicationThemeHooks(hooks);
    }
    ~AppThemes() { OBLSetApplicationThemeHooks({}); }
};

TEST_F(OBLWndProcComponentTest, ThemeManagerReannouncesAThemeChange)
{
    for (bool on : {true, false}) {
        AppThemes themes(on);
        TLogForm* form = MakeForm();
        auto* manager = new TOBLXPThemeManager(form);
        manager->Loaded();
        ASSERT_TRUE(manager->Hooked());
        Log().clear();
        SendMessageA(form->Handle(), WM_THEMECHANGED, 0, 0);
        EXPECT_EQ(Log(), (Notes{"form themechanged"}));
        EXPECT_EQ(AppThemes::calls, on ? (Notes{"off", "on"}) : Notes{});
        form->Free();
    }
}

TEST_F(OBLWndProcComponentTest, ThemeManagerInitialisesThemeSupportOnCreation)
{
    AppThemes themes(false);
    TLogForm* form = MakeForm();
    auto* manager = new TOBLXPThemeManager(form);
    manager->Loaded();
    Log().clear();
    SendMessageA(form->Handle(), WM_CREATE, kFakeCreate, 0);
    EXPECT_EQ(AppThemes::calls, Notes{"init"});
    EXPECT_EQ(Log(), (Notes{"form create"}));
    form->Free();
}

TEST_F(OBLWndProcComponentTest, ApplicationWindowHookFollowsTheComponent)
{
    TLogForm* form = MakeForm();
    auto* hook = new TLogHook(form, "a");
    hook->SetDesigning(true);
    hook->SetHandleApp(true);
    hook->SetDesigning(false);
    hook->Loaded();
    ASSERT_TRUE(hook->Hooked());
    Log().clear();
    SendMessageA(Application->Handle(), kProbe, 0, 0);
    EXPECT_EQ(Log(), (Notes{"app probe"}));
    hook->SetEnabled(false);
    Log().clear();
    SendMessageA(Application->Handle(), kProbe, 0, 0);
    EXPECT_TRUE(Log().empty());
    form->Free();
}

TEST_F(OBLWndProcComponentTest, GlobalThemeManagerHasNoOwnerAndHooksNothing)
{
    OBLXPThemeManagerInitialization();
    ASSERT_NE(OBLXPThemeManager, nullptr);
    EXPECT_EQ(OBLXPThemeManager->Owner(), nullptr);
    OBLXPThemeManager->Loaded();
    EXPECT_FALSE(OBLXPThemeManager->Hooked());
    OBLXPThemeManagerInitialization();
    ASSERT_NE(OBLXPThemeManager, nullptr);
    OBLXPThemeManagerFinalization();
    EXPECT_EQ(OBLXPThemeManager, nullptr);
}

} // namespace
