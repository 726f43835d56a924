// Scan conversion of the filled shapes shared by regions, fills and outlines. A
// pixel belongs to a shape when its centre (x + 0.5, y + 0.5) lies inside, which
// keeps right and bottom edges out exactly as rectangles do.
#pragma once

#include "platform/win/gdi/Region.h"

#include <vector>

Region PolygonShape(const std::vector<std::vector<POINT>>& polygons, int fillMode);
// Bounding box in pixels: [left, right) x [top, bottom); corners are normalised.
Region EllipseShape(int left, int top, int right, int bottom);
Region RoundRectShape(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
RECT NormalizedRect(int left, int top, int right, int bottom);
