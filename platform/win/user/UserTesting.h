// Test support of the window system: a clean start and the state tests read.
#pragma once

#include "platform/win/user/Caret.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/Menus.h"
#include "platform/win/user/Timers.h"
#include "platform/win/user/User.h"

class Surface;

// Destroys every window and forgets queues, input, focus, timers, caret, clipboard and menus.
void UserResetWindowSystem();
// The surface a top-level window paints into (nullptr for child windows).
Surface* UserWindowSurface(HWND topLevel);
// Sets the screen size (system metrics, drawing desktop and desktop window).
void UserSetScreenSize(int width, int height);
