#include "RootScreen.h"

#include "platform/win/gdi/Surface.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef Region

#include <cstdint>

bool ReadRootScreen(const std::string& displayName, int width, int height, Surface& into)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return false;
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image) {
        into.Resize(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                into.SetPixel(x, y, static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return image != nullptr;
}
