// A small 24-bit picture for the seeds of the targets that read stored bitmaps: one colour
// with a single pixel of another, so a picture read back in the wrong order shows it.
#pragma once

#include "platform/classlib/Graphics.h"

inline TBitmap* FuzzPicture(int width, int height, TColor colour, TColor marker)
{
    auto* bitmap = new TBitmap;
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    bitmap->Canvas()->SetPixels(1, 1, marker);
    return bitmap;
}
