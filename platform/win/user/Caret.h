// The thread's one caret. Tests read its state to check ownership, visibility and shape.
#pragma once

#include "platform/win/user/User.h"

struct CaretState {
    HWND owner;
    int width;
    int height;
    bool grey;
    bool fromBitmap;
    POINT position;
    int hideCount;  // 0: shown
    bool blinkOn;   // the caret's pixels are currently drawn
};

// False when no caret exists.
bool UserGetCaretState(CaretState* state);
void UserForgetCaretOwner(HWND window);
// Hides the caret while a window paints and shows it again afterwards.
void UserCaretHideForPaint(HWND window);
void UserCaretShowAfterPaint(HWND window);
void UserResetCaret();
