// Container streams (the file form's offset table too) of every stored list: strings, raw
// data, waves, bitmaps and image strips. The first input byte picks the list (and, with its
// top bit, the form with offsets); the rest is the stream. What a list reads must write a
// stream that reads and writes the same bytes again. The bytes after the list's signature
// are also a container file whose single items are fetched through its table: each fetch
// reads or raises a documented error, and from a file the list itself wrote every item
// reads as the whole list holds it.
#include "FuzzDrive.h"
#include "FuzzTarget.h"

#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "obl/core/formats/oblwave.h"
#include "platform/rtl/Exceptions.h"
#include "tests/obl/core/containers/ContainerSamples.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>

namespace {

const std::function<TOBLCustomContainer*()> kLists[] = {
    [] { return new TOBLStringList(nullptr); }, [] { return new TOBLGenericList(nullptr); },
    [] { return new TOBLWaveList(nullptr); },   [] { return new TOBLBitmapList(nullptr); },
    [] { return new TOBLImageList(nullptr); },
};
constexpr std::size_t kListCount = std::size(kLists);
constexpr std::uint8_t kWithOffsets = 0x80;

std::string Bytes(TMemoryStream& stream)
{
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Fill(TMemoryStream& stream, const std::string& bytes)
{
    stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetPosition(0);
}

std::string StreamForm(TOBLCustomContainer* list)
{
    TMemoryStream out;
    list->WriteData(&out, false);
    return Bytes(out);
}

// The stream form of what the list reads of the bytes (the items read whole before an
// error stay in the list).
std::string Reread(std::size_t kind, const std::string& bytes, bool withOffsets, bool& failed)
{
    std::unique_ptr<TOBLCustomContainer> list(kLists[kind]());
    TMemoryStream in;
    Fill(in, bytes);
    failed = false;
    try {
        list->ReadData(&in, withOffsets);
    } catch (const EReadError&) {
        failed = true;
    } catch (const EInvalidGraphic&) {
        failed = true;
    }
    return StreamForm(list.get());
}

std::string WaveImage(int samples)
{
    std::string b = "RIFF";
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<char>(v >> (8 * i)));
    };
    put(36 + samples, 4);
    b += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(8000, 4);
    put(8000, 4);
    put(1, 2);
    put(8, 2);
    b += "data";
    put(samples, 4);
    for (int i = 0; i < samples; ++i)
        b.push_back(static_cast<char>(0x80 + i));
    return b;
}

TOBLCustomContainer* WaveSample()
{
    auto* list = new TOBLWaveList(nullptr);
    for (bool compressed : {false, true}) {
        TOBLWaveListItem* item = list->Items(list->Add(nullptr));
        TMemoryStream image;
        Fill(image, WaveImage(compressed ? 9 : 5));
        item->Wave()->LoadFromStream(&image);
        item->SetCompressed(compressed);
    }
    list->Add(nullptr);
    return list;
}

AnsiString FileOfKind(TOBLCustomContainer* list)
{
    FuzzDriveRoot("containers");
    return "C:\\FUZZ" + OBLICGetSuffix(list->Kind(), true);
}

// An item of the list's class that belongs to no list.
TOBLListItem* NewItem(TOBLCustomContainer* list)
{
    return static_cast<TOBLListItem*>(list->ItemClass()->Create(nullptr));
}

std::string ItemBytes(TOBLListItem* item)
{
    TMemoryStream out;
    item->SaveToStream(&out);
    return Bytes(out);
}

// Items fetched one by one from a file: the first few, the last two and one past the end,
// each read or refused with a documented error.
void FetchAround(TOBLCustomContainer* list, const AnsiString& fileName, const std::string& table)
{
    const std::int32_t count = FuzzIntAt(reinterpret_cast<const std::uint8_t*>(table.data()));
    std::unique_ptr<TOBLListItem> item(NewItem(list));
    for (std::int64_t index : {0LL, 1LL, 2LL, count - 2LL, count - 1LL, static_cast<long long>(count)}) {
        if (index < 0)
            continue;
        try {
            OBLListGetItemFromFile(fileName, list->Kind(), nullptr, item.get(), static_cast<int>(index));
        } catch (const EReadError&) {
        } catch (const EListError&) {
        } catch (const EInvalidGraphic&) {
        }
    }
}

// A file the list writes: each of its first items fetched alone equals the list's own.
void FetchWritten(std::size_t kind, const std::string& written)
{
    std::unique_ptr<TOBLCustomContainer> list(kLists[kind]());
    TMemoryStream in;
    Fill(in, written);
    list->ReadData(&in, false);
    const AnsiString fileName = FileOfKind(list.get());
    list->SaveToFile(fileName);
    for (int i = 0; i < std::min(list->GetCount(), 8); ++i) {
        // A fresh item each time: a bitmap record without a picture leaves the item's as it was.
        std::unique_ptr<TOBLListItem> item(NewItem(list.get()));
        FUZZ_CHECK(OBLListGetItemFromFile(fileName, list->Kind(), nullptr, item.get(), i));
        FUZZ_CHECK(ItemBytes(item.get()) == ItemBytes(list->GetItem(i)));
    }
}

// A file too short for its count is no container file at all (refused as of another kind).
void FetchFromFile(std::size_t kind, const std::string& table)
{
    if (table.size() < 4)
        return;
    std::unique_ptr<TOBLCustomContainer> list(kLists[kind]());
    const AnsiString fileName = FileOfKind(list.get());
    {
        TFileStream file(fileName, fmCreate);
        stWriteString(&file, OBLICGetSignature(list->Kind()));
        file.WriteBuffer(table.data(), static_cast<int>(table.size()));
    }
    FetchAround(list.get(), fileName, table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t kind = (data[0] & ~kWithOffsets) % kListCount;
    const std::string stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    bool failed = false;
    const std::string written = Reread(kind, stream, (data[0] & kWithOffsets) != 0, failed);
    FUZZ_CHECK(Reread(kind, written, false, failed) == written);
    FUZZ_CHECK(!failed);
    if (data[0] & kWithOffsets)
        FetchFromFile(kind, stream);
    FetchWritten(kind, written);
    return 0;
}

namespace {

// A run-length bitmap file of the size whose data ends at once: a few dozen bytes that
// claim width x height pixels.
std::string RunLengthFile(std::int32_t width, std::int32_t height)
{
    std::string b = "BM";
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<char>(v >> (8 * i)));
    };
    for (std::uint32_t v : {64u, 0u, 62u, 40u})
        put(v, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(4, 2);
    for (std::uint32_t v : {static_cast<std::uint32_t>(BI_RLE4), 2u, 0u, 0u, 2u, 0u, 0x000000u, 0xFFFFFFu})
        put(v, 4);
    return b + std::string("\0\1", 2);
}

// The stream form of a bitmap list holding one compressed 4-bit item with the file.
std::string CompressedFourBitItem(const std::string& file)
{
    TMemoryStream image, out;
    Fill(image, file);
    stWriteInteger(&out, 1);
    stWriteByte(&out, 0x01 | 0x08 | 0x20);
    SaveCompressedStream(&image, &out, static_cast<int>(image.Size()));
    return std::string(1, '\3') + Bytes(out);
}

} // namespace

std::vector<std::string> FuzzSeeds()
{
    const std::function<TOBLCustomContainer*()> samples[] = {StringSample, GenericSample, WaveSample, BitmapSample,
                                                             ImageSample};
    std::vector<std::string> seeds;
    for (std::size_t kind = 0; kind < kListCount; ++kind) {
        std::unique_ptr<TOBLCustomContainer> list(samples[kind]());
        for (bool withOffsets : {false, true}) {
            TMemoryStream out;
            list->WriteData(&out, withOffsets);
            seeds.push_back(std::string(1, static_cast<char>(kind | (withOffsets ? kWithOffsets : 0))) + Bytes(out));
        }
    }
    // A compressed 4-bit picture, which writing searches the palette for; then the
    // regression: 123 bytes of such an item claiming 22 x 1,441,794 pixels.
    std::unique_ptr<TOBLBitmapList> pictures(new TOBLBitmapList(nullptr));
    TOwned<TBitmap> picture(Solid(5, 3, clTeal));
    TOBLBitmapListItem* item = pictures->Items(pictures->Add(nullptr));
    item->SetBitmap(picture.get());
    item->SetPixelFormat(spf4bit);
    item->SetCompressed(true);
    seeds.push_back(std::string(1, '\3') + StreamForm(pictures.get()));
    seeds.push_back(CompressedFourBitItem(RunLengthFile(22, 1441794)));
    return seeds;
}
