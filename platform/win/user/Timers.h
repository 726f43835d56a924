// Window timers over the run time's clock. A due timer produces one WM_TIMER when the
// queue holds nothing else; it is due again one interval after that message is taken.
#pragma once

#include "platform/win/user/User.h"

void UserKillWindowTimers(HWND window);
// A timer that only changes the look of a window (the caret blink): it runs like any
// other, but waiting for it never counts as waiting for input.
UINT_PTR UserSetCosmeticTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
// Makes every following SetTimer fail (answers 0) while set, as when timers run out.
void UserSetTimerFailure(bool fail);
// Makes only the next `count` SetTimer calls fail, as when the last free timer is taken
// and given back in between.
void UserFailNextSetTimers(int count);
int UserTimerCount();
void UserResetTimers();
