// Input of the window system. Raw mouse and keyboard events (from the display backend
// or injected by tests) wait in the input queue and become window messages when they
// are retrieved: hit testing, capture, mouse activation, double clicks and the key
// state follow the original system's rules.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

enum class MouseButton : BYTE { Left, Right, Middle };

// Mouse input in screen coordinates.
void UserInjectMouseMove(int x, int y);
void UserInjectMouseButton(MouseButton button, bool down, int x, int y);
void UserInjectMouseWheel(int delta, int x, int y);
// Key input: `character` is the Windows-1252 character the key produces (0: derived
// from the virtual key, the shift state and caps lock, as a US keyboard would).
void UserInjectKey(BYTE virtualKey, bool down, char character = 0);
// Presses and releases the keys that type `text` (shift added for capitals and symbols).
void UserInjectText(const AnsiString& text);
// Press and release of a key (with the given modifiers held).
void UserInjectKeyStroke(BYTE virtualKey, bool shift = false, bool control = false, bool alt = false);
// Click (press and release) at a screen point.
void UserInjectClick(int x, int y, MouseButton button = MouseButton::Left);

bool UserHasPendingInput();
// Retrieves and dispatches every queued message (TranslateMessage included); answers
// how many were dispatched. Timers fire only when due by the clock.
int UserPumpMessages();

// Mouse capture and tracking state kept across windows, used by the move loop and destruction.
void UserForgetWindowInput(HWND window);
void UserResetInput();
// The character TranslateMessage produces for a key with the given state (0: none).
char UserCharacterForKey(BYTE virtualKey, bool shift, bool capsLock, bool control);
