// Unit Oblprocs: procedures shared by the component library.
#pragma once

#include "platform/win/WinTypes.h"

#include <array>
#include <cstddef>

// ---- LZRW block compression -------------------------------------------------
// One buffer of at most OBLLZRWChunkSize bytes becomes one block (LZRW1 with
// run items; a block that would not shrink is stored with the flag 0x80) and
// back. The block layout is part of every compressed stream of the library.

// Source bytes per block.
constexpr std::size_t OBLLZRWChunkSize = 32781;
// Largest block: a stored full chunk (flag byte + the chunk).
constexpr std::size_t OBLLZRWBufferSize = OBLLZRWChunkSize + 1;

using TOBLLZRWBuffer = std::array<BYTE, OBLLZRWBufferSize>;

// Compresses the first sourceSize bytes of source into dest and returns the
// block length (at most sourceSize + 1). A sourceSize above OBLLZRWChunkSize,
// or a hash table that cannot be allocated, raises EInvalidPointer. Bytes of dest
// past the block are scratch.
WORD OBLLZRWCompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize);

// Restores the block held in the first sourceSize bytes of source into dest and
// returns the number of bytes produced. A damaged block (too short, an item cut
// off, a copy reaching before the output, more than OBLLZRWChunkSize bytes of
// output) raises EReadError; nothing outside the two buffers is touched. Bytes of
// dest past the answered count are scratch: the decoder may write whole words there.
WORD OBLLZRWDecompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize);

// ---- General procedures (OblprocsGeneral.cpp) ---------------------------------------
// Stateless routines: rectangle and point arithmetic, minimum and maximum over arrays,
// bits of a byte, the program's path and the standard folders, shortening a path for
// display, a busy wait, system-menu trimming and handing addresses to the shell.
// Open arrays are passed as a pointer and the index of their last element (high).

#include "platform/classlib/Sets.h"
#include "platform/classlib/TypInfo.h"
#include "platform/rtl/AnsiString.h"

VENDARO_ENUM(TOBLPathPrefix, ppWindows, ppSystem, ppProgram, ppFixed)
VENDARO_ENUM(TOBLSysMenuEntry, smRestore, smMove, smSize, smMinimize, smMaximize, smClose, smSwitch)
using TOBLSysMenuEntries = TSet<TOBLSysMenuEntry>;

// Rectangles and points.
RECT OBLExpandRect(const RECT& r, int n);
void OBLAdjustRect(RECT& r, int dx, int dy);
void OBLAdjustRectExt(RECT& r, int dLeft, int dTop, int dRight, int dBottom);
// The largest rectangle of the source's proportions inside the target, at its top-left;
// an empty source gives an empty rectangle there.
RECT OBLAffineRect(const RECT& source, const RECT& target);
void OBLGetRectWH(const RECT& r, int& w, int& h);
bool OBLRectinRect(const RECT& a, const RECT& b);
// The bounding box of r rotated by angle degrees about its centre, moved to (0, 0).
void OBLCalcRotRect(RECT& r, int angle);
int OBLRotatedXPos(int angle, int h, int w);
int OBLRotatedYPos(int angle, int h, int w);
// The average of the points; an empty array leaves p alone.
void OBLMidpoint(const POINT* points, int high, POINT& p);
void OBLOffsetPoints(POINT* points, int high, int dx, int dy);
void OBLNullPoints(POINT* points, int high);

// Numbers. The minimum and maximum of an empty array are 0.
int OBLMax(const int* values, int high);
int OBLMin(const int* values, int high);
long double OBLMaxR(const long double* values, int high);
long double OBLMinR(const long double* values, int high);
int OBLMidI(int a, int b);
void OBLSwapInt(int& a, int& b);
void OBLSwapString(AnsiString& a, AnsiString& b);
// base to the power n with 32-bit wrap-around; 1 when n <= 0.
int OBLExp(int base, int n);
int OBLInc(int& n);
int OBLDec(int& n);
// Sets or clears one bit; bits above 7 leave the byte alone.
void OBLSetBit(BYTE& b, int bit, bool on);
void OBLSetBitUpTo(BYTE& b, int bit);
bool OBLGetBit(BYTE b, int bit);

// Paths and names.
AnsiString OBLAppPath();
AnsiString OBLAppIniName();
AnsiString OBLExtractFileName(const AnsiString& s);
// Empty when the platform fails or the folder does not fit the 260-character buffer.
AnsiString OBLWindowsDirectory();
AnsiString OBLSystemDirectory();
AnsiString OBLCreatePathPrefix(TOBLPathPrefix kind, bool withSlash);
// Replaces leading folders by "...\" until the text fits (at worst the bare file name).
AnsiString OBLShrunkFileName(const AnsiString& path, int maxLength);

// Other.
// Busy-waits (no messages, no sleeping) until more than ms milliseconds have passed.
void OBLDelay(DWORD ms);
// Removes the system-menu entries not in the set, by position and from the bottom up.
void OBLCheckSystemMenu(TOBLSysMenuEntries entries, HMENU menu, bool reduced);
// Only a leading scheme (any case) counts: anything else gets the scheme put in front.
void OBLMailTo(const AnsiString& address, const AnsiString& subject);
void OBLJumpTo(const AnsiString& address, bool asIs);
