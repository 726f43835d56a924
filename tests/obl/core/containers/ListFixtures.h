// Helpers of the list tests: byte fields, a small wave image, pictures of known pixels, a
// temporary drive and a change counter.
#pragma once

#include "obl/core/containers/oblcont.h"
#include "obl/core/formats/oblwave.h"
#include "platform/rtl/FileSystem.h"
#include "tests/obl/core/containers/ContainerSamples.h"
#include "tests/obl/core/formats/ByteFixtures.h"
#include "tests/support/TempDriveTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline Bytes String8(const std::string& s) { return Bytes{static_cast<BYTE>(s.size())} + Text(s); }

// A RIFF WAVE image of a few 8-bit mono samples.
inline Bytes WaveImage(int samples = 4)
{
    auto put16 = [](Bytes& b, unsigned v) {
        b.push_back(static_cast<BYTE>(v));
        b.push_back(static_cast<BYTE>(v >> 8));
    };
    auto put32 = [&](Bytes& b, std::uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    Bytes b = Text("RIFF");
    put32(b, 36 + samples);
    b = b + Text("WAVEfmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, 8000);
    put32(b, 8000);
    put16(b, 1);
    put16(b, 8);
    b = b + Text("data");
    put32(b, samples);
    for (int i = 0; i < samples; ++i)
        b.push_back(static_cast<BYTE>(0x80 + i));
    return b;
}

inline void LoadWave(TOBLWave* wave, const Bytes& image)
{
    TMemoryStream stream;
    Fill(stream, image);
    wave->LoadFromStream(&stream);
}

// The colour of a pixel without the automatic-transparency flag.
inline TColor Pixel(TCanvas* canvas, int x, int y) { return canvas->Pixels(x, y) & 0xFFFFFF; }

// Runs a test on a temporary drive C:.
struct TempDrive : TempDriveTest {
    TempDrive() : TempDriveTest("vendaro-lists") {}
    Bytes Get(const std::string& name) const
    {
        std::ifstream in(root_ + "/" + name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Put(const std::string& name, const Bytes& content) const
    {
        std::ofstream out(root_ + "/" + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    }
};

class Counter : public TObject {
    VENDARO_CLASS(Counter, TObject)
public:
    Counter() = default;
    void Hit(TObject* sender)
    {
        ++count;
        last = sender;
    }
    int count = 0;
    TObject* last = nullptr;
};

// The stream form of a list, as bytes.
inline Bytes StreamForm(TOBLCustomContainer* list)
{
    TMemoryStream out;
    list->SaveToStream(&out);
    return Content(out);
}

inline Bytes Record(TOBLListItem* item)
{
    TMemoryStream out;
    item->SaveToStream(&out);
    return Content(out);
}
