// A user at an X display, as a second client of the server: waits for a top-level window
// to have the keyboard, presses keys where the keyboard goes and clicks, as real events. For
// tests that drive a program started as a process of its own. The declarations carry no
// Xlib types, so a test that sees the class library's names can use them; each test
// folder that does compiles the definitions (X11UserDefinitions.h) in one file of its own.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

class X11User {
public:
    explicit X11User(const std::string& display);
    ~X11User();
    X11User(const X11User&) = delete;
    X11User& operator=(const X11User&) = delete;

    bool Connected() const { return display_ != nullptr; }

    // Rests the pointer at that point of the screen.
    void RestPointer(int x, int y);
    // Waits up to `milliseconds` for a viewable top-level window titled `title`, other than
    // `besides`, to have the keyboard; answers it (0 when none came).
    unsigned long WaitForKeyboard(const std::string& title, int milliseconds = 10000, unsigned long besides = 0);
    // Waits up to `milliseconds` for the window to leave the screen; true when it did.
    bool WaitUntilGone(unsigned long window, int milliseconds = 10000);
    // Presses and releases a key, named as X names its symbol ("Return", "Tab", "F4"), with
    // the named modifier keys ("Alt_L", "Shift_L") held down around it.
    void Press(const char* key, std::initializer_list<const char*> held = {});
    // Types the text (ASCII) key by key, with Shift where a character needs it.
    void Type(const std::string& text);
    // The window's width and height on the screen.
    std::pair<int, int> Size(unsigned long window);
    // Moves the pointer to that point of the window and clicks the left button there.
    void Click(unsigned long window, int x, int y);

private:
    void SendKey(unsigned long keySymbol, bool down, unsigned state);

    void* display_ = nullptr;
};
