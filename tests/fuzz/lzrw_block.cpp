// Single LZRW blocks, apart from the compressed streams around them. What a block restores
// to must compress to a block that restores to the same bytes; the input taken as source
// bytes must come back unchanged through a block of its own.
#include "FuzzTarget.h"

#include "obl/core/base/Oblprocs.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using Buffer = TOBLLZRWBuffer;

// The first `size` bytes of `bytes` as a block buffer.
std::unique_ptr<Buffer> Fill(const std::string& bytes, std::size_t size)
{
    auto buffer = std::make_unique<Buffer>();
    std::memcpy(buffer->data(), bytes.data(), size);
    return buffer;
}

std::string Compress(const std::string& source)
{
    const auto input = Fill(source, source.size());
    const auto block = std::make_unique<Buffer>();
    const WORD length = OBLLZRWCompress(*input, *block, static_cast<WORD>(source.size()));
    FUZZ_CHECK(length >= 1 && length <= source.size() + 1);
    return std::string(reinterpret_cast<const char*>(block->data()), length);
}

std::string Decompress(const std::string& block)
{
    const auto input = Fill(block, block.size());
    const auto output = std::make_unique<Buffer>();
    const WORD produced = OBLLZRWDecompress(*input, *output, static_cast<WORD>(block.size()));
    FUZZ_CHECK(produced <= OBLLZRWChunkSize);
    return std::string(reinterpret_cast<const char*>(output->data()), produced);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), std::min(size, OBLLZRWBufferSize));
    try {
        const std::string restored = Decompress(input);
        if (!restored.empty())
            FUZZ_CHECK(Decompress(Compress(restored)) == restored);
    } catch (const EReadError&) {
    }
    const std::string source = input.substr(0, std::min(input.size(), OBLLZRWChunkSize));
    if (!source.empty())
        FUZZ_CHECK(Decompress(Compress(source)) == source);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "Vendaro " + std::to_string(i % 13) + " ";
    std::string runs = std::string(100, 'a') + std::string(5000, '\0') + "xyz" + std::string(20, 'b');
    std::string noise(3000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    return {Compress("a"), Compress("abcabcabcabc"), Compress(text), Compress(runs), Compress(noise)};
}
