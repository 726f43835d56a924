#include "obl/core/base/Oblprocs.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes Hex(const std::string& text)
{
    Bytes out;
    std::istringstream in(text);
    std::string item;
    while (in >> item) out.push_back(static_cast<BYTE>(std::stoul(item, nullptr, 16)));
    return out;
}

Bytes Repeat(const std::string& piece, int times)
{
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

Bytes RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<BYTE>(rng());
    return out;
}

// Text-like data with many repeats and runs: exercises copies, runs and literals.
Bytes MixedBytes(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes out;
    const std::string words[] = {"alpha ", "beta ", "gamma ", "delta\r\n", "x"};
    while (out.size() < n) {
        const unsigned pick = rng() % 7;
        if (pick < 5) {
            out.insert(out.end(), words[pick].begin(), words[pick].end());
        } else if (pick == 5) {
            out.insert(out.end(), 10 + rng() % 60, static_cast<BYTE>(rng()));
        } else {
            out.push_back(static_cast<BYTE>(rng()));
        }
    }
    out.resize(n);
    return out;
}

std::unique_ptr<TOBLLZRWBuffer> Buffer(const Bytes& bytes, BYTE padding = 0)
{
    auto buffer = std::make_unique<TOBLLZRWBuffer>();
    buffer->fill(padding);
    std::copy(bytes.begin(), bytes.end(), buffer->begin());
    return buffer;
}

Bytes Compress(const Bytes& source, BYTE padding = 0)
{
    const auto in = Buffer(source, padding);
    const auto out = Buffer({}, 0xEE);
    const WORD length = OBLLZRWCompress(*in, *out, static_cast<WORD>(source.size()));
    return Bytes(out->begin(), out->begin() + length);
}

Bytes Decompress(const Bytes& block, BYTE padding = 0)
{
    const auto in = Buffer(block, padding);
    const auto out = Buffer({}, 0xEE);
    const WORD length = OBLLZRWDecompress(*in, *out, static_cast<WORD>(block.size()));
    return Bytes(out->begin(), out->begin() + length);
}

// A plain transcription of the block compressor with an oversized scratch output,
// used to check the production compressor byte for byte on many inputs.
Bytes ReferenceCompress(const Bytes& src)
{
    const int n = static_cast<int>(src.size());
    std::vector<int> s(src.begin(), src.end());
    s.resize(src.size() + 32, 0);
    std::vector<int> d(src.size() + 64, 0);
    std::vector<unsigned> table(4096, 0xFFFF);
    d[0] = 0x40;
    int z = 1, y = 3, bits = 0, x = 0;
    unsigned c = 0;
    while (x < n && y <= n) {
        if (bits > 15) {
            d[z] = (c >> 8) & 0xFF; d[z + 1] = c & 0xFF;
            z = y; y += 2; bits = 0;
        }
        int r = 1;
        while (x + r < n && r < 4095 && s[x + r] == s[x]) ++r;
        if (r >= 16) {
            d[y] = 0; d[y + 1] = ((r - 16) >> 8) & 0xFF; d[y + 2] = (r - 16) & 0xFF; d[y + 3] = s[x];
            y += 4; x += r; c = (c * 2 + 1) & 0xFFFF;
        } else {
            const unsigned h = ((((unsigned)s[x] << 4) ^ (unsigned)s[x + 1]) << 4) ^ (unsigned)s[x + 2];
            const unsigned index = ((h * 40543u) >> 4) & 0xFFF;
            const unsigned stored = table[index];
            const int p = static_cast<std::int16_t>(stored);
            int length = 0;
            if (stored != 0xFFFF && x - p < 4096)
                while (length < 18 && x + length < n && s[x + length] == s[p + length]) ++length;
            table[index] = static_cast<unsigned>(x);
            if (length >= 3) {
                const unsigned v = (((unsigned)(x - p)) << 4) + (unsigned)(length - 3);
                d[y] = (v >> 8) & 0xFF; d[y + 1] = v & 0xFF;
                y += 2; x += length; c = (c * 2 + 1) & 0xFFFF;
            } else {
                d[y] = s[x]; y += 1; x += 1; c = (c * 2) & 0xFFFF;
            }
        }
        ++bits;
    }
    c = bits == 0 ? 0 : (c << (16 - bits)) & 0xFFFF;
    d[z] = (c >> 8) & 0xFF; d[z + 1] = c & 0xFF;
    if (y > n) {
        d[0] = 0x80;
        for (int i = 0; i < n; ++i) d[i + 1] = s[i];
        y = n + 1;
    }
    return Bytes(d.begin(), d.begin() + y);
}

// A plain transcription of the block decoder, item by item and byte by byte, with
// every bound checked: the restored bytes, or nothing for a damaged block.
std::optional<Bytes> ReferenceDecompress(const Bytes& block)
{
    const std::size_t n = block.size();
    if (n == 0 || n > OBLLZRWBufferSize) return std::nullopt;
    if (block[0] == 0x80) return Bytes(block.begin() + 1, block.end());
    if (block[0] != 0x40 || n < 3) return std::nullopt;
    Bytes out;
    std::size_t x = 1;
    while (x < n) {
        if (x + 2 > n) return std::nullopt;
        unsigned c = (block[x] << 8) | block[x + 1];
        x += 2;
        if (x == n && x > 3 && (c & 0x8000)) return std::nullopt; // a copy or run announced, and no bytes for it
        for (int item = 0; item < 16 && x < n; ++item, c <<= 1) {
            if (!(c & 0x8000)) {
                out.push_back(block[x++]);
            } else {
                if (x + 2 > n) return std::nullopt;
                const std::size_t offset = (block[x] << 4) | (block[x + 1] >> 4);
                if (offset != 0) {
                    if (offset > out.size()) return std::nullopt;
                    for (int k = 0; k < (block[x + 1] & 0x0F) + 3; ++k) out.push_back(out[out.size() - offset]);
                    x += 2;
                } else {
                    if (x + 4 > n) return std::nullopt;
                    out.insert(out.end(), ((block[x + 1] << 8) | block[x + 2]) + 16, block[x + 3]);
                    x += 4;
                }
            }
            if (out.size() > OBLLZRWChunkSize) return std::nullopt;
        }
    }
    return out;
}

// What the decoder makes of a block, in the reference's terms.
std::optional<Bytes> Outcome(const Bytes& block)
{
    try {
        return Decompress(block);
    } catch (const EReadError&) {
        return std::nullopt;
    }
}

// Lines shaped like the project's sources: indentation, keywords, names and numbers.
Bytes SourceLikeText(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    const std::string names[] = {"width", "height", "Canvas", "FOwner", "index", "Items", "Result", "count"};
    const std::string lines[] = {"    const int {0} = {1}->{0}({2});\n", "    if ({0} > {2}) return {1};\n",
                                 "void T{1}::Set{0}(int value)\n{\n", "    for (int i = 0; i < {2}; ++i) {0} += i;\n",
                                 "}\n\n", "    // {0} of the {1}, kept for the next paint\n"};
    std::string text;
    while (text.size() < n) {
        std::string line = lines[rng() % std::size(lines)];
        const std::string fill[] = {names[rng() % std::size(names)], names[rng() % std::size(names)],
                                    std::to_string(rng() % 1000)};
        for (std::size_t at; (at = line.find('{')) != std::string::npos && at + 2 < line.size() &&
                             line[at + 2] == '}';)
            line.replace(at, 3, fill[line[at + 1] - '0']);
        text += line;
    }
    return Bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

// Text with pieces that repeat a pattern of every length from 1 to 17 bytes:
// copies that overlap the bytes they produce, amid ordinary ones.
Bytes PeriodicPieces(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    const Bytes text = SourceLikeText(n, seed);
    Bytes out;
    for (std::size_t at = 0; out.size() < n; at += 40) {
        out.insert(out.end(), text.begin() + static_cast<std::ptrdiff_t>(at % (n - 40)),
                   text.begin() + static_cast<std::ptrdiff_t>(at % (n - 40) + 40));
        const Bytes pattern = RandomBytes(1 + rng() % 17, rng());
        for (std::size_t k = 0, length = 20 + rng() % 30; k < length; ++k) out.push_back(pattern[k % pattern.size()]);
    }
    out.resize(n);
    return out;
}

// Random bytes whose last `tail` bytes repeat, again and again, the 1000 before
// them: the block compresses only at its end, by as much as the tail allows.
Bytes RandomWithRepeatedTail(std::size_t n, std::size_t tail, unsigned seed)
{
    Bytes out = RandomBytes(n - tail, seed);
    for (std::size_t i = 0; i < tail; ++i) out.push_back(out[out.size() - 1000]);
    return out;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::uint64_t Fnv1a(const Bytes& bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const BYTE b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

struct VectorCase {
    const char* name;
    Bytes source;
    Bytes block;
};

std::vector<VectorCase> Vectors()
{
    Bytes yThenLetters(17, 'y');
    for (char ch = 'a'; ch <= 'p'; ++ch) yThenLetters.push_back(static_cast<BYTE>(ch));
    return {
        {"empty", {}, Hex("80")},
        {"hundred x", Repeat("x", 100), Hex("40 80 00 00 00 54 78")},
        {"abc times 8", Repeat("abc", 8), Hex("40 18 00 61 62 63 00 3F 01 20")},
        {"abcdefgh times 8", Repeat("abcdefgh", 8),
         Hex("40 00 E0 61 62 63 64 65 66 67 68 00 8F 01 8F 02 8F 67 68")},
        {"run of 17 then letters", yThenLetters,
         Hex("40 80 00 00 00 01 79 61 62 63 64 65 66 67 68 69 6A 6B 6C 6D 6E 6F 00 00 70")},
        // A compressed block exactly as long as its source stays compressed: only a longer
        // one is replaced by the stored form.
        {"six a, as long as its block", Repeat("a", 6), Hex("40 40 00 61 00 12")},
    };
}

} // namespace

TEST(LZRWCompress, KnownBlocks)
{
    for (const auto& v : Vectors()) {
        SCOPED_TRACE(v.name);
        EXPECT_EQ(Compress(v.source), v.block);
        EXPECT_EQ(Decompress(v.block), v.source);
    }
}

TEST(LZRWCompress, IncompressibleDataIsStored)
{
    for (const std::size_t n : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{17}, OBLLZRWChunkSize}) {
        SCOPED_TRACE(n);
        const Bytes source = RandomBytes(n, static_cast<unsigned>(n));
        Bytes expected{0x80};
        expected.insert(expected.end(), source.begin(), source.end());
        EXPECT_EQ(Compress(source), expected);
        EXPECT_EQ(Decompress(expected), source);
    }
}

TEST(LZRWCompress, MatchesTheBlockAlgorithmOnManyInputs)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const std::size_t n = seed <= 20 ? seed * 37 : OBLLZRWChunkSize - (seed % 3) * 1000;
        const Bytes source = MixedBytes(n, seed);
        SCOPED_TRACE(n);
        const Bytes block = Compress(source);
        EXPECT_EQ(block, ReferenceCompress(source));
        EXPECT_LE(block.size(), source.size() + 1);
        EXPECT_EQ(Decompress(block), source);
    }
}

// The blocks these inputs made when they were first stored, as length and hash: every
// stream written before must be written again byte for byte.
TEST(LZRWCompress, BlocksStayAsTheyWereStored)
{
    const struct {
        const char* name;
        Bytes source;
        std::size_t length;
        std::uint64_t hash;
    } cases[] = {
        {"source-like text", SourceLikeText(OBLLZRWChunkSize, 5), 10004, 17374396234660090269ull},
        {"words, runs and noise", MixedBytes(OBLLZRWChunkSize, 77), 6665, 11031580316155583792ull},
        {"short text", SourceLikeText(700, 6), 363, 8377431303738183143ull},
        {"random chunk", RandomBytes(OBLLZRWChunkSize, 12), 32782, 1360537261186925840ull},
        {"random then text", RandomBytes(20000, 13) + SourceLikeText(OBLLZRWChunkSize - 20000, 7), 26607,
         8239152699936803376ull},
        {"text then random", SourceLikeText(3000, 8) + RandomBytes(OBLLZRWChunkSize - 3000, 14), 32782,
         4641750894334332318ull},
        {"random, one long run inside", RandomBytes(15000, 15) + Bytes(4000, 0x20) + RandomBytes(13781, 16), 32380,
         10511196531431155008ull},
        {"random, tail just too short", RandomWithRepeatedTail(OBLLZRWChunkSize, 4102, 17), 32782, 7807059037330350763ull},
        {"random, tail just long enough", RandomWithRepeatedTail(OBLLZRWChunkSize, 4103, 17), 32781, 7177648681653957692ull},
        {"short random, tail too short", RandomWithRepeatedTail(2000, 251, 18), 2001, 5466044857906729972ull},
        {"short random, tail long enough", RandomWithRepeatedTail(2000, 252, 18), 2000, 4571864542538305109ull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes block = Compress(c.source);
        EXPECT_EQ(block.size(), c.length);
        EXPECT_EQ(Fnv1a(block), c.hash);
        EXPECT_EQ(block, ReferenceCompress(c.source));
        EXPECT_EQ(Decompress(block), c.source);
    }
}

TEST(LZRWCompress, RoundTripsAtBoundarySizes)
{
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{17},
                                std::size_t{4096}, std::size_t{32768}, OBLLZRWChunkSize}) {
        SCOPED_TRACE(n);
        for (const Bytes& source : {MixedBytes(n, 7), Bytes(n, 0x41), RandomBytes(n, 3)}) {
            EXPECT_EQ(Decompress(Compress(source)), source);
        }
    }
}

TEST(LZRWCompress, BytesPastTheSourceNeverInfluenceTheBlock)
{
    // "ab" followed by what happens to be in the buffer: equal padding would
    // otherwise extend a run or a copy.
    for (const Bytes& source : {Hex("61 62"), Hex("61 61 61 61 61 61 61 61 61 61 61 61 61 61 61"), MixedBytes(500, 9)}) {
        EXPECT_EQ(Compress(source, 0x00), Compress(source, 0x61));
        EXPECT_EQ(Compress(source, 0x61), ReferenceCompress(source));
    }
}

TEST(LZRWCompress, RunsUpToTheEndOfTheSource)
{
    // A run item needs 16 equal bytes within the source, also when it ends the source.
    for (const std::size_t before : {std::size_t{0}, std::size_t{1}, std::size_t{40}, std::size_t{2000}}) {
        for (const std::size_t run : {std::size_t{14}, std::size_t{15}, std::size_t{16}, std::size_t{17}}) {
            SCOPED_TRACE(before * 100 + run);
            const Bytes source = SourceLikeText(before + 1, 3) + Bytes(run, 'z');
            EXPECT_EQ(Compress(source, 'z'), ReferenceCompress(source));
            EXPECT_EQ(Decompress(Compress(source)), source);
        }
    }
}

TEST(LZRWCompress, PositionsFrom32768OnOfferNoCopies)
{
    // "ABC" is seen at 0 and again at 32768, so its table entry then reads back
    // negative: the repeats after it stay literals (though the bytes at 0, where
    // a table entry of 32768 would point with its top bit cleared, are the same).
    const Bytes text = SourceLikeText(32765, 52);
    ASSERT_EQ(std::search(text.begin(), text.end(), std::begin("ABC"), std::begin("ABC") + 3), text.end());
    const Bytes source = Repeat("ABC", 1) + text + Repeat("ABC", 4) + Hex("41");
    const Bytes block = Compress(source);
    EXPECT_EQ(block, ReferenceCompress(source));
    EXPECT_EQ(Decompress(block), source);
}

TEST(LZRWCompress, RefusesSourcesLargerThanOneChunk)
{
    const auto in = Buffer({});
    const auto out = Buffer({});
    EXPECT_THROW(OBLLZRWCompress(*in, *out, static_cast<WORD>(OBLLZRWChunkSize + 1)), EInvalidPointer);
}

TEST(LZRWDecompress, OverlappingCopyRepeatsBytesJustProduced)
{
    // Literal 'a', then a copy of 10 bytes from 1 back: 11 times 'a'.
    EXPECT_EQ(Decompress(Hex("40 40 00 61 00 17")), Bytes(11, 'a'));
}

TEST(LZRWDecompress, DamagedBlocksRaiseReadError)
{
    const struct {
        const char* name;
        Bytes block;
    } cases[] = {
        {"no flag byte", {}},
        {"control word cut off", Hex("40 80")},
        {"copy item cut off", Hex("40 80 00 61")},
        {"run item cut off", Hex("40 80 00 00 00 10")},
        {"copy before the start", Hex("40 80 00 00 13")},
        {"copy reaching past what was produced", Hex("40 40 00 61 00 23")},
        {"run beyond one chunk", Hex("40 80 00 00 7F FF 41")},
        {"runs adding up beyond one chunk", Hex("40 FF 00 00 7F E0 41 00 7F E0 41")},
        {"second control word cut off",
         Hex("40 00 00 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 80")},
        {"block ending with a control word that announces a copy",
         Hex("40 00 00 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 80 00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(Decompress(c.block), EReadError);
    }
}

TEST(LZRWDecompress, EveryFlagButStoredIsFollowedByItems)
{
    // After the flag: control word 0x4000 (a literal, then a copy), 'a', and a copy of 5
    // bytes from 1 back. Stored, the same bytes come back as they are.
    const Bytes items = Hex("40 00 61 00 12");
    const BYTE flags[] = {0x00, 0x01, 0x3F, 0x40, 0x41, 0x7F, 0x81, 0xC0, 0xFE, 0xFF};
    for (const BYTE flag : flags) {
        SCOPED_TRACE(static_cast<int>(flag));
        EXPECT_EQ(Decompress(Bytes{flag} + items), Bytes(6, 'a'));
    }
    EXPECT_EQ(Decompress(Bytes{0x80} + items), items);
}

TEST(LZRWDecompress, ItemsPastTheEndOfTheBlockArePadding)
{
    EXPECT_EQ(Decompress(Hex("40 80 00")), Bytes{});
    EXPECT_EQ(Decompress(Hex("40 7F FF 61")), Bytes{'a'});
    EXPECT_EQ(Decompress(Hex("40 00 00 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 61 7F FF")), Bytes(16, 'a'));
}

TEST(LZRWDecompress, RefusesBlockLengthsBeyondTheBuffer)
{
    const auto in = Buffer(Hex("80"));
    const auto out = Buffer({});
    EXPECT_THROW(OBLLZRWDecompress(*in, *out, static_cast<WORD>(OBLLZRWBufferSize + 1)), EReadError);
    EXPECT_EQ(OBLLZRWDecompress(*in, *out, static_cast<WORD>(OBLLZRWBufferSize)), OBLLZRWChunkSize);
}

TEST(LZRWDecompress, DamagedBlocksNeverTouchBytesOutsideTheBlock)
{
    // Each damaged block is decoded twice, with different bytes after its end:
    // the outcome must not depend on them, and must be a result or EReadError.
    std::mt19937 rng(2024);
    const Bytes sources[] = {MixedBytes(3000, 1), Repeat("abcdefgh", 40), MixedBytes(OBLLZRWChunkSize, 2)};
    for (int round = 0; round < 600; ++round) {
        Bytes block = Compress(sources[round % 3]);
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e)
            block[rng() % block.size()] = static_cast<BYTE>(rng());
        if (round % 2) block.resize(1 + rng() % block.size());
        auto outcome = [&](BYTE padding) {
            try {
                return Decompress(block, padding);
            } catch (const EReadError&) {
                return Hex("DE AD");
            }
        };
        const Bytes first = outcome(0x00);
        EXPECT_LE(first.size(), OBLLZRWChunkSize);
        EXPECT_EQ(first, outcome(0xFF)) << "round " << round;
    }
}

TEST(LZRWDecompress, OverlappingCopiesOfEveryPeriod)
{
    for (const std::size_t n : {std::size_t{600}, std::size_t{5000}, OBLLZRWChunkSize}) {
        SCOPED_TRACE(n);
        const Bytes source = PeriodicPieces(n, static_cast<unsigned>(n));
        const Bytes block = Compress(source);
        EXPECT_EQ(block, ReferenceCompress(source));
        EXPECT_EQ(Decompress(block), source);
    }
}

TEST(LZRWDecompress, EveryCutOfABlockDecodesAsItemByItem)
{
    // A cut at each length: some end inside the items of a control word, some
    // exactly after one, with the rest of the block long or short.
    const Bytes block = Compress(SourceLikeText(1500, 21) + PeriodicPieces(600, 22) + Bytes(40, 'r') +
                                 SourceLikeText(500, 23));
    ASSERT_EQ(block[0], 0x40);
    for (std::size_t length = 1; length <= block.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(Outcome(cut), ReferenceDecompress(cut));
    }
}

TEST(LZRWDecompress, DamagedBlocksDecodeAsItemByItem)
{
    // Edits anywhere: copies reaching before the output (or just not), runs and
    // copies beyond one chunk, control words that turn literals into items.
    std::mt19937 rng(99);
    const Bytes sources[] = {SourceLikeText(OBLLZRWChunkSize, 31), PeriodicPieces(OBLLZRWChunkSize, 32),
                             Bytes(30000, 'a') + SourceLikeText(OBLLZRWChunkSize - 30000, 33)};
    for (int round = 0; round < 900; ++round) {
        Bytes block = Compress(sources[round % 3]);
        for (int e = 0, edits = 1 + static_cast<int>(rng() % 3); e < edits; ++e)
            block[1 + rng() % (block.size() - 1)] ^= static_cast<BYTE>(1 + rng() % 255);
        SCOPED_TRACE(round);
        EXPECT_EQ(Outcome(block), ReferenceDecompress(block));
    }
}

// Control words of sixteen copies of 18 bytes from 16 back.
Bytes LongCopies(int words)
{
    Bytes items;
    for (int w = 0; w < words; ++w) {
        items = items + Hex("FF FF");
        for (int k = 0; k < 16; ++k) items = items + Hex("01 0F");
    }
    return items;
}

TEST(LZRWDecompress, OutputOfOneChunkExactlyAndOneByteMore)
{
    // Sixteen literals, then copies: 32781 bytes exactly, made mostly by whole
    // control words; one literal more is beyond one chunk.
    const int words = (static_cast<int>(OBLLZRWChunkSize) - 16) / (16 * 18);
    ASSERT_EQ(static_cast<int>(OBLLZRWChunkSize) - 16 - words * 16 * 18, 12 * 18 + 5);
    Bytes block = Hex("40 00 00") + Repeat("0123456789abcdef", 1) + LongCopies(words) + Hex("FF F8");
    for (int k = 0; k < 12; ++k) block = block + Hex("01 0F");
    block = block + Hex("01 02"); // the last copy, of 5 bytes
    Bytes expected = Repeat("0123456789abcdef", 2049);
    expected.resize(OBLLZRWChunkSize);
    EXPECT_EQ(Outcome(block), expected);
    EXPECT_EQ(ReferenceDecompress(block), expected);
    EXPECT_EQ(Outcome(block + Hex("61")), std::nullopt);
}

TEST(LZRWDecompress, WholeControlWordsOfCopiesUpToTheEndOfTheOutput)
{
    // A run of every length over one control word's worth of copies puts the
    // last control words at every distance from the end of a chunk; more
    // control words of copies go beyond it (and leave the last whole one amid
    // the block, not at its end).
    for (int run = 16; run < 16 + 16 * 18; ++run) {
        SCOPED_TRACE(run);
        const int words = (static_cast<int>(OBLLZRWChunkSize) - run - 15) / (16 * 18);
        Bytes block = Hex("40 80 00 00") + Bytes{static_cast<BYTE>((run - 16) >> 8), static_cast<BYTE>(run - 16), 'r'} +
                      Repeat("abcdefghijklmno", 1) + LongCopies(words);
        const std::optional<Bytes> whole = Outcome(block);
        ASSERT_TRUE(whole.has_value());
        ASSERT_EQ(whole->size(), static_cast<std::size_t>(run + 15 + words * 16 * 18));
        EXPECT_TRUE(std::equal(whole->begin() + run + 15, whole->end(), whole->begin() + run - 1));
        EXPECT_EQ(Outcome(block + LongCopies(3)), std::nullopt);
    }
}

TEST(LZRWDecompress, CopiesReachingBackToTheStartOfTheOutput)
{
    // After 32 literals, a copy from the first of them, and one from a byte
    // before it; amid a long block and at its end.
    const Bytes literals = Hex("00 00") + Repeat("ABCDEFGHIJKLMNOP", 1);
    const Bytes longTail = literals + literals + literals + literals + literals + literals;
    for (const Bytes& tail : {Bytes{}, longTail}) {
        SCOPED_TRACE(tail.size());
        const Bytes head = Hex("40") + literals + literals + Hex("80 00");
        const Bytes reaching = head + Hex("02 0F") + Repeat("abcdefghijklmno", 1) + tail;
        EXPECT_EQ(Outcome(reaching), ReferenceDecompress(reaching));
        ASSERT_TRUE(Outcome(reaching).has_value());
        const Bytes before = head + Hex("02 1F") + Repeat("abcdefghijklmno", 1) + tail;
        EXPECT_EQ(Outcome(before), std::nullopt);
    }
}
