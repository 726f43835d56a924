#include "obl/core/formats/Oblstreamutils.h"

#include "obl/core/base/Oblprocs.h"
#include "platform/rtl/Exceptions.h"

#include "tests/obl/core/formats/ByteFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

Bytes Hex(const std::string& text)
{
    Bytes out;
    std::istringstream in(text);
    std::string item;
    while (in >> item) out.push_back(static_cast<BYTE>(std::stoul(item, nullptr, 16)));
    return out;
}

// Compressible but not trivial: text with runs and random stretches.
Bytes Sample(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < n) {
        if (rng() % 4 == 0) {
            out.push_back(static_cast<BYTE>(rng()));
        } else {
            const std::string word = rng() % 2 ? "lorem " : "ipsum\r\n";
            out.insert(out.end(), word.begin(), word.end());
        }
    }
    out.resize(n);
    return out;
}

Bytes Compressed(const Bytes& source)
{
    TMemoryStream in, out;
    Fill(in, source);
    SaveCompressedStream(&in, &out, static_cast<int>(source.size()));
    return Content(out);
}

Bytes Restored(const Bytes& compressed)
{
    TMemoryStream in, out;
    Fill(in, compressed);
    LoadCompressedStream(&in, &out);
    return Content(out);
}

// Lengths of the blocks of a compressed stream, checking its total on the way.
std::vector<int> BlockLengths(const Bytes& compressed)
{
    TMemoryStream in;
    Fill(in, compressed);
    int total = 0;
    stReadInteger(&in, total);
    std::vector<int> lengths;
    int sum = 0;
    while (in.Position() < in.Size()) {
        int length = 0;
        stReadInteger(&in, length);
        lengths.push_back(length);
        sum += length + 4;
        in.SetPosition(in.Position() + length);
    }
    EXPECT_EQ(total, sum);
    return lengths;
}

} // namespace

TEST(StreamFields, IntegersAreLittleEndian)
{
    TMemoryStream stream;
    stWriteInteger(&stream, -2);
    stWriteInteger(&stream, 0x12345678);
    stWriteWord(&stream, 0xBEEF);
    stWriteByte(&stream, 0x7F);
    EXPECT_EQ(Content(stream), Hex("FE FF FF FF 78 56 34 12 EF BE 7F"));
    stream.SetPosition(0);
    int a = 0, b = 0;
    WORD w = 0;
    BYTE c = 0;
    stReadInteger(&stream, a);
    stReadInteger(&stream, b);
    stReadWord(&stream, w);
    stReadByte(&stream, c);
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 0x12345678);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(c, 0x7F);
}

TEST(StreamFields, PlainReadersTakeWhatIsLeft)
{
    TMemoryStream stream;
    Fill(stream, Hex("01 02"));
    int value = -1;
    stReadInteger(&stream, value);
    EXPECT_EQ(value, 0x0201);
    WORD w = 5;
    stReadWord(&stream, w);
    EXPECT_EQ(w, 0);
    Fill(stream, Hex("05 61 62"));
    AnsiString s = "old";
    stReadString(&stream, s);
    EXPECT_EQ(s, "ab");
}

TEST(StreamFields, StringsKeepAtMost255Characters)
{
    const struct {
        int length;
        int stored;
    } cases[] = {{0, 0}, {1, 1}, {255, 255}, {256, 255}, {300, 255}, {511, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        AnsiString text;
        for (int i = 0; i < c.length; ++i) text += static_cast<char>('a' + i % 26);
        TMemoryStream stream;
        stWriteString(&stream, text);
        EXPECT_EQ(stream.Size(), 1 + c.stored);
        EXPECT_EQ(Content(stream)[0], c.stored);
        stream.SetPosition(0);
        AnsiString back;
        stReadString(&stream, back);
        EXPECT_EQ(back, Copy(text, 1, c.stored));
    }
}

TEST(CompressedStream, KnownStreams)
{
    EXPECT_EQ(Compressed(Bytes(100, 'x')), Hex("0B 00 00 00 07 00 00 00 40 80 00 00 00 54 78"));
    EXPECT_EQ(Compressed({}), Hex("00 00 00 00"));
    EXPECT_EQ(Restored(Hex("00 00 00 00")), Bytes{});
    EXPECT_EQ(Compressed(Hex("41")), Hex("06 00 00 00 02 00 00 00 80 41"));
}

TEST(CompressedStream, RoundTripsAcrossBlockBoundaries)
{
    const struct {
        std::size_t size;
        std::size_t blocks;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {17, 1}, {OBLLZRWChunkSize, 1}, {OBLLZRWChunkSize + 1, 2},
                 {2 * OBLLZRWChunkSize, 2}, {2 * OBLLZRWChunkSize + 5, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes source = Sample(c.size, static_cast<unsigned>(c.size));
        const Bytes compressed = Compressed(source);
        EXPECT_EQ(BlockLengths(compressed).size(), c.blocks);
        EXPECT_EQ(Restored(compressed), source);
    }
}

TEST(CompressedStream, SecondBlockOfOneByteAfterAFullChunk)
{
    Bytes source(OBLLZRWChunkSize + 1, 'q');
    const std::vector<int> lengths = BlockLengths(Compressed(source));
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_EQ(lengths[1], 2); // stored: flag and the one byte
}

TEST(CompressedStream, CountLimitsWhatIsRead)
{
    // Only Count bytes are taken, also when the source holds more.
    const Bytes source = Sample(OBLLZRWChunkSize + 500, 4);
    for (const int count : {0, 10, static_cast<int>(OBLLZRWChunkSize) + 1}) {
        SCOPED_TRACE(count);
        TMemoryStream in, out;
        Fill(in, source);
        SaveCompressedStream(&in, &out, count);
        EXPECT_EQ(in.Position(), count);
        EXPECT_EQ(Restored(Content(out)), Bytes(source.begin(), source.begin() + count));
    }
}

TEST(CompressedStream, WrittenAtTheDestinationsPositionLeavingItAtTheEnd)
{
    TMemoryStream in, out;
    Fill(in, Bytes(100, 'x'));
    Fill(out, Hex("AA BB CC"));
    out.SetPosition(3);
    SaveCompressedStream(&in, &out, 100);
    EXPECT_EQ(out.Position(), out.Size());
    EXPECT_EQ(Content(out), Hex("AA BB CC 0B 00 00 00 07 00 00 00 40 80 00 00 00 54 78"));
    // Restoring writes at the destination's position, after what it holds.
    TMemoryStream restored;
    Fill(restored, Hex("01"));
    restored.SetPosition(1);
    out.SetPosition(3);
    LoadCompressedStream(&out, &restored);
    EXPECT_EQ(Content(restored), Hex("01") + Bytes(100, 'x'));
}

TEST(CompressedStream, BadBlockLengthsRaiseReadError)
{
    for (const int length : {0, -1, static_cast<int>(OBLLZRWBufferSize) + 1, 70000, -70000}) {
        SCOPED_TRACE(length);
        EXPECT_THROW(Restored(Int32(100) + Int32(length) + Bytes(64, 0x80)), EReadError);
    }
    // The largest block, a stored full chunk, is accepted.
    Bytes stored{0x80};
    stored.resize(OBLLZRWBufferSize, 'z');
    EXPECT_EQ(Restored(Int32(static_cast<int>(OBLLZRWBufferSize) + 4) + Int32(static_cast<int>(OBLLZRWBufferSize)) + stored),
              Bytes(OBLLZRWChunkSize, 'z'));
}

TEST(CompressedStream, TruncatedAndDamagedStreamsRaiseReadError)
{
    const Bytes good = Compressed(Sample(3 * OBLLZRWChunkSize / 2, 8));
    std::mt19937 rng(77);
    int failures = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes bad = good;
        if (round % 3 == 0) {
            bad.resize(rng() % bad.size());
        } else {
            for (int e = 0; e < 3; ++e) bad[rng() % bad.size()] = static_cast<BYTE>(rng());
        }
        try {
            Restored(bad);
        } catch (const EReadError&) {
            ++failures;
        }
    }
    EXPECT_GE(failures, 100);
    for (std::size_t cut : {std::size_t{0}, std::size_t{2}, std::size_t{6}, std::size_t{20}, good.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_THROW(Restored(Bytes(good.begin(), good.begin() + static_cast<long>(cut))), EReadError);
    }
}

TEST(StringListField, PlainAndCompressedRoundTrips)
{
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        TStringList lines;
        lines.Add("first");
        lines.Add("");
        lines.Add("third line");
        TMemoryStream stream;
        stWriteByte(&stream, 9);
        stWriteStringList(&stream, &lines, compressed);
        stWriteByte(&stream, 0xEE);
        if (!compressed) {
            const Bytes content = Content(stream);
            EXPECT_EQ(Bytes(content.begin(), content.begin() + 5), Hex("09 15 00 00 00"));
        }
        stream.SetPosition(1);
        TStringList back;
        back.Add("stale");
        stReadStringList(&stream, &back, compressed);
        EXPECT_EQ(back.Text(), lines.Text());
        BYTE trailer = 0;
        stReadByte(&stream, trailer);
        EXPECT_EQ(trailer, 0xEE);
    }
}

TEST(StringListField, EmptyListWritesZero)
{
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        TStringList lines;
        TMemoryStream stream;
        stWriteStringList(&stream, &lines, compressed);
        EXPECT_EQ(Content(stream), Hex("00 00 00 00"));
        stream.SetPosition(0);
        TStringList back;
        back.Add("stale");
        stReadStringList(&stream, &back, compressed);
        EXPECT_EQ(back.Count(), 0);
    }
}

TEST(StringListField, BadCountsRaiseReadError)
{
    for (const Bytes& bytes : {Int32(-1) + Hex("61 0D 0A"), Int32(4) + Hex("61 0D 0A"), Int32(0x7FFFFFFF), Hex("03 00")}) {
        TMemoryStream stream;
        Fill(stream, bytes);
        TStringList back;
        EXPECT_THROW(stReadStringList(&stream, &back, false), EReadError);
    }
}
