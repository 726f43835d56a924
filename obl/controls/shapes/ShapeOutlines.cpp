#include "obl/controls/shapes/ShapeOutlines.h"

#include <algorithm>

namespace shapeoutline {

void DrawRuns(TCanvas* Canvas, const POINT* Points, const Runs& Lines)
{
    std::vector<POINT> line;
    for (const auto& run : Lines) {
        line.clear();
        for (int i : run)
            line.push_back(Points[i]);
        Canvas->Polyline(line.data(), static_cast<int>(line.size()));
    }
}

void EllipseHalf(TCanvas* Canvas, const TRect& Box, Half Part)
{
    if (Box.right <= Box.left || Box.bottom <= Box.top)
        return;
    // Arcs run counter-clockwise: from the top-right corner's direction over the top to the
    // bottom-left one, and back over the bottom.
    if (Part == Half::Upper)
        Canvas->Arc(Box.left, Box.top, Box.right, Box.bottom, Box.right, Box.top, Box.left, Box.bottom);
    else
        Canvas->Arc(Box.left, Box.top, Box.right, Box.bottom, Box.left, Box.bottom, Box.right, Box.top);
}

namespace {

// A counter-clockwise arc of the corner ellipse in the box, between two directions.
void CornerArc(TCanvas* Canvas, const TRect& Box, POINT From, POINT To)
{
    Canvas->Arc(Box.left, Box.top, Box.right, Box.bottom, From.x, From.y, To.x, To.y);
}

void Line(TCanvas* Canvas, int x1, int y1, int x2, int y2)
{
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

} // namespace

void RoundRectHalf(TCanvas* Canvas, const TRect& Box, int RoundX, int RoundY, Half Part)
{
    const int L = Box.left, T = Box.top, R = Box.right, B = Box.bottom;
    if (R <= L || B <= T)
        return;
    const int rx = std::clamp(RoundX, 0, R - L), ry = std::clamp(RoundY, 0, B - T);
    const int hx = rx / 2, hy = ry / 2;
    // Corners too small for an arc are left to the straight edges.
    const bool arcs = rx >= 2 && ry >= 2;
    const TRect tl = Rect(L, T, L + rx, T + ry), tr = Rect(R - rx, T, R, T + ry);
    const TRect bl = Rect(L, B - ry, L + rx, B), br = Rect(R - rx, B - ry, R, B);
    if (Part == Half::Upper) {
        if (arcs)
            CornerArc(Canvas, tr, Point(R, T), Point(R - hx, T));
        Line(Canvas, R - hx, T, L + hx, T);
        if (arcs)
            CornerArc(Canvas, tl, Point(L + hx, T), Point(L, T + hy));
        Line(Canvas, L, T + hy, L, B - hy);
        if (arcs)
            CornerArc(Canvas, bl, Point(L, B - hy), Point(L, B));
    } else {
        if (arcs)
            CornerArc(Canvas, bl, Point(L, B), Point(L + hx, B));
        Line(Canvas, L + hx, B - 1, R - hx, B - 1);
        if (arcs)
            CornerArc(Canvas, br, Point(R - hx, B), Point(R, B - hy));
        Line(Canvas, R - 1, B - hy, R - 1, T + hy);
        if (arcs)
            CornerArc(Canvas, tr, Point(R, T + hy), Point(R, T));
    }
}

const Runs& StarRuns(Half Part)
{
    static const Runs upper = {{1, 2}, {3, 4}, {6, 7}, {8, 9, 0}};
    static const Runs lower = {{0, 1}, {2, 3}, {4, 5, 6}, {7, 8}};
    return Part == Half::Upper ? upper : lower;
}

} // namespace shapeoutline
