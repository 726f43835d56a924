#include "GdiFixture.h"

#include <functional>

namespace {

constexpr COLORREF P = RGB(0xF0, 0xCC, 0x0F), S = RGB(0xAA, 0x3C, 0xFF), D = RGB(0x55, 0x96, 0x00);

COLORREF Mask(COLORREF c) { return c & 0xFFFFFF; }

} // namespace

TEST(Blit, Rop3Table) {
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    const std::vector<Case> cases = {
        {SRCCOPY, S},
        {SRCAND, S & D},
        {SRCPAINT, S | D},
        {SRCINVERT, S ^ D},
        {SRCERASE, Mask(S & ~D)},
        {NOTSRCCOPY, Mask(~S)},
        {NOTSRCERASE, Mask(~(S | D))},
        {MERGECOPY, P & S},
        {MERGEPAINT, Mask(~S | D)},
        {PATCOPY, P},
        {PATPAINT, Mask(P | ~S | D)},
        {PATINVERT, P ^ D},
        {DSTINVERT, Mask(~D)},
        {BLACKNESS, 0},
        {WHITENESS, 0xFFFFFF},
        {0x00E20746, Mask((S & P) | (~S & D))},  // source 1 picks the pattern
        {0x00A000C9, P & D},
        {0x00960000, P ^ S ^ D},                 // any code works, not only named ones
    };
    for (const Case& k : cases) {
        Canvas src(1, 1), dst(1, 1);
        SetPixel(src.dc(), 0, 0, S);
        SetPixel(dst.dc(), 0, 0, D);
        Selected brush(dst.dc(), CreateSolidBrush(P));
        EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, k.rop));
        EXPECT_EQ(k.expected, GetPixel(dst.dc(), 0, 0)) << std::hex << k.rop;
    }
}

TEST(Blit, ColourToMonoUsesSourceBackground) {
    Canvas src(3, 1), mono(3, 1, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kBlue);
    SetPixel(src.dc(), 2, 0, kWhite);
    SetBkColor(src.dc(), kBlue);
    BitBlt(mono.dc(), 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ("#.#", mono.Picture()[0]);  // only the background colour becomes white
}

TEST(Blit, MonoToColourUsesDestinationTextAndBackground) {
    Canvas mono(2, 1, 1), dst(3, 1);
    SetPixel(mono.dc(), 0, 0, kBlack);
    SetPixel(mono.dc(), 1, 0, kWhite);
    SetTextColor(dst.dc(), kRed);
    SetBkColor(dst.dc(), kBlue);
    BitBlt(dst.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ("RB.", dst.Picture()[0]);
}

TEST(Blit, OverlappingCopyBehavesLikeMemmove) {
    Canvas c(6, 1);
    for (int x = 0; x < 3; ++x)
        SetPixel(c.dc(), x, 0, x == 1 ? kRed : kBlack);
    BitBlt(c.dc(), 1, 0, 3, 1, c.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ("##R#..", c.Picture()[0]);
    BitBlt(c.dc(), 0, 0, 3, 1, c.dc(), 1, 0, SRCCOPY);
    EXPECT_EQ("#R##..", c.Picture()[0]);
}

TEST(Blit, SourceOutsideItsBitmapLeavesDestination) {
    Canvas src(2, 2), dst(4, 1);
    RECT all{0, 0, 2, 2};
    FillRect(src.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), -1, 0, SRCCOPY);
    EXPECT_EQ(".##.", dst.Picture()[0]);
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), 3, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(".###", dst.Picture()[0]);
}

TEST(Blit, StretchAndMirror) {
    Canvas src(2, 1), dst(4, 2);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kBlue);
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    StretchBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
    StretchBlt(dst.dc(), 3, 1, -4, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);  // mirrored, x from 3 down to 0
    EXPECT_EQ(Joined({"RRBB", "BBRR"}), Joined(dst.Picture()));
}

TEST(Blit, ClippedByDestinationClip) {
    Canvas src(4, 1), dst(4, 1);
    RECT all{0, 0, 4, 1};
    FillRect(src.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ExcludeClipRect(dst.dc(), 1, 0, 3, 1);
    BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(CLR_INVALID, GetPixel(dst.dc(), 1, 0));  // reading honours the clip too
    SelectClipRgn(dst.dc(), nullptr);
    EXPECT_EQ("#..#", dst.Picture()[0]);
}

TEST(Blit, MonochromeDibWithOwnColoursWorksOnBits) {
    // A 1-bit DIB section whose table is red (0) and blue (1): rops act on the bits.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
    } info{{sizeof(BITMAPINFOHEADER), 4, 1, 1, 1, BI_RGB, 0, 0, 0, 0, 0}, {{0, 0, 255, 0}, {255, 0, 0, 0}}};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    PatBlt(dc, 0, 0, 4, 1, WHITENESS);
    EXPECT_EQ(0xF0, static_cast<BYTE*>(bits)[0]);
    EXPECT_EQ(kBlue, GetPixel(dc, 0, 0));
    PatBlt(dc, 1, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(0x90, static_cast<BYTE*>(bits)[0]);
    EXPECT_EQ(kRed, GetPixel(dc, 1, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
}

TEST(Blit, ShrinkingFollowsTheStretchMode) {
    struct Case {
        int mode;
        COLORREF expected;
    };
    // Two source pixels, red and blue, become one.
    const std::vector<Case> cases = {
        {BLACKONWHITE, kRed & kBlue},
        {WHITEONBLACK, kRed | kBlue},
        {HALFTONE, RGB(128, 0, 128)},
        {COLORONCOLOR, kBlue},  // the pixel under the centre
    };
    for (const Case& k : cases) {
        Canvas src(2, 1), dst(1, 1);
        SetPixel(src.dc(), 0, 0, kRed);
        SetPixel(src.dc(), 1, 0, kBlue);
        SetStretchBltMode(dst.dc(), k.mode);
        StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
        EXPECT_EQ(k.expected, GetPixel(dst.dc(), 0, 0)) << k.mode;
    }
    Canvas src(2, 1), dst(2, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kBlue);
    StretchBlt(dst.dc(), 1, 0, -2, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);  // mirrored copy, default mode
    EXPECT_EQ("BR", dst.Picture()[0]);
}
