// Typing into the focused window as a user does: injected keys become characters as in the
// program's message loop. A fixture takes the keyboard by deriving from KeyboardUser.
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

// The keyboard of a fixture: text typed, and one key (or the same key several times)
// pressed with Shift or Ctrl held, each delivered before the call returns.
struct KeyboardUser {
    static void Type(const char* text) { TypeText(text); }
    static void Key(BYTE key, bool shift = false, bool control = false) { PressKey(key, shift, control); }
    static void Keys(BYTE key, int times, bool shift = false)
    {
        for (int i = 0; i < times; ++i) PressKey(key, shift);
    }
};
