// Drawing benchmark: a full-screen BitBlt SRCCOPY and FillRect on 32 bpp bitmaps,
// and TextOut of 40 characters in the dialogs' default font, each timed against
// its floor in the same run: memcpy and memset of the same bytes, and the same
// glyphs composed straight from the font's glyph cache. Before timing, each
// result is checked against its floor's (the figures mean nothing otherwise).
//
//   gdi-benchmark
#include "bench/BenchTiming.h"
#include "platform/win/gdi/FontEngine.h"
#include "platform/win/gdi/Gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Dib {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;

    Dib(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h; // top-down, like a window surface
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        if (!dc || !bitmap || !p) throw std::runtime_error("cannot create a 32 bpp DIB section");
        bits = static_cast<std::uint32_t*>(p);
        SelectObject(dc, bitmap);
    }
    ~Dib()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    std::size_t Bytes() const { return static_cast<std::size_t>(width) * height * 4; }
};

void Check(bool ok, const char* what)
{
    if (!ok) throw std::runtime_error(std::string("result differs from the floor's: ") + what);
}

void BenchBlitAndFill()
{
    const int w = 1920, h = 1080;
    Dib source(w, h), target(w, h);
    std::mt19937 random(7);
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i) source.bits[i] = random() & 0xFFFFFF;
    std::vector<std::uint32_t> floorSource(source.bits, source.bits + static_cast<std::size_t>(w) * h);
    std::vector<std::uint32_t> floorTarget(floorSource.size());

    BitBlt(target.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY);
    Check(std::memcmp(target.bits, source.bits, target.Bytes()) == 0, "BitBlt");
    const double blit = bench::BestSecondsPerCall([&] { BitBlt(target.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY); });
    const double copy = bench::BestSecondsPerCall([&] {
        std::memcpy(floorTarget.data(), floorSource.data(), target.Bytes());
        asm volatile("" : : "r"(floorTarget.data()) : "memory");
    });
    bench::Report("BitBlt SRCCOPY 1920x1080 32 bpp (floor memcpy)", blit * 1e3, copy * 1e3, "ms", 2.0);

    const RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    FillRect(target.dc, &all, brush);
    bool filled = true;
    for (std::size_t i = 0; i < static_cast<std::size_t>(w) * h; ++i) filled = filled && target.bits[i] == 0x123456;
    Check(filled, "FillRect");
    const double fill = bench::BestSecondsPerCall([&] { FillRect(target.dc, &all, brush); });
    const double set = bench::BestSecondsPerCall([&] {
        std::memset(floorTarget.data(), 0x56, target.Bytes());
        asm volatile("" : : "r"(floorTarget.data()) : "memory");
    });
    bench::Report("FillRect 1920x1080 32 bpp (floor memset)", fill * 1e3, set * 1e3, "ms", 1.5);
    DeleteObject(brush);
}

// The floor of a text run: the cell filled with the background colour, then
// each glyph's ink from the realised font's cache, in the text colour.
void ComposeFromCache(RealizedFont& font, const char* text, int count, int x0, int y0, std::uint32_t* bits,
                      int width, int height, std::uint32_t ink, std::uint32_t paper)
{
    const TEXTMETRICA& m = font.Metrics();
    const GlyphBitmap* glyphs[64];
    int cell = 0;
    for (int i = 0; i < count; ++i) {
        glyphs[i] = &font.Glyph(static_cast<unsigned char>(text[i]));
        cell += glyphs[i]->advance;
    }
    for (int y = std::max(y0, 0); y < y0 + m.tmHeight && y < height; ++y) {
        std::uint32_t* row = bits + static_cast<std::size_t>(y) * width;
        std::fill(row + std::max(x0, 0), row + std::min(x0 + cell, width), paper);
    }
    int pen = x0;
    for (int i = 0; i < count; ++i) {
        const GlyphBitmap& g = *glyphs[i];
        for (int gy = 0; gy < g.height; ++gy) {
            const int y = y0 + m.tmAscent - g.top + gy;
            if (y < 0 || y >= height) continue;
            const std::uint8_t* row = g.bits.data() + static_cast<std::size_t>(gy) * g.width;
            std::uint32_t* out = bits + static_cast<std::size_t>(y) * width + pen + g.left;
            const int from = std::max(0, -(pen + g.left)), to = std::min(g.width, width - (pen + g.left));
            for (int gx = from; gx < to; ++gx)
                if (row[gx]) out[gx] = ink;
        }
        pen += g.advance;
    }
}

void BenchText()
{
    const int w = 400, h = 40;
    Dib target(w, h);
    std::vector<std::uint32_t> floorBits(static_cast<std::size_t>(w) * h, 0xFFFFFF);
    const char* text = "Importazione articoli: 40 caratteri, ok.";
    const int count = static_cast<int>(std::strlen(text));
    if (count != 40 || count > 64) throw std::runtime_error("the text run must be 40 characters");
    SelectObject(target.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(target.dc, RGB(0, 0, 0x80));
    SetBkColor(target.dc, RGB(0xF0, 0xF0, 0xF0));
    LOGFONTA logFont{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    RealizedFont& font = RealizeFont(logFont);

    std::fill(target.bits, target.bits + static_cast<std::size_t>(w) * h, 0xFFFFFF);
    TextOutA(target.dc, 4, 6, text, count);
    ComposeFromCache(font, text, count, 4, 6, floorBits.data(), w, h, 0x000080, 0xF0F0F0);
    Check(std::memcmp(target.bits, floorBits.data(), target.Bytes()) == 0, "TextOut");

    const double drawn = bench::BestSecondsPerCall([&] { TextOutA(target.dc, 4, 6, text, count); });
    const double composed = bench::BestSecondsPerCall([&] {
        ComposeFromCache(font, text, count, 4, 6, floorBits.data(), w, h, 0x000080, 0xF0F0F0);
        asm volatile("" : : "r"(floorBits.data()) : "memory");
    });
    bench::Report("TextOut 40 characters, default font (floor: glyph cache)", drawn * 1e6, composed * 1e6, "us", 3.0);
}

} // namespace

int main()
{
    try {
        BenchBlitAndFill();
        BenchText();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gdi-benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
