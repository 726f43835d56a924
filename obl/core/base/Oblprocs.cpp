#include "obl/core/base/Oblprocs.h"

#include "platform/rtl/Exceptions.h"

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

// Writer of one compressed block. It never writes past index sourceSize: an item
// that would end there means the block cannot get smaller than the source, and
// the caller falls back to the stored form, so nothing beyond that is needed.
class LZRWBlockWriter {
public:
    LZRWBlockWriter(TOBLLZRWBuffer& dest, int limit) : dest_(dest), limit_(limit) {}

    bool Overflowed() const { return overflowed_; }
    int Length() const { return y_; }

    // Reserves room for the next item; starts a new control word after 16 items.
    bool BeginItem(int itemSize)
    {
        if (bits_ > 15) {
            FlushControl();
            z_ = y_;
            if (!Reserve(2)) return false;
            y_ += 2;
            bits_ = 0;
        }
        return Reserve(itemSize);
    }

    void Literal(BYTE b)
    {
        dest_[static_cast<std::size_t>(y_++)] = b;
        AddBit(0);
    }

    void Copy(int offset, int length)
    {
        const WORD value = static_cast<WORD>((offset << 4) + (length - LZRWMinCopy));
        PutWord(value);
        AddBit(1);
    }

    void Run(int length, BYTE b)
    {
        dest_[static_cast<std::size_t>(y_++)] = 0x00;
        PutWord(static_cast<WORD>(length - LZRWMinRun));
        dest_[static_cast<std::size_t>(y_++)] = b;
        AddBit(1);
    }

    // Pads the last control word (used bits to the top) and stores it.
    void Finish()
    {
        control_ = bits_ == 0 ? 0 : static_cast<WORD>(control_ << (16 - bits_));
        FlushControl();
    }

private:
    bool Reserve(int size)
    {
        if (y_ + size > limit_) overflowed_ = true;
        return !overflowed_;
    }

    void PutWord(WORD value)
    {
        dest_[static_cast<std::size_t>(y_++)] = static_cast<BYTE>(value >> 8);
        dest_[static_cast<std::size_t>(y_++)] = static_cast<BYTE>(value & 0xFF);
    }

    void AddBit(int bit)
    {
        control_ = static_cast<WORD>((control_ << 1) | bit);
        ++bits_;
    }

    void FlushControl()
    {
        dest_[static_cast<std::size_t>(z_)] = static_cast<BYTE>(control_ >> 8);
        dest_[static_cast<std::size_t>(z_ + 1)] = static_cast<BYTE>(control_ & 0xFF);
    }

    TOBLLZRWBuffer& dest_;
    int limit_;
    int z_ = 1;
    int y_ = 3;
    int bits_ = 0;
    WORD control_ = 0;
    bool overflowed_ = false;
};

int LZRWRunLength(const TOBLLZRWBuffer& source, int x, int size)
{
    int r = 1;
    while (x + r < size && r < LZRWMaxRun && source[static_cast<std::size_t>(x + r)] == source[static_cast<std::size_t>(x)])
        ++r;
    return r;
}

std::size_t LZRWHashIndex(const TOBLLZRWBuffer& source, int x)
{
    const auto at = [&](int i) { return static_cast<std::uint32_t>(source[static_cast<std::size_t>(x + i)]); };
    const std::uint32_t h = (((at(0) << 4) ^ at(1)) << 4) ^ at(2);
    return static_cast<std::size_t>(((h * 40543u) >> 4) & 0xFFFu);
}

// Looks up the earlier position with the same three-byte hash and records x in
// its place. Returns the match length (0 when there is no match of 3 or more).
// A stored position is compared as a signed 16-bit number, so positions of
// 32768 and above never match: that is part of the block format's output.
int LZRWFindMatch(const TOBLLZRWBuffer& source, int x, int size, std::vector<WORD>& table, int& offset)
{
    // Fewer than three bytes left: no copy is possible and no later position
    // can use the table entry either.
    if (size - x < LZRWMinCopy) return 0;
    const std::size_t index = LZRWHashIndex(source, x);
    const WORD stored = table[index];
    table[index] = static_cast<WORD>(x);
    const int p = static_cast<std::int16_t>(stored);
    if (stored == LZRWHashEmpty || x - p >= LZRWMaxOffset + 1) return 0;
    int length = 0;
    while (length < LZRWMaxCopy && x + length < size &&
           source[static_cast<std::size_t>(x + length)] == source[static_cast<std::size_t>(p + length)])
        ++length;
    if (length < LZRWMinCopy) return 0;
    offset = x - p;
    return length;
}

std::vector<WORD> LZRWNewHashTable()
{
    try {
        return std::vector<WORD>(LZRWHashSize, LZRWHashEmpty);
    } catch (const std::bad_alloc&) {
        throw EInvalidPointer(LZRWErrorText);
    }
}

WORD LZRWStore(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, int size)
{
    dest[0] = LZRWFlagStored;
    std::memcpy(dest.data() + 1, source.data(), static_cast<std::size_t>(size));
    return static_cast<WORD>(size + 1);
}

[[noreturn]] void LZRWDamaged() { throw EReadError(LZRWErrorText); }

// Reader of one compressed block; every access is checked against the block
// and the output buffer.
class LZRWBlockReader {
public:
    LZRWBlockReader(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, int size)
        : source_(source), dest_(dest), size_(size) {}

    int Run()
    {
        if (size_ < 3) LZRWDamaged();
        control_ = Word(1);
        while (x_ < size_) {
            if (bitsLeft_ == 0) {
                control_ = Word(x_);
                x_ += 2;
                bitsLeft_ = 16;
            }
            if (control_ & 0x8000) CopyOrRun();
            else Emit(Byte(x_++));
            control_ = static_cast<WORD>(control_ << 1);
            --bitsLeft_;
        }
        return y_;
    }

private:
    BYTE Byte(int at) const
    {
        if (at >= size_) LZRWDamaged();
        return source_[static_cast<std::size_t>(at)];
    }

    WORD Word(int at) const { return static_cast<WORD>((Byte(at) << 8) | Byte(at + 1)); }

    void Reserve(int length) const
    {
        if (y_ + length > static_cast<int>(OBLLZRWChunkSize)) LZRWDamaged();
    }

    void Emit(BYTE b)
    {
        Reserve(1);
        dest_[static_cast<std::size_t>(y_++)] = b;
    }

    void CopyOrRun()
    {
        const BYTE first = Byte(x_);
        const BYTE second = Byte(x_ + 1);
        const int offset = (first << 4) | (second >> 4);
        if (offset != 0) {
            const int length = (second & 0x0F) + LZRWMinCopy;
            if (offset > y_) LZRWDamaged();
            Reserve(length);
            // Front to back, byte by byte: the copy may overlap what it produces.
            for (int k = 0; k < length; ++k, ++y_)
                dest_[static_cast<std::size_t>(y_)] = dest_[static_cast<std::size_t>(y_ - offset)];
            x_ += 2;
        } else {
            const int length = ((second << 8) | Byte(x_ + 2)) + LZRWMinRun;
            const BYTE b = Byte(x_ + 3);
            Reserve(length);
            std::memset(dest_.data() + y_, b, static_cast<std::size_t>(length));
            y_ += length;
            x_ += 4;
        }
    }

    const TOBLLZRWBuffer& source_;
    TOBLLZRWBuffer& dest_;
    int size_;
    int x_ = 3;
    int y_ = 0;
    int bitsLeft_ = 16;
    WORD control_ = 0;
};

} // namespace

WORD OBLLZRWCompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize)
{
    const int size = sourceSize;
    if (sourceSize > OBLLZRWChunkSize) throw EInvalidPointer(LZRWErrorText);
    std::vector<WORD> table = LZRWNewHashTable();
    dest[0] = LZRWFlagCompressed;
    LZRWBlockWriter writer(dest, size);
    int x = 0;
    while (x < size) {
        const int run = LZRWRunLength(source, x, size);
        int offset = 0;
        const int match = run >= LZRWMinRun ? 0 : LZRWFindMatch(source, x, size, table, offset);
        const int itemSize = run >= LZRWMinRun ? 4 : match > 0 ? 2 : 1;
        if (!writer.BeginItem(itemSize)) break;
        if (run >= LZRWMinRun) {
            writer.Run(run, source[static_cast<std::size_t>(x)]);
            x += run;
        } else if (match > 0) {
            writer.Copy(offset, match);
            x += match;
        } else {
            writer.Literal(source[static_cast<std::size_t>(x)]);
            ++x;
        }
    }
    if (writer.Overflowed() || writer.Length() > size) return LZRWStore(source, dest, size);
    writer.Finish();
    return static_cast<WORD>(writer.Length());
}

WORD OBLLZRWDecompress(const TOBLLZRWBuffer& source, TOBLLZRWBuffer& dest, WORD sourceSize)
{
    const int size = sourceSize;
    if (size < 1 || size > static_cast<int>(OBLLZRWBufferSize)) LZRWDamaged();
    if (source[0] == LZRWFlagStored) {
        std::memcpy(dest.data(), source.data() + 1, static_cast<std::size_t>(size - 1));
        return static_cast<WORD>(size - 1);
    }
    LZRWBlockReader reader(source, dest, size);
    return static_cast<WORD>(reader.Run());
}
