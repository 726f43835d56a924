// Window timers over the run time's clock. A due timer produces one WM_TIMER when the
// queue holds nothing else; it is due again one interval after that message is taken.
#pragma once

#include "platform/win/user/User.h"

void UserKillWindowTimers(HWND window);
// Makes every following SetTimer fail (answers 0) while set, as when timers run out.
void UserSetTimerFailure(bool fail);
int UserTimerCount();
void UserResetTimers();
