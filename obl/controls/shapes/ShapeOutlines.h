// Parts of outlines drawn with the canvas pen, shared by the shape drawing and the region
// border painters. An outline is split along its top-right to bottom-left diagonal: the
// upper-left part catches the light, the lower-right part lies in the shadow.
#pragma once

#include "platform/classlib/Graphics.h"

#include <vector>

namespace shapeoutline {

enum class Half { Upper, Lower };

// Polylines through the points at the listed indexes, one list per line.
using Runs = std::vector<std::vector<int>>;
void DrawRuns(TCanvas* Canvas, const POINT* Points, const Runs& Lines);

// The ellipse inscribed in Box.
void EllipseHalf(TCanvas* Canvas, const TRect& Box, Half Part);
// The rounded rectangle of Box with corner ellipses RoundX by RoundY, drawn where
// TCanvas::RoundRect draws it.
void RoundRectHalf(TCanvas* Canvas, const TRect& Box, int RoundX, int RoundY, Half Part);
// The edges of the ten-point star (top point first, clockwise) that face up or left, or the
// others.
const Runs& StarRuns(Half Part);

} // namespace shapeoutline
