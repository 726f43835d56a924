// Compressed streams of LZRW blocks and the stream fields around them. What restores must
// compress to a stream that restores to the same bytes.
#include "FuzzTarget.h"

#include "obl/core/formats/Oblstreamutils.h"

namespace {

std::string Compress(const std::string& bytes) {
    TMemoryStream source, packed;
    source.Write(bytes.data(), static_cast<int>(bytes.size()));
    source.SetPosition(0);
    SaveCompressedStream(&source, &packed, static_cast<int>(bytes.size()));
    return std::string(static_cast<const char*>(packed.Memory()), static_cast<std::size_t>(packed.Size()));
}

std::string Restore(const std::string& packed) {
    TMemoryStream source, out;
    source.Write(packed.data(), static_cast<int>(packed.size()));
    source.SetPosition(0);
    LoadCompressedStream(&source, &out);
    return std::string(static_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string restored;
    try {
        restored = Restore(input);
    } catch (const EReadError&) {
        restored.clear();
    }
    FUZZ_CHECK(Restore(Compress(restored)) == restored);
    // The same bytes as plain and compressed fields.
    TMemoryStream fields;
    fields.Write(input.data(), static_cast<int>(input.size()));
    for (bool compressed : {false, true}) {
        fields.SetPosition(0);
        TStringList lines;
        try {
            stReadStringList(&fields, &lines, compressed);
        } catch (const EReadError&) {
        }
        fields.SetPosition(0);
        try {
            stReadFieldSize(&fields);
        } catch (const EReadError&) {
        }
    }
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    std::string repeated;
    for (int i = 0; i < 3000; ++i)
        repeated += "Vendaro " + std::to_string(i % 17);
    std::string large(40000, 'x');
    for (std::size_t i = 0; i < large.size(); i += 7)
        large[i] = static_cast<char>(i);
    TMemoryStream list;
    TStringList lines;
    lines.Add("one");
    lines.Add("two");
    stWriteStringList(&list, &lines, true);
    return {Compress(""), Compress("abc"), Compress(repeated), Compress(large),
            std::string(static_cast<const char*>(list.Memory()), static_cast<std::size_t>(list.Size()))};
}
