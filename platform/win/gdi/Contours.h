// Outlines of a pixel region: closed polygons along the pixel edges, outer
// boundaries clockwise on screen and holes counter-clockwise, so that both fill
// modes give the region back and stroking draws only its border.
#pragma once

#include "platform/win/gdi/Region.h"

#include <vector>

std::vector<std::vector<POINT>> RegionContours(const Region& region);
