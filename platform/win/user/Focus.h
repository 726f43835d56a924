// Keyboard focus, window activation and mouse capture.
#pragma once

#include "platform/win/user/User.h"

// Activates a top-level window as a click would (WM_ACTIVATE with WA_CLICKACTIVE).
void UserActivate(HWND window, WORD how);
// After a top-level window was hidden or destroyed: activate the next visible one.
void UserActivateNextAfter(HWND window);
void UserFocusForgetWindow(HWND window);
void UserResetFocus();
