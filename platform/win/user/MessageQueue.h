// The thread's message queue: posted messages, the quit flag, and the generated
// input, paint and timer messages, retrieved in the order the original system uses:
// posted messages, WM_QUIT, input, WM_PAINT, WM_TIMER.
#pragma once

#include "platform/win/user/User.h"

struct MessageFilter {
    HWND window;
    UINT first;
    UINT last;
    // True when the message (to `target`) passes the window and range filter.
    bool Accepts(HWND target, UINT message) const;
};

// Sources of generated messages, each answering whether it produced one.
bool UserTakeInputMessage(MSG* out, const MessageFilter& filter, bool remove);
bool UserTakePaintMessage(MSG* out, const MessageFilter& filter);
bool UserTakeTimerMessage(MSG* out, const MessageFilter& filter, bool remove);
bool UserTakeHoverMessage(MSG* out, const MessageFilter& filter, bool remove);
// Tick at which a tracked hover falls due; false when none is tracked.
bool UserNextHoverDue(DWORD* tick);
// Earliest tick at which a timer falls due; false when there is no timer. Cosmetic
// timers count only when `includeCosmetic`.
bool UserNextTimerDue(DWORD* tick, bool includeCosmetic);

// Drops every message of a destroyed window.
void UserPurgeWindowMessages(HWND window);
void UserResetQueue();
// True when a posted or input message is waiting.
bool UserQueueHasMessages();
// The calling thread's identity as used for window ownership.
DWORD UserThreadId();
