#include "GdiFixture.h"

#include <cstring>

namespace {

// 2x2 picture: top row red, white; bottom row blue, black.
void Paint2x2(HDC dc) {
    SetPixel(dc, 0, 0, kRed);
    SetPixel(dc, 1, 0, kWhite);
    SetPixel(dc, 0, 1, kBlue);
    SetPixel(dc, 1, 1, kBlack);
}

struct Info256 {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
};

Info256 Header(int bpp, LONG height = 2) {
    Info256 info{};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    info.h.biWidth = 2;
    info.h.biHeight = height;
    info.h.biPlanes = 1;
    info.h.biBitCount = static_cast<WORD>(bpp);
    info.h.biCompression = BI_RGB;
    return info;
}

} // namespace

TEST(Dib, GetDIBitsAt24BitsIsBottomUpAndPadded) {
    Canvas c(2, 2);
    Paint2x2(c.dc());
    Info256 info = Header(24);
    std::vector<BYTE> bits(16, 0xEE);
    ASSERT_EQ(2, GetDIBits(c.dc(), c.bitmap(), 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
    const std::vector<BYTE> expected = {
        0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0,  // bottom row: blue, black (B, G, R order)
        0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0,  // top row: red, white
    };
    EXPECT_EQ(expected, bits);
    EXPECT_EQ(16u, info.h.biSizeImage);
}

TEST(Dib, GetDIBitsTopDownWhenHeightNegative) {
    Canvas c(2, 2);
    Paint2x2(c.dc());
    Info256 info = Header(32, -2);
    std::vector<BYTE> bits(16);
    ASSERT_EQ(2, GetDIBits(c.dc(), c.bitmap(), 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
    EXPECT_EQ(0xFF, bits[2]);  // first pixel is the top-left red
    EXPECT_EQ(0xFF, bits[8]);  // row two starts with blue
}

TEST(Dib, GetDIBitsAtIndexedDepths) {
    struct Case {
        int bpp;
        std::vector<BYTE> bits;
        std::vector<DWORD> firstColors;  // 0x00RRGGBB
    };
    const std::vector<Case> cases = {
        // 1 bpp: nearest of black/white; blue and black -> 0, red -> 0 (darker), white -> 1.
        {1, {0x00, 0, 0, 0, 0x40, 0, 0, 0}, {0x000000, 0xFFFFFF}},
        // 4 bpp: the 16 standard colours: red 9, white 15, blue 12, black 0.
        {4, {0xC0, 0, 0, 0, 0x9F, 0, 0, 0}, {0x000000, 0x800000, 0x008000, 0x808000}},
        // 8 bpp: the fixed table begins with the same 16 colours.
        {8, {12, 0, 0, 0, 9, 15, 0, 0}, {0x000000, 0x800000}},
    };
    for (const Case& k : cases) {
        Canvas c(2, 2);
        Paint2x2(c.dc());
        Info256 info = Header(k.bpp);
        std::vector<BYTE> bits(8, 0xEE);
        ASSERT_EQ(2, GetDIBits(c.dc(), c.bitmap(), 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info),
                               DIB_RGB_COLORS)) << k.bpp;
        EXPECT_EQ(k.bits, bits) << k.bpp;
        for (std::size_t i = 0; i < k.firstColors.size(); ++i) {
            const RGBQUAD& q = info.colors[i];
            EXPECT_EQ(k.firstColors[i], (DWORD(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue) << k.bpp << " " << i;
        }
    }
}

TEST(Dib, FormatQueryAndPartialScans) {
    Canvas c(2, 2);
    Paint2x2(c.dc());
    Info256 info{};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    EXPECT_NE(0, GetDIBits(c.dc(), c.bitmap(), 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
    EXPECT_EQ(2, info.h.biWidth);
    EXPECT_EQ(2, info.h.biHeight);
    EXPECT_EQ(32, info.h.biBitCount);
    EXPECT_EQ(16u, info.h.biSizeImage);
    // Scan 1 of a bottom-up DIB is the top row.
    Info256 one = Header(24);
    std::vector<BYTE> row(8, 0);
    EXPECT_EQ(1, GetDIBits(c.dc(), c.bitmap(), 1, 5, row.data(), reinterpret_cast<BITMAPINFO*>(&one), DIB_RGB_COLORS));
    EXPECT_EQ(0xFF, row[2]);
    EXPECT_EQ(0, GetDIBits(c.dc(), c.bitmap(), 2, 1, row.data(), reinterpret_cast<BITMAPINFO*>(&one), DIB_RGB_COLORS));
}

TEST(Dib, SetDIBitsAndDibSectionMemory) {
    Info256 info = Header(24);
    const std::vector<BYTE> bits = {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    Canvas c(2, 2);
    EXPECT_EQ(2, SetDIBits(c.dc(), c.bitmap(), 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
    EXPECT_EQ(kRed, GetPixel(c.dc(), 0, 0));
    EXPECT_EQ(kBlue, GetPixel(c.dc(), 0, 1));

    Info256 mono = Header(1);
    mono.colors[0] = {0, 0, 0xFF, 0};   // red
    mono.colors[1] = {0xFF, 0, 0, 0};   // blue
    void* memory = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&mono), DIB_RGB_COLORS, &memory, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    ASSERT_NE(nullptr, memory);
    static_cast<BYTE*>(memory)[0] = 0x80;  // bottom row: index 1, 0
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    EXPECT_EQ(kBlue, GetPixel(dc, 0, 1));
    EXPECT_EQ(kRed, GetPixel(dc, 1, 1));
    BITMAP bm;
    EXPECT_EQ(static_cast<int>(sizeof bm), GetObject(dib, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    EXPECT_EQ(4, bm.bmWidthBytes);
    EXPECT_EQ(memory, bm.bmBits);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
}

TEST(Dib, BitmapBitsAreWordAlignedRows) {
    const BYTE in[] = {0xA0, 0x00, 0x50, 0x00};
    HBITMAP b = CreateBitmap(3, 2, 1, 1, in);
    EXPECT_EQ(4, GetBitmapBits(b, 0, nullptr));
    BYTE out[4] = {};
    EXPECT_EQ(4, GetBitmapBits(b, 4, out));
    EXPECT_EQ(0, std::memcmp(in, out, 4));
    BITMAP bm;
    GetObject(b, sizeof bm, &bm);
    EXPECT_EQ(2, bm.bmWidthBytes);
    EXPECT_EQ(nullptr, bm.bmBits);
    DeleteObject(b);
}

TEST(Dib, CompatibleBitmapFollowsTheDC) {
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP fromMemory = CreateCompatibleBitmap(mem, 4, 4);  // the initial bitmap is monochrome
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP fromScreen = CreateCompatibleBitmap(screen, 4, 4);
    BITMAP a, b;
    GetObject(fromMemory, sizeof a, &a);
    GetObject(fromScreen, sizeof b, &b);
    EXPECT_EQ(1, a.bmBitsPixel);
    EXPECT_EQ(32, b.bmBitsPixel);
    GdiSetDisplayBitsPerPixel(8);
    HBITMAP eight = CreateCompatibleBitmap(screen, 1, 1);
    GetObject(eight, sizeof b, &b);
    EXPECT_EQ(8, b.bmBitsPixel);
    EXPECT_EQ(8, GetDeviceCaps(screen, BITSPIXEL));
    EXPECT_EQ(8, GetDeviceCaps(mem, BITSPIXEL));  // memory DCs answer for the display
    EXPECT_NE(0, GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE);
    GdiSetDisplayBitsPerPixel(32);
    EXPECT_EQ(RC_STRETCHBLT, GetDeviceCaps(screen, RASTERCAPS) & RC_STRETCHBLT);
    for (HBITMAP h : {fromMemory, fromScreen, eight})
        DeleteObject(h);
    DeleteDC(mem);
    DeleteDC(screen);
}

TEST(Dib, StretchDIBitsAndSetDIBitsToDevice) {
    Info256 info = Header(24);
    const std::vector<BYTE> bits = {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    Canvas c(4, 4);
    SetDIBitsToDevice(c.dc(), 1, 1, 2, 2, 0, 0, 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    EXPECT_EQ(Joined({"....", ".R..", ".B#.", "...."}), Joined(c.Picture()));
    Canvas s(4, 4);
    StretchDIBits(s.dc(), 0, 0, 4, 4, 0, 0, 2, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(Joined({"RR..", "RR..", "BB##", "BB##"}), Joined(s.Picture()));
}

TEST(Dib, FileHeadersAreLittleEndian) {
    BITMAPFILEHEADER fh{0x4D42, 0x11223344, 0, 0, 54};
    BYTE bytes[14];
    WriteBitmapFileHeader(fh, bytes);
    const BYTE expected[14] = {'B', 'M', 0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(expected, bytes, 14));
    EXPECT_EQ(0x11223344u, ReadBitmapFileHeader(bytes).bfSize);
    BITMAPINFOHEADER ih{40, 3, -2, 1, 24, BI_RGB, 24, 0, 0, 0, 0};
    BYTE info[40];
    WriteBitmapInfoHeader(ih, info);
    EXPECT_EQ(0xFE, info[8]);  // -2
    EXPECT_EQ(0xFF, info[11]);
    EXPECT_EQ(24, info[14]);
    EXPECT_EQ(-2, ReadBitmapInfoHeader(info).biHeight);
}

TEST(Dib, EightBitTableComesFromTheSelectedPalette) {
    Canvas c(2, 2);
    Paint2x2(c.dc());
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 2;
    lp->palPalEntry[0] = {0, 0, 255, 0};    // blue
    lp->palPalEntry[1] = {255, 0, 0, 0};    // red
    HPALETTE pal = CreatePalette(lp);
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    HPALETTE old = SelectPalette(screen, pal, FALSE);
    RealizePalette(screen);
    Info256 info = Header(8);
    std::vector<BYTE> bits(8, 0xEE);
    ASSERT_EQ(2, GetDIBits(screen, c.bitmap(), 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS));
    EXPECT_EQ(0xFF, info.colors[0].rgbBlue);
    EXPECT_EQ(0xFF, info.colors[1].rgbRed);
    EXPECT_EQ(0, info.colors[2].rgbRed | info.colors[2].rgbGreen | info.colors[2].rgbBlue);
    // Bottom row blue, black -> 0 and 2 (black); top row red, white -> 1 and the first white-nearest entry.
    EXPECT_EQ(0, bits[0]);
    EXPECT_EQ(1, bits[4]);
    SelectPalette(screen, old, FALSE);
    DeleteObject(pal);
    DeleteDC(screen);
}
