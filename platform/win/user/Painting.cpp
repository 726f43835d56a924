// Update regions, WM_PAINT generation, BeginPaint/EndPaint and window device contexts.
// Each top-level window paints into its own surface; child windows paint into their
// top-level window's surface at their offset, clipped to their visible region.
#include "platform/win/user/Painting.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/RegionBridge.h"
#include "platform/win/user/WindowObject.h"

#include <map>

namespace {

struct DcRecord {
    HWND window;
    HWND topLevel;
    RECT area;  // what the DC can draw on, in the top-level window's surface
};

std::map<HDC, DcRecord>& Dcs() {
    static std::map<HDC, DcRecord> dcs;
    return dcs;
}

Region ClientArea(const WindowObject& w) {
    return Region(RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top});
}

// Rectangle of `w` (window rectangle or client area) in its top-level window's coordinates.
RECT AreaInTopLevel(HWND window, bool wholeWindow) {
    const RECT top = UserScreenWindowRect(UserTopLevelOf(window));
    const RECT r = wholeWindow ? UserScreenWindowRect(window) : UserScreenClientRect(window);
    return {r.left - top.left, r.top - top.top, r.right - top.left, r.bottom - top.top};
}

Region ShapeInTopLevel(HWND window) {
    WindowObject* w = UserFindWindow(window);
    Region shape = w->shape ? *w->shape : Region(RECT{0, 0, w->Width(), w->Height()});
    const RECT r = AreaInTopLevel(window, true);
    shape.Offset(r.left, r.top);
    return shape;
}

Region Subtract(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::Diff); }
Region Intersect(const Region& a, const Region& b) { return Region::Combine(a, b, Region::Op::And); }

Region SiblingsAbove(HWND window) {
    Region covered;
    WindowObject* w = UserFindWindow(window);
    WindowObject* parent = w ? UserFindWindow(w->parent) : nullptr;
    if (!parent || w->IsTopLevel() || !(w->style & WS_CLIPSIBLINGS))
        return covered;
    for (HWND sibling : parent->children) {
        if (sibling == window)
            break;
        WindowObject* s = UserFindWindow(sibling);
        if (s && (s->style & WS_VISIBLE))
            covered = Region::Combine(covered, ShapeInTopLevel(sibling), Region::Op::Or);
    }
    return covered;
}

// What the children cover: only inside the client area, which clips them; the frame
// (scroll bars included) stays the window's own.
Region ChildrenOf(HWND window) {
    Region covered;
    WindowObject* w = UserFindWindow(window);
    for (HWND child : w->children) {
        WindowObject* c = UserFindWindow(child);
        if (c && (c->style & WS_VISIBLE))
            covered = Region::Combine(covered, ShapeInTopLevel(child), Region::Op::Or);
    }
    return Intersect(covered, Region(AreaInTopLevel(window, false)));
}

// Visible part in top-level coordinates.
Region VisibleInTopLevel(HWND window, bool wholeWindow, bool clipChildren) {
    if (!UserReallyVisible(window))
        return Region();
    const RECT own = AreaInTopLevel(window, wholeWindow);
    Region visible = Intersect(Region(own), ShapeInTopLevel(window));
    visible = Subtract(visible, SiblingsAbove(window));
    WindowObject* w = UserFindWindow(window);
    for (HWND a = w->parent; !w->IsTopLevel();) {
        WindowObject* ancestor = UserFindWindow(a);
        if (!ancestor)
            break;
        visible = Intersect(visible, Region(AreaInTopLevel(a, false)));
        visible = Intersect(visible, ShapeInTopLevel(a));
        visible = Subtract(visible, SiblingsAbove(a));
        if (ancestor->IsTopLevel())
            break;
        a = ancestor->parent;
    }
    if (clipChildren)
        visible = Subtract(visible, ChildrenOf(window));
    return visible;
}

HDC MakeDc(HWND window, bool wholeWindow, bool clipChildren, const Region* extraClip) {
    const HWND top = UserTopLevelOf(window);
    WindowObject* t = UserFindWindow(top);
    if (!t || !t->surface)
        return nullptr;
    const RECT area = AreaInTopLevel(window, wholeWindow);
    Region clip = UserVisibleRegion(window, wholeWindow, clipChildren);
    if (extraClip)
        clip = Intersect(clip, *extraClip);
    HRGN handle = UserNewRegion(clip);
    HDC dc = GdiCreateSurfaceDC(t->surface.get(), POINT{area.left, area.top}, handle);
    DeleteObject(handle);
    RECT drawable = clip.Empty() ? RECT{} : clip.Bounds();
    OffsetRect(&drawable, area.left, area.top);
    if (dc)
        Dcs()[dc] = DcRecord{window, top, drawable};
    return dc;
}

bool NeedsPaint(const WindowObject& w) {
    return !w.update.Empty() || w.internalPaint || w.framePending;
}

HWND FindPaintable(HWND window, const MessageFilter& filter) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !(w->style & WS_VISIBLE))
        return nullptr;
    if (window != UserDesktop().handle && NeedsPaint(*w) && w->threadId == UserThreadId() &&
        filter.Accepts(window, WM_PAINT))
        return window;
    std::vector<HWND> children = w->children;
    for (HWND child : children)
        if (HWND found = FindPaintable(child, filter))
            return found;
    return nullptr;
}

void Invalidate(HWND window, const Region& area, UINT flags);

void InvalidateChildren(HWND window, const Region& area, UINT flags) {
    WindowObject* w = UserFindWindow(window);
    for (HWND child : w->children) {
        WindowObject* c = UserFindWindow(child);
        if (!c || !(c->style & WS_VISIBLE))
            continue;
        const RECT client = UserScreenClientRect(child);
        const RECT parentClient = UserScreenClientRect(window);
        Region mapped = area;
        mapped.Offset(parentClient.left - client.left, parentClient.top - client.top);
        const RECT wr = UserScreenWindowRect(child);
        Region windowArea(RECT{wr.left - parentClient.left, wr.top - parentClient.top, wr.right - parentClient.left,
                               wr.bottom - parentClient.top});
        if (Intersect(area, windowArea).Empty())
            continue;
        Invalidate(child, mapped, flags | RDW_ALLCHILDREN);
    }
}

void Invalidate(HWND window, const Region& area, UINT flags) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return;
    const Region part = Intersect(area, ClientArea(*w));
    if (flags & RDW_INVALIDATE) {
        w->update = Region::Combine(w->update, part, Region::Op::Or);
        if ((flags & RDW_ERASE) && !part.Empty())
            w->erasePending = true;
        if (flags & RDW_FRAME)
            w->framePending = true;
    }
    if (flags & RDW_INTERNALPAINT)
        w->internalPaint = true;
    if (flags & RDW_VALIDATE) {
        w->update = Subtract(w->update, part);
        if (w->update.Empty())
            w->erasePending = false;
        if (flags & RDW_NOFRAME)
            w->framePending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->internalPaint = false;
    }
    if (flags & RDW_NOERASE)
        w->erasePending = false;
    const bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (children)
        InvalidateChildren(window, area, flags);
}

void PaintNow(HWND window, bool children) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !UserReallyVisible(window))
        return;
    if (NeedsPaint(*w))
        UserSend(window, WM_PAINT, 0, 0);
    if (!children || !(w = UserFindWindow(window)))
        return;
    std::vector<HWND> list = w->children;
    for (HWND child : list)
        PaintNow(child, true);
}

void EraseNow(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !UserReallyVisible(window))
        return;
    if (w->framePending) {
        w->framePending = false;
        UserSend(window, WM_NCPAINT, 1, 0);
    }
    if ((w = UserFindWindow(window)) && w->erasePending) {
        w->erasePending = false;
        HDC dc = GetDCEx(window, nullptr, DCX_INTERSECTUPDATE);
        UserSend(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(window, dc);
    }
}

Region RegionArgument(HWND window, const RECT* rect, HRGN region) {
    WindowObject* w = UserFindWindow(window);
    if (region) {
        std::optional<Region> r = UserRegionOf(region);
        return r ? *r : Region();
    }
    if (rect)
        return Region(*rect);
    return ClientArea(*w);
}

}  // namespace

Region UserVisibleRegion(HWND window, bool wholeWindow, bool clipChildren) {
    if (!UserFindWindow(window))
        return Region();
    Region visible = VisibleInTopLevel(window, wholeWindow, clipChildren);
    const RECT area = AreaInTopLevel(window, wholeWindow);
    visible.Offset(-area.left, -area.top);
    return visible;
}

bool UserTakePaintMessage(MSG* out, const MessageFilter& filter) {
    for (HWND top : std::vector<HWND>(UserDesktop().children)) {
        if (HWND window = FindPaintable(top, filter)) {
            POINT pt{};
            GetCursorPos(&pt);
            *out = MSG{window, WM_PAINT, 0, 0, GetMessageTime(), pt};
            return true;
        }
    }
    return false;
}

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    if (!window) {
        for (HWND top : std::vector<HWND>(UserDesktop().children))
            RedrawWindow(top, nullptr, nullptr, flags | RDW_ALLCHILDREN);
        return TRUE;
    }
    if (!IsWindow(window))
        return FALSE;
    if (!UserReallyVisible(window))
        return TRUE;
    Invalidate(window, RegionArgument(window, rect, region), flags);
    if (flags & RDW_ERASENOW)
        EraseNow(window);
    if (flags & RDW_UPDATENOW)
        PaintNow(window, (flags & RDW_ALLCHILDREN) != 0 || !(flags & RDW_NOCHILDREN));
    return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    return RedrawWindow(window, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
    if (!region)
        return InvalidateRect(window, nullptr, erase);
    return RedrawWindow(window, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND window, const RECT* rect) {
    return RedrawWindow(window, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN | (rect ? 0 : RDW_NOINTERNALPAINT));
}

BOOL ValidateRgn(HWND window, HRGN region) {
    if (!region)
        return ValidateRect(window, nullptr);
    return RedrawWindow(window, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND window) {
    if (!IsWindow(window))
        return FALSE;
    PaintNow(window, true);
    return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->update.Empty() ? RECT{} : w->update.Bounds();
    if (erase && !w->update.Empty())
        EraseNow(window);
    return UserFindWindow(window) && !UserFindWindow(window)->update.Empty() ? TRUE : FALSE;
}

int GetUpdateRgn(HWND window, HRGN region, BOOL erase) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !region)
        return ERROR;
    UserStoreRegion(region, w->update);
    const bool empty = w->update.Empty();
    const size_t count = w->update.Rects().size();
    if (erase && !empty)
        EraseNow(window);
    return empty ? NULLREGION : (count == 1 ? SIMPLEREGION : COMPLEXREGION);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !paint)
        return nullptr;
    UserCaretHideForPaint(window);
    if (w->framePending) {
        w->framePending = false;
        UserSend(window, WM_NCPAINT, 1, 0);
        if (!(w = UserFindWindow(window)))
            return nullptr;
    }
    const Region update = w->update;
    const bool erase = w->erasePending;
    w->update = Region();
    w->erasePending = false;
    w->internalPaint = false;
    HDC dc = MakeDc(window, false, (w->style & WS_CLIPCHILDREN) != 0, &update);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = update.Empty() ? RECT{} : Intersect(update, ClientArea(*w)).Bounds();
    paint->fErase = TRUE;
    if (erase && dc)
        paint->fErase = UserSend(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    else
        paint->fErase = FALSE;
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc)
        ReleaseDC(window, paint->hdc);
    UserCaretShowAfterPaint(window);
    return TRUE;
}

HDC GetDCEx(HWND window, HRGN clip, DWORD flags) {
    if (!window || window == UserDesktop().handle) {
        HDC dc = GdiCreateDesktopDC();
        if (dc)
            Dcs()[dc] = DcRecord{nullptr, nullptr, RECT{}};
        return dc;
    }
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return nullptr;
    const bool whole = (flags & DCX_WINDOW) != 0;
    const bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN);
    std::optional<Region> extra;
    if ((flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) && clip) {
        std::optional<Region> given = UserRegionOf(clip);
        Region all(RECT{-0x4000, -0x4000, 0x4000, 0x4000});
        if (given)
            extra = (flags & DCX_INTERSECTRGN) ? *given : Subtract(all, *given);
    }
    if (flags & DCX_INTERSECTUPDATE)
        extra = extra ? Intersect(*extra, w->update) : w->update;
    return MakeDc(window, whole, clipChildren, extra ? &*extra : nullptr);
}

HDC GetDC(HWND window) { return GetDCEx(window, nullptr, 0); }
HDC GetWindowDC(HWND window) { return GetDCEx(window, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND window, HDC dc) {
    auto& dcs = Dcs();
    auto it = dcs.find(dc);
    if (it == dcs.end())
        return 0;
    const HWND top = it->second.topLevel;
    const RECT area = it->second.area;
    dcs.erase(it);
    GdiDeleteSurfaceDC(dc);
    if (top && IsWindow(top) && !IsRectEmpty(&area))
        UserDisplay().SurfaceChanged(top, area);
    return 1;
}

HWND WindowFromDC(HDC dc) {
    auto it = Dcs().find(dc);
    return it == Dcs().end() ? nullptr : it->second.window;
}

void UserResetPainting() {
    for (auto& [dc, record] : Dcs())
        GdiDeleteSurfaceDC(dc);
    Dcs().clear();
}
