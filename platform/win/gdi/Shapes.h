// Scan conversion of the filled shapes shared by regions, fills and outlines. A
// pixel belongs to a shape when its centre (x + 0.5, y + 0.5) lies inside, which
// keeps right and bottom edges out exactly as rectangles do.
#pragma once

#include "platform/win/gdi/Region.h"

#include <cstddef>
#include <optional>
#include <vector>

//
// Shapes are built only inside `limit` (drawing passes the target's bounds; regions
// pass kRegionLimit, +-65536, far beyond any screen), so absurd coordinates cost
// neither memory nor time.
extern const RECT kRegionLimit;
Region PolygonShape(const std::vector<std::vector<POINT>>& polygons, int fillMode, const RECT& limit = kRegionLimit);
// A region's polygons: a few hundred edges across the whole limit would take seconds
// and make tens of millions of rectangles, so a region whose rows are crossed by more
// than kRegionCrossingLimit edges in all (a window's shape needs some thousands; its
// data stays under 4 MB) is not made, as GDI fails a region it cannot allocate.
extern const std::size_t kRegionCrossingLimit;
std::optional<Region> PolygonRegionShape(const std::vector<std::vector<POINT>>& polygons, int fillMode);
// Bounding box in pixels: [left, right) x [top, bottom); corners are normalised.
Region EllipseShape(int left, int top, int right, int bottom, const RECT& limit = kRegionLimit);
Region RoundRectShape(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight,
                      const RECT& limit = kRegionLimit);
RECT NormalizedRect(int left, int top, int right, int bottom);
