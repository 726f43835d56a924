#include "obl/controls/effects/OblbmpWide.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <cstdint>
#include <immintrin.h>
#endif

namespace oblbmp::wide {

namespace {
bool gSwitchedOff = false;
} // namespace

// Compiled for any processor: it decides whether the rest may run (elsewhere than on x86-64
// the rows are not built).
bool Available()
{
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi");
    return has && !gSwitchedOff;
#else
    return false;
#endif
}

void SwitchOff(bool off) { gSwitchedOff = off; }

} // namespace oblbmp::wide

#if defined(__x86_64__) && defined(__GNUC__)

// Everything below runs only where Available() holds. Only this file's own functions come
// after the switch: no library template is instantiated here, so no code for these
// instructions can stand in for another file's copy.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw,avx512vbmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vbmi")
#endif

namespace oblbmp::wide {

namespace {

// The lowest `count` bytes of a register (all 64 from 64 on).
__mmask64 Lowest(std::size_t count)
{
    return count >= 64 ? ~__mmask64{0} : (__mmask64{1} << count) - 1;
}

__m512i Load(const BYTE* p, __mmask64 bytes) { return _mm512_maskz_loadu_epi8(bytes, p); }

void Store(BYTE* p, __mmask64 bytes, __m512i v) { _mm512_mask_storeu_epi8(p, bytes, v); }

// A 64-byte register from a constant byte pattern.
struct alignas(64) Pattern {
    BYTE byte[64];
};

__m512i Of(const Pattern& p) { return _mm512_load_si512(p.byte); }

// Byte i of the result is byte index[i] of v. (The unmasked intrinsic starts from an
// undefined register, which the compiler warns of.)
__m512i Permuted(__m512i index, __m512i v) { return _mm512_maskz_permutexvar_epi8(~__mmask64{0}, index, v); }

// The bytes from p to the next multiple of 64 in memory, at most n. A read that crosses a
// multiple of 64 costs two; the whole steps read from one.
std::size_t ToBoundary(const BYTE* p, std::size_t n)
{
    std::size_t k = (64 - reinterpret_cast<std::uintptr_t>(p) % 64) % 64;
    return k < n ? k : n;
}

// Steps of 64 bytes, the first and last ones masked: the piece before the source's first
// multiple of 64 and what the whole steps leave.
template <class Step>
void InSteps(const BYTE* from, std::size_t n, Step step)
{
    std::size_t i = ToBoundary(from, n);
    if (i > 0)
        step(0, Lowest(i));
    for (; i + 64 <= n; i += 64)
        step(i, ~__mmask64{0});
    if (i < n)
        step(i, Lowest(n - i));
}

template <class Op>
void Bytewise(BYTE* to, const BYTE* from, std::size_t n, Op op)
{
    InSteps(from, n, [=](std::size_t i, __mmask64 part) { Store(to + i, part, op(Load(from + i, part))); });
}

// A table of 256 bytes in four registers, looked up 64 bytes at once: the index's low seven
// bits pick from one half, its top bit the half.
struct Table {
    __m512i quarter[4];

    explicit Table(const BYTE* bytes)
    {
        for (int q = 0; q < 4; ++q)
            quarter[q] = _mm512_loadu_si512(bytes + 64 * q);
    }

    __m512i Look(__m512i index) const
    {
        __m512i low = _mm512_permutex2var_epi8(quarter[0], index, quarter[1]);
        __m512i high = _mm512_permutex2var_epi8(quarter[2], index, quarter[3]);
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
    }
};

// Sixty-four pixels are three registers of bytes. Channel c of pixel p is byte 3 p + c of
// them: the index below picks it from the first two registers, and, where it lies in the
// third, its low six bits pick it from that one.
constexpr Pattern ChannelIndex(int channel)
{
    Pattern p{};
    for (int i = 0; i < 64; ++i)
        p.byte[i] = static_cast<BYTE>((3 * i + channel) & 127);
    return p;
}

constexpr std::uint64_t InThird(int channel)
{
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i)
        if (3 * i + channel >= 128)
            mask |= std::uint64_t{1} << i;
    return mask;
}

// Byte i of register k of three-byte pixels takes grey byte (64 k + i) / 3.
constexpr Pattern Triples(int k)
{
    Pattern p{};
    for (int i = 0; i < 64; ++i)
        p.byte[i] = static_cast<BYTE>((64 * k + i) / 3);
    return p;
}

constexpr Pattern kChannel[3] = {ChannelIndex(0), ChannelIndex(1), ChannelIndex(2)};
constexpr std::uint64_t kInThird[3] = {InThird(0), InThird(1), InThird(2)};
constexpr Pattern kTriples[3] = {Triples(0), Triples(1), Triples(2)};

__m512i Channel(int c, __m512i a, __m512i b, __m512i third)
{
    __m512i index = Of(kChannel[c]);
    return _mm512_mask_permutexvar_epi8(_mm512_permutex2var_epi8(a, index, b), kInThird[c], index, third);
}

struct GreyTables {
    Table red, green, blue;

    // Up to 64 pixels: the first `bytes` bytes (three a pixel) are read, then written.
    void Step(BYTE* to, const BYTE* from, std::size_t bytes) const
    {
        __mmask64 part[3];
        for (std::size_t k = 0; k < 3; ++k)
            part[k] = bytes > 64 * k ? Lowest(bytes - 64 * k) : 0;
        __m512i a = Load(from, part[0]), b = Load(from + 64, part[1]), c = Load(from + 128, part[2]);
        __m512i grey = _mm512_add_epi8(_mm512_add_epi8(red.Look(Channel(2, a, b, c)), green.Look(Channel(1, a, b, c))),
                                       blue.Look(Channel(0, a, b, c)));
        for (int k = 0; k < 3; ++k)
            Store(to + 64 * k, part[k], Permuted(Of(kTriples[k]), grey));
    }
};

// Twenty-one pixels fill 63 bytes of a register; byte j of the reversed ones is byte
// 3 (20 - j / 3) + j % 3. Fewer pixels, loaded from the register's start, are reversed by
// the same pattern moved down by the pixels missing.
constexpr int kMirrorPixels = 21;

constexpr Pattern Reversal()
{
    Pattern p{};
    for (int j = 0; j < 63; ++j)
        p.byte[j] = static_cast<BYTE>(3 * (kMirrorPixels - 1 - j / 3) + j % 3);
    return p;
}

constexpr Pattern kReversal = Reversal();

// Swapping ends in place, the left register holds 21 pixels and the byte after them, the
// right one the byte before 21 pixels: each goes back with its own extra byte unchanged
// and the other's pixels reversed (indices from 64 on pick from the second register).
constexpr Pattern LeftEndSwapped()
{
    Pattern p{};
    for (int j = 0; j < 63; ++j)
        p.byte[j] = static_cast<BYTE>(1 + kReversal.byte[j]);
    p.byte[63] = 64 + 63;
    return p;
}

constexpr Pattern RightEndSwapped()
{
    Pattern p{};
    p.byte[0] = 64;
    for (int j = 1; j < 64; ++j)
        p.byte[j] = kReversal.byte[j - 1];
    return p;
}

constexpr Pattern kLeftEnd = LeftEndSwapped();
constexpr Pattern kRightEnd = RightEndSwapped();

__mmask64 PixelBytes(int pixels) { return Lowest(std::size_t{3} * static_cast<std::size_t>(pixels)); }

// The `pixels` (at most 21) from p, in reverse order at the register's start.
__m512i Reversed(const BYTE* p, int pixels)
{
    __m512i index = _mm512_sub_epi8(Of(kReversal), _mm512_set1_epi8(static_cast<char>(3 * (kMirrorPixels - pixels))));
    return Permuted(index, Load(p, PixelBytes(pixels)));
}

int Fewer(int a, int b) { return a < b ? a : b; }

} // namespace

void InvertRow(BYTE* to, const BYTE* from, std::size_t bytes)
{
    const __m512i ones = _mm512_set1_epi8(-1);
    Bytewise(to, from, bytes, [ones](__m512i v) { return _mm512_xor_si512(v, ones); });
}

void BrightenRow(BYTE* to, const BYTE* from, std::size_t bytes, BYTE add, BYTE subtract)
{
    const __m512i up = _mm512_set1_epi8(static_cast<char>(add)), down = _mm512_set1_epi8(static_cast<char>(subtract));
    Bytewise(to, from, bytes, [up, down](__m512i v) { return _mm512_subs_epu8(_mm512_adds_epu8(v, up), down); });
}

// The first step's pixels end where the source reaches a multiple of 64: 43 pixels are
// 2 * 64 + 1 bytes, so 43 k pixels end k bytes past a multiple of 64.
void GreyRow(BYTE* to, const BYTE* from, int pixels, const BYTE* red, const BYTE* green, const BYTE* blue)
{
    const GreyTables tables{Table(red), Table(green), Table(blue)};
    std::size_t n = std::size_t{3} * static_cast<std::size_t>(pixels);
    std::size_t i = std::size_t{3} * (ToBoundary(from, 63) * 43 % 64);
    if (i >= n)
        i = n;
    if (i > 0)
        tables.Step(to, from, i);
    for (; i + 192 <= n; i += 192)
        tables.Step(to + i, from + i, 192);
    if (i < n)
        tables.Step(to + i, from + i, n - i);
}

// The share is never more than the change, so it is what the smaller of it and the rise
// adds, and what the smaller of it and the fall takes away: one of the two is 0.
void BlendRow(BYTE* to, const BYTE* b1, const BYTE* a, std::size_t bytes, const BYTE* share)
{
    const Table shares(share);
    InSteps(b1, bytes, [&](std::size_t i, __mmask64 part) {
        __m512i b = Load(b1 + i, part), v = Load(a + i, part);
        __m512i rise = _mm512_subs_epu8(b, v), fall = _mm512_subs_epu8(v, b);
        __m512i moved = shares.Look(_mm512_or_si512(rise, fall));
        Store(to + i, part, _mm512_sub_epi8(_mm512_add_epi8(v, _mm512_min_epu8(moved, rise)), _mm512_min_epu8(moved, fall)));
    });
}

// A whole step's store reaches one byte into the next step's pixels (the source and target
// rows are apart, so the next step writes it right after); the last step is masked.
void MirrorRow(BYTE* to, const BYTE* fromLast, int pixels)
{
    int i = 0;
    for (; i + kMirrorPixels < pixels; i += kMirrorPixels)
        _mm512_storeu_si512(to + 3 * i, Reversed(fromLast - 3 * (i + kMirrorPixels - 1), kMirrorPixels));
    int count = pixels - i;
    Store(to + 3 * i, PixelBytes(count), Reversed(fromLast - 3 * (i + count - 1), count));
}

// The two ends swap reversed, 21 pixels each, until they meet: the left piece's pixels land
// at the right end and the right piece's at the left end. While 43 pixels or more are left
// the two registers with their extra bytes (see above) lie apart inside the row, and the
// extra bytes are pixels yet to be read. The next pair is read before this one is written:
// a read that takes in a byte just written waits for the write. The rest goes by pixel
// masks, the right piece being what the left one leaves where fewer than 42 are left.
void MirrorRowInPlace(BYTE* row, int pixels)
{
    constexpr int kWhole = 2 * kMirrorPixels + 1;
    int low = 0, high = pixels;
    auto left = [row](int at) { return row + 3 * at; };
    auto right = [row](int end) { return row + 3 * (end - kMirrorPixels) - 1; };
    if (high - low >= kWhole) {
        __m512i l = _mm512_loadu_si512(left(low)), r = _mm512_loadu_si512(right(high));
        for (;;) {
            __m512i toLeft = _mm512_permutex2var_epi8(r, Of(kLeftEnd), l);
            __m512i toRight = _mm512_permutex2var_epi8(l, Of(kRightEnd), r);
            BYTE* leftEnd = left(low);
            BYTE* rightEnd = right(high);
            low += kMirrorPixels;
            high -= kMirrorPixels;
            bool more = high - low >= kWhole;
            if (more) {
                l = _mm512_loadu_si512(left(low));
                r = _mm512_loadu_si512(right(high));
            }
            _mm512_storeu_si512(leftEnd, toLeft);
            _mm512_storeu_si512(rightEnd, toRight);
            if (!more)
                break;
        }
    }
    for (; low < high; low += kMirrorPixels, high -= kMirrorPixels) {
        int left = Fewer(kMirrorPixels, high - low), right = Fewer(kMirrorPixels, high - low - left);
        __m512i fromLeft = Reversed(row + 3 * low, left), fromRight = Reversed(row + 3 * (high - right), right);
        Store(row + 3 * low, PixelBytes(right), fromRight);
        Store(row + 3 * (high - left), PixelBytes(left), fromLeft);
    }
}

} // namespace oblbmp::wide

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#endif
