// Focus moves with WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one;
// activation sends WM_NCACTIVATE and WM_ACTIVATE to the old window, then WM_ACTIVATEAPP
// (when the program becomes active), WM_NCACTIVATE and WM_ACTIVATE to the new one.
#include "platform/win/user/Focus.h"

#include "platform/win/user/Display.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowObject.h"

namespace {

struct FocusState {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};

FocusState& State() {
    static FocusState state;
    return state;
}

void SendActivateApp(BOOL active) {
    std::vector<HWND> tops = UserDesktop().children;
    for (HWND top : tops)
        UserSend(top, WM_ACTIVATEAPP, static_cast<WPARAM>(active), static_cast<LPARAM>(UserThreadId()));
}

void Deactivate(HWND old, HWND next) {
    if (!IsWindow(old))
        return;
    UserSend(old, WM_NCACTIVATE, FALSE, 0);
    UserSend(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(next));
}

void BringToTop(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return;
    const auto& list = UserDesktop().children;
    if (!list.empty() && list.front() != window)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void UserActivate(HWND window, WORD how) {
    FocusState& s = State();
    window = UserTopLevelOf(window);
    if (window == s.active)
        return;
    const HWND old = s.active;
    if (window)
        BringToTop(window);
    s.active = window;
    Deactivate(old, window);
    if (!window) {
        SendActivateApp(FALSE);
        if (s.focus) {
            const HWND lost = s.focus;
            s.focus = nullptr;
            UserSend(lost, WM_KILLFOCUS, 0, 0);
        }
        return;
    }
    if (!old)
        SendActivateApp(TRUE);
    if (s.active != window || !IsWindow(window))
        return;
    UserSend(window, WM_NCACTIVATE, TRUE, 0);
    UserSend(window, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(window) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    if (s.active == window && IsWindow(window))
        UserDisplay().WindowActivated(window);
}

void UserActivateNextAfter(HWND window) {
    FocusState& s = State();
    if (s.active != window && !(s.active && !IsWindowVisible(s.active)))
        return;
    for (HWND top : UserDesktop().children) {
        if (top != window && IsWindowVisible(top) && IsWindowEnabled(top) && !IsIconic(top)) {
            UserActivate(top, WA_ACTIVE);
            return;
        }
    }
    UserActivate(nullptr, WA_INACTIVE);
}

void UserFocusForgetWindow(HWND window) {
    FocusState& s = State();
    if (s.focus == window)
        s.focus = nullptr;
    if (s.capture == window)
        s.capture = nullptr;
    if (s.active == window) {
        s.active = nullptr;
        UserActivateNextAfter(window);
    }
}

void UserResetFocus() { State() = FocusState{}; }

HWND SetFocus(HWND window) {
    FocusState& s = State();
    if (window && !IsWindow(window))
        return nullptr;
    if (window && (IsIconic(UserTopLevelOf(window)) || !IsWindowEnabled(window)))
        return nullptr;
    const HWND old = s.focus;
    if (window) {
        const HWND top = UserTopLevelOf(window);
        if (top != s.active)
            UserActivate(top, WA_ACTIVE);
        if (!IsWindow(window))
            return nullptr;
    }
    if (s.focus == window)
        return old;
    const HWND previous = s.focus;
    s.focus = window;
    if (previous)
        UserSend(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && s.focus == window && IsWindow(window))
        UserSend(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return old;
}

HWND GetFocus() { return State().focus; }
HWND GetActiveWindow() { return State().active; }

HWND SetActiveWindow(HWND window) {
    const HWND old = State().active;
    if (window && !IsWindow(window))
        return nullptr;
    UserActivate(window, WA_ACTIVE);
    return old;
}

BOOL SetForegroundWindow(HWND window) {
    if (!IsWindow(window))
        return FALSE;
    UserActivate(window, WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() { return State().active; }

HWND SetCapture(HWND window) {
    FocusState& s = State();
    if (window && !IsWindow(window))
        return nullptr;
    const HWND old = s.capture;
    s.capture = window;
    if (old && old != window)
        UserSend(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return old;
}

HWND GetCapture() { return State().capture; }

BOOL ReleaseCapture() {
    FocusState& s = State();
    const HWND old = s.capture;
    s.capture = nullptr;
    if (old)
        UserSend(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}
