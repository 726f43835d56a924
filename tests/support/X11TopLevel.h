// Top-level X windows seen from a second, plain Xlib connection of a test: the children of
// the root window, found by the title the window system gave them.
#pragma once

// Xlib's names that the window system and the class library use as well.
#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Region

#include <cstring>

enum class X11Shown { Any, Viewable };

// The first top-level window of the display titled `title` (0 when there is none); with
// X11Shown::Viewable, only one that is mapped and viewable counts.
inline Window FindTopLevelX11Window(Display* x, const char* title, X11Shown shown = X11Shown::Any)
{
    Window root = DefaultRootWindow(x), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(x, root, &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(x, children[i], &name) && name) {
            XWindowAttributes a{};
            if (std::strcmp(name, title) == 0 &&
                (shown == X11Shown::Any ||
                 (XGetWindowAttributes(x, children[i], &a) && a.map_state == IsViewable)))
                found = children[i];
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}
