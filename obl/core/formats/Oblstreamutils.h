// Unit Oblstreamutils: the fields of the library's own stream formats (little-
// endian integers, short strings, string lists, bitmaps, waves), plain or through a
// compressed stream of LZRW blocks:
//   int32 T (the total length of the blocks, each counted with its 4-byte
//   length), then per block int32 L (1..32782) and the L bytes of the block.
// Every block but the last holds exactly OBLLZRWChunkSize source bytes.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/win/WinTypes.h"

#include <vector>

class TBitmap;
class TOBLWave;

void stWriteInteger(TStream* Stream, int Value);
void stWriteWord(TStream* Stream, WORD Value);
void stWriteByte(TStream* Stream, BYTE Value);
// A length byte and the characters; a string longer than 255 characters keeps
// its first 255.
void stWriteString(TStream* Stream, const AnsiString& Value);

// The plain readers take what the stream still holds: the bytes missing at its
// end read as 0 (an integer, word or byte) or shorten the string.
void stReadInteger(TStream* Stream, int& Value);
void stReadWord(TStream* Stream, WORD& Value);
void stReadByte(TStream* Stream, BYTE& Value);
void stReadString(TStream* Stream, AnsiString& Value);

// Plain: int32 byte count N and the list's text (each line followed by CR LF);
// compressed: a compressed stream of that text.
void stWriteStringList(TStream* Stream, TStrings* Strings, bool Compressed);
// A count that is negative or larger than what the stream still holds raises
// EReadError before anything is allocated.
void stReadStringList(TStream* Stream, TStrings* Strings, bool Compressed);

// Plain: int32 size and the RIFF image; compressed: a compressed stream of it.
void stWriteWave(TStream* Stream, TOBLWave* Wave, bool Compressed);
void stReadWave(TStream* Stream, TOBLWave* Wave, bool Compressed);

// Bitmap fields. Code -1 stores the class library's bitmap file image; the
// other codes store the library's own device-independent image at the depth
// of the code (2: 1 bit, 16: 4 bits, 256: 8 bits, any other: the bitmap's
// device depth, 16 and 32 bits becoming 24). Plain: int32 byte count N and the
// image; compressed: a compressed stream of the image, where a monochrome
// bitmap's own image is always stored at 1 bit.
void stWriteBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed, int Code);
// Reads either image form (both are bitmap files) into Bitmap. The image must hold
// what its header claims: every row of a plain image, and for a run-length image (where
// a few bytes can claim millions of pixels) at most OBLMaxStoredBitmapPixels pixels or
// OBLRunLengthPixelsPerByte pixels for each byte of the image, whichever is more.
// Otherwise the field raises EReadError before any pixel is made, and Bitmap is left as
// it was. The library writes plain images only, so every bitmap it writes reads back; a
// compressed field restores at most about a thousand bytes for each byte it holds.
inline constexpr long long OBLMaxStoredBitmapPixels = 1LL << 22;
inline constexpr long long OBLRunLengthPixelsPerByte = 1024;
void stReadBitmap(TStream* Stream, TBitmap* Bitmap, bool Compressed);
// Writes the own device-independent image of Bitmap (1 bit for a monochrome
// bitmap whatever the code), then rewinds Stream to 0. A bitmap without an
// image raises Exception "Bitmap image is not valid".
void OBLBmpSaveDIBStream(TStream* Stream, TBitmap* Bitmap, int Code);
// The own device-independent image of a bitmap object (its palette, when
// given, realised for reading the colours) at the depth of Code. A null bitmap
// raises Exception "Bitmap image is not valid".
std::vector<BYTE> OBLBuildDIBImage(HBITMAP Bitmap, HPALETTE Palette, int Code);

// Compresses Count bytes of Source, from its position, into a compressed stream
// written to Dest at its position; Dest is left after the written data.
void SaveCompressedStream(TStream* Source, TStream* Dest, int Count);
// Restores one compressed stream of Source into Dest at its position. A block
// length outside 1..32782, a damaged block or a stream that ends early raises
// EReadError.
void LoadCompressedStream(TStream* Source, TStream* Dest);

// The int32 byte count of a plain field, checked against what Stream still
// holds (EReadError when it cannot be right).
int stReadFieldSize(TStream* Stream);
