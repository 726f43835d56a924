// Helpers shared by the bitmap and gradient routines of unit Oblutils.
#pragma once

#include "obl/core/Oblsysin.h"
#include "obl/core/oblclass.h"
#include "platform/win/WinTypes.h"

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
