// The stored forms of containers and their items: file form with signature and offset
// table, stream form, item header, and the single-item reads from container files.
#include "obl/core/formats/Oblstreamutils.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/containers/oblcontShared.h"
#include "platform/rtl/RtlConsts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int signatureSize = 9;

constexpr const char* signatures[6] = {"OBLIML30", "OBLBML30", "OBLWVL30", "OBLSLL30", "OBLGLL50", "OBLRTL50"};
constexpr const char* itemExtensions[6] = {"iml", "bmp", "wav", "txt", "*", "rtf"};

bool HasTable(TOBLListItemClassType Kind) { return static_cast<int>(Kind) < 6; }

std::int32_t LittleEndian32(const std::uint8_t* bytes)
{
    return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

AnsiString Suffix(const char* extension, bool WithDot)
{
    AnsiString suffix(extension);
    return WithDot && !suffix.IsEmpty() ? "." + suffix : suffix;
}

} // namespace

namespace oblcont_internal {

// True when the next nine bytes of Stream are the stored signature of Kind.
bool ReadSignature(TStream* Stream, TOBLListItemClassType Kind)
{
    char stored[signatureSize] = {};
    int got = Stream->Read(stored, signatureSize);
    AnsiString expected = OBLICGetSignature(Kind);
    return got == signatureSize && !expected.IsEmpty() && stored[0] == expected.Length() &&
           std::memcmp(stored + 1, expected.c_str(), 8) == 0;
}

void RaiseWrongSignature(const AnsiString& What) { throw Exception("%s: %s", {SFOpenError, What}); }

int ReadInt32(TStream* Stream)
{
    std::uint8_t bytes[4];
    Stream->ReadBuffer(bytes, 4);
    return LittleEndian32(bytes);
}

// Every offset is four bytes: a table beyond what is left of the stream is damaged data,
// refused before anything is allocated.
void CheckCount(TStream* Stream, int Count, int BytesPerItem)
{
    std::int64_t left = static_cast<std::int64_t>(Stream->Size()) - Stream->Position();
    if (Count < 0 || static_cast<std::int64_t>(Count) * BytesPerItem > left)
        throw EReadError(SReadError);
}

BYTE ReadByte(TStream* Stream)
{
    BYTE value = 0;
    Stream->ReadBuffer(&value, 1);
    return value;
}

AnsiString ReadString8(TStream* Stream)
{
    BYTE length = ReadByte(Stream);
    AnsiString value;
    value.SetLength(length);
    if (length > 0)
        Stream->ReadBuffer(value.data(), length);
    return value;
}

} // namespace oblcont_internal

using namespace oblcont_internal;

BYTE OBLPixelFormatFlag(TOBLSavePixelFormat Format)
{
    switch (Format) {
    case spfMono: return 0x10;
    case spf4bit: return 0x20;
    case spf8bit: return 0x40;
    default: return 0;
    }
}

TOBLSavePixelFormat OBLPixelFormatFromFlags(BYTE Flags)
{
    for (TOBLSavePixelFormat format : {spfMono, spf4bit, spf8bit})
        if (Flags & OBLPixelFormatFlag(format))
            return format;
    return spfDefault;
}

int OBLPixelFormatCode(TOBLSavePixelFormat Format)
{
    switch (Format) {
    case spfMono: return 2;
    case spf4bit: return 16;
    case spf8bit: return 256;
    default: return -1;
    }
}

AnsiString OBLICGetSignature(TOBLListItemClassType Kind)
{
    return HasTable(Kind) ? AnsiString(signatures[static_cast<int>(Kind)]) : AnsiString();
}

AnsiString OBLICGetSuffix(TOBLListItemClassType Kind, bool WithDot)
{
    return HasTable(Kind) ? Suffix(OBLICEXTENSION[static_cast<int>(Kind)], WithDot) : AnsiString();
}

AnsiString OBLICGetItemSuffix(TOBLListItemClassType Kind, bool WithDot)
{
    return HasTable(Kind) ? Suffix(itemExtensions[static_cast<int>(Kind)], WithDot) : AnsiString();
}

// ---------------------------------------------------------------------------------------
// Item header

void TOBLListItem::WriteStd(TStream* Stream)
{
    BYTE flags = WriteFlag();
    stWriteByte(Stream, flags);
    if (flags & OBLIF_DESCRIPTION)
        stWriteString(Stream, description_);
    if (flags & OBLIF_IDENT)
        stWriteInteger(Stream, ident_);
}

BYTE TOBLListItem::ReadStd(TStream* Stream)
{
    BYTE flags = 0;
    Stream->ReadBuffer(&flags, 1);
    compressed_ = (flags & OBLIF_COMPRESSED) != 0;
    description_ = AnsiString();
    if (flags & OBLIF_DESCRIPTION)
        description_ = ReadString8(Stream);
    ident_ = (flags & OBLIF_IDENT) ? static_cast<WORD>(ReadInt32(Stream)) : 0;
    return flags;
}

void TOBLListItem::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        IDS_INTERNAL, [this](TStream* stream) { ReadData(stream); }, [this](TStream* stream) { WriteData(stream); },
        true);
}

// ---------------------------------------------------------------------------------------
// Container forms

void TOBLCustomContainer::WriteData(TStream* Stream, bool WithOffsets)
{
    // Only stored items are written: lists whose entries live elsewhere write none.
    int count = StoredCount();
    stWriteInteger(Stream, count);
    if (!WithOffsets) {
        for (int i = 0; i < count; ++i)
            StoredItem(i)->SaveToStream(Stream);
        return;
    }
    if (count <= 0)
        return;
    int table = Stream->Position();
    Stream->Seek(4 * count, soFromCurrent);
    std::vector<int> positions;
    for (int i = 0; i < count; ++i) {
        positions.push_back(Stream->Position());
        StoredItem(i)->SaveToStream(Stream);
    }
    int end = Stream->Position();
    Stream->SetPosition(table);
    for (int position : positions)
        stWriteInteger(Stream, position);
    Stream->SetPosition(end);
}

void TOBLCustomContainer::ReadData(TStream* Stream, bool WithOffsets)
{
    BeginUpdate();
    try {
        Clear();
        int count = ReadInt32(Stream);
        if (count < 0)
            throw EReadError(SReadError);
        if (WithOffsets) {
            CheckCount(Stream, count, 4);
            Stream->Seek(4 * count, soFromCurrent);
        }
        // Nothing is made ahead from the count: each item is made as its record is read,
        // and every record takes at least its flags byte, so a count larger than the
        // records (a file cut short) ends in a read error after the whole items it holds.
        for (int i = 0; i < count; ++i)
            ReadItem(Stream);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

// An item whose record is damaged is not kept half read.
void TOBLCustomContainer::ReadItem(TStream* Stream)
{
    int index = Add(nullptr);
    try {
        GetItem(index)->LoadFromStream(Stream);
    } catch (...) {
        Delete(index);
        throw;
    }
}

void TOBLCustomContainer::SaveToFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmCreate);
    stWriteString(&file, OBLICGetSignature(kind_));
    WriteData(&file, true);
}

void TOBLCustomContainer::LoadFromFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    if (!ReadSignature(&file, kind_))
        RaiseWrongSignature(ClassName());
    ReadData(&file, true);
}

// ---------------------------------------------------------------------------------------
// Single items of container files

namespace {

// The kind of a container file by its stored signature; icInvalid when none matches.
TOBLListItemClassType KindOfSignature(const char* stored)
{
    for (int k = 0; k < 6; ++k)
        if (stored[0] == 8 && std::memcmp(stored + 1, signatures[k], 8) == 0)
            return static_cast<TOBLListItemClassType>(k);
    return icInvalid;
}

// `count` consecutive table entries from entry `first` on.
std::vector<std::int64_t> ReadTableEntries(TStream* Stream, int First, int Count)
{
    std::vector<std::uint8_t> bytes(4 * static_cast<std::size_t>(Count));
    Stream->SetPosition(signatureSize + 4 + 4 * First);
    Stream->ReadBuffer(bytes.data(), static_cast<int>(bytes.size()));
    std::vector<std::int64_t> entries;
    for (int i = 0; i < Count; ++i)
        entries.push_back(LittleEndian32(bytes.data() + 4 * i));
    return entries;
}

// Reads item Index of a container file, positioned after its signature, through the file's
// own offset table. Only entry 0 and the entries around Index are read and only its record
// is parsed, so fetching every item one by one costs about what loading the whole file
// does. The records follow the table back to back: entry 0 is where the table ends,
// entries grow strictly, and the record at entry Index ends where entry Index + 1 starts
// (the last one at the end of the file); anything else is a damaged table (EReadError).
bool ReadItemThroughTable(TStream* File, TOBLListItem* Item, int Index)
{
    const int count = ReadInt32(File);
    CheckCount(File, count, 4);
    if (Index < 0 || Index >= count)
        throw EListError(SListIndexError, {Index});
    const std::int64_t size = File->Size();
    const std::int64_t recordsStart = signatureSize + 4 + 4 * static_cast<std::int64_t>(count);
    const int first = std::max(Index - 1, 0);
    const std::vector<std::int64_t> near = ReadTableEntries(File, first, std::min(Index + 1, count - 1) - first + 1);
    const std::int64_t start = near[Index - first];
    const std::int64_t end = Index + 1 < count ? near.back() : size;
    const std::int64_t entry0 = first == 0 ? near.front() : ReadTableEntries(File, 0, 1).front();
    if (entry0 != recordsStart || start < recordsStart || start >= end || end > size || (Index > 0 && near.front() >= start))
        throw EReadError(SReadError);
    // The record with the byte after it, when there is one: a record that reads on past
    // its end takes that byte, and is refused for it.
    const int length = static_cast<int>(std::min(end + 1, size) - start);
    TMemoryStream record;
    record.SetSize(length);
    File->SetPosition(static_cast<int>(start));
    File->ReadBuffer(record.Memory(), length);
    Item->LoadFromStream(&record);
    if (record.Position() != end - start)
        throw EReadError(SReadError);
    return true;
}

std::int64_t TableEntry(TList* List, int Index)
{
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(List->Items(Index)));
}

} // namespace

TOBLListItemClassType OBLListGetFileType(const AnsiString& FileName, int& Count, TList* List)
{
    Count = -1;
    TFileStream file(FileName, fmOpenRead);
    char stored[signatureSize] = {};
    TOBLListItemClassType kind = file.Read(stored, signatureSize) == signatureSize ? KindOfSignature(stored) : icInvalid;
    // A file too short to hold its count is no list at all.
    std::uint8_t count[4];
    if (file.Read(count, 4) != 4)
        return icInvalid;
    Count = LittleEndian32(count);
    if (kind != icInvalid && List) {
        List->Clear();
        CheckCount(&file, Count, 4);
        List->SetCapacity(Count);
        for (int i = 0; i < Count; ++i)
            List->Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(ReadInt32(&file))));
    }
    return kind;
}

bool OBLListGetItemFromStream(TStream* Stream, TList* List, int Index, TOBLListItem* Item)
{
    if (!List)
        return false;
    auto offset = TableEntry(List, Index);
    if (offset < 0 || offset >= Stream->Size())
        throw EReadError(SReadError);
    Stream->SetPosition(static_cast<int>(offset));
    Item->LoadFromStream(Stream);
    return true;
}

bool OBLListGetItemFromFile(const AnsiString& FileName, TOBLListItemClassType Kind, TList* List,
                            TOBLListItem* Item, int Index)
{
    TFileStream file(FileName, fmOpenRead);
    if (List)
        return OBLListGetItemFromStream(&file, List, Index, Item);
    char stored[signatureSize] = {};
    if (!HasTable(Kind) || file.Read(stored, signatureSize) != signatureSize || KindOfSignature(stored) != Kind)
        RaiseWrongSignature(FileName);
    // A file too short for its count is no list of any kind.
    if (file.Size() < signatureSize + 4)
        RaiseWrongSignature(FileName);
    return ReadItemThroughTable(&file, Item, Index);
}
