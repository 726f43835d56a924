// A piece of a bitmap copied out into a bitmap of its own, for the effects that work on a
// part of a picture without touching the rest.
#pragma once

#include "platform/classlib/Graphics.h"

#include <memory>

// The part SourceRect of Source as a 24-bit bitmap of that size; nil for an empty rectangle.
inline std::unique_ptr<TBitmap> OBLCopyPiece(TBitmap* Source, const TRect& SourceRect)
{
    const int w = SourceRect.right - SourceRect.left, h = SourceRect.bottom - SourceRect.top;
    if (w <= 0 || h <= 0)
        return nullptr;
    auto piece = std::make_unique<TBitmap>();
    piece->SetPixelFormat(pf24bit);
    piece->SetSize(w, h);
    piece->Canvas()->CopyRect(Rect(0, 0, w, h), Source->Canvas(), SourceRect);
    return piece;
}
