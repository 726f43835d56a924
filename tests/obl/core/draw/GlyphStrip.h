// A 24-bit .bmp file image of the built-in glyph strip: 104 x 14, cell k (0..7) painted in
// CellColor(k) with one marker pixel at (k * 13 + 1, 2) in MarkerColor(k).
#pragma once

#include "platform/classlib/Graphics.h"

#include <cstdint>
#include <vector>

inline TColor CellColor(int cell) { return static_cast<TColor>(RGB(20 + cell * 25, 200 - cell * 20, 10 * cell)); }
inline TColor MarkerColor(int cell) { return static_cast<TColor>(RGB(255, cell * 30, 255)); }

inline std::vector<BYTE> GlyphStripFile()
{
    constexpr int width = 104, height = 14;
    constexpr int stride = (width * 3 + 3) / 4 * 4;
    constexpr int headers = 14 + 40;
    std::vector<BYTE> file(headers + stride * height, 0);
    auto put32 = [&](size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = static_cast<BYTE>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, headers);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;   // planes
    file[28] = 24;  // bits per pixel
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int cell = x / 13;
            const bool marker = x == cell * 13 + 1 && y == 2;
            const COLORREF c = static_cast<COLORREF>(marker ? MarkerColor(cell) : CellColor(cell));
            BYTE* p = &file[headers + (height - 1 - y) * stride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    return file;
}
