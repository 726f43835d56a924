// Device-dependent bitmaps, DIB sections and the DIB transfer functions.
#include "platform/win/gdi/Dib.h"

#include <algorithm>
#include <cstring>

namespace {

bool ValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

HBITMAP Insert(std::unique_ptr<BitmapObj> bitmap) {
    return bitmap ? static_cast<HBITMAP>(GdiInsertObject(std::move(bitmap))) : nullptr;
}

// Device bitmaps exchange word-aligned, top-down rows.
int DdbRowBytes(const BitmapObj& b) { return ((b.width * b.bpp + 15) / 16) * 2; }

int DisplayDepth() {
    const int bpp = GdiDisplayBitsPerPixel();
    return ValidDepth(bpp) ? bpp : 32;
}

void FillInfoHeader(BITMAPINFOHEADER& h, const BitmapObj& b, int bpp) {
    h.biWidth = b.width;
    if (h.biHeight == 0 || h.biBitCount == 0)
        h.biHeight = b.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bpp);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibStride(b.width, bpp) * b.height);
    h.biClrUsed = 0;
    h.biClrImportant = 0;
}

} // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0 || planes != 1 || !ValidDepth(static_cast<int>(bitsPerPixel)))
        return nullptr;
    if (width == 0 || height == 0)
        return Insert(MakeBitmap(1, 1, 1, false));
    HBITMAP handle = Insert(MakeBitmap(width, height, static_cast<int>(bitsPerPixel), false));
    if (bits)
        SetBitmapBits(handle, static_cast<DWORD>(-1), bits);
    return handle;
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
    if (!bm)
        return nullptr;
    HBITMAP handle = CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, nullptr);
    BitmapObj* b = LookupBitmap(handle);
    if (b && bm->bmBits) {
        const int rowBytes = std::min(bm->bmWidthBytes, b->stride);
        for (int y = 0; y < b->height; ++y)
            std::memcpy(b->bits.data() + static_cast<std::size_t>(y) * b->stride,
                        static_cast<const BYTE*>(bm->bmBits) + static_cast<std::size_t>(y) * bm->bmWidthBytes,
                        static_cast<std::size_t>(rowBytes));
    }
    return handle;
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
    DcObj* dc = LookupDC(handle);
    if (!dc || width < 0 || height < 0)
        return nullptr;
    if (width == 0 || height == 0)
        return Insert(MakeBitmap(1, 1, 1, false));
    // A memory DC makes bitmaps like the one it holds (monochrome while it holds its
    // initial bitmap); other DCs make bitmaps of the display's depth.
    BitmapObj* current = dc->memory ? LookupBitmap(dc->state.bitmap) : nullptr;
    auto bitmap = MakeBitmap(width, height, current ? current->bpp : DisplayDepth(), false);
    if (!bitmap)
        return nullptr;
    if (current && current->bpp <= 8)
        bitmap->colors = current->colors;
    return Insert(std::move(bitmap));
}

HBITMAP CreateDIBSection(HDC handle, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits)
        *bits = nullptr;
    const std::optional<DibLayout> layout = ReadDibLayout(info, usage, LookupDC(handle));
    if (!layout)
        return nullptr;
    auto bitmap = MakeBitmap(layout->width, layout->height, layout->bpp, true);
    if (!bitmap)
        return nullptr;
    bitmap->bottomUp = layout->bottomUp;
    if (layout->bpp <= 8)
        bitmap->colors = layout->colors;
    if (bits)
        *bits = bitmap->bits.data();
    return Insert(std::move(bitmap));
}

HBITMAP CreateDIBitmap(HDC handle, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header || header->biWidth <= 0 || header->biHeight == 0)
        return nullptr;
    const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    // The bitmap takes the device's format, not the DIB's; a monochrome DIB stays monochrome.
    const bool mono = header->biBitCount == 1 && info && info->bmiHeader.biBitCount == 1;
    HBITMAP bitmap = Insert(MakeBitmap(header->biWidth, height, mono ? 1 : DisplayDepth(), false));
    if ((init & CBM_INIT) && bits && info)
        SetDIBits(handle, bitmap, 0, static_cast<UINT>(height), bits, info, usage);
    return bitmap;
}

int GetDIBits(HDC handle, HBITMAP bitmapHandle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
    BitmapObj* b = LookupBitmap(bitmapHandle);
    if (!b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount == 0) {
        // Format query: report the bitmap's own layout.
        FillInfoHeader(h, *b, b->bpp);
        return b->height;
    }
    if (!ValidDepth(h.biBitCount))
        return 0;
    const int bpp = h.biBitCount;
    DcObj* dc = LookupDC(handle);
    const std::vector<RGBQUAD> table = OutputColorTable(bpp, *b, dc ? LookupPalette(dc->state.palette) : nullptr);
    if (!table.empty()) {
        auto* out = reinterpret_cast<BYTE*>(info) + h.biSize;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (usage == DIB_PAL_COLORS) {
                const WORD index = static_cast<WORD>(i);
                std::memcpy(out + i * 2, &index, 2);
            } else {
                std::memcpy(out + i * sizeof(RGBQUAD), &table[i], sizeof(RGBQUAD));
            }
        }
    }
    if (!bits) {
        FillInfoHeader(h, *b, bpp);
        return b->height;
    }
    if (h.biWidth != b->width || h.biCompression != BI_RGB)
        return 0;
    DibLayout layout;
    layout.width = b->width;
    layout.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    layout.bottomUp = h.biHeight > 0;
    layout.bpp = bpp;
    layout.stride = DibStride(b->width, bpp);
    layout.colors = table;
    if (layout.height != b->height || start >= static_cast<UINT>(layout.height))
        return 0;
    const int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(layout.height) - start));
    int y0 = 0;
    const PixelBuffer dst = DibRows(layout, bits, static_cast<int>(start), rows, &y0);
    std::memset(bits, 0, static_cast<std::size_t>(layout.stride) * rows);
    CopyPixels(b->Buffer(), 0, y0, dst, 0, 0, b->width, rows);
    h.biSizeImage = static_cast<DWORD>(layout.stride * layout.height);
    return rows;
}

int SetDIBits(HDC handle, HBITMAP bitmapHandle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    BitmapObj* b = LookupBitmap(bitmapHandle);
    const std::optional<DibLayout> layout = ReadDibLayout(info, usage, LookupDC(handle));
    if (!b || !bits || !layout || start >= static_cast<UINT>(layout->height))
        return 0;
    const int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(layout->height) - start));
    int y0 = 0;
    const PixelBuffer src = DibRows(*layout, bits, static_cast<int>(start), rows, &y0);
    // Rows beyond the bitmap are dropped; the DIB's row y0 lands on bitmap row y0.
    CopyPixels(src, 0, 0, b->Buffer(), 0, y0, std::min(layout->width, b->width), rows);
    return rows;
}

LONG GetBitmapBits(HBITMAP handle, LONG size, LPVOID bits) {
    BitmapObj* b = LookupBitmap(handle);
    if (!b)
        return 0;
    const int rowBytes = DdbRowBytes(*b);
    const LONG total = static_cast<LONG>(rowBytes) * b->height;
    if (!bits)
        return total;
    const PixelBuffer buffer = b->Buffer();
    LONG written = 0;
    for (int y = 0; y < b->height && written < size; ++y) {
        const LONG n = std::min<LONG>(rowBytes, size - written);
        std::memcpy(static_cast<BYTE*>(bits) + written, buffer.RowPtr(y), static_cast<std::size_t>(n));
        written += n;
    }
    return written;
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits) {
    BitmapObj* b = LookupBitmap(handle);
    if (!b || !bits)
        return 0;
    const int rowBytes = DdbRowBytes(*b);
    const PixelBuffer buffer = b->Buffer();
    LONG read = 0;
    for (int y = 0; y < b->height && static_cast<DWORD>(read) < size; ++y) {
        const LONG n = static_cast<LONG>(std::min<DWORD>(static_cast<DWORD>(rowBytes), size - static_cast<DWORD>(read)));
        std::memcpy(buffer.RowPtr(y), static_cast<const BYTE*>(bits) + read, static_cast<std::size_t>(n));
        read += n;
    }
    return read;
}

UINT GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD* colors) {
    DcObj* dc = LookupDC(handle);
    BitmapObj* b = dc ? LookupBitmap(dc->state.bitmap) : nullptr;
    if (!b || !b->dibSection || !colors || start >= b->colors.size())
        return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(b->colors.size()) - start);
    std::copy(b->colors.begin() + start, b->colors.begin() + start + n, colors);
    return n;
}

UINT SetDIBColorTable(HDC handle, UINT start, UINT count, const RGBQUAD* colors) {
    DcObj* dc = LookupDC(handle);
    BitmapObj* b = dc ? LookupBitmap(dc->state.bitmap) : nullptr;
    if (!b || !b->dibSection || !colors || start >= b->colors.size())
        return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(b->colors.size()) - start);
    std::copy(colors, colors + n, b->colors.begin() + start);
    return n;
}

BOOL GetBitmapDimensionEx(HBITMAP handle, SIZE* size) {
    BitmapObj* b = LookupBitmap(handle);
    if (!b || !size)
        return FALSE;
    *size = b->dimension;
    return TRUE;
}

// ---------------------------------------------------------------- file structures

namespace {

void Put16(BYTE* p, unsigned v) { p[0] = static_cast<BYTE>(v); p[1] = static_cast<BYTE>(v >> 8); }
void Put32(BYTE* p, std::uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = static_cast<BYTE>(v >> (8 * i)); }
WORD Get16(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD Get32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24); }

} // namespace

void WriteBitmapFileHeader(const BITMAPFILEHEADER& h, BYTE out[14]) {
    Put16(out, h.bfType);
    Put32(out + 2, h.bfSize);
    Put16(out + 6, h.bfReserved1);
    Put16(out + 8, h.bfReserved2);
    Put32(out + 10, h.bfOffBits);
}

BITMAPFILEHEADER ReadBitmapFileHeader(const BYTE in[14]) {
    return {Get16(in), Get32(in + 2), Get16(in + 6), Get16(in + 8), Get32(in + 10)};
}

void WriteBitmapInfoHeader(const BITMAPINFOHEADER& h, BYTE out[40]) {
    Put32(out, h.biSize);
    Put32(out + 4, static_cast<std::uint32_t>(h.biWidth));
    Put32(out + 8, static_cast<std::uint32_t>(h.biHeight));
    Put16(out + 12, h.biPlanes);
    Put16(out + 14, h.biBitCount);
    Put32(out + 16, h.biCompression);
    Put32(out + 20, h.biSizeImage);
    Put32(out + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
    Put32(out + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
    Put32(out + 32, h.biClrUsed);
    Put32(out + 36, h.biClrImportant);
}

BITMAPINFOHEADER ReadBitmapInfoHeader(const BYTE in[40]) {
    return {Get32(in), static_cast<LONG>(Get32(in + 4)), static_cast<LONG>(Get32(in + 8)), Get16(in + 12),
            Get16(in + 14), Get32(in + 16), Get32(in + 20), static_cast<LONG>(Get32(in + 24)),
            static_cast<LONG>(Get32(in + 28)), Get32(in + 32), Get32(in + 36)};
}
