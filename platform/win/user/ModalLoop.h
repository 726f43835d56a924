// The message loop of a modal dialog window: the owner is disabled while it runs, keys
// go to the dialog's own handler first, and the loop ends when the dialog is done, is
// destroyed, or no more input can arrive.
#pragma once

#include "platform/win/user/User.h"

#include <functional>

// `handleKey` answers true for a message it consumed; `done` says when to stop.
// Answers false when the loop ended because no more input could arrive.
bool UserRunModalLoop(HWND dialog, HWND owner, const std::function<bool(const MSG&)>& handleKey,
                      const std::function<bool()>& done);

// Where a modal window of that size goes: centred over its owner window (over the screen
// when it has none), kept inside the screen.
POINT UserPlaceOverOwner(HWND owner, SIZE size);
