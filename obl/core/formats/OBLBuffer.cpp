#include "obl/core/formats/OBLBuffer.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/RtlConsts.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr char BufferSignature[] = "@OBLBufferStream-V0.1@";
constexpr int BufferHeaderLength = sizeof(BufferSignature); // the signature and its NUL

[[noreturn]] void AbstractCall() { throw EAbstractError("Abstract Error"); }

struct ItemDeleter {
    void operator()(void* item) const { OBLFreeItem(item); }
};
using ItemBlock = std::unique_ptr<void, ItemDeleter>;

void WriteInt32(TStream* stream, std::int32_t value)
{
    const BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 24)};
    stream->WriteBuffer(bytes, 4);
}

std::int32_t ReadInt32(TStream* stream)
{
    BYTE bytes[4];
    stream->ReadBuffer(bytes, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                     (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                     (static_cast<std::uint32_t>(bytes[3]) << 24));
}

// A length read from the stream must fit in what is left of it; a damaged or
// foreign length is refused before anything is allocated for it.
std::int32_t ReadLength(TStream* stream)
{
    const std::int32_t length = ReadInt32(stream);
    if (length < 0 || length > stream->Size() - stream->Position()) throw EReadError(SReadError);
    return length;
}

bool ReadHeader(TStream* stream)
{
    const std::int32_t length = ReadLength(stream);
    AnsiString header;
    header.SetLength(length);
    if (length > 0) stream->ReadBuffer(header.data(), length);
    const int nul = Pos(AnsiString("\0", 1), header);
    if (nul > 0) header.SetLength(nul - 1);
    return header == BufferSignature;
}

} // namespace

void* OBLAllocItem(int size) { return size > 0 ? std::malloc(static_cast<std::size_t>(size)) : nullptr; }

void OBLFreeItem(void* item) { std::free(item); }

TOBLBuffer::TOBLBuffer() = default;

TOBLBuffer::~TOBLBuffer() = default;

void TOBLBuffer::FirstNode(void*&) { AbstractCall(); }
void TOBLBuffer::NextNode(void*&) { AbstractCall(); }
void* TOBLBuffer::GetItem(void*) { AbstractCall(); }
bool TOBLBuffer::EOFBuffer(void*) { AbstractCall(); }
bool TOBLBuffer::isEmpty() { AbstractCall(); }
bool TOBLBuffer::isFull() { AbstractCall(); }
void TOBLBuffer::Put(void*) { AbstractCall(); }
void* TOBLBuffer::Get() { AbstractCall(); }
void TOBLBuffer::Clear() { AbstractCall(); }
bool TOBLBuffer::TryPut(void*) { AbstractCall(); }

void TOBLBuffer::BeginUpdate() { ++updateCount_; }

void TOBLBuffer::EndUpdate()
{
    if (updateCount_ > 0) --updateCount_;
}

int TOBLBuffer::GetItemSize(void* Node)
{
    int size = 0;
    if (onGetItemSize_) onGetItemSize_(this, GetItem(Node), size);
    return size;
}

void TOBLBuffer::SaveToStream(TStream* Stream)
{
    WriteInt32(Stream, BufferHeaderLength);
    Stream->WriteBuffer(BufferSignature, BufferHeaderLength);
    void* node = nullptr;
    for (FirstNode(node); !EOFBuffer(node); NextNode(node)) {
        const void* item = GetItem(node);
        // A null item, or a size no block can have, is written as an empty item.
        const int size = item ? std::max(GetItemSize(node), 0) : 0;
        WriteInt32(Stream, size);
        if (size > 0) Stream->WriteBuffer(item, size);
    }
}

void TOBLBuffer::LoadFromStream(TStream* Stream)
{
    if (!ReadHeader(Stream)) return;
    Clear();
    while (Stream->Position() < Stream->Size()) {
        const std::int32_t size = ReadLength(Stream);
        ItemBlock block(OBLAllocItem(size));
        if (size > 0) Stream->ReadBuffer(block.get(), size);
        if (TryPut(block.get())) block.release();
    }
}

void TOBLBuffer::LoadFromFile(const AnsiString& FileName)
{
    TFileStream stream(FileName, fmOpenRead);
    LoadFromStream(&stream);
}

void TOBLBuffer::SaveToFile(const AnsiString& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}
