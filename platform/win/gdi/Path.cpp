#include "platform/win/gdi/Path.h"

#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/gdi/Stroke.h"

#include <cmath>
#include <cstdlib>

bool PathOpen(const DcObj& dc) { return dc.pathOpen; }

void PathMoveTo(DcObj& dc, POINT target) { dc.path.push_back({{target}, false}); }

void PathLineTo(DcObj& dc, POINT target) {
    if (dc.path.empty() || dc.path.back().closed) {
        const POINT start = dc.path.empty() || dc.path.back().points.empty() ? target : dc.path.back().points.back();
        dc.path.push_back({{start}, false});
    }
    dc.path.back().points.push_back(target);
}

void PathAddFigure(DcObj& dc, const std::vector<POINT>& points, bool closed) {
    if (!points.empty())
        dc.path.push_back({points, closed});
}

std::vector<POINT> FlattenBezier(POINT p0, POINT p1, POINT p2, POINT p3) {
    const int length = std::abs(p1.x - p0.x) + std::abs(p1.y - p0.y) + std::abs(p2.x - p1.x) +
                       std::abs(p2.y - p1.y) + std::abs(p3.x - p2.x) + std::abs(p3.y - p2.y);
    const int steps = std::max(4, length / 3);
    std::vector<POINT> out;
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps, u = 1 - t;
        const double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
        const double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
        const POINT p{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
        if (out.empty() || out.back().x != p.x || out.back().y != p.y)
            out.push_back(p);
    }
    return out;
}

namespace {

DcObj* ReadyPath(HDC handle) {
    DcObj* dc = LookupDC(handle);
    return dc && dc->pathReady ? dc : nullptr;
}

std::vector<std::vector<POINT>> PathFigures(const DcObj& dc) {
    std::vector<std::vector<POINT>> figures;
    for (const PathFigure& f : dc.path)
        if (f.points.size() > 2)
            figures.push_back(f.points);
    return figures;
}

Region PathShape(const DcObj& dc, const RECT& limit) { return PolygonShape(PathFigures(dc), dc.state.fillMode, limit); }

void StrokeFigures(DcObj& dc) {
    Stroker stroker(dc);
    for (const PathFigure& f : dc.path) {
        for (std::size_t i = 0; i + 1 < f.points.size(); ++i)
            stroker.Segment(f.points[i], f.points[i + 1]);
        if (f.closed && f.points.size() > 1)
            stroker.Segment(f.points.back(), f.points.front());
    }
    stroker.Paint();
}

void Discard(DcObj& dc) {
    dc.path.clear();
    dc.pathReady = false;
}

} // namespace

BOOL BeginPath(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, "BeginPath", "");
    dc->path.clear();
    dc->pathOpen = true;
    dc->pathReady = false;
    return TRUE;
}

BOOL EndPath(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !dc->pathOpen)
        return FALSE;
    RecordCall(*dc, "EndPath", "");
    dc->pathOpen = false;
    dc->pathReady = true;
    return TRUE;
}

BOOL AbortPath(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    dc->pathOpen = false;
    Discard(*dc);
    return TRUE;
}

BOOL CloseFigure(HDC handle) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !dc->pathOpen || dc->path.empty())
        return FALSE;
    dc->path.back().closed = true;
    return TRUE;
}

BOOL StrokePath(HDC handle) {
    DcObj* dc = ReadyPath(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, "StrokePath", "");
    StrokeFigures(*dc);
    Discard(*dc);
    return TRUE;
}

BOOL FillPath(HDC handle) {
    DcObj* dc = ReadyPath(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, "FillPath", "");
    PaintShape(*dc, PathShape(*dc, TargetBounds(*dc)), BrushInk(*dc, CurrentBrush(*dc), dc->state.rop2));
    Discard(*dc);
    return TRUE;
}

BOOL StrokeAndFillPath(HDC handle) {
    DcObj* dc = ReadyPath(handle);
    if (!dc)
        return FALSE;
    RecordCall(*dc, "StrokeAndFillPath", "");
    PaintShape(*dc, PathShape(*dc, TargetBounds(*dc)), BrushInk(*dc, CurrentBrush(*dc), dc->state.rop2));
    StrokeFigures(*dc);
    Discard(*dc);
    return TRUE;
}

HRGN PathToRegion(HDC handle) {
    DcObj* dc = ReadyPath(handle);
    if (!dc)
        return nullptr;
    std::optional<Region> shape = PolygonRegionShape(PathFigures(*dc), dc->state.fillMode);
    Discard(*dc);
    if (!shape)
        return nullptr;
    shape->Offset(-dc->origin.x, -dc->origin.y);
    return NewRegionHandle(std::move(*shape));
}

BOOL SelectClipPath(HDC handle, int mode) {
    HRGN region = PathToRegion(handle);
    if (!region)
        return FALSE;
    const int result = ExtSelectClipRgn(handle, region, mode);
    DeleteObject(region);
    return result != ERROR;
}
