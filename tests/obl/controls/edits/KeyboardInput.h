// Typing into the focused window as a user does: injected keys become characters as in the
// program's message loop.
#pragma once

#include "platform/win/user/Input.h"
#include "platform/win/user/User.h"

// Delivers every queued message, translating key strokes into characters.
inline void PumpKeys()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline void TypeText(const char* text)
{
    UserInjectText(text);
    PumpKeys();
}

inline void PressKey(BYTE key, bool shift = false, bool control = false)
{
    UserInjectKeyStroke(key, shift, control);
    PumpKeys();
}
