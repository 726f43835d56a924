#include "obl/core/formats/Oblstreamutils.h"

#include "platform/classlib/Graphics.h"
#include "platform/rtl/Exceptions.h"

#include "tests/obl/core/formats/ByteFixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

unsigned U16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }

// The headers of a bitmap file image starting at `at`.
struct DibHeaders {
    unsigned type;
    std::uint32_t fileSize, offset, infoSize;
    std::int32_t width, height;
    unsigned planes, bitCount;
    std::uint32_t compression, imageSize;
};

DibHeaders HeadersAt(const Bytes& b, std::size_t at)
{
    return {U16(b, at), U32(b, at + 2), U32(b, at + 10), U32(b, at + 14),
            static_cast<std::int32_t>(U32(b, at + 18)), static_cast<std::int32_t>(U32(b, at + 22)),
            U16(b, at + 26), U16(b, at + 28), U32(b, at + 30), U32(b, at + 34)};
}

void Paint(TBitmap& bitmap)
{
    const TColor colors[] = {clRed, clLime, clBlue, clWhite, clBlack, clYellow};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            bitmap.Canvas()->SetPixels(x, y, colors[(x + 3 * y) % 6]);
}

TOwned<TBitmap> MakeBitmap(TPixelFormat format, int width, int height)
{
    TOwned<TBitmap> bitmap(new TBitmap());
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    Paint(*bitmap);
    return bitmap;
}

} // namespace

TEST(BitmapField, OwnDibOfThreeByTwoAtFourBits)
{
    auto bitmap = MakeBitmap(pf24bit, 3, 2);
    TMemoryStream stream;
    stWriteBitmap(&stream, bitmap.get(), false, 16);
    const Bytes bytes = Content(stream);
    ASSERT_EQ(bytes.size(), 4u + 126u);
    EXPECT_EQ(U32(bytes, 0), 126u);
    const DibHeaders h = HeadersAt(bytes, 4);
    EXPECT_EQ(h.type, 0x4D42u);
    EXPECT_EQ(h.fileSize, 126u);
    EXPECT_EQ(h.offset, 118u);
    EXPECT_EQ(h.infoSize, 40u);
    EXPECT_EQ(h.width, 3);
    EXPECT_EQ(h.height, 2);
    EXPECT_EQ(h.planes, 1u);
    EXPECT_EQ(h.bitCount, 4u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.imageSize, 8u);
    EXPECT_EQ(U16(bytes, 4 + 6), 0u);
    EXPECT_EQ(U16(bytes, 4 + 8), 0u);
}

TEST(BitmapField, DepthByCode)
{
    const struct {
        TPixelFormat format;
        int code;
        unsigned bitCount;
    } cases[] = {
        {pf24bit, 0, 24}, {pf24bit, 2, 1}, {pf24bit, 16, 4}, {pf24bit, 256, 8},
        {pf24bit, 7, 24}, {pf24bit, -5, 24}, {pf32bit, 0, 24}, {pf16bit, 0, 24},
        {pf8bit, 0, 8},   {pf4bit, 0, 4},    {pf8bit, 1000, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(c.format) << " code " << c.code);
        auto bitmap = MakeBitmap(c.format, 5, 3);
        TMemoryStream stream;
        stWriteBitmap(&stream, bitmap.get(), false, c.code);
        const Bytes bytes = Content(stream);
        const DibHeaders h = HeadersAt(bytes, 4);
        EXPECT_EQ(h.bitCount, c.bitCount);
        const std::uint32_t palette = c.bitCount == 24 ? 0 : 4u << c.bitCount;
        const std::uint32_t rowSize = ((5 * c.bitCount + 31) / 32) * 4;
        EXPECT_EQ(h.offset, 54 + palette);
        EXPECT_EQ(h.imageSize, 3 * rowSize);
        EXPECT_EQ(h.fileSize, 54 + palette + 3 * rowSize);
        EXPECT_EQ(U32(bytes, 0), h.fileSize);
        EXPECT_EQ(bytes.size(), 4 + h.fileSize);
    }
}

TEST(BitmapField, MonochromeIsForcedToOneBitOnlyWhenCompressed)
{
    auto bitmap = MakeBitmap(pf24bit, 9, 4);
    bitmap->SetMonochrome(true);
    ASSERT_TRUE(bitmap->Monochrome());

    TMemoryStream compressed;
    stWriteBitmap(&compressed, bitmap.get(), true, 256);
    compressed.SetPosition(0);
    TMemoryStream restored;
    LoadCompressedStream(&compressed, &restored);
    EXPECT_EQ(HeadersAt(Content(restored), 0).bitCount, 1u);

    TMemoryStream plain;
    stWriteBitmap(&plain, bitmap.get(), false, 256);
    EXPECT_EQ(HeadersAt(Content(plain), 4).bitCount, 8u);
}

TEST(BitmapField, SaveDibStreamRewindsAndWritesNoCount)
{
    auto bitmap = MakeBitmap(pf24bit, 3, 2);
    TMemoryStream stream;
    OBLBmpSaveDIBStream(&stream, bitmap.get(), 16);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Size(), 126);
    EXPECT_EQ(HeadersAt(Content(stream), 0).type, 0x4D42u);
}

TEST(BitmapField, EveryFormReadsBackTheSamePixels)
{
    const struct {
        bool compressed;
        int code;
    } cases[] = {{false, -1}, {true, -1}, {false, 0}, {true, 0}, {false, 256}, {true, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.compressed ? "compressed" : "plain") << " code " << c.code);
        auto bitmap = MakeBitmap(pf24bit, 7, 5);
        TMemoryStream stream;
        stWriteInteger(&stream, 0x5A5A5A5A);
        stWriteBitmap(&stream, bitmap.get(), c.compressed, c.code);
        stWriteByte(&stream, 0xEE);
        stream.SetPosition(4);
        TBitmap back;
        stReadBitmap(&stream, &back, c.compressed);
        BYTE trailer = 0;
        stReadByte(&stream, trailer);
        EXPECT_EQ(trailer, 0xEE);
        ASSERT_EQ(back.Width(), 7);
        ASSERT_EQ(back.Height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(back.Canvas()->Pixels(x, y), bitmap->Canvas()->Pixels(x, y)) << x << "," << y;
    }
}

TEST(BitmapField, LargeBitmapsTheWriterWritesReadBack)
{
    // Sizes at and beyond 2048 x 2048 pixels, in both field forms and both image forms;
    // the last one's rows take more than 64 MB.
    const struct {
        int width, height;
        TPixelFormat format;
        bool compressed;
        int code;
    } cases[] = {
        {2048, 2048, pf24bit, false, -1}, {2049, 2048, pf24bit, true, -1}, {2560, 1920, pf24bit, false, -1},
        {2560, 1920, pf24bit, true, 0},   {32768, 129, pf32bit, true, -1}, {32768, 129, pf32bit, false, 0},
        {4100, 4100, pf32bit, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << (c.compressed ? " compressed" : " plain")
                                        << " code " << c.code);
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.format);
        bitmap.SetSize(c.width, c.height);
        // Bands of colour with single pixels across them, so that rows and columns count.
        const TColor colors[] = {clRed, clLime, clBlue, clYellow, clWhite};
        for (int band = 0; band < 5; ++band) {
            bitmap.Canvas()->Brush()->SetColor(colors[band]);
            bitmap.Canvas()->FillRect(Rect(0, band * c.height / 5, c.width, (band + 1) * c.height / 5));
        }
        for (int i = 0; i < 64; ++i)
            bitmap.Canvas()->SetPixels(i * (c.width - 1) / 63, i * (c.height - 1) / 63, static_cast<TColor>(0x10203 * i));
        TMemoryStream stream;
        stWriteBitmap(&stream, &bitmap, c.compressed, c.code);
        stream.SetPosition(0);
        TBitmap back;
        stReadBitmap(&stream, &back, c.compressed);
        EXPECT_EQ(stream.Position(), stream.Size());
        ASSERT_EQ(back.Width(), c.width);
        ASSERT_EQ(back.Height(), c.height);
        for (int i = 0; i < 64; ++i) {
            const int x = i * (c.width - 1) / 63, y = i * (c.height - 1) / 63;
            EXPECT_EQ(back.Canvas()->Pixels(x, y), bitmap.Canvas()->Pixels(x, y)) << x << "," << y;
            EXPECT_EQ(back.Canvas()->Pixels(c.width - 1 - x, y), bitmap.Canvas()->Pixels(c.width - 1 - x, y))
                << c.width - 1 - x << "," << y;
        }
    }
}

TEST(BitmapField, EmptyBitmap)
{
    TBitmap empty;
    TMemoryStream stream;
    try {
        stWriteBitmap(&stream, &empty, false, 16);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
    EXPECT_THROW(OBLBmpSaveDIBStream(&stream, &empty, 0), Exception);
    TMemoryStream own;
    stWriteBitmap(&own, &empty, false, -1);
    EXPECT_EQ(Content(own), (Bytes{0, 0, 0, 0}));
    own.SetPosition(0);
    auto filled = MakeBitmap(pf24bit, 2, 2);
    stReadBitmap(&own, filled.get(), false);
    EXPECT_TRUE(filled->Empty());
}

TEST(BitmapField, BadCountsRaiseReadError)
{
    for (const std::int32_t count : {-1, 1000}) {
        TMemoryStream stream;
        stWriteInteger(&stream, count);
        stWriteInteger(&stream, 0);
        stream.SetPosition(0);
        TBitmap back;
        EXPECT_THROW(stReadBitmap(&stream, &back, false), EReadError);
    }
}

namespace {

// A bitmap file of the given size with a two-colour table and `dataBytes` bytes of
// pixel data: zeros for a plain one; for a run-length one, runs of 255 pixels ending in
// the end-of-bitmap code (every other pixel 0). A few dozen bytes can claim width x
// height pixels.
Bytes BitmapFile(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t compression, int dataBytes)
{
    Bytes b;
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t offset = 14 + 40 + 2 * 4;
    b.push_back('B');
    b.push_back('M');
    put(offset + static_cast<std::uint32_t>(dataBytes), 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bitCount), 2);
    put(compression, 4);
    put(static_cast<std::uint32_t>(dataBytes), 4);
    put(0, 4);
    put(0, 4);
    put(2, 4);
    put(0, 4);
    put(0x000000, 4);
    put(0xFFFFFF, 4);
    if (compression == BI_RGB) {
        b.insert(b.end(), static_cast<std::size_t>(dataBytes), 0);
        return b;
    }
    for (int i = 0; i + 2 < dataBytes; i += 2) {
        b.push_back(0xFF);
        b.push_back(0x11);
    }
    b.push_back(0);
    b.push_back(1); // end of the bitmap
    return b;
}

} // namespace

TEST(BitmapField, AStoredBitmapClaimsOnlyThePixelsItsBytesBack)
{
    static_assert(OBLMaxStoredBitmapPixels == 2048 * 2048 && OBLRunLengthPixelsPerByte == 1024);
    struct Case {
        std::int32_t width, height;
        int bitCount;
        std::uint32_t compression;
        int dataBytes;
        bool reads;
    };
    const Case cases[] = {
        // Run-length data: up to 2048 x 2048 pixels whatever the bytes, beyond that 1024
        // pixels per byte of the image.
        {22, 1441794, 4, BI_RLE4, 2, false}, // 31.7 million pixels from 64 bytes
        {2048, 2048, 8, BI_RLE8, 2, true},
        {2049, 2048, 8, BI_RLE8, 2, false},
        {2048, -2049, 8, BI_RLE8, 2, false},
        {1, 4194304, 4, BI_RLE4, 2, true},
        {65536, 65536, 8, BI_RLE8, 2, false},
        {2560, 1920, 8, BI_RLE8, 4800, true},
        {2560, 1920, 8, BI_RLE8, 4700, false},
        // Plain rows: every byte of them in the image.
        {2560, 1920, 24, BI_RGB, 0, false},
        {2560, 1920, 24, BI_RGB, 2560 * 3 * 1920, true},
        {300, 200, 24, BI_RGB, 300 * 3 * 200 - 1, false},
        {3, 2, 24, BI_RGB, 23, false},
        {3, 2, 24, BI_RGB, 24, true},
        {1000000, 1000000, 1, BI_RGB, 4, false},
        {-1000000, -1000000, 32, BI_RGB, 4, false},
    };
    for (const Case& c : cases) {
        for (const bool compressed : {false, true}) {
            const Bytes file = BitmapFile(c.width, c.height, c.bitCount, c.compression, c.dataBytes);
            TMemoryStream image, stream;
            image.WriteBuffer(file.data(), static_cast<int>(file.size()));
            image.SetPosition(0);
            if (compressed) {
                SaveCompressedStream(&image, &stream, static_cast<int>(image.Size()));
            } else {
                stWriteInteger(&stream, static_cast<int>(file.size()));
                stream.WriteBuffer(file.data(), static_cast<int>(file.size()));
            }
            stream.SetPosition(0);
            auto back = MakeBitmap(pf24bit, 3, 2);
            const std::string what = std::to_string(c.width) + " x " + std::to_string(c.height) +
                                     (compressed ? " compressed" : " plain");
            if (c.reads) {
                stReadBitmap(&stream, back.get(), compressed);
                EXPECT_EQ(back->Width(), std::abs(c.width)) << what;
            } else {
                const auto start = std::chrono::steady_clock::now();
                EXPECT_THROW(stReadBitmap(&stream, back.get(), compressed), EReadError) << what;
                EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100)) << what;
                EXPECT_EQ(back->Width(), 3) << what << ": the bitmap stays as it was";
            }
        }
    }
}
