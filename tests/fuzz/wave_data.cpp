// Wave data as form descriptions and the library's streams store it. A wave read must
// write data that reads to the same image.
#include "FuzzTarget.h"

#include "obl/core/formats/oblwave.h"

namespace {

std::string Bytes(TMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
}

std::string Riff(int samples) {
    auto u32 = [](std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(v >> (8 * i));
    };
    auto u16 = [](std::string& out, std::uint16_t v) {
        out += static_cast<char>(v);
        out += static_cast<char>(v >> 8);
    };
    std::string fmt;
    u16(fmt, 1);
    u16(fmt, 1);
    u32(fmt, 8000);
    u32(fmt, 8000);
    u16(fmt, 1);
    u16(fmt, 8);
    std::string body = "WAVEfmt ";
    u32(body, static_cast<std::uint32_t>(fmt.size()));
    body += fmt;
    body += "data";
    u32(body, static_cast<std::uint32_t>(samples));
    for (int i = 0; i < samples; ++i)
        body += static_cast<char>(128 + (i % 32) - 16);
    std::string riff = "RIFF";
    u32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream in;
    in.Write(data, static_cast<int>(size));
    for (int form = 0; form < 3; ++form) {
        in.SetPosition(0);
        TOBLWave wave;
        try {
            if (form == 0)
                wave.ReadData(&in);
            else if (form == 1)
                wave.LoadFromStreamEx(&in);
            else
                wave.LoadCompressedFromStream(&in);
        } catch (const Exception&) {
            continue;
        }
        TOBLWaveInfo info;
        if (wave.Stream()) {
            try {
                OBLGetWaveStreamInfo(wave.Stream(), info);
            } catch (const EErrorCheckingWave&) {
            }
        }
        TMemoryStream out;
        wave.WriteData(&out);
        out.SetPosition(0);
        TOBLWave again;
        again.ReadData(&out);
        TMemoryStream back;
        again.WriteData(&back);
        FUZZ_CHECK(Bytes(back) == Bytes(out));
    }
    return 0;
}

std::vector<std::string> FuzzSeeds() {
    std::vector<std::string> seeds;
    for (int samples : {0, 5, 300}) {
        const std::string riff = Riff(samples);
        TMemoryStream image;
        image.Write(riff.data(), static_cast<int>(riff.size()));
        image.SetPosition(0);
        TOBLWave wave;
        wave.LoadFromStream(&image);
        for (int form = 0; form < 3; ++form) {
            TMemoryStream out;
            if (form == 0)
                wave.WriteData(&out);
            else if (form == 1)
                wave.SaveToStreamEx(&out);
            else
                wave.SaveCompressedToStream(&out);
            seeds.push_back(Bytes(out));
        }
    }
    return seeds;
}
