// Unit Oblbmp: pixel work straight on the scan lines of 24-bit bitmaps (pixels are three
// bytes, blue, green, red).
//
// Every routine takes a source bitmap with a rectangle in it and a target bitmap with the
// point where the rectangle's top-left pixel lands. The rectangle is first cut to the
// source bitmap (the point moves with its corner); target pixels outside the target
// bitmap are skipped. Source and target may be one bitmap: in place (point on the
// rectangle's corner) or shifted, overlapping or not, the result is as if the source had
// been read whole before anything was written. Both bitmaps must be 24-bit, else
// EOBLWrongPixelFormat; an empty rectangle or a nil bitmap changes nothing.
#pragma once

#include "platform/classlib/Graphics.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>

// One colour triple as the scan lines hold it.
struct TOBLRGB {
    BYTE Blue;
    BYTE Green;
    BYTE Red;
};

// "Wrong PixelFormat in <role> bitmap!", role "Source 1", "Source 2" or "Target".
VENDARO_EXCEPTION(EOBLWrongPixelFormat, Exception);

// Brightness offsets the routines accept; larger ones act as the ends.
using TOBLBrightness = std::int16_t;  // -255..255

// All three bytes become 0.3 red + 0.59 green + 0.11 blue, each share rounded half to even
// (pure red gives 76, white 254).
void OBLBMPGrayScale(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point);
// The rectangle upside down, turned about its horizontal axis: target row Point.y + j is
// source row Bottom - 1 - j.
void OBLBMPFlipHorizonzal(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point);
// The rectangle mirrored left to right, about its vertical axis: in every row, target pixel
// Point.x + j is source pixel Right - 1 - j.
void OBLBMPFlipVertical(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point);
// Each byte b becomes 255 - b.
void OBLBMPInvert(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point);
// Each byte b becomes b + Delta, held at 0 and 255.
void OBLBMPBrightness(TBitmap* Source, const TRect& Rect, TBitmap* Target, std::int16_t Delta,
                      const TPoint& Point);
// The same, skipping every pixel whose colour is Color (resolved to RGB).
void OBLBmpBrightnessEC(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point,
                        std::int16_t Delta, TColor Color);
// Each byte becomes a + (b1 - a) * Alpha rounded half to even and held at 0..255, b1 from
// Source1 at the rectangle, a from Source2 at Point; the result lands in Target at Point2.
// Alpha is held at 0..1 (1 gives Source1, 0 Source2). The formats are checked in the order
// Source1, Source2, Target.
void OBLBMPAlphaBlend(TBitmap* Source1, TBitmap* Source2, const TRect& Rect, const TPoint& Point, TBitmap* Target,
                      float Alpha, const TPoint& Point2);
