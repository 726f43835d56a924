#include "platform/win/gdi/Dib.h"

#include <cstring>

std::optional<DibLayout> ReadDibLayout(const BITMAPINFO* info, UINT usage, DcObj* dc) {
    if (!info)
        return std::nullopt;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1)
        return std::nullopt;
    const int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return std::nullopt;
    const auto* masks = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(info) + h.biSize);
    if (h.biCompression == BI_BITFIELDS) {
        const bool default555 = bpp == 16 && masks[0] == 0x7C00 && masks[1] == 0x3E0 && masks[2] == 0x1F;
        const bool default888 = bpp == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
        if (!default555 && !default888)
            return std::nullopt;
    } else if (h.biCompression != BI_RGB) {
        return std::nullopt;
    }
    DibLayout layout;
    layout.width = h.biWidth;
    layout.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    layout.bottomUp = h.biHeight > 0;
    layout.bpp = bpp;
    layout.stride = DibStride(layout.width, bpp);
    if (bpp <= 8) {
        const DWORD count = h.biClrUsed && h.biClrUsed < (1u << bpp) ? h.biClrUsed : 1u << bpp;
        const BYTE* table = reinterpret_cast<const BYTE*>(info) + h.biSize;
        PaletteObj* palette = dc ? LookupPalette(dc->state.palette) : nullptr;
        for (DWORD i = 0; i < count; ++i) {
            if (usage == DIB_PAL_COLORS) {
                WORD index;
                std::memcpy(&index, table + i * 2, 2);
                PALETTEENTRY e = palette && index < palette->entries.size() ? palette->entries[index] : PALETTEENTRY{};
                layout.colors.push_back({e.peBlue, e.peGreen, e.peRed, 0});
            } else {
                RGBQUAD q;
                std::memcpy(&q, table + i * sizeof(RGBQUAD), sizeof q);
                layout.colors.push_back(q);
            }
        }
    }
    return layout;
}

PixelBuffer DibRows(const DibLayout& layout, const void* bits, int firstScan, int rows, int* y0) {
    PixelBuffer buffer{static_cast<std::uint8_t*>(const_cast<void*>(bits)), layout.width, rows, layout.stride,
                       layout.bpp, layout.bottomUp, layout.colors.empty() ? nullptr : &layout.colors};
    *y0 = layout.bottomUp ? layout.height - firstScan - rows : firstScan;
    return buffer;
}

void CopyPixels(const PixelBuffer& src, int sx, int sy, const PixelBuffer& dst, int dx, int dy, int w, int h) {
    const bool sameIndexed = src.bpp == dst.bpp && src.bpp <= 8 && src.colors && dst.colors &&
                             *src.colors == *dst.colors;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!src.Contains(sx + x, sy + y) || !dst.Contains(dx + x, dy + y))
                continue;
            if (sameIndexed)
                dst.PutIndex(dx + x, dy + y, src.Index(sx + x, sy + y));
            else
                dst.Put(dx + x, dy + y, src.Get(sx + x, sy + y));
        }
}

std::vector<RGBQUAD> OutputColorTable(int bpp, const BitmapObj& bitmap, const PaletteObj* palette) {
    switch (bpp) {
    case 1: return MonoColorTable();
    case 4: return StandardColorTable16();
    case 8: {
        if (palette && !palette->stock) {
            // A realised logical palette gives the first entries; the rest stay black.
            std::vector<RGBQUAD> table(256, RGBQUAD{0, 0, 0, 0});
            for (std::size_t i = 0; i < palette->entries.size() && i < table.size(); ++i)
                table[i] = {palette->entries[i].peBlue, palette->entries[i].peGreen, palette->entries[i].peRed, 0};
            return table;
        }
        return bitmap.bpp == 8 && bitmap.colors.size() == 256 ? bitmap.colors : FixedColorTable256();
    }
    default: return {};
    }
}
