#include "platform/classlib/Graphics.h"

#include "tests/platform/classlib/graphics/BmpBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Bytes = BmpBuilder::Bytes;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TOwned<TBitmap> Load(const Bytes& bytes)
{
    TOwned<TBitmap> bitmap(new TBitmap);
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream.SetPosition(0);
    bitmap->LoadFromStream(&stream);
    return bitmap;
}

COLORREF At(TBitmap& b, int x, int y) { return static_cast<COLORREF>(b.Canvas()->Pixels(x, y)); }

// 2 x 2 images: top row red, green; bottom row blue, white.
struct Variant {
    const char* name;
    Bytes file;
    TPixelFormat format;
};

std::vector<Variant> Variants()
{
    using B = BmpBuilder;
    std::vector<Variant> v;
    Bytes table4 = B::Table({0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    // Indexed, bottom-up: bottom row first.
    v.push_back({"8 bit", B::File(B::InfoHeader(40, 2, 2, 8, BI_RGB, 5), table4, {3, 4, 0, 0, 1, 2, 0, 0}), pf8bit});
    v.push_back({"8 bit top-down", B::File(B::InfoHeader(40, 2, -2, 8, BI_RGB, 5), table4, {1, 2, 0, 0, 3, 4, 0, 0}), pf8bit});
    v.push_back({"4 bit", B::File(B::InfoHeader(40, 2, 2, 4, BI_RGB, 5), table4, {0x34, 0, 0, 0, 0x12, 0, 0, 0}), pf4bit});
    Bytes table1 = B::Table({0xFF0000, 0x0000FF});
    // 1 bit cannot hold four colours: red and blue only (top row red red, bottom blue blue).
    v.push_back({"1 bit", B::File(B::InfoHeader(40, 2, 2, 1, BI_RGB), table1, {0xC0, 0, 0, 0, 0x00, 0, 0, 0}), pf1bit});
    v.push_back({"24 bit", B::File(B::InfoHeader(40, 2, 2, 24, BI_RGB), {},
                                   {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0}), pf24bit});
    v.push_back({"24 bit core", B::File(B::CoreHeader(2, 2, 24), {},
                                        {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0}), pf24bit});
    v.push_back({"8 bit core", B::File(B::CoreHeader(2, 2, 8), [&] {
                     Bytes t = B::Table({0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, 3);
                     t.resize(256 * 3, 0);
                     return t;
                 }(), {3, 4, 0, 0, 1, 2, 0, 0}), pf8bit});
    auto px32 = [](std::initializer_list<std::uint32_t> pixels) {
        Bytes b;
        for (auto p : pixels) BmpBuilder::Put32(b, p);
        return b;
    };
    v.push_back({"32 bit", B::File(B::InfoHeader(40, 2, 2, 32, BI_RGB), {}, px32({0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00})), pf32bit});
    // Red in the low byte, blue in the third: must be decoded.
    Bytes swapped = B::InfoHeader(40, 2, 2, 32, BI_BITFIELDS);
    B::Put32(swapped, 0x000000FF);
    B::Put32(swapped, 0x0000FF00);
    B::Put32(swapped, 0x00FF0000);
    v.push_back({"32 bit fields", B::File(swapped, {}, px32({0xFF0000, 0xFFFFFF, 0x0000FF, 0x00FF00})), pf32bit});
    v.push_back({"108 byte header", B::File(B::InfoHeader(108, 2, 2, 32, BI_BITFIELDS, 0, {0xFF0000, 0xFF00, 0xFF}), {},
                                            px32({0x0000FF, 0xFFFFFF, 0xFF0000, 0x00FF00})), pf32bit});
    v.push_back({"124 byte header", B::File(B::InfoHeader(124, 2, -2, 24, BI_RGB), {},
                                            {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0}), pf24bit});
    auto px16 = [](std::initializer_list<unsigned> pixels) {
        Bytes b;
        for (auto p : pixels) BmpBuilder::Put16(b, p);
        return b;
    };
    v.push_back({"16 bit 555", B::File(B::InfoHeader(40, 2, 2, 16, BI_RGB), {}, px16({0x001F, 0x7FFF, 0x7C00, 0x03E0})), pf15bit});
    Bytes h565 = B::InfoHeader(40, 2, 2, 16, BI_BITFIELDS);
    B::Put32(h565, 0xF800);
    B::Put32(h565, 0x07E0);
    B::Put32(h565, 0x001F);
    v.push_back({"16 bit 565", B::File(h565, {}, px16({0x001F, 0xFFFF, 0xF800, 0x07E0})), pf16bit});
    Bytes h444 = B::InfoHeader(56, 2, 2, 16, BI_BITFIELDS, 0, {0x0F00, 0x00F0, 0x000F});
    v.push_back({"16 bit 444", B::File(h444, {}, px16({0x000F, 0x0FFF, 0x0F00, 0x00F0})), pf32bit});
    // Run-length: bottom row "3 4" as a run pair and a literal, top row "1 2".
    v.push_back({"RLE8", B::File(B::InfoHeader(40, 2, 2, 8, BI_RLE8, 5), table4,
                                 {1, 3, 1, 4, 0, 0, 1, 1, 1, 2, 0, 1}), pf8bit});
    // A literal run of three (padded to a word), cut at the edge.
    v.push_back({"RLE8 literal", B::File(B::InfoHeader(40, 2, 2, 8, BI_RLE8, 5), table4,
                                         {0, 3, 3, 4, 4, 0, 0, 0, 0, 3, 1, 2, 2, 0, 0, 1}), pf8bit});
    v.push_back({"RLE4", B::File(B::InfoHeader(40, 2, 2, 4, BI_RLE4, 5), table4,
                                 {2, 0x34, 0, 0, 2, 0x12, 0, 1}), pf4bit});
    return v;
}

} // namespace

TEST(BitmapFile, LoadsEveryVariant)
{
    for (const Variant& v : Variants()) {
        SCOPED_TRACE(v.name);
        TOwned<TBitmap> b = Load(v.file);
        ASSERT_EQ(b->Width(), 2);
        ASSERT_EQ(b->Height(), 2);
        EXPECT_EQ(b->PixelFormat(), v.format);
        if (v.format == pf1bit) {
            EXPECT_EQ(At(*b, 0, 0), kRed);
            EXPECT_EQ(At(*b, 1, 0), kRed);
            EXPECT_EQ(At(*b, 0, 1), kBlue);
            continue;
        }
        EXPECT_EQ(At(*b, 0, 0), kRed);
        EXPECT_EQ(At(*b, 1, 0), kGreen);
        EXPECT_EQ(At(*b, 0, 1), kBlue);
        EXPECT_EQ(At(*b, 1, 1), kWhite);
    }
}

TEST(BitmapFile, SaveWritesTheBitmapsOwnFormatAndLoadsBack)
{
    for (const Variant& v : Variants()) {
        SCOPED_TRACE(v.name);
        TOwned<TBitmap> b = Load(v.file);
        TMemoryStream saved;
        b->SaveToStream(&saved);
        ASSERT_GT(saved.Size(), 54);
        const auto* bytes = static_cast<const BYTE*>(saved.Memory());
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        BITMAPINFOHEADER header = ReadBitmapInfoHeader(bytes + 14);
        BITMAPFILEHEADER file = ReadBitmapFileHeader(bytes);
        EXPECT_EQ(file.bfSize, static_cast<DWORD>(saved.Size()));
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biHeight, 2);
        const int bpp[] = {0, 1, 4, 8, 16, 16, 24, 32};
        EXPECT_EQ(header.biBitCount, bpp[static_cast<int>(v.format)]);
        EXPECT_EQ(header.biCompression, v.format == pf16bit ? BI_BITFIELDS : BI_RGB);
        saved.SetPosition(0);
        TOwned<TBitmap> again(new TBitmap);
        again->LoadFromStream(&saved);
        EXPECT_EQ(again->PixelFormat(), v.format);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                EXPECT_EQ(At(*again, x, y), At(*b, x, y)) << x << "," << y;
    }
}

TEST(BitmapFile, EmptyStreamGivesAnEmptyBitmapAndEmptyBitmapWritesNothing)
{
    TOwned<TBitmap> b(new TBitmap);
    b->SetSize(3, 3);
    TMemoryStream empty;
    b->LoadFromStream(&empty);
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Width(), 0);
    TMemoryStream out;
    b->SaveToStream(&out);
    EXPECT_EQ(out.Size(), 0);
}

TEST(BitmapFile, MalformedImagesAreRejectedAndLeaveTheBitmapAlone)
{
    using B = BmpBuilder;
    Bytes good = Variants()[0].file;
    std::vector<std::pair<const char*, Bytes>> bad;
    bad.push_back({"short file header", Bytes(good.begin(), good.begin() + 10)});
    Bytes wrongMagic = good;
    wrongMagic[0] = 'X';
    bad.push_back({"wrong signature", wrongMagic});
    bad.push_back({"truncated info header", Bytes(good.begin(), good.begin() + 30)});
    bad.push_back({"truncated pixels", Bytes(good.begin(), good.end() - 3)});
    bad.push_back({"unknown header size", B::File(B::InfoHeader(40, 2, 2, 8, BI_RGB), {}, {}) });
    bad.back().second[14] = 44;
    bad.push_back({"bad depth", B::File(B::InfoHeader(40, 2, 2, 7, BI_RGB), {}, Bytes(16))});
    bad.push_back({"two planes", [&] { Bytes b = B::File(B::InfoHeader(40, 1, 1, 24, BI_RGB), {}, Bytes(4)); b[26] = 2; return b; }()});
    bad.push_back({"negative width", B::File(B::InfoHeader(40, -2, 2, 24, BI_RGB), {}, Bytes(16))});
    bad.push_back({"RLE8 at 24 bits", B::File(B::InfoHeader(40, 2, 2, 24, BI_RLE8), {}, Bytes(16))});
    bad.push_back({"top-down RLE", B::File(B::InfoHeader(40, 2, -2, 8, BI_RLE8), Bytes(1024), {0, 1})});
    bad.push_back({"compressed JPEG", B::File(B::InfoHeader(40, 2, 2, 24, 4), {}, Bytes(16))});
    bad.push_back({"huge image", B::File(B::InfoHeader(40, 0x7FFFFFFF, 0x7FFFFFFF, 32, BI_RGB), {}, Bytes(16))});
    bad.push_back({"huge run-length image", B::File(B::InfoHeader(40, 60000, 60000, 8, BI_RLE8), Bytes(1024), {0, 1})});
    bad.push_back({"colour table past the end", B::File(B::InfoHeader(40, 2, 2, 8, BI_RGB, 200), Bytes(40), {})});
    bad.push_back({"missing bit-field masks", Bytes(B::File(B::InfoHeader(40, 2, 2, 16, BI_BITFIELDS), {}, {})) });
    bad.push_back({"pixel offset past the end", [&] { Bytes b = good; b[10] = 0xFF; b[11] = 0xFF; return b; }()});
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        TOwned<TBitmap> b(new TBitmap);
        b->SetSize(5, 4);
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
        stream.SetPosition(0);
        try {
            b->LoadFromStream(&stream);
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), "Bitmap image is not valid");
        }
        EXPECT_EQ(b->Width(), 5);
        EXPECT_EQ(b->Height(), 4);
    }
}

TEST(BitmapFile, RunLengthDataStaysInsideTheImage)
{
    using B = BmpBuilder;
    Bytes table = B::Table({0x000000, 0xFF0000});
    // A run longer than the row, a move far outside, a literal past the edge, no end mark.
    Bytes rle = {10, 1, 0, 2, 200, 200, 0, 0, 0, 3, 1, 1, 1, 0};
    TOwned<TBitmap> b = Load(B::File(B::InfoHeader(40, 2, 2, 8, BI_RLE8, 2), table, rle));
    EXPECT_EQ(At(*b, 0, 1), kRed);
    EXPECT_EQ(At(*b, 1, 1), kRed);
    EXPECT_EQ(At(*b, 0, 0), kBlack);
}

TEST(BitmapFile, LoadingStopsAtTheEndOfTheImage)
{
    Bytes file = Variants()[0].file;
    TMemoryStream stream;
    stream.WriteBuffer("xyz", 3);
    stream.WriteBuffer(file.data(), static_cast<int>(file.size()));
    stream.WriteBuffer("tail", 4);
    stream.SetPosition(3);
    TOwned<TBitmap> b(new TBitmap);
    b->LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), 3 + static_cast<int>(file.size()));
    EXPECT_EQ(b->Width(), 2);
}

TEST(BitmapFile, DataPropertyKeepsAByteCount)
{
    TOwned<TBitmap> b = Load(Variants()[4].file);
    TMemoryStream data;
    b->WriteData(&data);
    std::int32_t count = 0;
    std::memcpy(&count, data.Memory(), 4);
    EXPECT_EQ(count, data.Size() - 4);
    data.WriteBuffer("more", 4);
    data.SetPosition(0);
    TOwned<TBitmap> back(new TBitmap);
    back->ReadData(&data);
    EXPECT_EQ(data.Position(), 4 + count);
    EXPECT_EQ(At(*back, 1, 1), kWhite);
    TMemoryStream lying;
    std::int32_t tooMany = 1000;
    lying.WriteBuffer(&tooMany, 4);
    lying.SetPosition(0);
    EXPECT_THROW(back->ReadData(&lying), EInvalidGraphic);
}

TEST(BitmapFile, CorruptedHeadersNeverReadOutsideTheData)
{
    // Deterministic corruption of header, table and size bytes of every variant: each
    // result is either an image or the invalid-image error.
    std::uint32_t seed = 12345;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return seed >> 8; };
    int loaded = 0, rejected = 0;
    for (const Variant& v : Variants()) {
        for (int round = 0; round < 150; ++round) {
            Bytes bytes = v.file;
            int changes = 1 + static_cast<int>(next() % 3);
            for (int k = 0; k < changes; ++k) {
                std::size_t at = next() % std::min<std::size_t>(bytes.size(), 70);
                bytes[at] = static_cast<std::uint8_t>(next());
            }
            if (next() % 4 == 0)
                bytes.resize(next() % bytes.size());
            try {
                TOwned<TBitmap> b = Load(bytes);
                ++loaded;
                if (!b->Empty()) {
                    EXPECT_GT(b->Width(), 0);
                    b->Canvas()->Pixels(b->Width() - 1, b->Height() - 1);
                }
            } catch (const EInvalidGraphic&) {
                ++rejected;
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(rejected, 0);
}
