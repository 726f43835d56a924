// Helpers shared by the bitmap and gradient routines of unit Oblutils.
#pragma once

#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "platform/classlib/Graphics.h"
#include "platform/win/WinTypes.h"
#include "platform/win/gdi/Gdi.h"

// The offset argument of the clip-drawing routines: low 16 bits x, high 16 bits y, signed.
inline POINT OBLUnpackOffset(int offset)
{
    return {static_cast<std::int16_t>(offset & 0xFFFF), static_cast<std::int16_t>((offset >> 16) & 0xFFFF)};
}

// A palette is realized only when asked for, and not when the application realizes
// palettes itself on a display of 256 colours or fewer.
inline bool OBLPaletteWanted(WORD flags)
{
    if ((flags & 0x1000) == 0)
        return false;
    bool autoRealize = OBLApplication && OBLApplication->Options().Contains(aoAutoRealizePalette);
    return !(autoRealize && OBLSIColorDepth() <= 8);
}

// Selects and realizes a palette on the canvas for the drawing, then puts the previous one
// back so the context never keeps a palette its owner may free.
class RealizedPalette {
public:
    RealizedPalette(TCanvas* canvas, HPALETTE palette) : palette_(palette)
    {
        if (!palette_)
            return;
        dc_ = canvas->Handle();
        old_ = SelectPalette(dc_, palette_, FALSE);
        RealizePalette(dc_);
    }
    ~RealizedPalette()
    {
        if (palette_)
            SelectPalette(dc_, old_, FALSE);
    }
    RealizedPalette(const RealizedPalette&) = delete;
    RealizedPalette& operator=(const RealizedPalette&) = delete;

private:
    HPALETTE palette_;
    HDC dc_ = nullptr;
    HPALETTE old_ = nullptr;
};


// Selects a clip region for the drawing and gives the device context its previous clip
// region back afterwards (none when it had none), so callers keep their own clipping.
class ClipRegionScope {
public:
    ClipRegionScope() = default;
    ClipRegionScope(HDC dc, const RECT& clip) { Select(dc, clip); }
    ~ClipRegionScope()
    {
        if (!region_)
            return;
        SelectClipRgn(dc_, hadClip_ ? saved_ : nullptr);
        DeleteObject(region_);
        DeleteObject(saved_);
    }
    void Select(HDC dc, const RECT& clip)
    {
        dc_ = dc;
        saved_ = CreateRectRgn(0, 0, 0, 0);
        hadClip_ = GetClipRgn(dc_, saved_) == 1;
        region_ = CreateRectRgnIndirect(&clip);
        SelectClipRgn(dc_, region_);
    }
    ClipRegionScope(const ClipRegionScope&) = delete;
    ClipRegionScope& operator=(const ClipRegionScope&) = delete;

private:
    HDC dc_ = nullptr;
    HRGN region_ = nullptr;
    HRGN saved_ = nullptr;
    bool hadClip_ = false;
};
