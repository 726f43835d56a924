#include "platform/win/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

std::uint32_t Rop2(int code, std::uint32_t p, std::uint32_t d) {
    // Code - 1 is a truth table indexed by (pen bit << 1) | dst bit.
    const unsigned table = static_cast<unsigned>(code - 1) & 0xF;
    std::uint32_t out = 0;
    if (table & 8) out |= p & d;
    if (table & 4) out |= p & ~d;
    if (table & 2) out |= ~p & d;
    if (table & 1) out |= ~p & ~d;
    return out & 0xFFFFFF;
}

std::uint32_t Rop3(std::uint8_t op, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    // The operation byte is a truth table indexed by (pattern << 2) | (source << 1) | dst.
    std::uint32_t out = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((op >> i) & 1))
            continue;
        const std::uint32_t pm = (i & 4) ? p : ~p;
        const std::uint32_t sm = (i & 2) ? s : ~s;
        const std::uint32_t dm = (i & 1) ? d : ~d;
        out |= pm & sm & dm;
    }
    return out & 0xFFFFFF;
}

bool Rop3UsesSource(DWORD rop) {
    const unsigned op = (rop >> 16) & 0xFF;
    return ((op >> 2) & 0x33) != (op & 0x33);
}

bool Rop3UsesPattern(DWORD rop) {
    const unsigned op = (rop >> 16) & 0xFF;
    return ((op >> 4) & 0x0F) != (op & 0x0F);
}

std::uint32_t Quantize(const PixelBuffer& target, std::uint32_t rgb) {
    if (target.bpp <= 8 && target.colors)
        return RgbOf((*target.colors)[target.Nearest(rgb)]);
    if (target.bpp == 16) {
        auto q = [](std::uint32_t c) { c &= 0xF8; return c | (c >> 5); };
        return (q(rgb >> 16) << 16) | (q(rgb >> 8) << 8) | q(rgb);
    }
    return rgb & 0xFFFFFF;
}

std::uint32_t RopValue(const PixelBuffer& target, std::uint32_t rgb) {
    if (target.bpp == 1)
        return target.colors && target.Nearest(rgb) ? 0xFFFFFF : 0;
    return Quantize(target, rgb);
}

std::uint32_t RopRead(const PixelBuffer& target, int x, int y) {
    if (target.bpp == 1)
        return target.Index(x, y) ? 0xFFFFFF : 0;
    return target.Get(x, y);
}

void RopWrite(const PixelBuffer& target, int x, int y, std::uint32_t value) {
    if (target.bpp == 1)
        target.PutIndex(x, y, value & 1);
    else
        target.Put(x, y, value);
}

std::uint32_t PenColor(DcObj& dc) {
    PenObj* pen = dc.Pen();
    if (!pen)
        return 0;
    const COLORREF c = dc.state.pen == StockObject(DC_PEN) ? dc.state.dcPenColor : pen->color;
    return RgbFromColorRef(c);
}

Ink PenInk(DcObj& dc) {
    Ink ink;
    PenObj* pen = dc.Pen();
    if (!pen || pen->Style() == PS_NULL)
        return ink;
    ink.kind = Ink::Kind::Color;
    ink.rgb = PenColor(dc);
    ink.rop2 = dc.state.rop2;
    return ink;
}

const BrushObj* CurrentBrush(DcObj& dc) { return dc.Brush(); }

const BrushObj* ResolveBrush(DcObj&, HBRUSH brush) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= GDI_SYS_COLOR_COUNT)
        return LookupBrush(GetSysColorBrush(static_cast<int>(value - 1)));
    return LookupBrush(brush);
}

Ink BrushInk(DcObj&, const BrushObj* brush, int rop2) {
    Ink ink;
    if (!brush || brush->style == BS_NULL)
        return ink;
    ink.kind = Ink::Kind::Brush;
    ink.brush = brush;
    ink.rop2 = rop2;
    return ink;
}

bool BrushPixel(DcObj& dc, const BrushObj& brush, int x, int y, std::uint32_t* rgb) {
    if (brush.style == BS_SOLID) {
        const bool dcBrush = StockObject(DC_BRUSH) == dc.state.brush && &brush == dc.Brush();
        *rgb = RgbFromColorRef(dcBrush ? dc.state.dcBrushColor : brush.color);
        return true;
    }
    if (brush.patternWidth <= 0 || brush.patternHeight <= 0)
        return false;
    // Patterns are tiled from the brush origin, in device coordinates.
    const int px = x - dc.origin.x - dc.state.brushOrigin.x;
    const int py = y - dc.origin.y - dc.state.brushOrigin.y;
    const int w = brush.patternWidth, h = brush.patternHeight;
    const std::uint32_t v = brush.pattern[static_cast<std::size_t>(((py % h) + h) % h) * w + ((px % w) + w) % w];
    if (brush.style == BS_HATCHED) {
        if (v) {
            *rgb = RgbFromColorRef(brush.color);
            return true;
        }
        if (dc.state.bkMode == TRANSPARENT)
            return false;
        *rgb = RgbFromColorRef(dc.state.bkColor);
        return true;
    }
    if (brush.monoPattern) {
        *rgb = RgbFromColorRef(v ? dc.state.bkColor : dc.state.textColor);
        return true;
    }
    *rgb = v;
    return true;
}

RECT TargetBounds(DcObj& dc) {
    const PixelBuffer target = dc.Target();
    return {0, 0, target.width, target.height};
}

namespace {

// The one value a plain copy of a solid colour writes to a 24- or 32-bit target, if it is
// one.
std::optional<std::uint32_t> SolidCopy(DcObj& dc, const PixelBuffer& target, const Ink& ink) {
    if (target.bpp != 32 && target.bpp != 24)
        return std::nullopt;
    std::uint32_t rgb = 0;
    switch (ink.kind) {
    case Ink::Kind::Color:
        if (ink.rop2 != R2_COPYPEN)
            return std::nullopt;
        return ink.rgb & 0xFFFFFF;
    case Ink::Kind::Brush:
        if (ink.rop2 != R2_COPYPEN || ink.brush->style != BS_SOLID || !BrushPixel(dc, *ink.brush, 0, 0, &rgb))
            return std::nullopt;
        return rgb;
    case Ink::Kind::Rop3:
        if (ink.rop3 != 0xF0 || !ink.brush || ink.brush->style != BS_SOLID || !BrushPixel(dc, *ink.brush, 0, 0, &rgb))
            return std::nullopt;
        return rgb;
    case Ink::Kind::None: break;
    }
    return std::nullopt;
}

// One colour over n 32-bit pixels: the C library's wide fill is the widest store
// loop there is, where the wide character is 32 bits.
void FillPixels(std::uint32_t* pixels, int n, std::uint32_t rgb) {
    if constexpr (sizeof(wchar_t) == sizeof(std::uint32_t))
        std::wmemset(reinterpret_cast<wchar_t*>(pixels), static_cast<wchar_t>(rgb), static_cast<std::size_t>(n));
    else
        std::fill(pixels, pixels + n, rgb);
}

// 24-bit rows take one row of the colour made once, copied into every span.
// A grey has three equal bytes: its spans are set byte-wise, with no line to copy from.
void FillGrey24(const PixelBuffer& target, const Region& area, std::uint8_t value) {
    for (const Region::Band& band : area.Bands())
        for (int y = band.top; y < band.bottom; ++y) {
            std::uint8_t* row = target.RowPtr(y);
            for (const Region::Span& span : band.spans)
                std::memset(row + span.first * 3, value, static_cast<std::size_t>(span.second - span.first) * 3);
        }
}

void FillSolid24(const PixelBuffer& target, const Region& area, std::uint32_t rgb) {
    const std::uint8_t low = static_cast<std::uint8_t>(rgb);
    if (((rgb >> 8) & 0xFF) == low && ((rgb >> 16) & 0xFF) == low)
        return FillGrey24(target, area, low);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(target.width) * 3);
    for (std::size_t i = 0; i < line.size(); i += 3) {
        line[i] = static_cast<std::uint8_t>(rgb);
        line[i + 1] = static_cast<std::uint8_t>(rgb >> 8);
        line[i + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
    for (const Region::Band& band : area.Bands())
        for (int y = band.top; y < band.bottom; ++y) {
            std::uint8_t* row = target.RowPtr(y);
            for (const Region::Span& span : band.spans)
                std::memcpy(row + span.first * 3, line.data(), static_cast<std::size_t>(span.second - span.first) * 3);
        }
}

void FillSolid(const PixelBuffer& target, const Region& area, std::uint32_t rgb) {
    if (target.bpp == 24)
        return FillSolid24(target, area, rgb);
    for (const Region::Band& band : area.Bands())
        for (int y = band.top; y < band.bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(target.RowPtr(y));
            for (const Region::Span& span : band.spans)
                FillPixels(row + span.first, span.second - span.first, rgb);
        }
}

} // namespace

void PaintShape(DcObj& dc, const Region& shape, const Ink& ink) {
    if (ink.kind == Ink::Kind::None || shape.Empty())
        return;
    const PixelBuffer target = dc.Target();
    if (!target.Valid())
        return;
    const Region visible = Region::Combine(shape, dc.VisibleInTarget(), Region::Op::And);
    if (std::optional<std::uint32_t> solid = SolidCopy(dc, target, ink)) {
        FillSolid(target, visible, *solid);
        return;
    }
    for (const Region::Band& band : visible.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (const Region::Span& span : band.spans)
                for (int x = span.first; x < span.second; ++x) {
                    const std::uint32_t d = RopRead(target, x, y);
                    std::uint32_t value = 0;
                    switch (ink.kind) {
                    case Ink::Kind::Color: value = Rop2(ink.rop2, RopValue(target, ink.rgb), d); break;
                    case Ink::Kind::Brush: {
                        std::uint32_t p;
                        if (!BrushPixel(dc, *ink.brush, x, y, &p))
                            continue;
                        value = Rop2(ink.rop2, RopValue(target, p), d);
                        break;
                    }
                    case Ink::Kind::Rop3: {
                        std::uint32_t p = 0;
                        if (ink.brush && !BrushPixel(dc, *ink.brush, x, y, &p))
                            continue;
                        value = Rop3(ink.rop3, RopValue(target, p), 0, d);
                        break;
                    }
                    case Ink::Kind::None: break;
                    }
                    RopWrite(target, x, y, value);
                }
}

bool PaintColumns(DcObj& dc, const RECT& area, const std::uint32_t* rgbs) {
    const PixelBuffer target = dc.Target();
    if (!target.Valid() || (target.bpp != 32 && target.bpp != 24))
        return false;
    const Region visible = Region::Combine(Region(area), dc.VisibleInTarget(), Region::Op::And);
    const int bytes = target.bpp / 8;
    for (const Region::Band& band : visible.Bands())
        for (int y = band.top; y < band.bottom; ++y) {
            std::uint8_t* row = target.RowPtr(y);
            for (const Region::Span& span : band.spans)
                for (int x = span.first; x < span.second; ++x) {
                    const std::uint32_t rgb = rgbs[x - area.left] & 0xFFFFFF;
                    if (bytes == 4) {
                        std::memcpy(row + x * 4, &rgb, 4);
                        continue;
                    }
                    row[x * 3] = static_cast<std::uint8_t>(rgb);
                    row[x * 3 + 1] = static_cast<std::uint8_t>(rgb >> 8);
                    row[x * 3 + 2] = static_cast<std::uint8_t>(rgb >> 16);
                }
        }
    return true;
}

void PixelSet::AddSpan(int y, int left, int right) {
    if (left < right)
        spans_.push_back({y, left, right});
}

void PixelSet::AddRegion(const Region& region) {
    if (region.Empty())
        return;
    regions_.push_back(region);
}

Region PixelSet::ToRegion() const {
    Region out;
    if (!spans_.empty()) {
        int minY = spans_.front().y, maxY = minY;
        for (const RowSpan& s : spans_) {
            minY = std::min(minY, s.y);
            maxY = std::max(maxY, s.y);
        }
        std::vector<std::vector<Region::Span>> rows(static_cast<std::size_t>(maxY - minY + 1));
        for (const RowSpan& s : spans_)
            rows[static_cast<std::size_t>(s.y - minY)].emplace_back(s.left, s.right);
        out = Region::FromRows(minY, std::move(rows));
    }
    for (const Region& r : regions_)
        out = Region::Combine(out, r, Region::Op::Or);
    return out;
}
