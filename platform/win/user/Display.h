// Display backends: where top-level windows are shown and where real input comes from.
// The headless backend (the default) keeps every window in its in-memory surface and
// has no input of its own: tests inject input through the same path real input takes.
// The X11 backend shows each visible top-level window as an undecorated X window.
#pragma once

#include "platform/win/WinTypes.h"

#include <memory>
#include <string>

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    virtual bool IsHeadless() const = 0;
    // Turns pending events of the display into input and messages, without waiting.
    virtual void PollEvents() = 0;
    // Waits until an event arrives or, when `hasDeadline`, until the tick `dueTick`.
    // False when nothing can ever arrive (no display and no deadline).
    virtual bool WaitForEvents(bool hasDeadline, DWORD dueTick) = 0;
    // Wakes a waiting GUI thread (called after a message is posted).
    virtual void Wake() {}
    // Top-level window life cycle and presentation.
    virtual void WindowShown(HWND window) {}
    virtual void WindowHidden(HWND window) {}
    virtual void WindowGeometryChanged(HWND window) {}
    virtual void WindowDestroyed(HWND window) {}
    virtual void WindowTextChanged(HWND window) {}
    // The top-level window became the active one: the display gives it the keyboard.
    virtual void WindowActivated(HWND window) {}
    // The window region (SetWindowRgn) changed; the headless backend keeps it in the window table only.
    virtual void WindowShapeChanged(HWND window) {}
    // `area` of the top-level window's surface (surface coordinates) was drawn on and
    // should be shown; a backend may wait for Present to show it.
    virtual void SurfaceChanged(HWND window, const RECT& area) {}
    // The thread has handled everything it had to: show what was drawn since the last frame.
    virtual void Present() {}
    // The pointer shape set with SetCursor (a standard cursor id, 0 for none).
    virtual void CursorChanged(DWORD_PTR standardCursorId) {}
    // What the display shows of a top-level window; false when it cannot tell.
    virtual bool ReadBack(HWND window, class Surface* into) { return false; }
};

DisplayBackend& UserDisplay();
// Replaces the backend (nullptr restores the headless one).
void UserInstallDisplay(std::unique_ptr<DisplayBackend> backend);
// The X11 backend on `displayName` (nullptr: $DISPLAY); nullptr when no X server answers.
// `sharedMemory` false keeps it from pushing pixels through shared memory.
std::unique_ptr<DisplayBackend> UserCreateX11Display(const char* displayName, bool sharedMemory = true);
// Chooses the X11 backend when a display is reachable, else stays headless; true for X11.
bool UserSelectDisplayFromEnvironment();
// Name of the environment variable that asks a program to run headless on purpose.
inline constexpr const char* kHeadlessVariable = "VENDARO_HEADLESS";
// True when the environment asks for headless running (the variable set, and not "0").
bool UserHeadlessRequested();
// The display a program starts on: headless when the environment asks for it, else the X
// display named by $DISPLAY. A desktop program that cannot reach its display must not run
// unseen: answers false with the reason ("cannot open display :1"), or true with it empty.
bool UserOpenProgramDisplay(std::string& problem);
// What a desktop program started without a display tells the user after the reason.
inline constexpr const char* kNoScreenAdvice =
    "to use it on a machine without a screen, see \"Without a screen of your own\" in README.md";
// Reads back what the X server shows of a top-level window (X11 backend only; false otherwise).
bool UserReadBackWindow(HWND window, class Surface* into);
