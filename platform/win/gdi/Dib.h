// Device-independent bitmap layouts described by a BITMAPINFO: pixel access over
// caller memory, colour tables, and pixel copies between formats.
#pragma once

#include "platform/win/gdi/DeviceContext.h"

#include <optional>

struct DibLayout {
    int width = 0;
    int height = 0;  // always positive
    bool bottomUp = true;
    int bpp = 0;
    int stride = 0;
    std::vector<RGBQUAD> colors;
};

// Reads the layout of a BITMAPINFO (colour table resolved through the DC's palette for
// DIB_PAL_COLORS); none for unsupported formats (compressed data, odd bit fields).
std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info, UINT usage, DcObj* dc);
// A buffer over `rows` rows of DIB memory beginning at scan line `firstScan`
// (scan 0 is the bottom row of a bottom-up DIB); `y0` receives the image row of the
// buffer's first (top) row.
PixelBuffer DibRows(const DibLayout& layout, const void* bits, int firstScan, int rows, int* y0);
// Copies a w x h block, mapping colours (indices are kept between equal colour tables).
void CopyPixels(const PixelBuffer& src, int sx, int sy, const PixelBuffer& dst, int dx, int dy, int w, int h);
// The colour table GetDIBits reports for a depth, given the bitmap it reads and the
// palette selected into the DC it reads through (none or the default palette: ignored).
std::vector<RGBQUAD> OutputColorTable(int bpp, const BitmapObj& bitmap, const PaletteObj* palette);
