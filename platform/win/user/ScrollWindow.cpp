// ScrollWindow and ScrollWindowEx. Windows paint into a retained surface, so instead of
// copying pixels the scrolled area is repainted, which gives the same picture.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/RegionBridge.h"
#include "platform/win/user/WindowObject.h"

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
    if (flags & SW_SCROLLCHILDREN)
        MoveChildren(window, dx, dy, scroll);
    if (update)
        UserStoreRegion(update, Region(area));
    if (updateRect)
        *updateRect = area;
    if (flags & SW_INVALIDATE)
        RedrawWindow(window, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | ((flags & SW_ERASE) ? RDW_ERASE : 0));
    return (area.right > area.left && area.bottom > area.top) ? SIMPLEREGION : NULLREGION;
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
    const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(window, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}
