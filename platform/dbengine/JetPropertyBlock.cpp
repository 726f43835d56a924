#include "platform/dbengine/JetPropertyBlock.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kChunkHeaderSize = 6;
constexpr std::size_t kSetHeaderSize = 6;
constexpr std::size_t kRecordHeaderSize = 8;
constexpr unsigned kNamesChunk = 0x80;

unsigned ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::uint32_t ReadU32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Names, each a 16-bit length and its bytes; false when one runs past the chunk.
bool CountNames(const unsigned char* chunk, std::size_t size, std::size_t& names)
{
    names = 0;
    for (std::size_t at = 0; at < size; ++names) {
        if (size - at < 2 || ReadU16(chunk + at) > size - at - 2)
            return false;
        at += 2 + ReadU16(chunk + at);
    }
    return true;
}

// A set: a header whose last 16 bits give the length of the set's name, the name, then
// records of at least their header and value that name one of the listed properties.
bool IsWholeSet(const unsigned char* chunk, std::size_t size, std::size_t names)
{
    if (size < kSetHeaderSize || ReadU16(chunk + 4) > size - kSetHeaderSize)
        return false;
    for (std::size_t at = kSetHeaderSize + ReadU16(chunk + 4); at < size;) {
        const unsigned char* record = chunk + at;
        if (size - at < kRecordHeaderSize)
            return false;
        const std::size_t length = ReadU16(record);
        if (length < kRecordHeaderSize + ReadU16(record + 6) || length > size - at || ReadU16(record + 4) >= names)
            return false;
        at += length;
    }
    return true;
}

} // namespace

bool PropertyBlockCanBeWalked(const unsigned char* block, std::size_t size)
{
    if (size < kSignatureSize ||
        (std::memcmp(block, "KKD", kSignatureSize) != 0 && std::memcmp(block, "MR2", kSignatureSize) != 0))
        return true;
    std::size_t names = 0;
    for (std::size_t at = kSignatureSize; at < size;) {
        if (size - at < kChunkHeaderSize)
            return false;
        const std::uint32_t length = ReadU32(block + at);
        if (length < kChunkHeaderSize || length > size - at)
            return false;
        const unsigned char* chunk = block + at + kChunkHeaderSize;
        const std::size_t chunkSize = length - kChunkHeaderSize;
        const unsigned kind = ReadU16(block + at + 4);
        if (kind == kNamesChunk ? !CountNames(chunk, chunkSize, names)
                                : (kind <= 1 && !IsWholeSet(chunk, chunkSize, names)))
            return false;
        at += length;
    }
    return true;
}
