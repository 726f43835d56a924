#include "GdiFixture.h"

#include <cstring>

TEST(More, RoundRectWithPenAndPaintRgnWithPattern) {
    Canvas c(8, 6);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    RoundRect(c.dc(), 0, 0, 8, 6, 4, 4);
    EXPECT_EQ(Joined({".######.", "#RRRRRR#", "#RRRRRR#", "#RRRRRR#", "#RRRRRR#", ".######."}), Joined(c.Picture()));

    const BYTE bits[] = {0x80, 0x00};  // 2x1 mono: "10"
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, bits);
    Canvas p(4, 2);
    Selected pattern(p.dc(), CreatePatternBrush(mono));
    SetTextColor(p.dc(), kBlack);
    SetBkColor(p.dc(), kBlue);
    HRGN rgn = CreateRectRgn(0, 1, 4, 2);
    PaintRgn(p.dc(), rgn);
    EXPECT_EQ(Joined({"....", "B#B#"}), Joined(p.Picture()));
    DeleteObject(rgn);
    DeleteObject(mono);
}

TEST(More, DibColorTablesAndCreateDIBitmap) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[16];
    } info{{sizeof(BITMAPINFOHEADER), 2, 1, 1, 4, BI_RGB, 0, 0, 0, 2, 0}, {{0, 0, 255, 0}, {0, 255, 0, 0}}};
    const BYTE pixels[4] = {0x10, 0, 0, 0};  // index 1, index 0
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP ddb = CreateDIBitmap(screen, &info.h, CBM_INIT, pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ASSERT_NE(nullptr, ddb);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, ddb);
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(mem, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(mem, 1, 0));
    EXPECT_EQ(0u, GetDIBColorTable(mem, 0, 2, info.colors));  // a device bitmap has no table
    SelectObject(mem, old);
    DeleteObject(ddb);

    void* memory = nullptr;
    HBITMAP dib = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &memory, nullptr, 0);
    std::memcpy(memory, pixels, 4);
    old = SelectObject(mem, dib);
    RGBQUAD table[2];
    EXPECT_EQ(2u, GetDIBColorTable(mem, 0, 5, table));
    EXPECT_EQ(255, table[0].rgbRed);
    const RGBQUAD blue{255, 0, 0, 0};
    EXPECT_EQ(1u, SetDIBColorTable(mem, 1, 1, &blue));
    EXPECT_EQ(kBlue, GetPixel(mem, 0, 0));  // the same index shows the new colour
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    DeleteDC(screen);
}

TEST(More, NearestColourOnIndexedBitmaps) {
    Canvas c(1, 1, 4);
    EXPECT_EQ(RGB(255, 0, 0), GetNearestColor(c.dc(), RGB(250, 10, 10)));
    EXPECT_EQ(RGB(128, 128, 128), GetNearestColor(c.dc(), RGB(120, 130, 125)));
    EXPECT_EQ(RGB(128, 128, 128), SetPixel(c.dc(), 0, 0, RGB(120, 130, 125)));
    Canvas t(1, 1);
    EXPECT_EQ(RGB(120, 130, 125), GetNearestColor(t.dc(), RGB(120, 130, 125)));
}

TEST(More, SetSysColorsRenewsTheBrush) {
    const int index = COLOR_BTNFACE;
    const COLORREF pink = RGB(255, 192, 203);
    EXPECT_TRUE(SetSysColors(1, &index, &pink));
    EXPECT_EQ(pink, GetSysColor(COLOR_BTNFACE));
    LOGBRUSH lb;
    GetObject(GetSysColorBrush(COLOR_BTNFACE), sizeof lb, &lb);
    EXPECT_EQ(pink, lb.lbColor);
    GdiResetSysColors();
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE));
}

TEST(More, UnderlinedAndStruckOutTestFace) {
    struct Case {
        BYTE underline, strike;
        int row;
    };
    // Cell 4 x 8, ascent 6: underline on row 7, strike-out on row 3.
    for (const Case& k : std::vector<Case>{{1, 0, 7}, {0, 1, 3}}) {
        Canvas c(8, 8);
        LOGFONTA lf{};
        lf.lfHeight = -8;
        lf.lfUnderline = k.underline;
        lf.lfStrikeOut = k.strike;
        std::strcpy(lf.lfFaceName, GDI_TEST_FACE);
        Selected font(c.dc(), CreateFontIndirect(&lf));
        SetBkMode(c.dc(), TRANSPARENT);
        TextOut(c.dc(), 0, 0, "A ", 2);
        EXPECT_EQ("########", c.Picture()[k.row]) << k.row;  // across the whole run, blank included
    }
}

TEST(More, ExpandedTabsDrawAtTabStops) {
    Canvas c(40, 8);
    LOGFONTA lf{};
    lf.lfHeight = -8;
    std::strcpy(lf.lfFaceName, GDI_TEST_FACE);
    Selected font(c.dc(), CreateFontIndirect(&lf));
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 40, 8};
    DrawText(c.dc(), "A\tB", 3, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    EXPECT_EQ(kBlack, GetPixel(c.dc(), 32, 0));  // tab stops every 8 x 4 pixels
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 31, 0));
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 4, 0));
}

TEST(More, PieWithoutPenStopsShortLikeEllipse) {
    for (bool pen : {true, false}) {
        Canvas c(10, 10);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        if (!pen)
            SelectObject(c.dc(), GetStockObject(NULL_PEN));
        Pie(c.dc(), 0, 0, 10, 10, 10, 5, 10, 5);  // start equals end: the whole ellipse
        Canvas e(10, 10);
        Selected brush2(e.dc(), CreateSolidBrush(kRed));
        if (!pen)
            SelectObject(e.dc(), GetStockObject(NULL_PEN));
        Ellipse(e.dc(), 0, 0, 10, 10);
        const std::vector<std::string> pie = c.Picture(), ellipse = e.Picture();
        EXPECT_EQ(ellipse[9], pie[9]) << pen;
        if (!pen) {
            EXPECT_EQ(ellipse[5], pie[5]);  // with a pen the radius to the start point shows on this row
            EXPECT_EQ('.', pie[5][9]);
        }
    }
}
