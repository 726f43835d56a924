// ScrollWindow and ScrollWindowEx. The bits of the scrolled area move within the top-level
// window's retained surface, as on the screen; only what no visible bits came from (the
// uncovered strip, and what lay hidden) is invalid afterwards. A picture that depends on
// where it stands (a background seen through a transparent window) therefore stays
// shifted until its owner repaints it.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/RegionBridge.h"
#include "platform/win/user/WindowObject.h"

#include <vector>

namespace {

void MoveChildren(HWND window, int dx, int dy, const RECT* scroll) {
    WindowObject* w = UserFindWindow(window);
    std::vector<HWND> children = w->children;
    for (HWND child : children) {
        WindowObject* c = UserFindWindow(child);
        if (!c)
            continue;
        const RECT r = c->rect;
        if (scroll) {
            RECT common{};
            if (!IntersectRect(&common, &r, scroll))
                continue;
        }
        SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

Region Intersect(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::And); }

// Copies the visible bits of `area` (client coordinates) by (dx, dy) within `area`; answers
// the part of the area that received visible bits.
Region MoveBits(HWND window, const RECT& area, int dx, int dy) {
    const HWND top = UserTopLevelOf(window);
    WindowObject* t = UserFindWindow(top);
    if (!t || !t->surface || !UserReallyVisible(window))
        return Region();
    const Region visible = Intersect(UserVisibleRegion(window, false, false), Region(area));
    Region moved = visible;
    moved.Offset(dx, dy);
    moved = Intersect(moved, visible);
    if (moved.Empty())
        return moved;
    const RECT topRect = UserScreenWindowRect(top);
    const RECT client = UserScreenClientRect(window);
    const int ox = client.left - topRect.left, oy = client.top - topRect.top;
    Surface& surface = *t->surface;
    // Sources and targets overlap: read every source pixel before writing any.
    std::vector<std::pair<POINT, std::uint32_t>> pixels;
    for (const RECT& r : moved.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back({POINT{x, y}, surface.Pixel(ox + x - dx, oy + y - dy)});
    for (const auto& [p, rgb] : pixels)
        surface.SetPixel(ox + p.x, oy + p.y, rgb);
    RECT shown = moved.Bounds();
    OffsetRect(&shown, ox, oy);
    UserDisplay().SurfaceChanged(top, shown);
    return moved;
}

// The part of the window's pending update region inside the area, moved with the bits.
Region MovedUpdate(HWND window, const RECT& area, int dx, int dy) {
    Region pending = Intersect(UserFindWindow(window)->update, Region(area));
    pending.Offset(dx, dy);
    return Intersect(pending, Region(area));
}

}  // namespace

int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return ERROR;
    RECT area{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    if (scroll)
        IntersectRect(&area, &area, scroll);
    if (clip)
        IntersectRect(&area, &area, clip);
    const Region received = MoveBits(window, area, dx, dy);
    Region invalid = Region::Combine(Region(area), received, Region::Op::Diff);
    if (flags & SW_INVALIDATE)
        invalid = Region::Combine(invalid, MovedUpdate(window, area, dx, dy), Region::Op::Or);
    if (flags & SW_SCROLLCHILDREN)
        MoveChildren(window, dx, dy, scroll);
    if (update)
        UserStoreRegion(update, invalid);
    if (updateRect)
        *updateRect = invalid.Empty() ? RECT{} : invalid.Bounds();
    if ((flags & SW_INVALIDATE) && !invalid.Empty()) {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        UserStoreRegion(region, invalid);
        RedrawWindow(window, nullptr, region, RDW_INVALIDATE | RDW_ALLCHILDREN | ((flags & SW_ERASE) ? RDW_ERASE : 0));
        DeleteObject(region);
    }
    if (invalid.Empty())
        return NULLREGION;
    return invalid.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
    const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(window, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
