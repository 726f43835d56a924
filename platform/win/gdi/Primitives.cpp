// Pixels, lines, polygons, rectangles, ellipses, arcs and fills.
#include "platform/win/gdi/Path.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/gdi/Stroke.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<POINT> TargetPoints(const DcObj& dc, const POINT* points, int count) {
    std::vector<POINT> out;
    for (int i = 0; i < count; ++i)
        out.push_back(dc.ToTarget(points[i].x, points[i].y));
    return out;
}

RECT TargetRect(const DcObj& dc, int left, int top, int right, int bottom) {
    const POINT a = dc.ToTarget(left, top), b = dc.ToTarget(right, bottom);
    return NormalizedRect(a.x, a.y, b.x, b.y);
}

void StrokeFigure(Stroker& stroker, const std::vector<POINT>& points, bool closed) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        stroker.Segment(points[i], points[i + 1]);
    if (closed && points.size() > 1)
        stroker.Segment(points.back(), points.front());
}

std::string PointArgs(const POINT* points, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += (i ? ";" : "") + std::to_string(points[i].x) + "," + std::to_string(points[i].y);
    return out;
}

// Box covered by a pen of width w centred on the outline of [l, r) x [t, b).
RECT PenOuterBox(const RECT& box, const PenObj& pen) {
    const int w = pen.width;
    if (w <= 1 || pen.Style() == PS_INSIDEFRAME)
        return box;
    return {box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
}

RECT Inset(const RECT& r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

bool PenVisible(const DcObj& dc) {
    const PenObj* pen = dc.Pen();
    return pen && pen->Style() != PS_NULL;
}

// A closed shape drawn with the pen's ring and the brush's interior.
enum class ShapeKind { Rect, Ellipse, RoundRect };

Region ShapeOf(ShapeKind kind, const RECT& r, int ew, int eh, const RECT& limit) {
    switch (kind) {
    case ShapeKind::Rect: return Region::Combine(Region(r), Region(limit), Region::Op::And);
    case ShapeKind::Ellipse: return EllipseShape(r.left, r.top, r.right, r.bottom, limit);
    case ShapeKind::RoundRect: return RoundRectShape(r.left, r.top, r.right, r.bottom, ew, eh, limit);
    }
    return {};
}

void DrawClosedShape(DcObj& dc, ShapeKind kind, const RECT& box, int ew, int eh) {
    const Ink brush = BrushInk(dc, CurrentBrush(dc), dc.state.rop2);
    if (!PenVisible(dc)) {
        // Without a pen the fill stops one pixel short on the right and bottom.
        const RECT inner{box.left, box.top, box.right - 1, box.bottom - 1};
        PaintShape(dc, ShapeOf(kind, inner, ew, eh, TargetBounds(dc)), brush);
        return;
    }
    const PenObj& pen = *dc.Pen();
    const RECT outer = PenOuterBox(box, pen);
    const int w = pen.width;
    const RECT innerBox = Inset(outer, w);
    const RECT limit = TargetBounds(dc);
    const Region inner = ShapeOf(kind, innerBox, ew - 2 * w, eh - 2 * w, limit);
    PaintShape(dc, inner, brush);
    const UINT style = pen.Style();
    if (kind == ShapeKind::Rect && w == 1 && style != PS_SOLID && style != PS_INSIDEFRAME) {
        Stroker stroker(dc);
        StrokeFigure(stroker, {{box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1},
                               {box.left, box.bottom - 1}}, true);
        stroker.Paint();
        return;
    }
    PaintShape(dc, Region::Combine(ShapeOf(kind, outer, ew, eh, limit), inner, Region::Op::Diff), PenInk(dc));
}

BOOL ClosedShape(HDC handle, const char* name, ShapeKind kind, int l, int t, int r, int b, int ew, int eh) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, name, FormatArgs({l, t, r, b, ew, eh}));
    const RECT box = TargetRect(*dc, l, t, r, b);
    if (PathOpen(*dc)) {
        if (kind == ShapeKind::Rect) {
            PathAddFigure(*dc, {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom},
                                {box.left, box.bottom}}, true);
        } else {
            const Region shape = ShapeOf(kind, box, ew, eh, kRegionLimit);
            // The outline of the scan-converted shape, as one closed figure per side.
            std::vector<POINT> left, right;
            for (const Region::Band& band : shape.Bands()) {
                left.push_back({band.spans.front().first, band.top});
                left.push_back({band.spans.front().first, band.bottom});
                right.push_back({band.spans.back().second, band.top});
                right.push_back({band.spans.back().second, band.bottom});
            }
            std::vector<POINT> outline(right.begin(), right.end());
            outline.insert(outline.end(), left.rbegin(), left.rend());
            PathAddFigure(*dc, outline, true);
        }
        return TRUE;
    }
    DrawClosedShape(*dc, kind, box, ew, eh);
    return TRUE;
}

// ---------------------------------------------------------------- arcs

struct ArcGeometry {
    double cx, cy, a, b;
    double start, span;  // radians, counter-clockwise on screen
    POINT startPoint, endPoint;
};

double ScreenAngle(double x, double y, double cx, double cy) { return std::atan2(-(y - cy), x - cx); }

POINT OnEllipse(const ArcGeometry& g, double angle) {
    const double dx = std::cos(angle), dy = -std::sin(angle);
    const double t = 1.0 / std::sqrt((dx * dx) / (g.a * g.a) + (dy * dy) / (g.b * g.b));
    return {static_cast<LONG>(std::lround(g.cx + dx * t - 0.5)), static_cast<LONG>(std::lround(g.cy + dy * t - 0.5))};
}

ArcGeometry MakeArc(const DcObj& dc, const RECT& box, POINT s, POINT e) {
    ArcGeometry g{};
    g.cx = (box.left + box.right) / 2.0;
    g.cy = (box.top + box.bottom) / 2.0;
    g.a = (box.right - box.left) / 2.0;
    g.b = (box.bottom - box.top) / 2.0;
    double as = ScreenAngle(s.x, s.y, g.cx, g.cy), ae = ScreenAngle(e.x, e.y, g.cx, g.cy);
    if (dc.state.arcDirection == AD_CLOCKWISE)
        std::swap(as, ae);
    g.start = as;
    g.span = std::fmod(ae - as + 4 * kPi, 2 * kPi);
    if (g.span == 0)
        g.span = 2 * kPi;
    g.startPoint = OnEllipse(g, as);
    g.endPoint = OnEllipse(g, as + g.span);
    return g;
}

bool InSector(const ArcGeometry& g, double x, double y) {
    const double d = std::fmod(ScreenAngle(x, y, g.cx, g.cy) - g.start + 4 * kPi, 2 * kPi);
    return d <= g.span;
}

// Keeps the pixels of a region whose centres pass the test.
template <class Test>
Region Filter(const Region& region, Test test) {
    if (region.Empty())
        return {};
    const RECT box = region.Bounds();
    std::vector<std::vector<Region::Span>> rows(static_cast<std::size_t>(box.bottom - box.top));
    for (const RECT& r : region.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (test(x + 0.5, y + 0.5))
                    rows[static_cast<std::size_t>(y - box.top)].emplace_back(x, x + 1);
    return Region::FromRows(box.top, std::move(rows));
}

enum class ArcKind { Arc, Pie, Chord };

BOOL ArcShape(HDC handle, const char* name, ArcKind kind, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, name, FormatArgs({l, t, r, b, xs, ys, xe, ye}));
    const RECT box = TargetRect(*dc, l, t, r, b);
    if (box.right - box.left < 2 || box.bottom - box.top < 2)
        return TRUE;
    const ArcGeometry g = MakeArc(*dc, box, dc->ToTarget(xs, ys), dc->ToTarget(xe, ye));
    const PenObj* pen = dc->Pen();
    const int w = PenVisible(*dc) ? pen->width : 0;
    // Without a pen the fill stops one pixel short on the right and bottom, as for ellipses.
    const RECT outer = w ? PenOuterBox(box, *pen) : RECT{box.left, box.top, box.right - 1, box.bottom - 1};
    const RECT limit = TargetBounds(*dc);
    const Region inner = EllipseShape(outer.left + w, outer.top + w, outer.right - w, outer.bottom - w, limit);
    const POINT centre{static_cast<LONG>(std::floor(g.cx)), static_cast<LONG>(std::floor(g.cy))};
    if (kind != ArcKind::Arc) {
        const double mid = g.start + g.span / 2;
        const double mx = g.cx + g.a * std::cos(mid), my = g.cy - g.b * std::sin(mid);
        const double sx = g.startPoint.x + 0.5, sy = g.startPoint.y + 0.5;
        const double ex = g.endPoint.x + 0.5, ey = g.endPoint.y + 0.5;
        const double side = (ex - sx) * (my - sy) - (ey - sy) * (mx - sx);
        const Region fill = kind == ArcKind::Pie
            ? Filter(inner, [&](double x, double y) { return InSector(g, x, y); })
            : Filter(inner, [&](double x, double y) {
                  const double c = (ex - sx) * (y - sy) - (ey - sy) * (x - sx);
                  return c * side >= 0;
              });
        PaintShape(*dc, fill, BrushInk(*dc, CurrentBrush(*dc), dc->state.rop2));
    }
    if (!w)
        return TRUE;
    const Region ring = Region::Combine(EllipseShape(outer.left, outer.top, outer.right, outer.bottom, limit), inner,
                                        Region::Op::Diff);
    PixelSet outline;
    outline.AddRegion(Filter(ring, [&](double x, double y) { return InSector(g, x, y); }));
    Stroker lines(*dc);
    if (kind == ArcKind::Pie) {
        lines.Segment(centre, g.startPoint);
        lines.Segment(g.endPoint, centre);
    } else if (kind == ArcKind::Chord) {
        lines.Segment(g.endPoint, g.startPoint);
    }
    PaintShape(*dc, outline.ToRegion(), PenInk(*dc));
    lines.Paint();
    return TRUE;
}

} // namespace

// ---------------------------------------------------------------- pixels

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return CLR_INVALID;
    RecordCall(*dc, "SetPixel", FormatArgs({x, y, static_cast<long long>(color)}));
    const POINT p = dc->ToTarget(x, y);
    const PixelBuffer target = dc->Target();
    if (!dc->VisibleInTarget().Contains(p.x, p.y))
        return CLR_INVALID;
    const std::uint32_t rgb = Quantize(target, RgbFromColorRef(color));
    target.Put(p.x, p.y, rgb);
    return ColorRefFromRgb(rgb);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC handle, int x, int y) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return CLR_INVALID;
    const POINT p = dc->ToTarget(x, y);
    if (!dc->VisibleInTarget().Contains(p.x, p.y))
        return CLR_INVALID;
    return ColorRefFromRgb(dc->Target().Get(p.x, p.y));
}

// ---------------------------------------------------------------- lines

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.position;
    dc->state.position = {x, y};
    if (PathOpen(*dc))
        PathMoveTo(*dc, dc->ToTarget(x, y));
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, "LineTo", FormatArgs({dc->state.position.x, dc->state.position.y, x, y}));
    const POINT from = dc->ToTarget(dc->state.position.x, dc->state.position.y), to = dc->ToTarget(x, y);
    dc->state.position = {x, y};
    if (PathOpen(*dc)) {
        PathLineTo(*dc, to);
        return TRUE;
    }
    Stroker stroker(*dc);
    stroker.Segment(from, to);
    stroker.Paint();
    return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !points || count < 2)
        return FALSE;
    RecordCall(*dc, "Polyline", PointArgs(points, count));
    const std::vector<POINT> pts = TargetPoints(*dc, points, count);
    if (PathOpen(*dc)) {
        PathAddFigure(*dc, pts, false);
        return TRUE;
    }
    Stroker stroker(*dc);
    StrokeFigure(stroker, pts, false);
    stroker.Paint();
    return TRUE;
}

BOOL PolylineTo(HDC handle, const POINT* points, DWORD count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !points)
        return FALSE;
    std::vector<POINT> all{dc->state.position};
    all.insert(all.end(), points, points + count);
    if (count == 0)
        return TRUE;
    const BOOL ok = Polyline(handle, all.data(), static_cast<int>(all.size()));
    dc->state.position = points[count - 1];
    return ok;
}

BOOL PolyPolyline(HDC handle, const POINT* points, const DWORD* counts, DWORD polylines) {
    if (!LookupDC(handle) || !points || !counts)
        return FALSE;
    for (DWORD i = 0; i < polylines; ++i) {
        Polyline(handle, points, static_cast<int>(counts[i]));
        points += counts[i];
    }
    return TRUE;
}

BOOL PolyBezier(HDC handle, const POINT* points, DWORD count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !points || count < 4 || (count - 1) % 3 != 0)
        return FALSE;
    RecordCall(*dc, "PolyBezier", PointArgs(points, static_cast<int>(count)));
    std::vector<POINT> pts = TargetPoints(*dc, points, static_cast<int>(count));
    std::vector<POINT> flat{pts[0]};
    for (DWORD i = 0; i + 3 < count; i += 3) {
        const std::vector<POINT> piece = FlattenBezier(pts[i], pts[i + 1], pts[i + 2], pts[i + 3]);
        flat.insert(flat.end(), piece.begin(), piece.end());
    }
    if (PathOpen(*dc)) {
        PathAddFigure(*dc, flat, false);
        return TRUE;
    }
    Stroker stroker(*dc);
    StrokeFigure(stroker, flat, false);
    stroker.Paint();
    return TRUE;
}

BOOL PolyBezierTo(HDC handle, const POINT* points, DWORD count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !points || count < 3 || count % 3 != 0)
        return FALSE;
    std::vector<POINT> all{dc->state.position};
    all.insert(all.end(), points, points + count);
    const BOOL ok = PolyBezier(handle, all.data(), static_cast<DWORD>(all.size()));
    dc->state.position = points[count - 1];
    return ok;
}

// ---------------------------------------------------------------- polygons

BOOL PolyPolygon(HDC handle, const POINT* points, const INT* counts, int polygons) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !points || !counts || polygons <= 0)
        return FALSE;
    std::vector<std::vector<POINT>> figures;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2)
            return FALSE;
        RecordCall(*dc, "Polygon", PointArgs(points, counts[i]));
        figures.push_back(TargetPoints(*dc, points, counts[i]));
        points += counts[i];
    }
    if (PathOpen(*dc)) {
        for (const auto& f : figures)
            PathAddFigure(*dc, f, true);
        return TRUE;
    }
    PaintShape(*dc, PolygonShape(figures, dc->state.fillMode, TargetBounds(*dc)),
               BrushInk(*dc, CurrentBrush(*dc), dc->state.rop2));
    Stroker stroker(*dc);
    for (const auto& f : figures)
        StrokeFigure(stroker, f, true);
    stroker.Paint();
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) { return PolyPolygon(handle, points, &count, 1); }

// ---------------------------------------------------------------- closed shapes

BOOL Rectangle(HDC dc, int l, int t, int r, int b) { return ClosedShape(dc, "Rectangle", ShapeKind::Rect, l, t, r, b, 0, 0); }
BOOL Ellipse(HDC dc, int l, int t, int r, int b) { return ClosedShape(dc, "Ellipse", ShapeKind::Ellipse, l, t, r, b, 0, 0); }
BOOL RoundRect(HDC dc, int l, int t, int r, int b, int w, int h) {
    return ClosedShape(dc, "RoundRect", ShapeKind::RoundRect, l, t, r, b, w, h);
}
BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcShape(dc, "Arc", ArcKind::Arc, l, t, r, b, xs, ys, xe, ye);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcShape(dc, "Pie", ArcKind::Pie, l, t, r, b, xs, ys, xe, ye);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcShape(dc, "Chord", ArcKind::Chord, l, t, r, b, xs, ys, xe, ye);
}

// ---------------------------------------------------------------- fills

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
    DcObj* dc = LookupDC(handle);
    const BrushObj* b = dc ? ResolveBrush(*dc, brush) : nullptr;
    if (!dc || !rect || !b)
        return 0;
    if (dc->recording)
        RecordCall(*dc, "FillRect", FormatArgs({rect->left, rect->top, rect->right, rect->bottom}));
    const RECT target = TargetRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (rect->left < rect->right && rect->top < rect->bottom)
        PaintShape(*dc, Region(target), BrushInk(*dc, b, R2_COPYPEN));
    return 1;
}

BOOL GdiFillColumns(HDC handle, const RECT* rect, const COLORREF* colours) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    if (dc->recording)
        RecordCall(*dc, "GdiFillColumns", FormatArgs({rect->left, rect->top, rect->right, rect->bottom}));
    if (rect->left >= rect->right || rect->top >= rect->bottom)
        return TRUE;
    if (!colours)
        return FALSE;
    std::vector<std::uint32_t> rgbs;
    for (int x = rect->left; x < rect->right; ++x)
        rgbs.push_back(RgbFromColorRef(colours[x - rect->left]));
    // Coordinates at the ends of the int range squeeze columns together: those take a shape each.
    const RECT target = TargetRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    if (target.right - target.left == rect->right - rect->left && PaintColumns(*dc, target, rgbs.data()))
        return TRUE;
    Ink ink;
    ink.kind = Ink::Kind::Color;
    for (int x = rect->left; x < rect->right; ++x) {
        ink.rgb = rgbs[static_cast<std::size_t>(x - rect->left)];
        PaintShape(*dc, Region(TargetRect(*dc, x, rect->top, x + 1, rect->bottom)), ink);
    }
    return TRUE;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
    DcObj* dc = LookupDC(handle);
    const BrushObj* b = dc ? ResolveBrush(*dc, brush) : nullptr;
    if (!dc || !rect || !b)
        return 0;
    RecordCall(*dc, "FrameRect", FormatArgs({rect->left, rect->top, rect->right, rect->bottom}));
    if (rect->left >= rect->right || rect->top >= rect->bottom)
        return 1;
    const RECT r = TargetRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    PaintShape(*dc, Region::Combine(Region(r), Region(Inset(r, 1)), Region::Op::Diff), BrushInk(*dc, b, R2_COPYPEN));
    return 1;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    RecordCall(*dc, "InvertRect", FormatArgs({rect->left, rect->top, rect->right, rect->bottom}));
    Ink invert;
    invert.kind = Ink::Kind::Color;
    invert.rop2 = R2_NOT;
    PaintShape(*dc, Region(TargetRect(*dc, rect->left, rect->top, rect->right, rect->bottom)), invert);
    return TRUE;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    DcObj* dc = LookupDC(handle);
    if (!dc || Rop3UsesSource(rop))
        return FALSE;
    RecordCall(*dc, "PatBlt", FormatArgs({x, y, width, height, static_cast<long long>(rop)}));
    Ink ink;
    ink.kind = Ink::Kind::Rop3;
    ink.rop3 = static_cast<std::uint8_t>(rop >> 16);
    ink.brush = Rop3UsesPattern(rop) ? CurrentBrush(*dc) : nullptr;
    if (Rop3UsesPattern(rop) && (!ink.brush || ink.brush->style == BS_NULL))
        return TRUE;
    PaintShape(*dc, Region(TargetRect(*dc, x, y, x + width, y + height)), ink);
    return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    RecordCall(*dc, "DrawFocusRect", FormatArgs({rect->left, rect->top, rect->right, rect->bottom}));
    const RECT r = TargetRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    // Only the part on the target is looked at: the work follows what can be seen.
    const Region frame = Region::Combine(Region::Combine(Region(r), Region(Inset(r, 1)), Region::Op::Diff),
                                         Region(TargetBounds(*dc)), Region::Op::And);
    // Every other pixel of the frame is inverted, so drawing it twice restores the pixels.
    const Region dots = Filter(frame, [&](double x, double y) {
        return ((static_cast<int>(x) - dc->origin.x + static_cast<int>(y) - dc->origin.y) & 1) == 0;
    });
    Ink invert;
    invert.kind = Ink::Kind::Color;
    invert.rop2 = R2_NOT;
    PaintShape(*dc, dots, invert);
    return TRUE;
}

// ---------------------------------------------------------------- region fills

namespace {

std::optional<Region> TargetRegion(const DcObj& dc, HRGN region) {
    RegionObj* r = LookupRegion(region);
    if (!r)
        return std::nullopt;
    Region moved = r->region;
    const POINT offset = dc.TargetOffset();
    moved.Offset(offset.x, offset.y);
    return moved;
}

} // namespace

BOOL FillRgn(HDC handle, HRGN region, HBRUSH brush) {
    DcObj* dc = LookupDC(handle);
    const BrushObj* b = dc ? ResolveBrush(*dc, brush) : nullptr;
    const std::optional<Region> shape = dc ? TargetRegion(*dc, region) : std::nullopt;
    if (!dc || !b || !shape)
        return FALSE;
    RecordCall(*dc, "FillRgn", "");
    PaintShape(*dc, *shape, BrushInk(*dc, b, dc->state.rop2));
    return TRUE;
}

BOOL PaintRgn(HDC handle, HRGN region) {
    DcObj* dc = LookupDC(handle);
    return dc && FillRgn(handle, region, dc->state.brush);
}

BOOL FrameRgn(HDC handle, HRGN region, HBRUSH brush, int width, int height) {
    DcObj* dc = LookupDC(handle);
    const BrushObj* b = dc ? ResolveBrush(*dc, brush) : nullptr;
    RegionObj* r = dc ? LookupRegion(region) : nullptr;
    if (!dc || !b || !r || width < 0 || height < 0)
        return FALSE;
    RecordCall(*dc, "FrameRgn", FormatArgs({width, height}));
    // Only the part of the region within the frame size of the visible area can show, so
    // the region is cut to that first (in its own coordinates, before it is moved to the
    // target): a complex region on a small surface stays cheap.
    const Region visible = dc->VisibleInTarget();
    if (visible.Empty())
        return TRUE;
    const RECT seen = visible.Bounds();
    const POINT offset = dc->TargetOffset();
    auto at = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
    const RECT reach{at(static_cast<long long>(seen.left) - width - offset.x),
                     at(static_cast<long long>(seen.top) - height - offset.y),
                     at(static_cast<long long>(seen.right) + width - offset.x),
                     at(static_cast<long long>(seen.bottom) + height - offset.y)};
    Region shape = Region::Combine(r->region, Region(reach), Region::Op::And);
    shape.Offset(offset.x, offset.y);
    // The inside is what stays covered when the region moves by the frame size each way.
    Region inside = shape;
    for (const POINT d : {POINT{width, 0}, POINT{-width, 0}, POINT{0, height}, POINT{0, -height}}) {
        Region moved = shape;
        moved.Offset(d.x, d.y);
        inside = Region::Combine(inside, moved, Region::Op::And);
    }
    PaintShape(*dc, Region::Combine(shape, inside, Region::Op::Diff), BrushInk(*dc, b, dc->state.rop2));
    return TRUE;
}

BOOL InvertRgn(HDC handle, HRGN region) {
    DcObj* dc = LookupDC(handle);
    const std::optional<Region> shape = dc ? TargetRegion(*dc, region) : std::nullopt;
    if (!dc || !shape)
        return FALSE;
    RecordCall(*dc, "InvertRgn", "");
    Ink invert;
    invert.kind = Ink::Kind::Color;
    invert.rop2 = R2_NOT;
    PaintShape(*dc, *shape, invert);
    return TRUE;
}
