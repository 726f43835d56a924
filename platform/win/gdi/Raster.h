// The raster core: binary (ROP2) and ternary (ROP3) raster operations, brush
// patterns, and painting of pixel shapes through a DC's clip.
#pragma once

#include "platform/win/gdi/DeviceContext.h"

#include <cstdint>
#include <vector>

// dst' = f(pen, dst) for R2_BLACK (1) .. R2_WHITE (16), bitwise on 0x00RRGGBB values.
std::uint32_t Rop2(int code, std::uint32_t pen, std::uint32_t dst);
// dst' = f(pattern, source, dst) for the operation byte (bits 16-23 of a ROP3 code).
std::uint32_t Rop3(std::uint8_t op, std::uint32_t pattern, std::uint32_t source, std::uint32_t dst);
bool Rop3UsesSource(DWORD rop);
bool Rop3UsesPattern(DWORD rop);

// How painted pixels get their value.
struct Ink {
    enum class Kind { Color, Brush, Rop3, None };
    Kind kind = Kind::None;
    std::uint32_t rgb = 0;             // Color
    const BrushObj* brush = nullptr;   // Brush and Rop3 (may be null for Rop3 without pattern)
    int rop2 = R2_COPYPEN;             // Color and Brush
    std::uint8_t rop3 = 0xF0;          // Rop3
};

Ink PenInk(DcObj& dc);
Ink BrushInk(DcObj& dc, const BrushObj* brush, int rop2);
// The DC's current brush, or the object behind a FillRect-style brush argument
// (which may also be a system colour index plus one).
const BrushObj* ResolveBrush(DcObj& dc, HBRUSH brush);
const BrushObj* CurrentBrush(DcObj& dc);
std::uint32_t PenColor(DcObj& dc);

// Brush colour at a target pixel; false where a hatch or mono pattern leaves the
// background untouched (transparent background mode).
bool BrushPixel(DcObj& dc, const BrushObj& brush, int x, int y, std::uint32_t* rgb);
// The colour a value takes on the target (nearest table entry for indexed targets).
std::uint32_t Quantize(const PixelBuffer& target, std::uint32_t rgb);
// Raster operations work on what the target stores: colours, or for a monochrome
// target the bit itself as 0 or 0xFFFFFF, whatever colours its table holds.
std::uint32_t RopValue(const PixelBuffer& target, std::uint32_t rgb);
std::uint32_t RopRead(const PixelBuffer& target, int x, int y);
void RopWrite(const PixelBuffer& target, int x, int y, std::uint32_t value);

// The target's pixel bounds: shapes for drawing are built only inside them.
RECT TargetBounds(DcObj& dc);
// Paints a shape given in target coordinates through the DC's visible region.
void PaintShape(DcObj& dc, const Region& shape, const Ink& ink);
// Copies rgbs[x - area.left] into column x of `area` (target coordinates) through the DC's
// visible region, found once for all columns; false, painting nothing, on targets other than
// 24 and 32 bpp, whose colours need mapping per pixel.
bool PaintColumns(DcObj& dc, const RECT& area, const std::uint32_t* rgbs);

// A set of pixels built a pixel or a row span at a time (target coordinates), turned into
// a region.
class PixelSet {
public:
    void Add(int x, int y) { AddSpan(y, x, x + 1); }
    // The pixels left .. right - 1 of row y.
    void AddSpan(int y, int left, int right);
    void AddRegion(const Region& region);
    bool Empty() const { return spans_.empty() && regions_.empty(); }
    Region ToRegion() const;

private:
    struct RowSpan {
        int y, left, right;
    };
    std::vector<RowSpan> spans_;
    std::vector<Region> regions_;
};
