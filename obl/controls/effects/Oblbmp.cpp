#include "obl/controls/effects/Oblbmp.h"

#include "obl/controls/effects/OblbmpWide.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

// A bitmap's pixels: row y starts at Row(y), whatever the order the rows are stored in.
struct Plane {
    BYTE* row0 = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    BYTE* At(int x, int y) const { return row0 + y * stride + std::ptrdiff_t{3} * x; }
};

void CheckFormat(TBitmap* bitmap, const char* role)
{
    if (bitmap->PixelFormat() != pf24bit)
        throw EOBLWrongPixelFormat(AnsiString("Wrong PixelFormat in ") + role + " bitmap!");
}

// The scan lines are reached once per bitmap; rows are a fixed stride apart.
Plane Open(TBitmap* bitmap)
{
    Plane p;
    p.width = bitmap->Width();
    p.height = bitmap->Height();
    p.row0 = static_cast<BYTE*>(bitmap->ScanLine(0));
    if (p.height > 1)
        p.stride = static_cast<BYTE*>(bitmap->ScanLine(1)) - p.row0;
    return p;
}

// Where a piece of the source is read from: the bitmap itself, or a copy of the piece
// when the target is the same bitmap somewhere else, so that no pixel is read after it
// was overwritten.
struct SourceView {
    std::vector<BYTE> copy;
    Plane plane;
    int originX = 0;
    int originY = 0;

    const BYTE* At(int x, int y) const { return plane.At(x - originX, y - originY); }
};

SourceView ViewOf(const Plane& source, int left, int top, int width, int height, bool copyNeeded)
{
    SourceView view;
    if (!copyNeeded) {
        view.plane = source;
        return view;
    }
    std::size_t rowBytes = std::size_t{3} * static_cast<std::size_t>(width);
    view.copy.resize(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(view.copy.data() + rowBytes * y, source.At(left, top + y), rowBytes);
    view.plane = Plane{view.copy.data(), static_cast<std::ptrdiff_t>(rowBytes), width, height};
    view.originX = left;
    view.originY = top;
    return view;
}

// One axis of a pixel-for-pixel operation: source positions [from, from + count) land on
// [from + shift, ...); both ends are kept inside their bitmaps.
struct Axis {
    int from = 0;
    int count = 0;
};

Axis CutAxis(int low, int high, std::initializer_list<std::pair<int, int>> landings)
{
    // landings: (shift, size) of every bitmap the positions must lie in, the source first.
    std::int64_t lo = low, hi = high;
    for (auto [shift, size] : landings) {
        lo = std::max<std::int64_t>(lo, -static_cast<std::int64_t>(shift));
        hi = std::min<std::int64_t>(hi, static_cast<std::int64_t>(size) - shift);
    }
    if (hi <= lo)
        return {};
    return {static_cast<int>(lo), static_cast<int>(hi - lo)};
}

// Rows 0..count-1 of a plane with the stride, in the order they lie in memory (bottom-up
// bitmaps have them backwards): the processor reads ahead along ascending addresses, also
// across the end of one row to the start of the next. Every caller's rows are independent:
// each reads what no other one writes.
template <class Row>
void InMemoryOrder(int count, std::ptrdiff_t stride, Row row)
{
    for (int k = 0; k < count; ++k)
        row(stride < 0 ? count - 1 - k : k);
}

// A pixel-for-pixel operation from the source rectangle to the target at the point; the
// kernel works on one row piece: (target bytes, source bytes, pixel count).
template <class Kernel>
void PointOp(TBitmap* source, const TRect& rect, TBitmap* target, const TPoint& point, Kernel kernel)
{
    if (!source || !target)
        return;
    CheckFormat(source, "Source 1");
    CheckFormat(target, "Target");
    int dx = point.x - rect.left, dy = point.y - rect.top;
    Axis xs = CutAxis(rect.left, rect.right, {{0, source->Width()}, {dx, target->Width()}});
    Axis ys = CutAxis(rect.top, rect.bottom, {{0, source->Height()}, {dy, target->Height()}});
    if (xs.count == 0 || ys.count == 0)
        return;
    Plane s = Open(source);
    Plane t = target == source ? s : Open(target);
    SourceView view = ViewOf(s, xs.from, ys.from, xs.count, ys.count, target == source && (dx != 0 || dy != 0));
    InMemoryOrder(ys.count, t.stride, [&](int j) {
        int y = ys.from + j;
        kernel(t.At(xs.from + dx, y + dy), view.At(xs.from, y), xs.count);
    });
}

// The rectangle cut to the bitmap; the point moves with its top-left corner.
void CutToSource(TBitmap* source, TRect& rect, TPoint& point)
{
    TRect cut{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, source->Width()),
              std::min(rect.bottom, source->Height())};
    point.x += cut.left - rect.left;
    point.y += cut.top - rect.top;
    rect = cut;
}

// A flip's area: both bitmaps there and 24-bit (a wrong format throws), the rectangle cut to
// the source and the point moved with it; false where nothing of it is left.
bool FlipArea(TBitmap* source, TBitmap* target, TRect& rect, TPoint& point)
{
    if (!source || !target)
        return false;
    CheckFormat(source, "Source 1");
    CheckFormat(target, "Target");
    CutToSource(source, rect, point);
    return rect.right > rect.left && rect.bottom > rect.top;
}

// Grey shares j * k / 100, rounded half to even, exactly (no binary fractions).
constexpr std::array<BYTE, 256> GreyShare(int k)
{
    std::array<BYTE, 256> table{};
    for (int j = 0; j < 256; ++j) {
        int v = j * k, q = v / 100, r = v % 100;
        if (r > 50 || (r == 50 && q % 2 == 1))
            ++q;
        table[j] = static_cast<BYTE>(q);
    }
    return table;
}

constexpr std::array<BYTE, 256> kRedShare = GreyShare(30);
constexpr std::array<BYTE, 256> kGreenShare = GreyShare(59);
constexpr std::array<BYTE, 256> kBlueShare = GreyShare(11);

// 255 * (0.3 + 0.59 + 0.11) rounded share by share stays a byte.
static_assert(kRedShare[255] + kGreenShare[255] + kBlueShare[255] <= 255);

// Sixteen bytes at a time (each block is read whole before it is written, so the target
// may be the source itself), the rest one by one.
using Block16 = BYTE __attribute__((vector_size(16)));

template <class BlockOp, class ByteOp>
void Bytewise(BYTE* to, const BYTE* from, std::size_t n, BlockOp blockOp, ByteOp byteOp)
{
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        Block16 v;
        std::memcpy(&v, from + i, 16);
        v = blockOp(v);
        std::memcpy(to + i, &v, 16);
    }
    for (; i < n; ++i)
        to[i] = byteOp(from[i]);
}

// The blue and green shares summed, indexed by the two bytes as they lie in a pixel
// (blue | green << 8): one look-up less per pixel.
const BYTE* BlueGreenShares()
{
    static const std::vector<BYTE> table = [] {
        std::vector<BYTE> t(65536);
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue)
                t[blue | green << 8] = static_cast<BYTE>(kBlueShare[blue] + kGreenShare[green]);
        return t;
    }();
    return table.data();
}

void Brighten(BYTE* to, const BYTE* from, int pixels, int delta)
{
    std::size_t n = std::size_t{3} * static_cast<std::size_t>(pixels);
    if (delta >= 0) {
        BYTE d = static_cast<BYTE>(std::min(delta, 255));
        Block16 dv = d - Block16{};
        // A sum below either part has wrapped: it becomes 255.
        Bytewise(
            to, from, n,
            [dv](Block16 v) {
                Block16 r = v + dv;
                return r | reinterpret_cast<Block16>(r < v);
            },
            [d](BYTE b) { return b > 255 - d ? BYTE{255} : static_cast<BYTE>(b + d); });
    } else {
        BYTE d = static_cast<BYTE>(std::min(-delta, 255));
        Block16 dv = d - Block16{};
        // A difference above the minuend has wrapped: it becomes 0.
        Bytewise(
            to, from, n,
            [dv](Block16 v) {
                Block16 r = v - dv;
                return r & ~reinterpret_cast<Block16>(r > v);
            },
            [d](BYTE b) { return b < d ? BYTE{0} : static_cast<BYTE>(b - d); });
    }
}

// Pixels of one row in reverse order: target pixel i is source pixel last - i, for i from
// `first` on. Pixels move as 4-byte words overlapping the next target pixel (rewritten
// right after); the last target pixel is moved as 3 bytes. The caller keeps the 4-byte
// reads inside the row: the source's last pixel is never read as a word.
void MirrorPixels(BYTE* to, const BYTE* fromLast, int first, int count)
{
    int i = first;
    for (; i < count - 1; ++i) {
        std::uint32_t word;
        std::memcpy(&word, fromLast - std::ptrdiff_t{3} * i, 4);
        std::memcpy(to + std::ptrdiff_t{3} * i, &word, 4);
    }
    if (i < count)
        std::memcpy(to + std::ptrdiff_t{3} * i, fromLast - std::ptrdiff_t{3} * i, 3);
}

#if defined(__x86_64__) && defined(__GNUC__)
// Four pixels a step, reversed by one byte shuffle. Loads and stores are 16 bytes for 12
// used: a load starts at the lowest of its four source pixels and reaches 4 bytes past
// them (inside the row from the third target pixel on); a store reaches 4 bytes into the
// target pixels written next.
__attribute__((target("ssse3"))) int MirrorBlocks(BYTE* to, const BYTE* fromLast, int count)
{
    const __m128i reverse = _mm_setr_epi8(9, 10, 11, 6, 7, 8, 3, 4, 5, 0, 1, 2, 12, 13, 14, 15);
    int i = 2;
    for (; i + 6 <= count; i += 4) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fromLast - std::ptrdiff_t{3} * (i + 3)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + std::ptrdiff_t{3} * i), _mm_shuffle_epi8(block, reverse));
    }
    return i;
}

// Whole rows 64 bytes a step where the processor can.
bool HasWideRows() { return oblbmp::wide::Available(); }

bool HasShuffle()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

bool HasWideIntegers()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// A byte shuffle that puts one channel of eight pixels into the high bytes of 16-bit lanes:
// lane p takes byte 3 * (first + p) + channel of the 48 bytes of sixteen pixels when it lies
// in the 16 bytes starting at `base`, else 0. The 256-bit registers work as two independent
// 128-bit halves: the low half holds a group of sixteen pixels, the high half the next
// group, and every shuffle stays in its half; each mask is kept for both halves, so that a
// shuffle reads it straight from memory.
struct alignas(32) ShuffleMask {
    signed char index[32];

    constexpr void Set(int i, int value)
    {
        index[i] = index[16 + i] = static_cast<signed char>(value);
    }
};

constexpr ShuffleMask ChannelLanes(int channel, int first, int base)
{
    ShuffleMask m{};
    for (int p = 0; p < 8; ++p) {
        int offset = 3 * (first + p) + channel - base;
        m.Set(2 * p, -128);
        m.Set(2 * p + 1, offset >= 0 && offset < 16 ? offset : -128);
    }
    return m;
}

// The shuffle that spreads sixteen grey bytes over bytes [16 * part, 16 * part + 16) of
// three-byte pixels.
constexpr ShuffleMask GreyTriples(int part)
{
    ShuffleMask m{};
    for (int i = 0; i < 16; ++i)
        m.Set(i, (16 * part + i) / 3);
    return m;
}

template <int Channel>
constexpr ShuffleMask kLanes[4] = {ChannelLanes(Channel, 0, 0), ChannelLanes(Channel, 0, 16),
                                   ChannelLanes(Channel, 8, 16), ChannelLanes(Channel, 8, 32)};
constexpr ShuffleMask kTriples[3] = {GreyTriples(0), GreyTriples(1), GreyTriples(2)};

__attribute__((target("avx2"))) inline __m256i Mask(const ShuffleMask& m)
{
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(m.index));
}

// Bytes [offset, offset + 16) of both groups (the second group starts 48 bytes later).
__attribute__((target("avx2"))) inline __m256i LoadGroups(const BYTE* from, int offset)
{
    return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(from + 48 + offset),
                               reinterpret_cast<const __m128i*>(from + offset));
}

// j * k / 100 in each 16-bit lane holding j << 8, from the high half y of its product with
// C = k * 2^15 / 100 rounded up: y is the share times 128 less at most 1 or more by under 1
// (the excess of C times j / 256 stays below 1), and a share's fraction is whole
// hundredths, 1.28 apart, so y >> 7 is the quotient and the low seven bits are 64 for a
// half, from 65 on above it, at most 63 below. (y + 64) >> 7, a rounding multiply by 256
// (y stays below 2^15), rounds halves up.
template <short K>
__attribute__((target("avx2"))) inline __m256i ShareTimes128(__m256i j)
{
    constexpr int scaled = K * 32768, c = (scaled + 99) / 100;
    return _mm256_mulhi_epu16(j, _mm256_set1_epi16(static_cast<short>(c)));
}

__attribute__((target("avx2"))) inline __m256i RoundHalvesUp(__m256i y)
{
    return _mm256_mulhrs_epi16(y, _mm256_set1_epi16(256));
}

// Rounded half to even: one less before rounding when the quotient is even.
template <short K>
__attribute__((target("avx2"))) inline __m256i Share(__m256i j)
{
    const __m256i lowestBit = _mm256_set1_epi16(0x80);
    __m256i y = ShareTimes128<K>(j);
    __m256i even = _mm256_cmpeq_epi16(_mm256_and_si256(y, lowestBit), _mm256_setzero_si256());  // -1 when even
    return RoundHalvesUp(_mm256_add_epi16(y, even));
}

// One channel of pixels 0..7 (Half 0) or 8..15 (Half 1) of each group.
template <int Channel, int Half>
__attribute__((target("avx2"))) inline __m256i Lanes(__m256i a, __m256i b, __m256i c)
{
    __m256i low = Half == 0 ? a : b, high = Half == 0 ? b : c;
    return _mm256_or_si256(_mm256_shuffle_epi8(low, Mask(kLanes<Channel>[2 * Half])),
                           _mm256_shuffle_epi8(high, Mask(kLanes<Channel>[2 * Half + 1])));
}

// Green and blue shares lie half way only at 50, 150 and 250, and go down to the even
// neighbour only at 150 (88.5 and 16.5): rounded halves up, those two are taken back (a
// compare gives -1). Red shares lie half way at every 5 + 10 m.
template <int Half>
__attribute__((target("avx2"))) inline __m256i GreyLanes(__m256i a, __m256i b, __m256i c)
{
    const __m256i down = _mm256_set1_epi16(static_cast<short>(150 << 8));
    __m256i green = Lanes<1, Half>(a, b, c), blue = Lanes<0, Half>(a, b, c);
    __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(Share<30>(Lanes<2, Half>(a, b, c)), RoundHalvesUp(ShareTimes128<59>(green))),
        RoundHalvesUp(ShareTimes128<11>(blue)));
    return _mm256_add_epi16(sum, _mm256_add_epi16(_mm256_cmpeq_epi16(green, down), _mm256_cmpeq_epi16(blue, down)));
}

// Thirty-two pixels a step, each step read whole before it is written (the target may be
// the source itself); answers the number of pixels done.
__attribute__((target("avx2"))) int GreyBlocks(BYTE* to, const BYTE* from, int pixels)
{
    int i = 0;
    for (; i + 32 <= pixels; i += 32, from += 96, to += 96) {
        __m256i a = LoadGroups(from, 0), b = LoadGroups(from, 16), c = LoadGroups(from, 32);
        __m256i grey = _mm256_packus_epi16(GreyLanes<0>(a, b, c), GreyLanes<1>(a, b, c));
        for (int part = 0; part < 3; ++part) {
            __m256i out = _mm256_shuffle_epi8(grey, Mask(kTriples[part]));
            _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(to + 48 + 16 * part),
                                 reinterpret_cast<__m128i*>(to + 16 * part), out);
        }
    }
    return i;
}

// The blend's share of a difference n = |b1 - a|, nearbyint(n * alpha), from one 16-bit
// multiply of n << 8: y = (n << 8) * factor >> 16 holds the share with eight bits of
// fraction below it, and the share is
//   (y + bias) >> 8                  for strengths where no share lies half way, or
//   (y + 127 + (y >> 8 & 1)) >> 8    for whole 256ths (exact: y = n * alpha * 256), where the
//                                    shares half way go to the even neighbour.
// A difference of the other sign gets the same share negated.
struct ShareRule {
    bool halves = false;
    std::uint16_t factor = 0;
    std::uint16_t bias = 0;
};

// A fall's share is the rise's negated (under the default rounding it is).
bool Symmetric(const int* table)
{
    for (int n = 1; n < 256; ++n)
        if (table[-n] != -table[n])
            return false;
    return true;
}

// The vector code's arithmetic for one lane.
unsigned RuleShare(const ShareRule& rule, int n)
{
    unsigned y = (static_cast<unsigned>(n) << 8) * rule.factor >> 16;
    return (y + (rule.halves ? 127 + (y >> 8 & 1) : rule.bias)) >> 8;
}

// The rule that gives every share of the table (indexed -255..255), if there is one: the
// factor of a plain rounding is searched near alpha * 2^16, with the bias every share
// allows. Under the default rounding some factor within 10 of it fits every strength;
// under another rounding mode the table may have no rule (it is not symmetric, say).
std::optional<ShareRule> RuleFor(double alpha, const int* table)
{
    if (!Symmetric(table))
        return std::nullopt;
    auto fits = [table](const ShareRule& rule) {
        for (int n = 0; n < 256; ++n)
            if (static_cast<int>(RuleShare(rule, n)) != table[n])
                return false;
        return true;
    };
    double in256ths = alpha * 256;
    if (in256ths > 0 && in256ths < 256 && in256ths == std::floor(in256ths)) {
        ShareRule rule{true, static_cast<std::uint16_t>(static_cast<int>(in256ths) << 8), 0};
        return fits(rule) ? std::optional(rule) : std::nullopt;
    }
    const long start = std::lround(alpha * 65536);
    for (int k = 0; k <= 32; ++k) {
        long factor = start + (k % 2 ? (k + 1) / 2 : -(k / 2));
        if (factor < 0 || factor > 65535)
            continue;
        int low = 0, high = 65535;
        for (int n = 0; n < 256 && low <= high; ++n) {
            int y = static_cast<int>((static_cast<unsigned>(n) << 8) * static_cast<unsigned>(factor) >> 16);
            low = std::max(low, table[n] * 256 - y);
            high = std::min(high, table[n] * 256 + 255 - y);
        }
        if (low <= high)
            return ShareRule{false, static_cast<std::uint16_t>(factor), static_cast<std::uint16_t>(low)};
    }
    return std::nullopt;
}

template <bool Halves>
inline __m128i Shares(__m128i lanes, __m128i factor, __m128i bias)
{
    __m128i y = _mm_mulhi_epu16(lanes, factor);
    if constexpr (Halves)
        bias = _mm_add_epi16(_mm_set1_epi16(127), _mm_and_si128(_mm_srli_epi16(y, 8), _mm_set1_epi16(1)));
    return _mm_srli_epi16(_mm_add_epi16(y, bias), 8);
}

// Sixteen bytes a step, each step read whole before it is written (the target may be either
// source); answers the number of bytes done. The share moves a towards b1 and is never more
// than the change (alpha is at most 1), so it is what the smaller of it and the rise b1 - a
// adds, and what the smaller of it and the fall a - b1 takes away: one of the two is 0.
template <bool Halves>
std::size_t BlendBlocks(BYTE* to, const BYTE* b1, const BYTE* a, std::size_t n, const ShareRule& rule)
{
    const __m128i zero = _mm_setzero_si128(), factor = _mm_set1_epi16(static_cast<short>(rule.factor)),
                  bias = _mm_set1_epi16(static_cast<short>(rule.bias));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b1 + i));
        __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        __m128i rise = _mm_subs_epu8(first, second), fall = _mm_subs_epu8(second, first);
        __m128i change = _mm_or_si128(rise, fall);
        __m128i share = _mm_packus_epi16(Shares<Halves>(_mm_unpacklo_epi8(zero, change), factor, bias),
                                         Shares<Halves>(_mm_unpackhi_epi8(zero, change), factor, bias));
        __m128i up = _mm_min_epu8(share, rise), down = _mm_min_epu8(share, fall);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_sub_epi8(_mm_add_epi8(second, up), down));
    }
    return i;
}

template <bool Halves>
__attribute__((target("avx2"))) inline __m256i Shares(__m256i lanes, __m256i factor, __m256i bias)
{
    __m256i y = _mm256_mulhi_epu16(lanes, factor);
    if constexpr (Halves)
        bias = _mm256_add_epi16(_mm256_set1_epi16(127),
                                _mm256_and_si256(_mm256_srli_epi16(y, 8), _mm256_set1_epi16(1)));
    return _mm256_srli_epi16(_mm256_add_epi16(y, bias), 8);
}

// The same, thirty-two bytes a step (unpacking and packing stay inside each 128-bit half,
// so the bytes keep their order).
template <bool Halves>
__attribute__((target("avx2"))) std::size_t WideBlendBlocks(BYTE* to, const BYTE* b1, const BYTE* a, std::size_t n,
                                                            const ShareRule& rule)
{
    const __m256i zero = _mm256_setzero_si256(), factor = _mm256_set1_epi16(static_cast<short>(rule.factor)),
                  bias = _mm256_set1_epi16(static_cast<short>(rule.bias));
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b1 + i));
        __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        __m256i rise = _mm256_subs_epu8(first, second), fall = _mm256_subs_epu8(second, first);
        __m256i change = _mm256_or_si256(rise, fall);
        __m256i share = _mm256_packus_epi16(Shares<Halves>(_mm256_unpacklo_epi8(zero, change), factor, bias),
                                            Shares<Halves>(_mm256_unpackhi_epi8(zero, change), factor, bias));
        __m256i up = _mm256_min_epu8(share, rise), down = _mm256_min_epu8(share, fall);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + i),
                            _mm256_sub_epi8(_mm256_add_epi8(second, up), down));
    }
    return i;
}

// The blocks of one row by the rule: the widest the processor has, then sixteen bytes.
std::size_t BlendRowBlocks(BYTE* to, const BYTE* b1, const BYTE* a, std::size_t n, const ShareRule& rule)
{
    std::size_t i = 0;
    if (HasWideIntegers())
        i = rule.halves ? WideBlendBlocks<true>(to, b1, a, n, rule) : WideBlendBlocks<false>(to, b1, a, n, rule);
    return i + (rule.halves ? BlendBlocks<true>(to + i, b1 + i, a + i, n - i, rule)
                            : BlendBlocks<false>(to + i, b1 + i, a + i, n - i, rule));
}
#endif

void MirrorRow(BYTE* to, const BYTE* fromLast, int count)
{
    if (count <= 0)
        return;
#if defined(__x86_64__) && defined(__GNUC__)
    if (HasWideRows()) {
        oblbmp::wide::MirrorRow(to, fromLast, count);
        return;
    }
#endif
    // The source's last pixel (target pixel 0) goes as 3 bytes: it may end the image.
    std::memcpy(to, fromLast, 3);
    int first = 1;
#if defined(__x86_64__) && defined(__GNUC__)
    if (count >= 8 && HasShuffle()) {
        std::memcpy(to + 3, fromLast - 3, 3);
        first = MirrorBlocks(to, fromLast, count);
    }
#endif
    MirrorPixels(to, fromLast, first, count);
}

} // namespace

void OBLBMPGrayScale(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point)
{
    const BYTE* blueGreen = BlueGreenShares();
    PointOp(Source, Rect, Target, Point, [blueGreen](BYTE* to, const BYTE* from, int pixels) {
        int i = 0;
#if defined(__x86_64__) && defined(__GNUC__)
        if (HasWideRows()) {
            oblbmp::wide::GreyRow(to, from, pixels, kRedShare.data(), kGreenShare.data(), kBlueShare.data());
            return;
        }
        if (HasWideIntegers())
            i = GreyBlocks(to, from, pixels);
#endif
        for (to += 3 * i, from += 3 * i; i < pixels; ++i, to += 3, from += 3) {
            BYTE grey = static_cast<BYTE>(kRedShare[from[2]] + blueGreen[from[0] | from[1] << 8]);
            to[0] = grey;
            to[1] = grey;
            to[2] = grey;
        }
    });
}

void OBLBMPInvert(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point)
{
    PointOp(Source, Rect, Target, Point, [](BYTE* to, const BYTE* from, int pixels) {
        std::size_t n = std::size_t{3} * static_cast<std::size_t>(pixels);
#if defined(__x86_64__) && defined(__GNUC__)
        if (HasWideRows()) {
            oblbmp::wide::InvertRow(to, from, n);
            return;
        }
#endif
        Bytewise(to, from, n, [](Block16 v) { return ~v; }, [](BYTE b) { return static_cast<BYTE>(~b); });
    });
}

void OBLBMPBrightness(TBitmap* Source, const TRect& Rect, TBitmap* Target, std::int16_t Delta, const TPoint& Point)
{
    PointOp(Source, Rect, Target, Point, [Delta](BYTE* to, const BYTE* from, int pixels) {
#if defined(__x86_64__) && defined(__GNUC__)
        if (HasWideRows()) {
            // Saturating byte sums are the clamp at either end.
            auto up = static_cast<BYTE>(std::clamp<int>(Delta, 0, 255));
            auto down = static_cast<BYTE>(std::clamp<int>(-Delta, 0, 255));
            oblbmp::wide::BrightenRow(to, from, std::size_t{3} * static_cast<std::size_t>(pixels), up, down);
            return;
        }
#endif
        Brighten(to, from, pixels, Delta);
    });
}

void OBLBmpBrightnessEC(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point,
                        std::int16_t Delta, TColor Color)
{
    COLORREF rgb = ColorToRGB(Color);
    BYTE red = static_cast<BYTE>(rgb & 0xFF), green = static_cast<BYTE>((rgb >> 8) & 0xFF),
         blue = static_cast<BYTE>((rgb >> 16) & 0xFF);
    PointOp(Source, Rect, Target, Point, [=](BYTE* to, const BYTE* from, int pixels) {
        for (int i = 0; i < pixels; ++i, to += 3, from += 3)
            if (from[0] != blue || from[1] != green || from[2] != red)
                Brighten(to, from, 1, Delta);
    });
}

void OBLBMPFlipHorizonzal(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point)
{
    TRect r = Rect;
    TPoint p = Point;
    if (!FlipArea(Source, Target, r, p))
        return;
    int w = r.right - r.left, h = r.bottom - r.top;
    Plane s = Open(Source);
    bool inPlace = Source == Target && p.x == r.left && p.y == r.top;
    if (inPlace) {
        // Rows swapped pairwise through one row of any width; a middle row stays.
        std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(w);
        std::vector<BYTE> row(bytes);
        for (int j = 0; j < h / 2; ++j) {
            BYTE* a = s.At(r.left, r.top + j);
            BYTE* b = s.At(r.left, r.bottom - 1 - j);
            std::memcpy(row.data(), a, bytes);
            std::memcpy(a, b, bytes);
            std::memcpy(b, row.data(), bytes);
        }
        return;
    }
    Plane t = Target == Source ? s : Open(Target);
    // Columns map one to one, rows reversed; both kept inside the target.
    Axis xs = CutAxis(r.left, r.right, {{p.x - r.left, t.width}});
    Axis js = CutAxis(0, h, {{p.y, t.height}});
    if (xs.count == 0 || js.count == 0)
        return;
    SourceView view = ViewOf(s, r.left, r.top, w, h, Target == Source);
    std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(xs.count);
    for (int j = js.from; j < js.from + js.count; ++j)
        std::memcpy(t.At(xs.from + p.x - r.left, p.y + j), view.At(xs.from, r.bottom - 1 - j), bytes);
}

void OBLBMPFlipVertical(TBitmap* Source, const TRect& Rect, TBitmap* Target, const TPoint& Point)
{
    TRect r = Rect;
    TPoint p = Point;
    if (!FlipArea(Source, Target, r, p))
        return;
    int w = r.right - r.left, h = r.bottom - r.top;
    Plane s = Open(Source);
    bool inPlace = Source == Target && p.x == r.left && p.y == r.top;
    if (inPlace) {
#if defined(__x86_64__) && defined(__GNUC__)
        if (HasWideRows()) {
            InMemoryOrder(h, s.stride, [&](int j) { oblbmp::wide::MirrorRowInPlace(s.At(r.left, r.top + j), w); });
            return;
        }
#endif
        // Each row reversed into one row of any width, then put back.
        std::size_t bytes = std::size_t{3} * static_cast<std::size_t>(w);
        std::vector<BYTE> row(bytes);
        for (int y = r.top; y < r.bottom; ++y) {
            BYTE* line = s.At(r.left, y);
            MirrorRow(row.data(), line + bytes - 3, w);
            std::memcpy(line, row.data(), bytes);
        }
        return;
    }
    Plane t = Target == Source ? s : Open(Target);
    Axis is = CutAxis(0, w, {{p.x, t.width}});
    Axis ys = CutAxis(r.top, r.bottom, {{p.y - r.top, t.height}});
    if (is.count == 0 || ys.count == 0)
        return;
    SourceView view = ViewOf(s, r.left, r.top, w, h, Target == Source);
    InMemoryOrder(ys.count, t.stride, [&](int j) {
        int y = ys.from + j;
        MirrorRow(t.At(p.x + is.from, p.y - r.top + y), view.At(r.right - 1 - is.from, y), is.count);
    });
}

void OBLBMPAlphaBlend(TBitmap* Source1, TBitmap* Source2, const TRect& Rect, const TPoint& Point, TBitmap* Target,
                      float Alpha, const TPoint& Point2)
{
    if (!Source1 || !Source2 || !Target)
        return;
    CheckFormat(Source1, "Source 1");
    CheckFormat(Source2, "Source 2");
    CheckFormat(Target, "Target");
    // Held at 0..1 (not-a-number counts as 0), the blend lies between its two bytes, so
    // it can never leave 0..255.
    double alpha = Alpha >= 0.0f ? std::min(static_cast<double>(Alpha), 1.0) : 0.0;
    int d2x = Point.x - Rect.left, d2y = Point.y - Rect.top;
    int dtx = Point2.x - Rect.left, dty = Point2.y - Rect.top;
    Axis xs = CutAxis(Rect.left, Rect.right,
                      {{0, Source1->Width()}, {d2x, Source2->Width()}, {dtx, Target->Width()}});
    Axis ys = CutAxis(Rect.top, Rect.bottom,
                      {{0, Source1->Height()}, {d2y, Source2->Height()}, {dty, Target->Height()}});
    if (xs.count == 0 || ys.count == 0)
        return;
    std::array<int, 511> share{};
    for (int d = -255; d <= 255; ++d)
        share[d + 255] = static_cast<int>(std::nearbyint(d * alpha));
    Plane s1 = Open(Source1);
    Plane s2 = Source2 == Source1 ? s1 : Open(Source2);
    Plane t = Target == Source1 ? s1 : Target == Source2 ? s2 : Open(Target);
    SourceView v1 = ViewOf(s1, xs.from, ys.from, xs.count, ys.count, Target == Source1 && (dtx != 0 || dty != 0));
    SourceView v2 = ViewOf(s2, xs.from + d2x, ys.from + d2y, xs.count, ys.count,
                           Target == Source2 && (dtx != d2x || dty != d2y));
    const int* table = share.data() + 255;
#if defined(__x86_64__) && defined(__GNUC__)
    const bool wide = HasWideRows() && Symmetric(table);
    BYTE shares[256];
    for (int n = 0; n < 256; ++n)
        shares[n] = static_cast<BYTE>(table[n]);
    const std::optional<ShareRule> rule = wide ? std::nullopt : RuleFor(alpha, table);
#endif
    std::size_t n = std::size_t{3} * static_cast<std::size_t>(xs.count);
    InMemoryOrder(ys.count, t.stride, [&](int j) {
        int y = ys.from + j;
        const BYTE* b1 = v1.At(xs.from, y);
        const BYTE* a = v2.At(xs.from + d2x, y + d2y);
        BYTE* to = t.At(xs.from + dtx, y + dty);
        std::size_t i = 0;
#if defined(__x86_64__) && defined(__GNUC__)
        if (wide) {
            oblbmp::wide::BlendRow(to, b1, a, n, shares);
            return;
        }
        if (rule)
            i = BlendRowBlocks(to, b1, a, n, *rule);
#endif
        for (; i < n; ++i)
            to[i] = static_cast<BYTE>(table[b1[i] - a[i]] + a[i]);
    });
}
