#include "platform/win/user/X11Shape.h"

#include "platform/win/user/WindowObject.h"

// Xlib's own region type would clash with the window system's Region.
#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#undef Region

#include <algorithm>
#include <climits>
#include <vector>

namespace {

bool HasShapeExtension(Display* display)
{
    int eventBase = 0, errorBase = 0;
    return XShapeQueryExtension(display, &eventBase, &errorBase) != 0;
}

// X rectangles hold 16-bit positions and sizes; a region reaching past them is cut there.
XRectangle ToX(const RECT& r)
{
    auto position = [](LONG v) { return static_cast<short>(std::clamp<LONG>(v, SHRT_MIN, SHRT_MAX)); };
    auto extent = [](LONG from, LONG to) { return static_cast<unsigned short>(std::clamp<LONG>(to - from, 0, USHRT_MAX)); };
    const short x = position(r.left), y = position(r.top);
    return XRectangle{x, y, extent(x, r.right), extent(y, r.bottom)};
}

} // namespace

void X11ApplyWindowShape(_XDisplay* display, unsigned long xWindow, const WindowObject& window)
{
    if (!HasShapeExtension(display))
        return;
    if (!window.shape) {
        XShapeCombineMask(display, xWindow, ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    std::vector<XRectangle> rects;
    for (const RECT& r : window.shape->Rects())
        rects.push_back(ToX(r));
    // An empty region leaves nothing of the window to see, as on the original system.
    XShapeCombineRectangles(display, xWindow, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                            ShapeSet, YXBanded);
}
