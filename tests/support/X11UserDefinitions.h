// The definitions of X11User (X11User.h), to be included by exactly one file of a test
// folder that includes nothing of the class library.
#pragma once

#include "tests/support/X11TopLevel.h"
#include "tests/support/X11User.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

namespace {

Display* Connection(void* display) { return static_cast<Display*>(display); }

template <class Test>
bool WithinMilliseconds(int milliseconds, Test test)
{
    using namespace std::chrono;
    for (auto end = steady_clock::now() + std::chrono::milliseconds(milliseconds); steady_clock::now() < end;
         std::this_thread::sleep_for(20ms))
        if (test())
            return true;
    return false;
}

// The viewable top-level window titled so that has the keyboard, other than `besides`.
Window FocusedTopLevel(Display* x, const std::string& title, Window besides)
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x, &focus, &revert);
    if (focus <= PointerRoot || focus == besides)
        return 0;
    char* name = nullptr;
    XWindowAttributes a{};
    const bool titled = XFetchName(x, focus, &name) && name && title == name;
    if (name)
        XFree(name);
    return titled && XGetWindowAttributes(x, focus, &a) && a.map_state == IsViewable ? focus : 0;
}

} // namespace

X11User::X11User(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

X11User::~X11User()
{
    if (display_)
        XCloseDisplay(Connection(display_));
}

void X11User::RestPointer(int x, int y)
{
    Display* d = Connection(display_);
    XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y);
    XSync(d, False);
}

unsigned long X11User::WaitForKeyboard(const std::string& title, int milliseconds, unsigned long besides)
{
    Window found = 0;
    WithinMilliseconds(milliseconds,
                       [&] { return (found = FocusedTopLevel(Connection(display_), title, besides)) != 0; });
    return found;
}

bool X11User::WaitUntilGone(unsigned long window, int milliseconds)
{
    Display* d = Connection(display_);
    return WithinMilliseconds(milliseconds, [&] {
        XWindowAttributes a{};
        return !XGetWindowAttributes(d, window, &a) || a.map_state != IsViewable;
    });
}

void X11User::SendKey(unsigned long keySymbol, bool down, unsigned state)
{
    Display* d = Connection(display_);
    const Window root = DefaultRootWindow(d);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    XEvent e{};
    e.xkey.type = down ? KeyPress : KeyRelease;
    e.xkey.display = d;
    e.xkey.window = focus > PointerRoot ? focus : root;
    e.xkey.root = root;
    e.xkey.time = CurrentTime;
    e.xkey.same_screen = True;
    e.xkey.state = state;
    e.xkey.keycode = XKeysymToKeycode(d, keySymbol);
    XSendEvent(d, InputFocus, True, down ? KeyPressMask : KeyReleaseMask, &e);
    XSync(d, False);
}

void X11User::Press(const char* key, std::initializer_list<const char*> held)
{
    unsigned state = 0;
    for (const char* modifier : held) {
        const KeySym symbol = XStringToKeysym(modifier);
        SendKey(symbol, true, state);
        state |= symbol == XK_Shift_L || symbol == XK_Shift_R ? ShiftMask : Mod1Mask;
    }
    const KeySym symbol = XStringToKeysym(key);
    SendKey(symbol, true, state);
    SendKey(symbol, false, state);
    for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
        SendKey(XStringToKeysym(*modifier), false, state);
}

void X11User::Type(const std::string& text)
{
    Display* d = Connection(display_);
    for (const char c : text) {
        const KeySym symbol = static_cast<unsigned char>(c);
        // A character that is not the key's first symbol needs Shift.
        const bool shift = XkbKeycodeToKeysym(d, XKeysymToKeycode(d, symbol), 0, 0) != symbol;
        const unsigned state = shift ? ShiftMask : 0;
        if (shift)
            SendKey(XK_Shift_L, true, 0);
        SendKey(symbol, true, state);
        SendKey(symbol, false, state);
        if (shift)
            SendKey(XK_Shift_L, false, state);
    }
}

std::pair<int, int> X11User::Size(unsigned long window)
{
    XWindowAttributes a{};
    XGetWindowAttributes(Connection(display_), window, &a);
    return {a.width, a.height};
}

void X11User::Click(unsigned long window, int x, int y)
{
    Display* d = Connection(display_);
    const Window root = DefaultRootWindow(d);
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, window, root, x, y, &rootX, &rootY, &child);
    RestPointer(rootX, rootY);
    for (const bool down : {true, false}) {
        XEvent e{};
        e.xbutton.type = down ? ButtonPress : ButtonRelease;
        e.xbutton.display = d;
        e.xbutton.window = window;
        e.xbutton.root = root;
        e.xbutton.time = CurrentTime;
        e.xbutton.x = x;
        e.xbutton.y = y;
        e.xbutton.x_root = rootX;
        e.xbutton.y_root = rootY;
        e.xbutton.button = Button1;
        e.xbutton.state = down ? 0 : Button1Mask;
        e.xbutton.same_screen = True;
        XSendEvent(d, window, True, down ? ButtonPressMask : ButtonReleaseMask, &e);
        XSync(d, False);
    }
}
