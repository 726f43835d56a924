// The start-up benchmark's floor: the least an X program does to show a frame. It maps
// one window of the given size, fills it with one colour when the server exposes it,
// and then only waits (the benchmark ends it).
//
//   bare-window width height
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bare-window width height\n");
        return 2;
    }
    const unsigned width = static_cast<unsigned>(std::atoi(argv[1]));
    const unsigned height = static_cast<unsigned>(std::atoi(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (!display || width == 0 || height == 0) {
        std::fprintf(stderr, "bare-window: cannot open display or bad size\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask;
    const Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, width, height, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    const GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, 0xD4D0C8);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            XFillRectangle(display, window, gc, 0, 0, width, height);
            XFlush(display);
        }
    }
}
