#include "GdiFixture.h"

#include <cstring>

TEST(DeviceContext, SaveAndRestoreClipAndAttributes) {
    Canvas c(10, 10);
    IntersectClipRect(c.dc(), 2, 2, 6, 6);
    SetTextColor(c.dc(), kRed);
    const int level = SaveDC(c.dc());
    EXPECT_EQ(1, level);
    ExcludeClipRect(c.dc(), 2, 2, 4, 6);
    SetTextColor(c.dc(), kBlue);
    SaveDC(c.dc());
    SelectClipRgn(c.dc(), nullptr);
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(10, box.right);
    EXPECT_TRUE(RestoreDC(c.dc(), -1));
    GetClipBox(c.dc(), &box);
    EXPECT_EQ((std::vector<LONG>{4, 2, 6, 6}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
    EXPECT_TRUE(RestoreDC(c.dc(), level));
    GetClipBox(c.dc(), &box);
    EXPECT_EQ((std::vector<LONG>{2, 2, 6, 6}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
    EXPECT_EQ(kRed, GetTextColor(c.dc()));
    EXPECT_FALSE(RestoreDC(c.dc(), 1));  // nothing saved any more
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(1, GetClipRgn(c.dc(), clip));
    SelectClipRgn(c.dc(), nullptr);
    EXPECT_EQ(0, GetClipRgn(c.dc(), clip));
    DeleteObject(clip);
}

TEST(DeviceContext, SelectObjectReturnsPreviousAndDeleteWaitsForDeselection) {
    Canvas c(2, 2);
    const int before = GdiLiveObjectCount();
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    EXPECT_EQ(GetStockObject(BLACK_PEN), old);
    EXPECT_TRUE(DeleteObject(pen));          // selected: not freed yet
    EXPECT_EQ(OBJ_PEN, GetObjectType(pen));
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 1, 0);
    EXPECT_EQ(kRed, GetPixel(c.dc(), 0, 0));
    EXPECT_EQ(pen, SelectObject(c.dc(), old));
    EXPECT_EQ(0u, GetObjectType(pen));       // freed on deselection
    EXPECT_EQ(before, GdiLiveObjectCount());
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(GetStockObject(WHITE_BRUSH)));
}

TEST(DeviceContext, GetObjectSizesAndContents) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "MS Sans Serif");
    HFONT font = CreateFontIndirect(&lf);
    LOGFONTA back{};
    EXPECT_EQ(60, GetObject(font, sizeof back, &back));
    EXPECT_EQ(0, std::memcmp(&lf, &back, sizeof lf));
    EXPECT_EQ(60, GetObject(font, 0, nullptr));
    HPEN pen = CreatePen(PS_DASH, 1, kBlue);
    LOGPEN lp{};
    EXPECT_EQ(static_cast<int>(sizeof lp), GetObject(pen, sizeof lp, &lp));
    EXPECT_EQ(PS_DASH, lp.lopnStyle);
    EXPECT_EQ(kBlue, lp.lopnColor);
    HBRUSH brush = CreateHatchBrush(HS_CROSS, kRed);
    LOGBRUSH lb{};
    GetObject(brush, sizeof lb, &lb);
    EXPECT_EQ(BS_HATCHED, lb.lbStyle);
    EXPECT_EQ(static_cast<UINT_PTR>(HS_CROSS), lb.lbHatch);
    HBITMAP bmp = CreateBitmap(5, 3, 1, 24, nullptr);
    BITMAP bm{};
    GetObject(bmp, sizeof bm, &bm);
    EXPECT_EQ(5, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);
    EXPECT_EQ(16, bm.bmWidthBytes);
    EXPECT_EQ(24, bm.bmBitsPixel);
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(font), static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush),
                      static_cast<HGDIOBJ>(bmp)})
        EXPECT_TRUE(DeleteObject(h));
    EXPECT_FALSE(DeleteObject(bmp));
}

TEST(DeviceContext, WindowAndViewportOriginsMoveDrawing) {
    Canvas c(6, 3);
    SetViewportOrgEx(c.dc(), 2, 1, nullptr);
    SetWindowOrgEx(c.dc(), 1, 0, nullptr);
    SetPixel(c.dc(), 1, 0, kRed);  // device (2, 1)
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    SetWindowOrgEx(c.dc(), 0, 0, nullptr);
    EXPECT_EQ(kRed, GetPixel(c.dc(), 2, 1));
    POINT p{3, 3};
    SetWindowOrgEx(c.dc(), 1, 1, nullptr);
    LPtoDP(c.dc(), &p, 1);
    EXPECT_EQ(2, p.x);
    DPtoLP(c.dc(), &p, 1);
    EXPECT_EQ(3, p.x);
    // The clip stays in device coordinates while the window origin moves.
    IntersectClipRect(c.dc(), 1, 1, 3, 3);  // device [0,2) x [0,2)
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_EQ((std::vector<LONG>{1, 1, 3, 3}), (std::vector<LONG>{box.left, box.top, box.right, box.bottom}));
}

TEST(DeviceContext, AttributesRejectBadValues) {
    Canvas c(1, 1);
    EXPECT_EQ(OPAQUE, SetBkMode(c.dc(), TRANSPARENT));
    EXPECT_EQ(0, SetBkMode(c.dc(), 7));
    EXPECT_EQ(TRANSPARENT, GetBkMode(c.dc()));
    EXPECT_EQ(R2_COPYPEN, SetROP2(c.dc(), R2_XORPEN));
    EXPECT_EQ(0, SetROP2(c.dc(), 17));
    EXPECT_EQ(0, SetTextCharacterExtra(c.dc(), 3));
    EXPECT_EQ(3, GetTextCharacterExtra(c.dc()));
    EXPECT_EQ(CLR_INVALID, SetTextColor(nullptr, kRed));
}

TEST(DeviceContext, PalettesAreTrackedOnTrueColour) {
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 3;
    lp->palPalEntry[0] = {255, 0, 0, PC_NOCOLLAPSE};
    lp->palPalEntry[1] = {0, 255, 0, 0};
    lp->palPalEntry[2] = {0, 0, 255, 0};
    HPALETTE pal = CreatePalette(lp);
    ASSERT_NE(nullptr, pal);
    Canvas c(1, 1);
    SetPixel(c.dc(), 0, 0, RGB(10, 20, 30));
    HPALETTE old = SelectPalette(c.dc(), pal, FALSE);
    EXPECT_EQ(GetStockObject(DEFAULT_PALETTE), old);
    EXPECT_EQ(0u, RealizePalette(c.dc()));
    EXPECT_EQ(RGB(10, 20, 30), GetPixel(c.dc(), 0, 0));
    EXPECT_EQ(2u, GetNearestPaletteIndex(pal, RGB(0, 10, 200)));
    PALETTEENTRY e[3];
    EXPECT_EQ(2u, GetPaletteEntries(pal, 1, 5, e));
    EXPECT_EQ(255, e[0].peGreen);
    EXPECT_EQ(nullptr, SelectPalette(c.dc(), nullptr, FALSE));
    EXPECT_TRUE(DeleteObject(pal));        // still selected: freed when deselected
    EXPECT_EQ(OBJ_PAL, GetObjectType(pal));
    EXPECT_EQ(pal, SelectPalette(c.dc(), old, FALSE));
    EXPECT_EQ(0u, GetObjectType(pal));
}

TEST(DeviceContext, SystemColoursAndRectangles) {
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(128, 128, 128), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(RGB(223, 223, 223), GetSysColor(COLOR_3DLIGHT));
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    LOGBRUSH lb;
    GetObject(face, sizeof lb, &lb);
    EXPECT_EQ(RGB(192, 192, 192), lb.lbColor);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));

    RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, empty{3, 3, 3, 8}, r;
    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    RECT expected{5, 5, 10, 10};
    EXPECT_TRUE(EqualRect(&r, &expected));
    EXPECT_TRUE(UnionRect(&r, &a, &empty));
    EXPECT_TRUE(EqualRect(&r, &a));  // empty inputs are ignored
    RECT top{0, 0, 10, 4}, rest;
    EXPECT_TRUE(SubtractRect(&rest, &a, &top));
    RECT below{0, 4, 10, 10};
    EXPECT_TRUE(EqualRect(&rest, &below));
    EXPECT_TRUE(SubtractRect(&rest, &a, &b));  // a corner cut leaves a whole
    EXPECT_TRUE(EqualRect(&rest, &a));
    EXPECT_TRUE(PtInRect(&a, POINT{0, 9}));
    EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
    EXPECT_FALSE(PtInRect(&a, POINT{5, 10}));
    EXPECT_TRUE(IsRectEmpty(&empty));
    InflateRect(&a, -2, 1);
    RECT inflated{2, -1, 8, 11};
    EXPECT_TRUE(EqualRect(&a, &inflated));
}

TEST(DeviceContext, ExtSelectClipRgnModesAndOffset) {
    struct Case {
        int mode;
        std::vector<bool> visible;  // x = 0 .. 5 on row 0
    };
    // Current clip [0,4); the region [2,6).
    const std::vector<Case> cases = {
        {RGN_AND, {false, false, true, true, false, false}},
        {RGN_OR, {true, true, true, true, true, true}},
        {RGN_XOR, {true, true, false, false, true, true}},
        {RGN_DIFF, {true, true, false, false, false, false}},
        {RGN_COPY, {false, false, true, true, true, true}},
    };
    for (const Case& k : cases) {
        Canvas c(8, 1);
        IntersectClipRect(c.dc(), 0, 0, 4, 1);
        HRGN r = CreateRectRgn(2, 0, 6, 1);
        EXPECT_NE(ERROR, ExtSelectClipRgn(c.dc(), r, k.mode));
        DeleteObject(r);
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(k.visible[x], PtVisible(c.dc(), x, 0) != 0) << k.mode << " x=" << x;
    }
    Canvas c(8, 1);
    EXPECT_EQ(ERROR, ExtSelectClipRgn(c.dc(), nullptr, RGN_AND));
    IntersectClipRect(c.dc(), 0, 0, 2, 1);
    OffsetClipRgn(c.dc(), 3, 0);
    EXPECT_FALSE(PtVisible(c.dc(), 1, 0));
    EXPECT_TRUE(PtVisible(c.dc(), 4, 0));
}

TEST(DeviceContext, SixteenBitBitmapsKeepFiveBitsPerChannel) {
    Canvas c(2, 1, 16);
    EXPECT_EQ(RGB(0x10, 0x21, 0xFF), SetPixel(c.dc(), 0, 0, RGB(0x12, 0x23, 0xFF)));
    EXPECT_EQ(RGB(0x10, 0x21, 0xFF), GetPixel(c.dc(), 0, 0));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 1, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
    BYTE bits[4] = {};
    ASSERT_EQ(1, GetDIBits(c.dc(), c.bitmap(), 0, 1, bits, &info, DIB_RGB_COLORS));
    // 5-5-5: red 2, green 4, blue 31 -> 0x089F; white for the second pixel.
    EXPECT_EQ(0x9F, bits[0]);
    EXPECT_EQ(0x08, bits[1]);
    EXPECT_EQ(0xFF, bits[2]);
    EXPECT_EQ(0x7F, bits[3]);
}
