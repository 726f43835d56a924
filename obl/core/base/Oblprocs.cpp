#include "obl/core/base/Oblprocs.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// ---- LZRW block compression -------------------------------------------------

namespace {

constexpr BYTE LZRWFlagStored = 0x80;
constexpr BYTE LZRWFlagCompressed = 0x40;
constexpr std::size_t LZRWHashSize = 4096;
constexpr WORD LZRWHashEmpty = 0xFFFF;
constexpr int LZRWMaxOffset = 4095;
constexpr int LZRWMinCopy = 3;
constexpr int LZRWMaxCopy = 18;
constexpr int LZRWMinRun = 16;
constexpr int LZRWMaxRun = 4095;
constexpr int LZRWSignedPositions = 32768; // stored positions read back as signed 16-bit numbers
constexpr const char* LZRWErrorText = "LZRW Error!";

constexpr int LZRWControlItems = 16; // the items of one control word
constexpr int LZRWLiteralRow = LZRWControlItems; // literals looked at together: one control word's worth

// The compressor's working memory: the hash table, all empty, then room for the
// table slot of every position of a buffer (rounded up to whole rows).
constexpr std::size_t LZRWWorkspaceWords = LZRWHashSize + OBLLZRWBufferSize + LZRWLiteralRow;

std::unique_ptr<WORD[]> LZRWNewWorkspace()
{
    try {
        auto words = std::make_unique_for_overwrite<WORD[]>(LZRWWorkspaceWords);
        std::fill_n(words.get(), LZRWHashSize, LZRWHashEmpty);
        return words;
    } catch (const std::bad_alloc&) {
        throw EInvalidPointer(LZRWErrorText);
    }
}

WORD LZRWStore(const BYTE* source, BYTE* dest, int size)
{
    dest[0] = LZRWFlagStored;
    std::memcpy(dest + 1, source, static_cast<std::size_t>(size));
    return static_cast<WORD>(size + 1);
}

[[noreturn]] void LZRWDamaged() { throw EReadError(LZRWErrorText); }

std::uint32_t LZRWLoad32(const BYTE* at)
{
    std::uint32_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

std::uint64_t LZRWLoad64(const BYTE* at)
{
    std::uint64_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// The table slot of the three bytes at `at`: bits 4 to 15 of the product, so
// 16-bit arithmetic gives it (and the slots of a row of positions vectorize).
std::size_t LZRWHashIndex(const BYTE* at)
{
    const unsigned h = (static_cast<unsigned>(at[0]) << 8) ^ (static_cast<unsigned>(at[1]) << 4) ^ at[2];
    return static_cast<WORD>(h * 40543u) >> 4;
}

// Whether the table entry `stored` offers a copy of at least three bytes at x.
// A stored position is compared as a signed 16-bit number, so positions of 32768
// and above never match: part of the output. Most candidates fail at random, so
// everything that rules a copy out is gathered into one word and tested once;
// position 0 (or another within the buffer) is read when there is no candidate.
bool LZRWCopyOffered(const BYTE* source, int x, WORD stored)
{
    static_assert(LZRWMaxOffset == (1 << 12) - 1);
    const std::uint32_t diff = LZRWLoad32(source + (stored & 0x7FFF)) ^ LZRWLoad32(source + x);
    const std::uint32_t far = static_cast<std::uint32_t>(x - stored) >> 12; // the empty mark is far too
    const std::uint32_t high = stored >> 15;                                 // read back as negative
    return ((diff << 8) | far | high) == 0;
}

// The number of bytes from x equal to those from p, at most `most`. In the
// bulk of the buffer three whole words are compared and the first difference
// found without a jump on the length (lengths vary at random).
int LZRWMatchLength(const BYTE* source, int x, int p, int most)
{
    if (x + 3 * 8 <= static_cast<int>(OBLLZRWBufferSize)) {
        const std::uint64_t d0 = LZRWLoad64(source + x) ^ LZRWLoad64(source + p);
        const std::uint64_t d1 = LZRWLoad64(source + x + 8) ^ LZRWLoad64(source + p + 8);
        const std::uint64_t d2 = LZRWLoad64(source + x + 16) ^ LZRWLoad64(source + p + 16);
        // Each word counts (8 bytes when equal) only after equal words: masked, not jumped over.
        const unsigned after0 = 0u - static_cast<unsigned>(d0 == 0);
        const unsigned after1 = 0u - static_cast<unsigned>((d0 | d1) == 0);
        const unsigned length = std::countr_zero(d0) / 8 + ((std::countr_zero(d1) / 8) & after0) +
                                ((std::countr_zero(d2) / 8) & after1);
        return std::min(most, static_cast<int>(length));
    }
    int length = 0;
    while (length < most && source[x + length] == source[p + length]) ++length;
    return length;
}

// Whether a run item starts at x: the LZRWMinRun bytes from x are one byte
// (a shorter run is no item), told by two overlapping pairs of words.
bool LZRWRunStarts(const BYTE* source, int x, int size)
{
    static_assert(LZRWMinRun == 16);
    if (x + LZRWMinRun > size) return false;
    const BYTE* at = source + x;
    return ((LZRWLoad64(at) ^ LZRWLoad64(at + 1)) | (LZRWLoad64(at + 7) ^ LZRWLoad64(at + 8))) == 0;
}

// The table slots of the LZRWLiteralRow positions from `at` (reading two bytes
// past them).
void LZRWRowSlots(const BYTE* at, WORD* slots)
{
#if defined(__SSE2__)
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    const __m128i b2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 2));
    const __m128i zero = _mm_setzero_si128();
    const __m128i factor = _mm_set1_epi16(static_cast<short>(40543));
    // The intrinsics are called, never passed by address: they have no out-of-line body
    // in an unoptimised build.
    auto half = [&](bool high, WORD* to) {
        auto widen = [&](__m128i v) { return high ? _mm_unpackhi_epi8(v, zero) : _mm_unpacklo_epi8(v, zero); };
        const __m128i h = _mm_xor_si128(_mm_xor_si128(_mm_slli_epi16(widen(b0), 8), _mm_slli_epi16(widen(b1), 4)),
                                        widen(b2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_srli_epi16(_mm_mullo_epi16(h, factor), 4));
    };
    half(false, slots);
    half(true, slots + 8);
#else
    for (int k = 0; k < LZRWLiteralRow; ++k) slots[k] = static_cast<WORD>(LZRWHashIndex(at + k));
#endif
}

// The table slot of every position of the source from which three bytes remain,
// worked out before the items are chosen: off the path from one item to the next.
// Rows reach past the source, and their slots there are never asked for.
void LZRWSourceSlots(const BYTE* source, int size, WORD* slots)
{
    int at = 0;
    for (; at + 2 < size && at + LZRWLiteralRow + 2 <= static_cast<int>(OBLLZRWBufferSize); at += LZRWLiteralRow)
        LZRWRowSlots(source + at, slots + at);
    for (; at + 2 < size; ++at) slots[at] = static_cast<WORD>(LZRWHashIndex(source + at));
}

// The bit mask of the LZRWLiteralRow positions from `at` whose next byte is the same.
unsigned LZRWRowRepeats(const BYTE* at)
{
#if defined(__SSE2__)
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(b0, b1)));
#else
    unsigned repeats = 0;
    for (int k = 0; k < LZRWLiteralRow; ++k) repeats |= static_cast<unsigned>(at[k] == at[k + 1]) << k;
    return repeats;
#endif
}

// How many of the `limit` positions from x are plain literals: the next byte
// differs (no run) and the table offers no copy. Their table entries are set, as
// the full item test would; the first other position is left to that test with
// its entry untouched. Literals are the whole of data that does not compress, so
// a byte is decided here in a few instructions. The caller keeps the row within
// the block (x + LZRWLiteralRow + 2 <= size) and below LZRWSignedPositions, where
// every stored position is a plain earlier one or the empty mark.
int LZRWPlainLiterals(const BYTE* source, int x, int limit, WORD* table, const WORD* slots)
{
    const unsigned repeats = LZRWRowRepeats(source + x);
    // Up to the first byte followed by the same one.
    const int end = std::min(limit, std::countr_zero(repeats | 1u << LZRWLiteralRow));
    for (int k = 0; k < end; ++k) {
        const int at = x + k;
        const WORD stored = table[slots[at]];
        // The empty mark lies above every position, so it is never near; masked,
        // it is a harmless place to read.
        const bool near = static_cast<unsigned>(at - stored) <= static_cast<unsigned>(LZRWMaxOffset);
        const std::uint32_t diff = LZRWLoad32(source + (stored & 0x7FFF)) ^ LZRWLoad32(source + at);
        if (near & ((diff & 0xFFFFFFu) == 0)) return k;
        table[slots[at]] = static_cast<WORD>(at);
    }
    return end;
}

// The items of one compressed block, written while each ends within `size`
// bytes; answers the block length, or 0 when an item would not fit (the block
// cannot get smaller than its source and is stored instead).
int LZRWCompressItems(const BYTE* source, BYTE* dest, int size, WORD* table, WORD* slots)
{
    LZRWSourceSlots(source, size, slots);
    int z = 1;    // the current control word
    int y = 3;    // the next item
    int bits = 0; // items under the current control word
    unsigned control = 0;
    int x = 0;
    while (x < size) {
        if (bits > 15) {
            dest[z] = static_cast<BYTE>(control >> 8);
            dest[z + 1] = static_cast<BYTE>(control);
            z = y;
            if (y + 2 > size) return 0;
            y += 2;
            bits = 0;
        }
        // A row is tried after three literals (the last three control bits clear):
        // in text, literals come a few at a time between copies, and a row cut
        // short costs more than the items it saves.
        const int limit = LZRWLiteralRow - bits;
        if (!(control & 7) && x + LZRWLiteralRow + 2 <= size && x + LZRWLiteralRow <= LZRWSignedPositions) {
            const int literals = LZRWPlainLiterals(source, x, limit, table, slots);
            if (y + literals > size) return 0;
            if (y + LZRWLiteralRow <= static_cast<int>(OBLLZRWBufferSize))
                std::memcpy(dest + y, source + x, LZRWLiteralRow); // bytes past the literals: scratch
            else
                std::memcpy(dest + y, source + x, static_cast<std::size_t>(literals));
            y += literals;
            x += literals;
            control <<= literals;
            bits += literals;
            if (literals == limit) continue;
        }
        const BYTE b = source[x];
        // The run test comes first; the match search (and its table update)
        // only runs where no run item is written.
        if (LZRWRunStarts(source, x, size)) {
            int run = LZRWMinRun;
            while (x + run < size && run < LZRWMaxRun && source[x + run] == b) ++run;
            if (y + 4 > size) return 0;
            dest[y] = 0x00;
            dest[y + 1] = static_cast<BYTE>((run - LZRWMinRun) >> 8);
            dest[y + 2] = static_cast<BYTE>(run - LZRWMinRun);
            dest[y + 3] = b;
            y += 4;
            x += run;
            control = (control << 1) | 1;
            ++bits;
            continue;
        }
        // Fewer than three bytes left: no copy is possible, and no later
        // position could use the table entry either.
        if (size - x >= LZRWMinCopy) {
            const WORD index = slots[x];
            const WORD stored = table[index];
            table[index] = static_cast<WORD>(x);
            if (LZRWCopyOffered(source, x, stored)) {
                const int p = stored;
                const int length = LZRWMatchLength(source, x, p, std::min(LZRWMaxCopy, size - x));
                if (y + 2 > size) return 0;
                const unsigned value = (static_cast<unsigned>(x - p) << 4) + static_cast<unsigned>(length - LZRWMinCopy);
                dest[y] = static_cast<BYTE>(value >> 8);
                dest[y + 1] = static_cast<BYTE>(value);
                y += 2;
                x += length;
                control = (control << 1) | 1;
                ++bits;
                continue;
            }
        }
        if (y + 1 > size) return 0;
        dest[y++] = b;
        ++x;
        control <<= 1;
        ++bits;
    }
    if (y > size) return 0;
    // The last control word is padded: its used bits go to the top.
    control = bits == 0 ? 0 : control << (16 - bits);
    dest[z] = static_cast<BYTE>(control >> 8);
    dest[z + 1] = static_cast<BYTE>(control);
    return y;
}

// Where decoding stands: the next block byte, the next output byte, and the
// items of the current control word still to come, the next at bit 15.
struct LZRWDecodeState {
    int x;
    int y;
    unsigned control;
    int items;
};

constexpr int LZRWOutputLimit = static_cast<int>(OBLLZRWChunkSize);
constexpr int LZRWOutputRoom = static_cast<int>(OBLLZRWBufferSize); // the destination buffer's size
// The items of one control word take at most 4 block bytes each (a run), and a
// literal is read 16 bytes wide; a copy makes at most LZRWMaxCopy bytes and is
// written 32 bytes wide. With this much left on both sides, no item of the
// control word needs a bound check.
constexpr int LZRWFastBlockMargin = LZRWControlItems * 4 + 16;
constexpr int LZRWFastOutputMargin = LZRWControlItems * LZRWMaxCopy + 32;

// Copies a copy item's bytes from `offset` bytes back, front to back in effect:
// each wide step reads only bytes finished before it. Bytes past `length` (up to
// 32 from `to`) are scratch, rewritten by the next items.
void LZRWCopyBack(BYTE* to, int offset, int length)
{
    const BYTE* from = to - offset;
    if (offset >= 16) {
        std::memcpy(to, from, 16);
        std::memcpy(to + 16, from + 16, 16);
    } else if (offset >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + 8, from + 8, 8);
        std::memcpy(to + 16, from + 16, 8);
    } else {
        for (int k = 0; k < length; ++k) to[k] = from[k]; // the copy repeats what it produces
    }
}

// Decodes the items of one control word in the bulk of a block, where the block
// holds them all and the output has room for them (the margins above). The 1 bits
// are visited in turn, each after the literals before it, copied 16 at once: no
// jump on the kind of each item. A run, or a copy reaching before the output, is
// left to the checked decoder with the rest of the control word.
void LZRWFastItems(const BYTE* source, BYTE* dest, LZRWDecodeState& s)
{
    unsigned bits = s.control << 16; // the items to come at the top, zeros below them
    int x = s.x, y = s.y, items = s.items;
    while (bits != 0) {
        const int literals = std::countl_zero(bits);
        std::memcpy(dest + y, source + x, 16); // bytes past the literals: rewritten by the copy
        x += literals;
        y += literals;
        const unsigned first = source[x], second = source[x + 1];
        const int offset = static_cast<int>((first << 4) | (second >> 4));
        if (offset == 0 || offset > y) {
            s = {x, y, bits << literals >> 16, items - literals};
            return;
        }
        const int length = static_cast<int>(second & 0x0F) + LZRWMinCopy;
        LZRWCopyBack(dest + y, offset, length);
        x += 2;
        y += length;
        bits <<= literals + 1;
        items -= literals + 1;
    }
    std::memcpy(dest + y, source + x, 16); // the literals after the last copy
    s = {x + items, y + items, 0, 0};
}

// Decodes the rest of the items of one control word, checking every read
// against the block and every write against one chunk of output. The block may
// end before the padding items of its last control word.
void LZRWCheckedItems(const BYTE* source, BYTE* dest, int size, LZRWDecodeState& s)
{
    int x = s.x, y = s.y, bitsLeft = s.items;
    unsigned control = s.control;
    while (bitsLeft > 0 && x < size) {
        if (!(control & 0x8000)) {
            // Literals in a row under the control word, copied at once.
            const unsigned top = (control << 16) & 0xFFFF0000u;
            int k = top == 0 ? bitsLeft : std::min(bitsLeft, std::countl_zero(top));
            k = std::min(k, size - x);
            if (y + k > LZRWOutputLimit) LZRWDamaged();
            if (x + 16 <= size && y + 16 <= LZRWOutputRoom)
                std::memcpy(dest + y, source + x, 16); // bytes past the k literals: rewritten by the next items
            else
                std::memcpy(dest + y, source + x, static_cast<std::size_t>(k));
            y += k;
            x += k;
            control <<= k;
            bitsLeft -= k;
            // Unless the control word or the block ends, a copy or a run follows:
            // taken at once, without asking the control word again.
            if (bitsLeft == 0 || x >= size) continue;
        }
        if (x + 1 >= size) LZRWDamaged();
        const unsigned first = source[x], second = source[x + 1];
        const int offset = static_cast<int>((first << 4) | (second >> 4));
        if (offset != 0) {
            const int length = static_cast<int>(second & 0x0F) + LZRWMinCopy;
            if (offset > y || y + length > LZRWOutputLimit) LZRWDamaged();
            if (y + 32 <= LZRWOutputRoom)
                LZRWCopyBack(dest + y, offset, length);
            else
                for (int k = 0; k < length; ++k) dest[y + k] = dest[y - offset + k];
            y += length;
            x += 2;
        } else {
            if (x + 3 >= size) LZRWDamaged();
            const int length = static_cast<int>((second << 8) | source[x + 2]) + LZRWMinRun;
            if (y + length > LZRWOutputLimit) LZRWDamaged();
            std::memset(dest + y, source[x + 3], static_cast<std::size_t>(length));
            y += length;
            x += 4;
        }
        control <<= 1;
        --bitsLeft;
    }
    s = {x, y, control, bitsLeft};
}

// Decodes the items of a compressed block of `size` bytes into dest; a damaged
// block raises EReadError before anything outside the block or the destination
// is read or written.
int LZRWDecompressItems(const BYTE* source, BYTE* dest, int size)
{
    if (size < 3) LZRWDamaged();
    LZRWDecodeState s{1, 0, 0, 0};
    while (s.x < size) {
        if (s.x + 1 >= size) LZRWDamaged();
        s.control = (static_cast<unsigned>(source[s.x]) << 8) | source[s.x + 1];
        s.x += 2;
        s.items = LZRWControlItems;
        // A later control word ending the block has its first item cut off when
        // that is a copy or a run; the items of the first one are all padding then.
        if (s.x == size && size > 3 && (s.control & 0x8000)) LZRWDamaged();
        if (s.x + LZRWFastBlockMargin <= size && s.y + LZRWFastOutputMargin <= LZRWOutputRoom)
            LZRWFastItems(source, dest, s);
        if (s.items > 0) LZRWCheckedItems(source, dest, size, s);
    }
    return s.y;
}

} // namespace

WORD OBLLZRWCompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize)
{
    const int size = sourceSize;
    if (sourceSize > OBLLZRWChunkSize) throw EInvalidPointer(LZRWErrorText);
    const std::unique_ptr<WORD[]> workspace = LZRWNewWorkspace();
    dest[0] = LZRWFlagCompressed;
    const int length =
        LZRWCompressItems(source.data(), dest.data(), size, workspace.get(), workspace.get() + LZRWHashSize);
    if (length == 0) return LZRWStore(source.data(), dest.data(), size);
    return static_cast<WORD>(length);
}

WORD OBLLZRWDecompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize)
{
    const int size = sourceSize;
    if (size < 1 || size > static_cast<int>(OBLLZRWBufferSize)) LZRWDamaged();
    if (source[0] == LZRWFlagStored) {
        std::memcpy(dest.data(), source.data() + 1, static_cast<std::size_t>(size - 1));
        return static_cast<WORD>(size - 1);
    }
    // Only 0x80 marks a stored block: any other flag byte (the compressor writes 0x40)
    // is followed by items.
    return static_cast<WORD>(LZRWDecompressItems(source.data(), dest.data(), size));
}
