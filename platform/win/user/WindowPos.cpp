// Window geometry: SetWindowPos with WM_WINDOWPOSCHANGING/CHANGED, ShowWindow with
// WM_SHOWWINDOW, coordinates mapping and point-to-window lookups.
#include "platform/win/user/WindowObject.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/NonClient.h"
#include "platform/win/user/RegionBridge.h"

#include <algorithm>

namespace {

// Internal flags of WINDOWPOS: the client area did not move or change size.
constexpr UINT kNoClientSize = 0x0800, kNoClientMove = 0x1000;
constexpr int kMinimisedPosition = -32000, kMinimisedWidth = 160;

void Reorder(HWND window, HWND after) {
    WindowObject* w = UserFindWindow(window);
    WindowObject* parent = w ? UserFindWindow(w->parent) : nullptr;
    if (!parent)
        return;
    auto& list = parent->children;
    std::erase(list, window);
    if (after == HWND_TOPMOST)
        w->exStyle |= WS_EX_TOPMOST;
    else if (after == HWND_NOTOPMOST)
        w->exStyle &= ~WS_EX_TOPMOST;
    auto firstPlain = [&] {
        return std::find_if(list.begin(), list.end(), [](HWND h) {
            WindowObject* o = UserFindWindow(h);
            return o && !(o->exStyle & WS_EX_TOPMOST);
        });
    };
    if (after == HWND_BOTTOM) {
        list.push_back(window);
    } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        list.insert((w->exStyle & WS_EX_TOPMOST) ? list.begin() : firstPlain(), window);
    } else {
        auto it = std::find(list.begin(), list.end(), after);
        list.insert(it == list.end() ? list.begin() : it + 1, window);
    }
}

// Repaints the parent's area a child left, and the whole of a window that appeared or changed.
void InvalidateAfterChange(HWND window, const RECT& oldRect, bool wasVisible, UINT flags, bool sizeChanged) {
    WindowObject* w = UserFindWindow(window);
    if (!w || (flags & SWP_NOREDRAW))
        return;
    const bool nowVisible = (w->style & WS_VISIBLE) != 0;
    const bool moved = !(flags & SWP_NOMOVE) || sizeChanged;
    if (!w->IsTopLevel() && wasVisible && (!nowVisible || moved || (flags & SWP_FRAMECHANGED)))
        InvalidateRect(w->parent, &oldRect, TRUE);
    if (nowVisible && (!wasVisible || (!w->IsTopLevel() && moved) || sizeChanged || (flags & SWP_FRAMECHANGED)))
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ResizeSurface(WindowObject& w) {
    if (w.surface && (w.surface->Width() != w.Width() || w.surface->Height() != w.Height()))
        w.surface->Resize(std::max(w.Width(), 1), std::max(w.Height(), 1));
}

UINT Normalise(WindowObject& w, int x, int y, int cx, int cy, UINT flags) {
    if ((flags & SWP_SHOWWINDOW) && (w.style & WS_VISIBLE))
        flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !(w.style & WS_VISIBLE))
        flags &= ~SWP_HIDEWINDOW;
    if (!(flags & SWP_NOSIZE) && cx == w.Width() && cy == w.Height())
        flags |= SWP_NOSIZE;
    if (!(flags & SWP_NOMOVE) && x == w.rect.left && y == w.rect.top)
        flags |= SWP_NOMOVE;
    return flags;
}

bool NothingToDo(UINT flags) {
    return (flags & (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER)) == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER) &&
           !(flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
}

// WM_NCCALCSIZE with the new window rectangle; answers the new client rectangle (window-relative).
RECT CalcClient(HWND window, const RECT& newRect, WINDOWPOS* pos) {
    WindowObject* w = UserFindWindow(window);
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = newRect;
    params.rgrc[1] = w->rect;
    params.rgrc[2] = {w->rect.left + w->client.left, w->rect.top + w->client.top, w->rect.left + w->client.right,
                      w->rect.top + w->client.bottom};
    params.lppos = pos;
    UserSend(window, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    const RECT c = params.rgrc[0];
    return {c.left - newRect.left, c.top - newRect.top, c.right - newRect.left, c.bottom - newRect.top};
}

}  // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowObject* w = UserFindWindow(window);
    if (!w || window == UserDesktop().handle)
        return FALSE;
    flags = Normalise(*w, x, y, cx, cy, flags);
    if (NothingToDo(flags))
        return TRUE;
    WINDOWPOS pos{window, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) { pos.x = w->rect.left; pos.y = w->rect.top; }
    if (flags & SWP_NOSIZE) { pos.cx = w->Width(); pos.cy = w->Height(); }
    if (!(flags & SWP_NOSENDCHANGING))
        UserSend(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(w = UserFindWindow(window)))
        return FALSE;
    pos.flags = Normalise(*w, pos.x, pos.y, pos.cx, pos.cy, pos.flags);

    const RECT oldRect = w->rect;
    const RECT oldClient = w->client;
    const bool wasVisible = UserReallyVisible(window);
    const RECT newRect{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    if ((pos.flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE) || (pos.flags & SWP_FRAMECHANGED)) {
        RECT client = CalcClient(window, newRect, &pos);
        if (!(w = UserFindWindow(window)))
            return FALSE;
        w->rect = newRect;
        w->client = client;
        ResizeSurface(*w);
    }
    if (!(pos.flags & SWP_NOZORDER))
        Reorder(window, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW)
        w->style &= ~WS_VISIBLE;

    const bool sizeChanged = (w->client.right - w->client.left) != (oldClient.right - oldClient.left) ||
                             (w->client.bottom - w->client.top) != (oldClient.bottom - oldClient.top) ||
                             w->Width() != oldRect.right - oldRect.left || w->Height() != oldRect.bottom - oldRect.top;
    if ((w->client.right - w->client.left) == (oldClient.right - oldClient.left) &&
        (w->client.bottom - w->client.top) == (oldClient.bottom - oldClient.top))
        pos.flags |= kNoClientSize;
    if (w->rect.left + w->client.left == oldRect.left + oldClient.left &&
        w->rect.top + w->client.top == oldRect.top + oldClient.top)
        pos.flags |= kNoClientMove;
    InvalidateAfterChange(window, oldRect, wasVisible, pos.flags, sizeChanged);

    const bool topLevel = w->IsTopLevel();
    if (topLevel) {
        DisplayBackend& display = UserDisplay();
        if (pos.flags & SWP_SHOWWINDOW)
            display.WindowShown(window);
        else if (pos.flags & SWP_HIDEWINDOW)
            display.WindowHidden(window);
        else
            display.WindowGeometryChanged(window);
    }
    // Hiding the focused child (or its ancestor) gives the focus to the hidden window's parent.
    if (!topLevel && (pos.flags & SWP_HIDEWINDOW)) {
        const HWND focus = GetFocus();
        if (focus && (focus == window || IsChild(window, focus)))
            SetFocus(UserReallyVisible(w->parent) ? w->parent : nullptr);
    }
    if (topLevel && (pos.flags & SWP_SHOWWINDOW) && !(pos.flags & SWP_NOACTIVATE))
        UserActivate(window, WA_ACTIVE);
    if (topLevel && (pos.flags & SWP_HIDEWINDOW))
        UserActivateNextAfter(window);
    UserSend(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) { return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

namespace {

bool Activates(int command) {
    return command == SW_SHOWNORMAL || command == SW_SHOW || command == SW_RESTORE ||
           command == SW_SHOWMAXIMIZED || command == SW_SHOWDEFAULT || command == SW_SHOWMINIMIZED;
}

void Minimise(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
        w->restoreRect = w->rect;
    w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
}

RECT MaximisedRect(WindowObject& w) {
    // The frame lies just outside the screen, so the caption and client fill it.
    const RECT screen = UserDesktop().rect;
    const RECT client = UserDefaultClientRect(w.style & ~WS_CAPTION, w.exStyle & ~WS_EX_CLIENTEDGE, screen);
    const int frame = client.left - screen.left;
    return {screen.left - frame, screen.top - frame, screen.right + frame, screen.bottom + frame};
}

}  // namespace

BOOL ShowWindow(HWND window, int command) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return FALSE;
    const BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        if (!wasVisible)
            return FALSE;
        UserSend(window, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return wasVisible;
    }
    if (!wasVisible) {
        UserSend(window, WM_SHOWWINDOW, TRUE, 0);
        if (!(w = UserFindWindow(window)))
            return FALSE;
    }
    UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE;
    RECT target = w->rect;
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        Minimise(window);
        target = {kMinimisedPosition, kMinimisedPosition, kMinimisedPosition + kMinimisedWidth,
                  kMinimisedPosition + CaptionHeight() + 2 * SizingFrameWidth()};
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        break;
    case SW_MAXIMIZE:
        if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            w->restoreRect = w->rect;
        w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        target = MaximisedRect(*w);
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            target = w->restoreRect;
            flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        }
        break;
    default: break;
    }
    if (!Activates(command) || (w->style & WS_CHILD))
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    SetWindowPos(window, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 flags);
    if (command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE)
        UserActivateNextAfter(window);
    return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~WS_DISABLED;
        UserSend(window, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        UserSend(window, WM_CANCELMODE, 0, 0);
        if (window == GetFocus() || IsChild(window, GetFocus()))
            SetFocus(nullptr);
        UserSend(window, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

// ---------------------------------------------------------------- coordinates

BOOL GetWindowRect(HWND window, LPRECT rect) {
    if (!rect || !IsWindow(window))
        return FALSE;
    *rect = UserScreenWindowRect(window);
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    WindowObject* w = UserFindWindow(window);
    if (!rect || !w)
        return FALSE;
    *rect = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    if (!point || !IsWindow(window))
        return FALSE;
    RECT c = UserScreenClientRect(window);
    point->x += c.left;
    point->y += c.top;
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    if (!point || !IsWindow(window))
        return FALSE;
    RECT c = UserScreenClientRect(window);
    point->x -= c.left;
    point->y -= c.top;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    const RECT a = from ? UserScreenClientRect(from) : RECT{};
    const RECT b = to ? UserScreenClientRect(to) : RECT{};
    const int dx = a.left - b.left, dy = a.top - b.top;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

bool InsideShape(WindowObject& w, POINT screen) {
    RECT r = UserScreenWindowRect(w.handle);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom)
        return false;
    return !w.shape || w.shape->Contains(screen.x - r.left, screen.y - r.top);
}

// Deepest visible window under the point, below `parent`, that does not answer HTTRANSPARENT.
HWND DeepestAt(HWND parent, POINT screen, bool useHitTest) {
    WindowObject* p = UserFindWindow(parent);
    if (!p)
        return nullptr;
    std::vector<HWND> children = p->children;
    for (HWND child : children) {
        WindowObject* c = UserFindWindow(child);
        if (!c || !(c->style & WS_VISIBLE) || !InsideShape(*c, screen))
            continue;
        // A disabled child is passed over: the point belongs to its parent.
        if ((c->style & WS_DISABLED) && !c->IsTopLevel())
            continue;
        if (!(c->style & WS_DISABLED)) {
            RECT client = UserScreenClientRect(child);
            if (screen.x >= client.left && screen.x < client.right && screen.y >= client.top && screen.y < client.bottom)
                if (HWND deeper = DeepestAt(child, screen, useHitTest))
                    return deeper;
        }
        if (useHitTest && UserSend(child, WM_NCHITTEST, 0, UserPackPoint(screen.x, screen.y)) == HTTRANSPARENT)
            continue;
        return child;
    }
    return nullptr;
}

}  // namespace

HWND WindowFromPoint(POINT screenPoint) { return DeepestAt(UserDesktop().handle, screenPoint, true); }

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
    WindowObject* p = UserFindWindow(parent);
    if (!p)
        return nullptr;
    if (clientPoint.x < 0 || clientPoint.y < 0 || clientPoint.x >= p->client.right - p->client.left ||
        clientPoint.y >= p->client.bottom - p->client.top)
        return nullptr;
    POINT screen = clientPoint;
    ClientToScreen(parent, &screen);
    for (HWND child : p->children) {
        WindowObject* c = UserFindWindow(child);
        if (!c || !InsideShape(*c, screen))
            continue;
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        return child;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) { return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL); }

int SetWindowRgn(HWND window, HRGN region, BOOL redraw) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return 0;
    if (region) {
        std::optional<Region> shape = UserRegionOf(region);
        if (!shape)
            return 0;
        w->shape = std::move(*shape);
        DeleteObject(region);
    } else {
        w->shape.reset();
    }
    if (w->IsTopLevel())
        UserDisplay().WindowShapeChanged(window);
    if (redraw && UserReallyVisible(window)) {
        if (!w->IsTopLevel()) {
            RECT area = w->rect;
            InvalidateRect(w->parent, &area, TRUE);
        }
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

int GetWindowRgn(HWND window, HRGN copyInto) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !w->shape || !copyInto)
        return ERROR;
    UserStoreRegion(copyInto, *w->shape);
    return w->shape->Empty() ? NULLREGION : (w->shape->Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION);
}
