// Unit OBLWndProcComponent: the base of the non-visual components that must see every
// message of the form they are placed on. It replaces the owner window's procedure by a
// stub bound to the component, passes messages on to the saved procedure, and puts that
// procedure back when disabled, destroyed, or when the window goes.
//
// Unhooking is safe in any order: the saved procedure is put back only while the window
// still runs this component's stub; when another hook was installed on top meanwhile,
// the stub stays in the chain as a plain pass-through until the window is destroyed.
// From the moment the component is being destroyed (alone, or with its form) its stub
// only passes messages on: no descendant's WndProc sees a form that is coming apart.
#pragma once

#include "obl/core/base/OBLCustomComponent.h"
#include "platform/classlib/Forms.h"

class TOBLWndProcRelay;

class TOBLWndProcComponent : public TOBLCustomComponent {
    VENDARO_CLASS(TOBLWndProcComponent, TOBLCustomComponent)
public:
    explicit TOBLWndProcComponent(TComponent* AOwner);
    ~TOBLWndProcComponent() override;
    void Loaded() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool DesignEnabled() const { return designEnabled_; }
    void SetDesignEnabled(bool Value);
    bool HandleApp() const { return handleApp_; }
    // Taken only in design state or while loading.
    void SetHandleApp(bool Value);
    bool HookFormWindow() const { return hookFormWindow_; }
    void SetHookFormWindow(bool Value) { hookFormWindow_ = Value; }

    TCustomForm* GetOwnerForm() const;
    // The window to hook: the MDI client window of an MDI frame (unless HookFormWindow),
    // else the owner's window, created on demand; 0 when there is none.
    HWND GetOwnerHandle();
    bool ValidOwner() const;
    bool NewWndProc();
    bool RestoreWndProc();
    void SilentRemove();
    // The window's procedure currently runs through this component.
    bool Hooked() const;

protected:
    // The application-window hook; true: handled.
    virtual bool AppWndProc(TMessage& Message) { return true; }
    virtual void Init();
    virtual void RestoreState() { RestoreWndProc(); }
    virtual void WndProc(TMessage& Message);
    virtual void DesignEnabledChanged();
    virtual void EnabledChanged() {}
    // The owner window has received WM_DESTROY.
    bool OwnerDestroying() const { return destroying_; }
    // Hands the message to the procedure that was there before the hook.
    void CallSavedProc(TMessage& Message);

private:
    friend class TOBLWndProcRelay;
    enum class MdiKind : BYTE { None, Child, Frame };

    bool Designing() const { return ComponentState().Contains(csDesigning); }
    void AppHook(TMessage& Message, bool& Handled) { Handled = AppWndProc(Message); }

    bool enabled_ = true;
    bool designEnabled_ = false;
    bool handleApp_ = false;
    bool appHooked_ = false;
    MdiKind mdiKind_ = MdiKind::None;
    TOBLWndProcRelay* relay_ = nullptr;
    bool destroying_ = false;
    bool hookFormWindow_ = false;
};
