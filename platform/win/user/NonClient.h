// The non-client area every window gets from the default window procedure: frame
// sizes, caption bar, caption buttons and scroll bars, in the classic look.
#pragma once

#include "platform/win/user/User.h"

// Classic metrics of the frame parts (pixels).
constexpr int kBorder = 1, kDialogFrame = 3, kSizingFrame = 4, kClientEdge = 2, kStaticEdge = 1,
              kCaptionHeight = 19, kSmallCaptionHeight = 15, kCaptionButtonWidth = 16,
              kCaptionButtonHeight = 14, kSmallCaptionButton = 12, kScrollBarSize = 16;

// Client rectangle for a window rectangle (both in the same coordinates).
RECT UserDefaultClientRect(DWORD style, DWORD exStyle, const RECT& window);
// Hit-test code of a screen point for a window, by its geometry alone.
LRESULT UserDefaultHitTest(HWND window, POINT screen);
// Draws the frame, caption and scroll bars of a window on its window DC.
void UserPaintNonClient(HWND window, bool active);
// Rectangle (window coordinates) of a caption button; empty when the window has none.
RECT UserCaptionButtonRect(HWND window, LRESULT hit);
