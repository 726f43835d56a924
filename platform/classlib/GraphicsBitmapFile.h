// The bitmap file image behind TBitmap: reading any bitmap file (or bitmap resource) into a
// DIB of one of the bitmap's pixel formats, writing one, and the DIB descriptions of the
// pixel formats. Internal to the graphics unit.
#pragma once

#include "platform/classlib/Graphics.h"

#include <cstddef>
#include <vector>

// A decoded image: rows bottom-up, each padded to 4 bytes, in the memory layout of
// `format` (pf1bit .. pf32bit; never pfDevice).
struct DecodedBitmap {
    TPixelFormat format = pf24bit;
    int width = 0;
    int height = 0;
    std::vector<RGBQUAD> colors;   // the full table of an indexed format
    std::vector<BYTE> bits;
};

int BitsPerPixel(TPixelFormat format);
// Bytes of one row of a DIB: padded to 32 bits; -1 when it does not fit an int.
long long BitmapRowBytes(int width, int bitsPerPixel);
// The colour table a new image of an indexed format starts with.
std::vector<RGBQUAD> DefaultColorTable(TPixelFormat format);
// A BITMAPINFO (header plus colour table) for a bottom-up DIB section of the format;
// pf16bit images are kept as 5-5-5 in memory and written as 5-6-5.
std::vector<BYTE> MakeBitmapInfo(TPixelFormat format, int width, int height, const std::vector<RGBQUAD>& colors);
// The pixel format of a DIB section's header; pfCustom for one the bitmap cannot keep.
TPixelFormat PixelFormatOf(const BITMAPINFOHEADER& header, const DWORD masks[3]);

// Decodes a bitmap file (withFileHeader) or a bitmap resource (header and data only).
// `consumed` receives the bytes the image occupies. Raises EInvalidGraphic "Bitmap image is
// not valid" for anything malformed.
DecodedBitmap DecodeBitmap(const BYTE* data, std::size_t size, bool withFileHeader, std::size_t& consumed);
// A DIB section holding the image; 0 for an empty one.
HBITMAP CreateDibSectionOf(const DecodedBitmap& image);
// The bitmap file image of the DIB.
std::vector<BYTE> EncodeBitmap(const DecodedBitmap& image);
