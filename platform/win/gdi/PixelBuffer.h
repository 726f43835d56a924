// Pixel access to the memory a DC draws into: a window surface (32 bpp top-down)
// or a bitmap in its own depth (1, 4, 8, 16, 24, 32 bpp; DIB sections bottom-up).
// Colours pass as 0x00RRGGBB; writes to indexed formats take the nearest entry of
// the colour table, 16 bpp keeps 5 bits per channel.
#pragma once

#include "platform/win/gdi/Gdi.h"

#include <cstdint>
#include <memory>
#include <vector>

class NearestColors;

struct PixelBuffer {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    int bpp = 32;
    bool bottomUp = false;
    const std::vector<RGBQUAD>* colors = nullptr;

    bool Valid() const { return bits != nullptr && width > 0 && height > 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint8_t* RowPtr(int y) const { return bits + static_cast<std::size_t>(bottomUp ? height - 1 - y : y) * stride; }
    // Colour-table index of an indexed pixel (0 for other formats).
    unsigned Index(int x, int y) const;
    std::uint32_t Get(int x, int y) const;
    void Put(int x, int y, std::uint32_t rgb) const;
    void PutIndex(int x, int y, unsigned index) const;
    // NearestIndex in the colour table, with the answers kept for the buffer's lifetime
    // (a buffer lives for one operation, during which its table does not change), so
    // converting a large image to a palette searches once per distinct colour.
    unsigned Nearest(std::uint32_t rgb) const;

    mutable std::shared_ptr<NearestColors> nearest = nullptr;
};

bool operator==(const RGBQUAD& a, const RGBQUAD& b);
// Row length in bytes of a DIB: padded to 4 bytes; INT_MAX for a row longer than that.
int DibStride(int width, int bpp);
std::uint32_t RgbOf(const RGBQUAD& q);
RGBQUAD QuadOf(std::uint32_t rgb);
unsigned NearestIndex(const std::vector<RGBQUAD>& colors, std::uint32_t rgb);
// 0x00RRGGBB from a COLORREF (0x00BBGGRR) and back.
inline std::uint32_t RgbFromColorRef(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }
inline COLORREF ColorRefFromRgb(std::uint32_t rgb) { return RgbFromColorRef(rgb); }

// Standard colour tables: black and white; the 16 standard colours; the fixed
// 256-entry table (16 standard colours, a 6x6x6 cube, 24 greys).
const std::vector<RGBQUAD>& MonoColorTable();
const std::vector<RGBQUAD>& StandardColorTable16();
const std::vector<RGBQUAD>& FixedColorTable256();
