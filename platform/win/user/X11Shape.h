// The window region of a top-level window on the X server: the X Shape extension's
// bounding shape of its X window (which also bounds where it takes input).
#pragma once

struct _XDisplay;
struct WindowObject;

// Makes the X window's bounding shape the window's region (window coordinates), or
// the whole window again when it has none. Nothing when the server lacks the extension.
void X11ApplyWindowShape(_XDisplay* display, unsigned long xWindow, const WindowObject& window);
