#include "obl/core/app/OBLWndProcComponent.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <vector>

// What the window's stub calls: the component while it is attached, else (after the
// component let go while another hook sat on top of it) straight the saved procedure.
class TOBLWndProcRelay : public TObject {
public:
    TOBLWndProcRelay(HWND window, TOBLWndProcComponent* target) : window_(window), target_(target) {}

    void Install()
    {
        instance_ = MakeObjectInstance(TWndMethod(this, &TOBLWndProcRelay::Dispatch));
        saved_ = reinterpret_cast<WNDPROC>(GetWindowLongA(window_, GWL_WNDPROC));
        SetWindowLongA(window_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(instance_));
    }

    bool Installed() const { return saved_ != nullptr; }
    HWND Window() const { return window_; }
    WNDPROC Saved() const { return saved_; }

    LRESULT CallSaved(const TMessage& m) const { return CallWindowProcA(saved_, window_, m.Msg, m.WParam, m.LParam); }

    // Takes the stub out of the window when it is still the window's procedure; answers
    // false when another procedure sits on top, so the stub must stay.
    bool Uninstall()
    {
        if (instance_ == nullptr) return true;
        if (saved_ != nullptr && IsWindow(window_)) {
            if (reinterpret_cast<WNDPROC>(GetWindowLongA(window_, GWL_WNDPROC)) != instance_) return false;
            SetWindowLongA(window_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
        }
        FreeObjectInstance(instance_);
        instance_ = nullptr;
        return true;
    }

    // The component goes; the stub keeps forwarding until the window is destroyed.
    void Orphan()
    {
        target_ = nullptr;
        Orphans().push_back(this);
    }

private:
    static std::vector<TOBLWndProcRelay*>& Orphans()
    {
        static std::vector<TOBLWndProcRelay*> orphans;
        return orphans;
    }

    // Nothing of this object is touched after the component's WndProc returns: it may
    // have unhooked and freed the relay. A component that is being destroyed, with its
    // form or alone, does no work of its own any more: the messages its window gets while
    // the form comes apart (activation, the last paints) only pass it on, and the hook
    // still goes with the window's last message.
    void Dispatch(TMessage& m)
    {
        if (target_ != nullptr) {
            if (target_->ComponentState().Contains(csDestroying))
                target_->TOBLWndProcComponent::WndProc(m);
            else
                target_->WndProc(m);
            return;
        }
        m.Result = CallSaved(m);
        if (m.Msg == WM_NCDESTROY) {
            FreeObjectInstance(instance_);
            auto& orphans = Orphans();
            orphans.erase(std::remove(orphans.begin(), orphans.end(), this), orphans.end());
            delete this;
        }
    }

    HWND window_;
    TOBLWndProcComponent* target_;
    WNDPROC instance_ = nullptr;
    WNDPROC saved_ = nullptr;
};

TOBLWndProcComponent::TOBLWndProcComponent(TComponent* AOwner) : TOBLCustomComponent(AOwner)
{
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) {
        if (form->FormStyle() == fsMDIChild) mdiKind_ = MdiKind::Child;
        else if (form->FormStyle() == fsMDIForm) mdiKind_ = MdiKind::Frame;
    }
}

TOBLWndProcComponent::~TOBLWndProcComponent() { RestoreWndProc(); }

void TOBLWndProcComponent::Loaded()
{
    inherited::Loaded();
    if (!Designing() || designEnabled_) Init();
}

void TOBLWndProcComponent::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    if (!Designing()) {
        if (Value) Init();
        else RestoreState();
    }
    EnabledChanged();
}

void TOBLWndProcComponent::SetDesignEnabled(bool Value)
{
    if (Value == designEnabled_) return;
    designEnabled_ = Value;
    if (Designing()) {
        if (Value) Init();
        else RestoreState();
    }
    DesignEnabledChanged();
}

void TOBLWndProcComponent::SetHandleApp(bool Value)
{
    if (Designing() || ComponentState().Contains(csLoading)) handleApp_ = Value;
}

TCustomForm* TOBLWndProcComponent::GetOwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

HWND TOBLWndProcComponent::GetOwnerHandle()
{
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (control == nullptr) return nullptr;
    if (mdiKind_ == MdiKind::Frame && !hookFormWindow_) {
        // A frame's messages that matter arrive at its MDI client window.
        auto* frame = dynamic_cast<TCustomForm*>(control);
        return frame && frame->HandleAllocated() ? frame->ClientHandle() : nullptr;
    }
    try {
        return control->Handle();
    } catch (const Exception&) {
        return nullptr;
    }
}

bool TOBLWndProcComponent::ValidOwner() const
{
    const auto* control = dynamic_cast<const TWinControl*>(Owner());
    const TComponentState state = ComponentState();
    return control != nullptr && control->HandleAllocated() && !state.Contains(csLoading) &&
           !state.Contains(csDestroying);
}

bool TOBLWndProcComponent::Hooked() const { return relay_ != nullptr && relay_->Installed(); }

void TOBLWndProcComponent::Init()
{
    if (enabled_ && relay_ == nullptr) NewWndProc();
}

bool TOBLWndProcComponent::NewWndProc()
{
    if (relay_ != nullptr || (Designing() && !designEnabled_)) return false;
    HWND window = GetOwnerHandle();
    if (window == nullptr) return false;
    destroying_ = false;
    try {
        if (handleApp_ && Application != nullptr) {
            Application->HookMainWindow(TApplication::TWindowHook(this, &TOBLWndProcComponent::AppHook));
            appHooked_ = true;
        }
        relay_ = new TOBLWndProcRelay(window, this);
        relay_->Install();
        return true;
    } catch (const Exception&) {
        RestoreWndProc();
        return false;
    }
}

bool TOBLWndProcComponent::RestoreWndProc()
{
    if (relay_ != nullptr) {
        TOBLWndProcRelay* relay = relay_;
        relay_ = nullptr;
        if (relay->Uninstall()) delete relay;
        else relay->Orphan();
    }
    if (appHooked_) {
        if (Application != nullptr)
            Application->UnhookMainWindow(TApplication::TWindowHook(this, &TOBLWndProcComponent::AppHook));
        appHooked_ = false;
    }
    destroying_ = false;
    return true;
}

void TOBLWndProcComponent::SilentRemove()
{
    RestoreWndProc();
    SetEnabled(false);
}

void TOBLWndProcComponent::DesignEnabledChanged()
{
    if (Designing() && !designEnabled_) RestoreWndProc();
}

void TOBLWndProcComponent::CallSavedProc(TMessage& Message)
{
    if (relay_ != nullptr && relay_->Installed()) Message.Result = relay_->CallSaved(Message);
}

// Messages keep reaching the window's own procedure up to its last one. The hook goes
// with WM_NCDESTROY, for an MDI child already with WM_DESTROY; either message is still
// handed on, so the window's own clean-up runs.
void TOBLWndProcComponent::WndProc(TMessage& Message)
{
    if (relay_ == nullptr) return;
    if (Message.Msg == WM_DESTROY) destroying_ = true;
    const bool last = Message.Msg == WM_NCDESTROY || (Message.Msg == WM_DESTROY && mdiKind_ == MdiKind::Child);
    if (!last) {
        CallSavedProc(Message);
        return;
    }
    // Unhook first, then hand the message to the procedure that is in force again.
    const WNDPROC saved = relay_->Saved();
    const HWND window = relay_->Window();
    RestoreWndProc();
    Message.Result = CallWindowProcA(saved, window, Message.Msg, Message.WParam, Message.LParam);
}
