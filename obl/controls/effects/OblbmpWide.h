// Whole-row pixel work for processors with 512-bit byte permutes (AVX-512 BW and VBMI):
// a row goes 64 bytes a step, its last piece through byte masks, so each routine does the
// whole row. Each step reads its bytes before it writes any, so the target row may be the
// source row itself. A processor without them takes the narrower paths of Oblbmp.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>

namespace oblbmp::wide {

// The processor has the instructions, and they are not switched off. The rows below exist
// on x86-64 only; elsewhere this is false.
bool Available();
// Tests switch them off to check the narrower paths on the same processor.
void SwitchOff(bool off);

void InvertRow(BYTE* to, const BYTE* from, std::size_t bytes);
// Each byte plus `add` and then less `subtract`, held at 0 and 255 (one of them is 0).
void BrightenRow(BYTE* to, const BYTE* from, std::size_t bytes, BYTE add, BYTE subtract);
// The tables below have 256 entries, one for each byte.
// Each pixel's three bytes become red[r] + green[g] + blue[b] (the sum stays a byte).
void GreyRow(BYTE* to, const BYTE* from, int pixels, const BYTE* red, const BYTE* green, const BYTE* blue);
// Each byte a + share[b1 - a] where b1 is above a, a - share[a - b1] where it is below; no
// share is more than its index.
void BlendRow(BYTE* to, const BYTE* b1, const BYTE* a, std::size_t bytes, const BYTE* share);
// Target pixel i is source pixel last - i; the rows do not overlap.
void MirrorRow(BYTE* to, const BYTE* fromLast, int pixels);
// The row's pixels in reverse order, in place.
void MirrorRowInPlace(BYTE* row, int pixels);

} // namespace oblbmp::wide
