// Paths: while a path is open, lines, curves, shapes and text add figures (in
// target coordinates) instead of drawing.
#pragma once

#include "platform/win/gdi/DeviceContext.h"

bool PathOpen(const DcObj& dc);
void PathMoveTo(DcObj& dc, POINT target);
void PathLineTo(DcObj& dc, POINT target);
void PathAddFigure(DcObj& dc, const std::vector<POINT>& points, bool closed);
// Flattens a cubic Bezier curve from p0 (excluded) to p3 (included).
std::vector<POINT> FlattenBezier(POINT p0, POINT p1, POINT p2, POINT p3);
