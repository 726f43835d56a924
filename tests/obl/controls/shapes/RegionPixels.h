// Test helpers for regions: an owning handle and the region's pixels as text.
#pragma once

#include "platform/win/gdi/Gdi.h"

#include <string>
#include <vector>

struct OwnedRgn {
    HRGN h;
    explicit OwnedRgn(HRGN r) : h(r) {}
    ~OwnedRgn() { DeleteObject(h); }
    OwnedRgn(const OwnedRgn&) = delete;
    OwnedRgn& operator=(const OwnedRgn&) = delete;
};

// One row per pixel line: '#' inside the region, '.' outside.
inline std::vector<std::string> Mask(HRGN rgn, int x0, int y0, int w, int h)
{
    std::vector<std::string> rows;
    for (int y = y0; y < y0 + h; ++y) {
        std::string row;
        for (int x = x0; x < x0 + w; ++x)
            row += PtInRegion(rgn, x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}
