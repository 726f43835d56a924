// Visible regions and device contexts of windows.
#pragma once

#include "platform/win/gdi/Region.h"
#include "platform/win/user/User.h"

// Part of a window (its whole rectangle or its client area) that can be seen, in the
// coordinates of the window rectangle or client area respectively: clipped by the window
// region, the ancestors' client areas and regions, the siblings above (top-level
// windows and WS_CLIPSIBLINGS windows) and, with `clipChildren`, the window's own children.
Region UserVisibleRegion(HWND window, bool wholeWindow, bool clipChildren);
// Forgets every device context handed out (the window system starts afresh).
void UserResetPainting();
