// Copies, fills and text on 32 bpp targets take direct row paths; on 24 bpp targets the
// general per-pixel ones, except for solid fills, which have a row path of their own there.
// Every path must give the same colours for the same calls.
#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

struct Bitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    std::uint8_t* bits = nullptr;
    int width, height, bpp;

    Bitmap(int w, int h, int depth) : width(w), height(h), bpp(depth)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = h;  // bottom-up, as DIBs usually are
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(depth);
        void* p = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<std::uint8_t*>(p);
        SelectObject(dc, bitmap);
    }
    ~Bitmap()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    int Stride() const { return ((width * bpp + 31) / 32) * 4; }
    // 0x00RRGGBB of pixel (x, y), y from the top.
    std::uint32_t At(int x, int y) const
    {
        const std::uint8_t* p = bits + static_cast<std::size_t>(height - 1 - y) * Stride() + x * (bpp / 8);
        return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    // Fills with a pattern; 32 bpp pixels get a set fourth byte, which copies drop.
    void Scribble(unsigned seed)
    {
        std::mt19937 random(seed);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = bits + static_cast<std::size_t>(y) * Stride() + x * (bpp / 8);
                const std::uint32_t v = random();
                p[0] = static_cast<std::uint8_t>(v);
                p[1] = static_cast<std::uint8_t>(v >> 8);
                p[2] = static_cast<std::uint8_t>(v >> 16);
                if (bpp == 32) p[3] = 0xFF;
            }
    }
    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) out.push_back(At(x, y));
        return out;
    }
};

// Runs the same drawing on a 32 bpp and a 24 bpp pair of bitmaps (same starting colours).
void ExpectSameOnBothDepths(const std::function<void(Bitmap& target, Bitmap& source)>& draw, const std::string& what)
{
    Bitmap fast(37, 23, 32), general(37, 23, 24), fastSource(29, 19, 32), generalSource(29, 19, 24);
    fast.Scribble(1);
    general.Scribble(1);
    fastSource.Scribble(2);
    generalSource.Scribble(2);
    ASSERT_EQ(fast.Pixels(), general.Pixels());
    draw(fast, fastSource);
    draw(general, generalSource);
    EXPECT_EQ(fast.Pixels(), general.Pixels()) << what;
}

void ClipWithHole(HDC dc)
{
    IntersectClipRect(dc, 2, 1, 33, 20);
    ExcludeClipRect(dc, 10, 5, 16, 9);
}

TEST(FastPaths, BitBltSrcCopyMatchesTheGeneralPath)
{
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {
        const int x = static_cast<int>(random() % 50) - 10, y = static_cast<int>(random() % 36) - 8;
        const int w = static_cast<int>(random() % 40), h = static_cast<int>(random() % 30);
        const int sx = static_cast<int>(random() % 44) - 8, sy = static_cast<int>(random() % 30) - 6;
        const bool self = round % 3 == 0, clipped = round % 2 == 0;
        ExpectSameOnBothDepths(
            [&](Bitmap& target, Bitmap& source) {
                if (clipped) ClipWithHole(target.dc);
                BitBlt(target.dc, x, y, w, h, self ? target.dc : source.dc, sx, sy, SRCCOPY);
            },
            "round " + std::to_string(round));
    }
}

TEST(FastPaths, FillRectMatchesTheGeneralPath)
{
    ExpectSameOnBothDepths(
        [](Bitmap& target, Bitmap&) {
            ClipWithHole(target.dc);
            HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
            const RECT r{-3, 2, 30, 40};
            FillRect(target.dc, &r, brush);
            DeleteObject(brush);
        },
        "FillRect");
}

// A grey (three equal bytes) is filled byte-wise, any other colour pixel by pixel.
TEST(FastPaths, SolidFillOn24BitsWritesExactlyTheVisiblePixels)
{
    for (const COLORREF colour : {RGB(0x12, 0x34, 0x56), RGB(0x5A, 0x5A, 0x5A), RGB(0, 0, 0)}) {
        Bitmap target(37, 23, 24);
        target.Scribble(3);
        const std::vector<std::uint32_t> before = target.Pixels();
        ClipWithHole(target.dc);
        HBRUSH brush = CreateSolidBrush(colour);
        const RECT r{-3, 2, 30, 40};
        FillRect(target.dc, &r, brush);
        DeleteObject(brush);
        const std::uint32_t rgb = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x) {
                const bool inClip = x >= 2 && x < 33 && y >= 1 && y < 20 && !(x >= 10 && x < 16 && y >= 5 && y < 9);
                const bool painted = inClip && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const std::uint32_t expected = painted ? rgb : before[static_cast<std::size_t>(y * target.width + x)];
                ASSERT_EQ(target.At(x, y), expected) << std::hex << colour << " at " << std::dec << x << "," << y;
            }
    }
}

TEST(FastPaths, TextMatchesTheGeneralPath)
{
    struct Case {
        const char* what;
        UINT align;
        int mode;
        bool underline, clipRect, clipHole;
        int x, y;
    };
    const Case cases[] = {
        {"opaque, top left", TA_LEFT | TA_TOP, OPAQUE, false, false, false, 1, 2},
        {"transparent", TA_LEFT | TA_TOP, TRANSPARENT, false, false, false, 1, 2},
        {"underlined, off the left and top", TA_LEFT | TA_TOP, OPAQUE, true, false, false, -4, -3},
        {"centred on the baseline", TA_CENTER | TA_BASELINE, OPAQUE, false, false, false, 18, 14},
        {"right and bottom", TA_RIGHT | TA_BOTTOM, TRANSPARENT, true, false, false, 40, 25},
        {"clipped to a rectangle", TA_LEFT | TA_TOP, OPAQUE, false, true, false, 0, 3},
        {"clip region with a hole", TA_LEFT | TA_TOP, OPAQUE, true, false, true, 0, 3},
    };
    for (const Case& c : cases) {
        ExpectSameOnBothDepths(
            [&](Bitmap& target, Bitmap&) {
                LOGFONTA lf{};
                lf.lfHeight = -11;
                lf.lfUnderline = c.underline;
                std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Sans Serif");
                HFONT font = CreateFontIndirectA(&lf);
                HGDIOBJ old = SelectObject(target.dc, font);
                SetTextAlign(target.dc, c.align);
                SetBkMode(target.dc, c.mode);
                SetTextColor(target.dc, RGB(0x20, 0x40, 0x80));
                SetBkColor(target.dc, RGB(0xF0, 0xE0, 0xD0));
                if (c.clipHole) ClipWithHole(target.dc);
                const char* text = "Wg Importa: ok";
                const RECT box{3, 4, 25, 12};
                ExtTextOutA(target.dc, c.x, c.y, c.clipRect ? ETO_CLIPPED : 0, c.clipRect ? &box : nullptr, text,
                            static_cast<UINT>(std::strlen(text)), nullptr);
                SelectObject(target.dc, old);
                DeleteObject(font);
            },
            c.what);
    }
}

} // namespace

namespace {

// Per-column gradient fills against one FillRect per column, at each depth.
void ExpectColumnsLikeFillRects(int depth, int left, int width, bool clipped, POINT viewport)
{
    Bitmap columns(37, 23, depth), rects(37, 23, depth);
    columns.Scribble(3);
    rects.Scribble(3);
    std::vector<COLORREF> colours;
    for (int i = 0; i < width; ++i)
        colours.push_back(RGB(10 + i * 6, 200 - i * 5, i % 3 == 0 ? 40 : 41));
    const RECT area{left, 2, left + width, 19};
    for (Bitmap* b : {&columns, &rects}) {
        if (clipped) ClipWithHole(b->dc);
        SetViewportOrgEx(b->dc, viewport.x, viewport.y, nullptr);
    }
    ASSERT_TRUE(GdiFillColumns(columns.dc, &area, colours.data()));
    for (int i = 0; i < width; ++i) {
        HBRUSH brush = CreateSolidBrush(colours[static_cast<std::size_t>(i)]);
        const RECT column{left + i, area.top, left + i + 1, area.bottom};
        FillRect(rects.dc, &column, brush);
        DeleteObject(brush);
    }
    EXPECT_EQ(columns.Pixels(), rects.Pixels())
        << depth << " bpp, left " << left << ", width " << width << (clipped ? ", clipped" : "");
}

} // namespace

TEST(FastPaths, ColumnFillsPaintWhatOneFillRectPerColumnPaints)
{
    for (int depth : {32, 24})
        for (int left : {-5, 0, 7})
            for (int width : {0, 1, 13, 40})
                for (bool clipped : {false, true})
                    ExpectColumnsLikeFillRects(depth, left, width, clipped, POINT{clipped ? 3 : 0, clipped ? -2 : 0});
}
