// Block codec benchmark: the component library's LZRW block compression against
// LZ4 (liblz4) on the same 32 KB blocks, for source text (the project's own
// sources, read from the folder given) and for random bytes. Every LZRW block is
// decompressed and compared with its source before anything is timed.
//
//   codec-benchmark [source folder]      (default: the current folder)
#include "bench/BenchTiming.h"
#include "obl/core/base/Oblprocs.h"

#include <lz4.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlock = 32 * 1024;
constexpr std::size_t kTotal = 1024 * 1024; // bytes of each kind of input

std::vector<unsigned char> SourceText(const std::filesystem::path& root)
{
    std::vector<unsigned char> text;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        if (entry.path().string().find("/build/") != std::string::npos) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        text.insert(text.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (text.size() >= kTotal) break;
    }
    if (text.size() < kTotal) throw std::runtime_error("not enough source text under " + root.string());
    text.resize(kTotal);
    return text;
}

std::vector<unsigned char> RandomBytes()
{
    std::vector<unsigned char> bytes(kTotal);
    std::mt19937 random(11);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
}

struct Blocks {
    std::vector<std::unique_ptr<TOBLLZRWBuffer>> plain, lzrw;
    std::vector<WORD> lzrwSize;
    std::vector<std::vector<char>> lz4;
    std::vector<int> lz4Size;
};

Blocks Split(const std::vector<unsigned char>& data)
{
    Blocks b;
    for (std::size_t at = 0; at < data.size(); at += kBlock) {
        auto block = std::make_unique<TOBLLZRWBuffer>();
        std::memcpy(block->data(), data.data() + at, kBlock);
        b.plain.push_back(std::move(block));
        b.lzrw.push_back(std::make_unique<TOBLLZRWBuffer>());
        b.lzrwSize.push_back(0);
        b.lz4.emplace_back(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(kBlock))));
        b.lz4Size.push_back(0);
    }
    return b;
}

void CompressAll(Blocks& b)
{
    for (std::size_t i = 0; i < b.plain.size(); ++i)
        b.lzrwSize[i] = OBLLZRWCompress(*b.plain[i], *b.lzrw[i], static_cast<WORD>(kBlock));
}

void Lz4All(Blocks& b)
{
    for (std::size_t i = 0; i < b.plain.size(); ++i)
        b.lz4Size[i] = LZ4_compress_default(reinterpret_cast<const char*>(b.plain[i]->data()), b.lz4[i].data(),
                                            static_cast<int>(kBlock), static_cast<int>(b.lz4[i].size()));
}

void Bench(const char* kind, const std::vector<unsigned char>& data, double compressGoal, double decompressGoal)
{
    Blocks b = Split(data);
    CompressAll(b);
    Lz4All(b);
    TOBLLZRWBuffer out{};
    std::vector<char> lz4Out(kBlock);
    std::size_t lzrwBytes = 0, lz4Bytes = 0;
    for (std::size_t i = 0; i < b.plain.size(); ++i) {
        const WORD n = OBLLZRWDecompress(*b.lzrw[i], out, b.lzrwSize[i]);
        if (n != kBlock || std::memcmp(out.data(), b.plain[i]->data(), kBlock) != 0)
            throw std::runtime_error("LZRW round trip failed");
        lzrwBytes += b.lzrwSize[i];
        lz4Bytes += static_cast<std::size_t>(b.lz4Size[i]);
    }
    std::printf("%s: %zu bytes in %zu blocks; LZRW %zu bytes, LZ4 %zu bytes\n", kind, data.size(), b.plain.size(),
                lzrwBytes, lz4Bytes);
    const double lzrwC = bench::BestSecondsPerCall([&] { CompressAll(b); });
    const double lz4C = bench::BestSecondsPerCall([&] { Lz4All(b); });
    bench::Report((std::string("LZRW compression, ") + kind + " (floor LZ4)").c_str(), lzrwC * 1e3, lz4C * 1e3,
                  "ms/MB", compressGoal);
    if (decompressGoal <= 0) return;
    const double lzrwD = bench::BestSecondsPerCall([&] {
        for (std::size_t i = 0; i < b.plain.size(); ++i) OBLLZRWDecompress(*b.lzrw[i], out, b.lzrwSize[i]);
    });
    const double lz4D = bench::BestSecondsPerCall([&] {
        for (std::size_t i = 0; i < b.plain.size(); ++i)
            LZ4_decompress_safe(b.lz4[i].data(), lz4Out.data(), b.lz4Size[i], static_cast<int>(kBlock));
    });
    bench::Report((std::string("LZRW decompression, ") + kind + " (floor LZ4)").c_str(), lzrwD * 1e3, lz4D * 1e3,
                  "ms/MB", decompressGoal);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        Bench("source text", SourceText(argc > 1 ? argv[1] : "."), 2.0, 2.0);
        Bench("random bytes", RandomBytes(), 4.0, 0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "codec-benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
