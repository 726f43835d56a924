// Bit-block transfers with the general ROP3 evaluator over pattern, source and
// destination, stretching by the destination's stretch mode.
#include "platform/win/gdi/Dib.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/Shapes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

struct BlitSource {
    PixelBuffer buffer;
    // A monochrome device bitmap takes the destination's text and background colours.
    bool monoUsesDcColors = false;
    // Colour-to-monochrome: the source background colour becomes 1 (white).
    std::optional<std::uint32_t> background;
};

struct Extent {
    int pos, size;
    bool mirrored;
};

// A negative extent runs from `pos` toward smaller coordinates, `pos` included.
Extent Normalize(int pos, int size) {
    return size < 0 ? Extent{pos + size + 1, -size, true} : Extent{pos, size, false};
}

std::uint32_t SourceValue(const BlitSource& src, const PixelBuffer& dst, DcObj& dc, int x, int y) {
    const bool srcMono = src.buffer.bpp == 1;
    const bool dstMono = dst.bpp == 1;
    if (srcMono && src.monoUsesDcColors && !dstMono)
        return RgbFromColorRef(src.buffer.Index(x, y) ? dc.state.bkColor : dc.state.textColor);
    if (srcMono && dstMono)
        return src.buffer.Index(x, y) ? 0xFFFFFF : 0;
    const std::uint32_t rgb = src.buffer.Get(x, y);
    if (dstMono && src.background)
        return rgb == *src.background ? 0xFFFFFF : 0;
    return rgb;
}

struct Mapping {
    Extent dst, src;
    bool flip;
    // Source pixels [first, last) behind destination pixel d (relative to the extents).
    void Range(int d, int shrinkMode, int* first, int* last) const {
        if (src.size > dst.size && shrinkMode != COLORONCOLOR) {
            *first = static_cast<int>(static_cast<long long>(d) * src.size / dst.size);
            *last = std::max(*first + 1, static_cast<int>(static_cast<long long>(d + 1) * src.size / dst.size));
        } else {
            *first = static_cast<int>((static_cast<long long>(d) * 2 + 1) * src.size / (2LL * dst.size));
            *last = *first + 1;
        }
        if (flip) {
            const int f = src.size - *last, l = src.size - *first;
            *first = f;
            *last = l;
        }
    }
};

// Shrinking keeps what the stretch mode asks for: BLACKONWHITE ANDs the pixels that
// fall together, WHITEONBLACK ORs them, HALFTONE averages them; COLORONCOLOR (and any
// enlargement) takes the pixel under the centre.
std::optional<std::uint32_t> Sample(const BlitSource& src, const PixelBuffer& target, DcObj& dc, const Mapping& mx,
                                    const Mapping& my, int px, int py) {
    int x0, x1, y0, y1;
    const int mode = dc.state.stretchMode;
    mx.Range(px - mx.dst.pos, mode, &x0, &x1);
    my.Range(py - my.dst.pos, mode, &y0, &y1);
    std::uint32_t andValue = 0xFFFFFF, orValue = 0;
    unsigned long long sum[3] = {0, 0, 0}, count = 0;
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            const int sx = mx.src.pos + i, sy = my.src.pos + j;
            if (!src.buffer.Contains(sx, sy))
                return std::nullopt;  // outside the source: the destination stays
            const std::uint32_t v = SourceValue(src, target, dc, sx, sy);
            andValue &= v;
            orValue |= v;
            sum[0] += (v >> 16) & 0xFF;
            sum[1] += (v >> 8) & 0xFF;
            sum[2] += v & 0xFF;
            ++count;
        }
    if (mode == WHITEONBLACK)
        return orValue;
    if (mode == HALFTONE) {
        auto avg = [&](int c) { return static_cast<std::uint32_t>((sum[c] + count / 2) / count); };
        return (avg(0) << 16) | (avg(1) << 8) | avg(2);
    }
    return andValue;
}

// True when the source pixels read and the destination pixels written may share memory.
bool SourceMeetsTarget(const BlitSource& src, const PixelBuffer& target, const Extent& dx, const Extent& dy,
                       const Extent& ex, const Extent& ey) {
    if (src.buffer.bits != target.bits)
        return false;
    return dx.pos < ex.pos + ex.size && ex.pos < dx.pos + dx.size && dy.pos < ey.pos + ey.size &&
           ey.pos < dy.pos + dy.size;
}

// SRCCOPY between 32 bpp buffers at equal extents, neither stretched nor mirrored:
// every destination pixel takes its source pixel's colour bits, so whole row pieces
// are copied. Destination pixels whose source lies outside the source stay.
bool CopyRows32(const BlitSource& src, const PixelBuffer& target, const Region& visible, const Extent& dx,
                const Extent& dy, const Extent& ex, const Extent& ey) {
    const int shiftX = ex.pos - dx.pos, shiftY = ey.pos - dy.pos;
    const RECT sourceArea{-shiftX, -shiftY, src.buffer.width - shiftX, src.buffer.height - shiftY};
    const Region area = Region::Combine(visible, Region(sourceArea), Region::Op::And);
    const std::vector<RECT> rects = area.Rects();
    // Overlapping areas of one buffer: read everything before writing, as a whole.
    std::vector<std::uint32_t> staged;
    if (SourceMeetsTarget(src, target, dx, dy, ex, ey)) {
        std::size_t total = 0;
        for (const RECT& r : rects)
            total += static_cast<std::size_t>(r.right - r.left) * (r.bottom - r.top);
        staged.reserve(total);
        for (const RECT& r : rects)
            for (int y = r.top; y < r.bottom; ++y) {
                const auto* from = reinterpret_cast<const std::uint32_t*>(src.buffer.RowPtr(y + shiftY)) + r.left + shiftX;
                staged.insert(staged.end(), from, from + (r.right - r.left));
            }
    }
    std::size_t next = 0;
    for (const RECT& r : rects)
        for (int y = r.top; y < r.bottom; ++y) {
            const int n = r.right - r.left;
            const std::uint32_t* from =
                staged.empty() ? reinterpret_cast<const std::uint32_t*>(src.buffer.RowPtr(y + shiftY)) + r.left + shiftX
                               : staged.data() + next;
            auto* to = reinterpret_cast<std::uint32_t*>(target.RowPtr(y)) + r.left;
            // The unused fourth byte is never carried over: targets hold colour bits only.
            for (int i = 0; i < n; ++i)
                to[i] = from[i] & 0xFFFFFF;
            next += static_cast<std::size_t>(n);
        }
    return true;
}

BOOL Transfer(DcObj& dc, int x, int y, int w, int h, const BlitSource* src, int sx, int sy, int sw, int sh, DWORD rop) {
    const PixelBuffer target = dc.Target();
    if (!target.Valid())
        return FALSE;
    const Extent dx = Normalize(x, w), dy = Normalize(y, h), ex = Normalize(sx, sw), ey = Normalize(sy, sh);
    if (dx.size == 0 || dy.size == 0)
        return TRUE;
    const Mapping mx{dx, ex, dx.mirrored != ex.mirrored}, my{dy, ey, dy.mirrored != ey.mirrored};
    const std::uint8_t op = static_cast<std::uint8_t>(rop >> 16);
    const BrushObj* brush = Rop3UsesPattern(rop) ? CurrentBrush(dc) : nullptr;
    const Region visible = Region::Combine(Region(RECT{dx.pos, dy.pos, dx.pos + dx.size, dy.pos + dy.size}),
                                           dc.VisibleInTarget(), Region::Op::And);
    // Equal extents without a flip map destination pixel d to source pixel d.
    const bool oneToOne = src && dx.size == ex.size && dy.size == ey.size && !mx.flip && !my.flip;
    if (oneToOne && op == 0xCC && target.bpp == 32 && src->buffer.bpp == 32)
        return CopyRows32(*src, target, visible, dx, dy, ex, ey);
    // Read every source pixel first when source and destination share pixels, so
    // overlapping copies on one bitmap act like memmove; otherwise row by row at once.
    const bool stage = src && SourceMeetsTarget(*src, target, dx, dy, ex, ey);
    struct Pixel {
        int x, y;
        std::uint32_t source;
    };
    std::vector<Pixel> pixels;
    auto apply = [&](int px, int py, std::uint32_t s) {
        std::uint32_t pattern = 0;
        if (brush && brush->style != BS_NULL && !BrushPixel(dc, *brush, px, py, &pattern))
            return;
        const std::uint32_t d = RopRead(target, px, py);
        RopWrite(target, px, py, Rop3(op, RopValue(target, pattern), RopValue(target, s), d));
    };
    for (const RECT& r : visible.Rects())
        for (int py = r.top; py < r.bottom; ++py)
            for (int px = r.left; px < r.right; ++px) {
                std::uint32_t s = 0;
                if (src) {
                    const std::optional<std::uint32_t> sampled = Sample(*src, target, dc, mx, my, px, py);
                    if (!sampled)
                        continue;
                    s = *sampled;
                }
                if (stage)
                    pixels.push_back({px, py, s});
                else
                    apply(px, py, s);
            }
    for (const Pixel& p : pixels)
        apply(p.x, p.y, p.source);
    return TRUE;
}

std::optional<BlitSource> DcSource(DcObj& src) {
    BlitSource s;
    s.buffer = src.Target();
    if (!s.buffer.Valid())
        return std::nullopt;
    BitmapObj* bitmap = src.memory ? LookupBitmap(src.state.bitmap) : nullptr;
    s.monoUsesDcColors = bitmap && !bitmap->dibSection;
    s.background = Quantize(s.buffer, RgbFromColorRef(src.state.bkColor));
    return s;
}

BOOL Blt(HDC dstHandle, int x, int y, int w, int h, HDC srcHandle, int sx, int sy, int sw, int sh, DWORD rop,
         const char* name) {
    DcObj* dst = LookupDC(dstHandle);
    if (!dst)
        return FALSE;
    if (dst->recording)
        RecordCall(*dst, name, FormatArgs({x, y, w, h, sx, sy, sw, sh, static_cast<long long>(rop)}));
    const POINT d = dst->ToTarget(x, y);
    if (!Rop3UsesSource(rop))
        return Transfer(*dst, d.x, d.y, w, h, nullptr, 0, 0, w, h, rop);
    DcObj* src = LookupDC(srcHandle);
    if (!src)
        return FALSE;
    const std::optional<BlitSource> source = DcSource(*src);
    if (!source)
        return FALSE;
    const POINT s = src->ToTarget(sx, sy);
    return Transfer(*dst, d.x, d.y, w, h, &*source, s.x, s.y, sw, sh, rop);
}

// A whole-image bitmap of a DIB given as scan lines [startScan, startScan + lines).
std::unique_ptr<BitmapObj> DibImage(const DibLayout& layout, const void* bits, UINT startScan, UINT lines) {
    auto image = MakeBitmap(layout.width, layout.height, layout.bpp, true);
    if (!image)
        return nullptr;
    image->bottomUp = layout.bottomUp;
    image->colors = layout.colors;
    if (startScan >= static_cast<UINT>(layout.height))
        return image;
    const int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(layout.height) - startScan));
    int y0 = 0;
    const PixelBuffer src = DibRows(layout, bits, static_cast<int>(startScan), rows, &y0);
    CopyPixels(src, 0, 0, image->Buffer(), 0, y0, layout.width, rows);
    return image;
}

// DIB source rectangles count rows from the bottom of a bottom-up image.
int DibTop(const DibLayout& layout, int ySrc, int height) {
    return layout.bottomUp ? layout.height - ySrc - height : ySrc;
}

} // namespace

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return Blt(dst, x, y, w, h, src, sx, sy, w, h, rop, "BitBlt");
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    return Blt(dst, x, y, w, h, src, sx, sy, sw, sh, rop, "StretchBlt");
}

int SetDIBitsToDevice(HDC handle, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    DcObj* dc = LookupDC(handle);
    const std::optional<DibLayout> layout = ReadDibLayout(info, usage, dc);
    if (!dc || !layout || !bits)
        return 0;
    RecordCall(*dc, "SetDIBitsToDevice", FormatArgs({xDest, yDest, width, height, xSrc, ySrc}));
    const std::unique_ptr<BitmapObj> image = DibImage(*layout, bits, startScan, lines);
    if (!image)
        return 0;
    BlitSource source{image->Buffer(), false, std::nullopt};
    const POINT d = dc->ToTarget(xDest, yDest);
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    Transfer(*dc, d.x, d.y, w, h, &source, xSrc, DibTop(*layout, ySrc, h), w, h, SRCCOPY);
    return static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(layout->height)));
}

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    DcObj* dc = LookupDC(handle);
    const std::optional<DibLayout> layout = ReadDibLayout(info, usage, dc);
    if (!dc || !layout || !bits)
        return 0;
    RecordCall(*dc, "StretchDIBits", FormatArgs({xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight}));
    const std::unique_ptr<BitmapObj> image = DibImage(*layout, bits, 0, static_cast<UINT>(layout->height));
    if (!image)
        return 0;
    BlitSource source{image->Buffer(), false, std::nullopt};
    const POINT d = dc->ToTarget(xDest, yDest);
    const int top = DibTop(*layout, ySrc, srcHeight < 0 ? -srcHeight : srcHeight);
    Transfer(*dc, d.x, d.y, destWidth, destHeight, &source, xSrc, top, srcWidth, srcHeight, rop);
    return layout->height;
}
