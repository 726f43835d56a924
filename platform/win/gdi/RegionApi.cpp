// Region handles and the clipping functions of a DC.
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Shapes.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

int TypeOf(const Region& region) {
    if (region.Empty())
        return NULLREGION;
    return region.Bands().size() == 1 && region.Bands().front().spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::vector<std::vector<POINT>> Polygons(const POINT* points, const INT* counts, int polygons) {
    std::vector<std::vector<POINT>> out;
    if (!points || !counts)
        return out;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return {};
        out.emplace_back(points, points + counts[i]);
        points += counts[i];
    }
    return out;
}

} // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegionHandle(Region(NormalizedRect(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    return NewRegionHandle(RoundRectShape(left, top, right, bottom, width, height));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NewRegionHandle(EllipseShape(left, top, right, bottom));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING))
        return nullptr;
    std::optional<Region> shape = PolygonRegionShape(Polygons(points, counts, polygons), fillMode);
    return shape ? NewRegionHandle(std::move(*shape)) : nullptr;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    RegionObj* d = LookupRegion(dst);
    RegionObj* a = LookupRegion(src1);
    if (!d || !a)
        return ERROR;
    if (mode == RGN_COPY) {
        d->region = a->region;
        return TypeOf(d->region);
    }
    RegionObj* b = LookupRegion(src2);
    if (!b)
        return ERROR;
    Region::Op op;
    switch (mode) {
    case RGN_AND: op = Region::Op::And; break;
    case RGN_OR: op = Region::Op::Or; break;
    case RGN_XOR: op = Region::Op::Xor; break;
    case RGN_DIFF: op = Region::Op::Diff; break;
    default: return ERROR;
    }
    d->region = Region::Combine(a->region, b->region, op);
    return TypeOf(d->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    RegionObj* r = LookupRegion(region);
    if (!r || !r->region.CanOffset(dx, dy))
        return ERROR;
    r->region.Offset(dx, dy);
    return TypeOf(r->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
    RegionObj* r = LookupRegion(region);
    return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    RegionObj* r = LookupRegion(region);
    if (!r || !rect)
        return FALSE;
    return r->region.Intersects(NormalizedRect(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b) {
    RegionObj* ra = LookupRegion(a);
    RegionObj* rb = LookupRegion(b);
    return ra && rb && ra->region == rb->region;
}

int GetRgnBox(HRGN region, LPRECT box) {
    RegionObj* r = LookupRegion(region);
    if (!r || !box)
        return ERROR;
    *box = r->region.Bounds();
    return TypeOf(r->region);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    RegionObj* r = LookupRegion(region);
    if (!r)
        return FALSE;
    r->region = Region(NormalizedRect(left, top, right, bottom));
    return TRUE;
}

DWORD GetRegionData(HRGN region, DWORD size, RGNDATA* data) {
    RegionObj* r = LookupRegion(region);
    if (!r)
        return 0;
    const std::vector<RECT> rects = r->region.Rects();
    const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data)
        return needed;
    if (size < needed)
        return 0;
    RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                         static_cast<DWORD>(rects.size() * sizeof(RECT)), r->region.Bounds()};
    std::memcpy(data, &header, sizeof header);
    if (!rects.empty())
        std::memcpy(reinterpret_cast<char*>(data) + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    return needed;
}

HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data) {
    if (!data || size < sizeof(RGNDATAHEADER))
        return nullptr;
    RGNDATAHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES ||
        header.nCount > (size - sizeof header) / sizeof(RECT))
        return nullptr;
    std::vector<RECT> rects(header.nCount);
    if (header.nCount)
        std::memcpy(rects.data(), reinterpret_cast<const char*>(data) + sizeof header, header.nCount * sizeof(RECT));
    int dx = 0, dy = 0;
    if (transform) {
        // Only translations are supported: a scaled or rotated transform, or a translation
        // that is not a number or moves a coordinate out of the int range, is rejected; a
        // fraction of a pixel is dropped.
        if (transform->eM11 != 1 || transform->eM22 != 1 || transform->eM12 != 0 || transform->eM21 != 0)
            return nullptr;
        auto whole = [](float v, int& out) {
            const double d = std::trunc(static_cast<double>(v));
            if (!(d >= INT_MIN && d <= INT_MAX))
                return false;
            out = static_cast<int>(d);
            return true;
        };
        if (!whole(transform->eDx, dx) || !whole(transform->eDy, dy))
            return nullptr;
    }
    auto fits = [](long long v) { return v >= INT_MIN && v <= INT_MAX; };
    for (RECT& rc : rects) {
        if (rc.left > rc.right || rc.top > rc.bottom)
            return nullptr;
        if (!fits(static_cast<long long>(rc.left) + dx) || !fits(static_cast<long long>(rc.right) + dx) ||
            !fits(static_cast<long long>(rc.top) + dy) || !fits(static_cast<long long>(rc.bottom) + dy))
            return nullptr;
        OffsetRect(&rc, dx, dy);
    }
    return NewRegionHandle(Region::FromRects(rects));
}

// ---------------------------------------------------------------- clipping

namespace {

int ClipType(DcObj& dc) {
    Region visible = dc.VisibleInTarget();
    return TypeOf(visible);
}

Region LogicalToDevice(const DcObj& dc, const RECT& r) {
    const POINT a = dc.ToDevice(r.left, r.top), b = dc.ToDevice(r.right, r.bottom);
    return Region(NormalizedRect(a.x, a.y, b.x, b.y));
}

// The application clip, or the whole device when there is none.
Region CurrentClip(DcObj& dc) {
    if (dc.state.clip)
        return *dc.state.clip;
    const PixelBuffer target = dc.Target();
    Region all(RECT{0, 0, target.width, target.height});
    all.Offset(-dc.origin.x, -dc.origin.y);
    return all;
}

} // namespace

int ExtSelectClipRgn(HDC handle, HRGN region, int mode) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return ERROR;
    RegionObj* r = LookupRegion(region);
    if (!r) {
        if (mode != RGN_COPY)
            return ERROR;
        dc->state.clip.reset();
        return ClipType(*dc);
    }
    if (mode == RGN_COPY) {
        dc->state.clip = r->region;
        return ClipType(*dc);
    }
    Region::Op op;
    switch (mode) {
    case RGN_AND: op = Region::Op::And; break;
    case RGN_OR: op = Region::Op::Or; break;
    case RGN_XOR: op = Region::Op::Xor; break;
    case RGN_DIFF: op = Region::Op::Diff; break;
    default: return ERROR;
    }
    dc->state.clip = Region::Combine(CurrentClip(*dc), r->region, op);
    return ClipType(*dc);
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int GetClipRgn(HDC handle, HRGN region) {
    DcObj* dc = LookupDC(handle);
    RegionObj* r = LookupRegion(region);
    if (!dc || !r)
        return -1;
    if (!dc->state.clip)
        return 0;
    r->region = *dc->state.clip;
    return 1;
}

int GetClipBox(HDC handle, LPRECT box) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !box)
        return ERROR;
    Region visible = dc->VisibleInTarget();
    const POINT offset = dc->TargetOffset();
    visible.Offset(-offset.x, -offset.y);
    *box = visible.Bounds();
    return TypeOf(visible);
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return ERROR;
    dc->state.clip = Region::Combine(CurrentClip(*dc), LogicalToDevice(*dc, {left, top, right, bottom}),
                                     Region::Op::And);
    return ClipType(*dc);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return ERROR;
    dc->state.clip = Region::Combine(CurrentClip(*dc), LogicalToDevice(*dc, {left, top, right, bottom}),
                                     Region::Op::Diff);
    return ClipType(*dc);
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return ERROR;
    if (dc->state.clip)
        dc->state.clip->Offset(dx, dy);
    return ClipType(*dc);
}

BOOL PtVisible(HDC handle, int x, int y) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    const POINT p = dc->ToTarget(x, y);
    return dc->VisibleInTarget().Contains(p.x, p.y);
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    const POINT a = dc->ToTarget(rect->left, rect->top), b = dc->ToTarget(rect->right, rect->bottom);
    return dc->VisibleInTarget().Intersects(NormalizedRect(a.x, a.y, b.x, b.y));
}
