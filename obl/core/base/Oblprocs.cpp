#include "obl/core/base/Oblprocs.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

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
constexpr const char* LZRWErrorText = "LZRW Error!";

std::vector<WORD> LZRWNewHashTable()
{
    try {
        return std::vector<WORD>(LZRWHashSize, LZRWHashEmpty);
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

// The items of one compressed block, written while each ends within `size`
// bytes; answers the block length, or 0 when an item would not fit (the block
// cannot get smaller than its source and is stored instead).
int LZRWCompressItems(const BYTE* source, BYTE* dest, int size, WORD* table)
{
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
        const BYTE b = source[x];
        // The run test comes first; the match search (and its table update)
        // only runs where no run item is written.
        int run = 1;
        if (x + 1 < size && source[x + 1] == b) {
            run = 2;
            while (x + run < size && run < LZRWMaxRun && source[x + run] == b) ++run;
        }
        if (run >= LZRWMinRun) {
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
            const std::uint32_t h = ((static_cast<std::uint32_t>(b) << 4 ^ source[x + 1]) << 4) ^ source[x + 2];
            const std::size_t index = ((h * 40543u) >> 4) & 0xFFFu;
            const WORD stored = table[index];
            table[index] = static_cast<WORD>(x);
            // A stored position is compared as a signed 16-bit number, so
            // positions of 32768 and above never match: part of the output.
            const int p = static_cast<std::int16_t>(stored);
            // Most candidates fail; deciding without branches keeps the loop fast
            // on data that does not compress (position 0 is read when there is none).
            const bool near = (stored != LZRWHashEmpty) & (x - p <= LZRWMaxOffset);
            if (near & (source[near ? p : 0] == b)) {
                const int most = std::min(LZRWMaxCopy, size - x);
                int length = 1;
                while (length < most && source[x + length] == source[p + length]) ++length;
                if (length >= LZRWMinCopy) {
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

// Decodes the items of a compressed block of `size` bytes into dest; every read
// is checked against the block and every write against one chunk of output.
int LZRWDecompressItems(const BYTE* source, BYTE* dest, int size)
{
    if (size < 3) LZRWDamaged();
    constexpr int outLimit = static_cast<int>(OBLLZRWChunkSize);
    constexpr int room = static_cast<int>(OBLLZRWBufferSize); // the destination buffer's size
    unsigned control = (static_cast<unsigned>(source[1]) << 8) | source[2];
    int x = 3, y = 0, bitsLeft = 16;
    while (x < size) {
        if (bitsLeft == 0) {
            if (x + 1 >= size) LZRWDamaged();
            control = (static_cast<unsigned>(source[x]) << 8) | source[x + 1];
            x += 2;
            bitsLeft = 16;
        }
        if (!(control & 0x8000)) {
            // Literals in a row under the control word, copied at once (the block may
            // end before the padding bits of its last control word).
            const unsigned top = (control << 16) & 0xFFFF0000u;
            int k = top == 0 ? bitsLeft : std::min(bitsLeft, std::countl_zero(top));
            k = std::min(k, size - x);
            if (y + k > outLimit) LZRWDamaged();
            if (x + 16 <= size && y + 16 <= room)
                std::memcpy(dest + y, source + x, 16); // bytes past the k literals: rewritten by the next items
            else
                std::memcpy(dest + y, source + x, static_cast<std::size_t>(k));
            y += k;
            x += k;
            control <<= k;
            bitsLeft -= k;
            continue;
        }
        {
            if (x + 1 >= size) LZRWDamaged();
            const unsigned first = source[x], second = source[x + 1];
            const int offset = static_cast<int>((first << 4) | (second >> 4));
            if (offset != 0) {
                const int length = static_cast<int>(second & 0x0F) + LZRWMinCopy;
                if (offset > y || y + length > outLimit) LZRWDamaged();
                BYTE* to = dest + y;
                const BYTE* from = to - offset;
                if (offset >= 8 && y + 24 <= room) {
                    // Whole words: each reads only bytes finished before it.
                    std::memcpy(to, from, 8);
                    std::memcpy(to + 8, from + 8, 8);
                    if (length > 16) std::memcpy(to + 16, from + 16, 8);
                } else {
                    // Front to back, byte by byte: the copy may overlap what it produces.
                    for (int k = 0; k < length; ++k) to[k] = from[k];
                }
                y += length;
                x += 2;
            } else {
                if (x + 3 >= size) LZRWDamaged();
                const int length = static_cast<int>((second << 8) | source[x + 2]) + LZRWMinRun;
                if (y + length > outLimit) LZRWDamaged();
                std::memset(dest + y, source[x + 3], static_cast<std::size_t>(length));
                y += length;
                x += 4;
            }
        }
        control <<= 1;
        --bitsLeft;
    }
    return y;
}

} // namespace

WORD OBLLZRWCompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize)
{
    const int size = sourceSize;
    if (sourceSize > OBLLZRWChunkSize) throw EInvalidPointer(LZRWErrorText);
    std::vector<WORD> table = LZRWNewHashTable();
    dest[0] = LZRWFlagCompressed;
    const int length = LZRWCompressItems(source.data(), dest.data(), size, table.data());
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
    // The format knows two flags; any other first byte is not a block of it.
    if (source[0] != LZRWFlagCompressed) LZRWDamaged();
    return static_cast<WORD>(LZRWDecompressItems(source.data(), dest.data(), size));
}
