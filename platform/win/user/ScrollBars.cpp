// Scroll-bar state, geometry and mouse tracking of the standard window scroll bars.
#include "platform/win/user/ScrollBars.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/NonClient.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>

namespace {

constexpr int kMinimumThumb = 8;

ScrollBarState* Bar(HWND window, int bar) {
    WindowObject* w = UserFindWindow(window);
    if (!w || (bar != SB_HORZ && bar != SB_VERT))
        return nullptr;
    return &w->scroll[bar];
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

int MaxPos(const ScrollBarState& s) { return std::max(s.min, s.max - std::max<int>(static_cast<int>(s.page) - 1, 0)); }

bool Scrollable(const ScrollBarState& s) { return s.max > s.min && (s.page == 0 || static_cast<int>(s.page) <= s.max - s.min); }

void RedrawFrame(HWND window) {
    if (!UserReallyVisible(window))
        return;
    // Only the bars change: the client area keeps its pixels.
    HRGN none = CreateRectRgn(0, 0, 0, 0);
    RedrawWindow(window, nullptr, none, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    DeleteObject(none);
}

void SetVisible(HWND window, int bar, bool show) {
    WindowObject* w = UserFindWindow(window);
    const DWORD bit = StyleBit(bar);
    if (((w->style & bit) != 0) == show)
        return;
    w->style = show ? (w->style | bit) : (w->style & ~bit);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Bar rectangle (window coordinates) between and including its arrows.
RECT BarRect(const WindowObject& w, int bar) {
    const RECT c = w.client;
    const int size = ScrollBarSize(bar == SB_VERT);
    return bar == SB_VERT ? RECT{c.right, c.top, c.right + size, c.bottom} : RECT{c.left, c.bottom, c.right, c.bottom + size};
}

WORD PartAt(HWND window, int bar, POINT p) {
    WindowObject* w = UserFindWindow(window);
    const RECT r = BarRect(*w, bar);
    const RECT thumb = UserScrollThumbRect(window, bar);
    const int size = ScrollArrowSize(bar == SB_VERT);
    const int along = bar == SB_VERT ? p.y : p.x;
    const int start = bar == SB_VERT ? r.top : r.left;
    const int end = bar == SB_VERT ? r.bottom : r.right;
    const int thumbStart = bar == SB_VERT ? thumb.top : thumb.left;
    const int thumbEnd = bar == SB_VERT ? thumb.bottom : thumb.right;
    if (along < start + size) return SB_LINEUP;
    if (along >= end - size) return SB_LINEDOWN;
    if (thumbEnd > thumbStart && along >= thumbStart && along < thumbEnd) return SB_THUMBTRACK;
    return along < thumbStart ? SB_PAGEUP : SB_PAGEDOWN;
}

POINT InWindow(HWND window, POINT screen) {
    const RECT wr = UserScreenWindowRect(window);
    return {screen.x - wr.left, screen.y - wr.top};
}

void Notify(HWND window, int bar, WORD code, int pos) {
    UserSend(window, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
}

bool NextMouse(MSG* m) {
    while (!PeekMessageA(m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        if (!UserDisplay().WaitForEvents(false, 0))
            return false;
    return true;
}

// Position for a thumb dragged by `delta` pixels from where it started.
int DraggedPos(HWND window, int bar, int startPos, int delta) {
    WindowObject* w = UserFindWindow(window);
    const ScrollBarState& s = w->scroll[bar];
    const RECT r = BarRect(*w, bar);
    const RECT thumb = UserScrollThumbRect(window, bar);
    const int track = (bar == SB_VERT ? r.bottom - r.top : r.right - r.left) - 2 * ScrollArrowSize(bar == SB_VERT);
    const int thumbSize = bar == SB_VERT ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    const int free = std::max(track - thumbSize, 1);
    const int range = MaxPos(s) - s.min;
    return std::clamp(startPos + delta * range / free, s.min, MaxPos(s));
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    ScrollBarState* s = Bar(window, bar);
    if (!s || !info)
        return 0;
    if (info->fMask & SIF_RANGE) {
        s->min = info->nMin;
        s->max = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE)
        s->page = std::min<UINT>(info->nPage, static_cast<UINT>(s->max - s->min + 1));
    if (info->fMask & SIF_POS)
        s->pos = info->nPos;
    s->pos = std::clamp(s->pos, s->min, MaxPos(*s));
    const int pos = s->pos;
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
        const bool scrollable = Scrollable(*s);
        s->disabled = !scrollable;
        SetVisible(window, bar, scrollable || (info->fMask & SIF_DISABLENOSCROLL));
    }
    if (redraw)
        RedrawFrame(window);
    return pos;
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    ScrollBarState* s = Bar(window, bar);
    if (!s || !info)
        return FALSE;
    if (info->fMask & SIF_RANGE) { info->nMin = s->min; info->nMax = s->max; }
    if (info->fMask & SIF_PAGE) info->nPage = s->page;
    if (info->fMask & SIF_POS) info->nPos = s->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->trackPos;
    return TRUE;
}

int SetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
    ScrollBarState* s = Bar(window, bar);
    if (!s)
        return 0;
    const int old = s->pos;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(window, bar, &info, redraw);
    return old;
}

int GetScrollPos(HWND window, int bar) {
    ScrollBarState* s = Bar(window, bar);
    return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw) {
    if (!Bar(window, bar))
        return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, min, max, 0, 0, 0};
    SetScrollInfo(window, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, INT* min, INT* max) {
    ScrollBarState* s = Bar(window, bar);
    if (!s || !min || !max)
        return FALSE;
    *min = s->min;
    *max = s->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
    if (!IsWindow(window))
        return FALSE;
    if (bar == SB_BOTH) {
        SetVisible(window, SB_HORZ, show != FALSE);
        SetVisible(window, SB_VERT, show != FALSE);
    } else if (bar == SB_HORZ || bar == SB_VERT) {
        SetVisible(window, bar, show != FALSE);
    } else {
        return FALSE;
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows) {
    for (int b : {SB_HORZ, SB_VERT}) {
        if (static_cast<int>(bar) != b && bar != static_cast<UINT>(SB_BOTH))
            continue;
        ScrollBarState* s = Bar(window, b);
        if (!s)
            return FALSE;
        s->disabled = arrows == ESB_DISABLE_BOTH;
    }
    RedrawFrame(window);
    return TRUE;
}

RECT UserScrollThumbRect(HWND window, int bar) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !(w->style & StyleBit(bar)))
        return {};
    const ScrollBarState& s = w->scroll[bar];
    if (s.disabled || !Scrollable(s))
        return {};
    const RECT r = BarRect(*w, bar);
    const int size = ScrollArrowSize(bar == SB_VERT);
    const int track = (bar == SB_VERT ? r.bottom - r.top : r.right - r.left) - 2 * size;
    if (track < kMinimumThumb)
        return {};
    const int span = s.max - s.min + 1;
    const int thumb = s.page ? std::max(kMinimumThumb, static_cast<int>(static_cast<long long>(track) * s.page / span)) : size;
    const int range = MaxPos(s) - s.min;
    const int offset = range > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * (s.pos - s.min) / range) : 0;
    if (bar == SB_VERT)
        return {r.left, r.top + size + offset, r.right, r.top + size + offset + thumb};
    return {r.left + size + offset, r.top, r.left + size + offset + thumb, r.bottom};
}

void UserTrackScrollBar(HWND window, LRESULT hit, POINT screen) {
    const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
    ScrollBarState* s = Bar(window, bar);
    if (!s || s->disabled)
        return;
    const WORD part = PartAt(window, bar, InWindow(window, screen));
    const int startPos = s->pos;
    SetCapture(window);
    if (part != SB_THUMBTRACK)
        Notify(window, bar, part, 0);
    MSG m{};
    int lastTrack = startPos;
    while (IsWindow(window) && GetCapture() == window && NextMouse(&m)) {
        if (m.message == WM_LBUTTONUP)
            break;
        if (m.message == WM_MOUSEMOVE && part == SB_THUMBTRACK) {
            const int delta = bar == SB_VERT ? m.pt.y - screen.y : m.pt.x - screen.x;
            lastTrack = DraggedPos(window, bar, startPos, delta);
            if (ScrollBarState* live = Bar(window, bar))
                live->trackPos = lastTrack;
            Notify(window, bar, SB_THUMBTRACK, lastTrack);
        }
    }
    if (GetCapture() == window)
        ReleaseCapture();
    if (!IsWindow(window))
        return;
    if (part == SB_THUMBTRACK)
        Notify(window, bar, SB_THUMBPOSITION, lastTrack);
    Notify(window, bar, SB_ENDSCROLL, 0);
}
