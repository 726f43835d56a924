#include "GdiFixture.h"

TEST(Primitives, PixelsInsideAndOutside) {
    Canvas c(4, 3);
    EXPECT_EQ(kRed, SetPixel(c.dc(), 1, 1, kRed));
    EXPECT_EQ(kRed, GetPixel(c.dc(), 1, 1));
    EXPECT_EQ(CLR_INVALID, GetPixel(c.dc(), 4, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(c.dc(), -1, 0));
    EXPECT_EQ(CLR_INVALID, SetPixel(c.dc(), 0, 3, kRed));
}

struct LineCase {
    POINT from, to;
    std::vector<std::string> picture;
};

TEST(Primitives, LinesExcludeTheirEndPoint) {
    const std::vector<LineCase> cases = {
        {{0, 0}, {4, 0}, {"####.", ".....", "....."}},
        {{4, 2}, {0, 2}, {".....", ".....", ".####"}},
        {{0, 0}, {0, 3}, {"#....", "#....", "#...."}},
        {{0, 0}, {2, 2}, {"#....", ".#...", "....."}},
        {{0, 0}, {4, 2}, {"##...", "..##.", "....."}},
        {{2, 1}, {2, 1}, {".....", ".....", "....."}},
    };
    for (const LineCase& lc : cases) {
        Canvas c(5, 3);
        MoveToEx(c.dc(), lc.from.x, lc.from.y, nullptr);
        LineTo(c.dc(), lc.to.x, lc.to.y);
        EXPECT_EQ(Joined(lc.picture), Joined(c.Picture())) << lc.to.x << "," << lc.to.y;
        POINT pos;
        GetCurrentPositionEx(c.dc(), &pos);
        EXPECT_EQ(lc.to.x, pos.x);
    }
}

TEST(Primitives, PolylineExcludesOnlyTheLastPoint) {
    Canvas c(4, 4);
    const POINT pts[] = {{0, 0}, {3, 0}, {3, 3}};
    Polyline(c.dc(), pts, 3);
    EXPECT_EQ(Joined({"####", "...#", "...#", "...."}), Joined(c.Picture()));
}

TEST(Primitives, RectangleWithAndWithoutPen) {
    {
        Canvas c(6, 5);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        Rectangle(c.dc(), 5, 4, 0, 0);  // corners normalised
        EXPECT_EQ(Joined({"#####.", "#RRR#.", "#RRR#.", "#####.", "......"}), Joined(c.Picture()));
    }
    {
        Canvas c(6, 5);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        SelectObject(c.dc(), GetStockObject(NULL_PEN));
        Rectangle(c.dc(), 0, 0, 5, 4);
        EXPECT_EQ(Joined({"RRRR..", "RRRR..", "RRRR..", "......", "......"}), Joined(c.Picture()));
    }
    {
        Canvas c(6, 5);
        SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
        Rectangle(c.dc(), 0, 0, 5, 4);
        EXPECT_EQ(Joined({"#####.", "#...#.", "#...#.", "#####.", "......"}), Joined(c.Picture()));
    }
}

TEST(Primitives, WidePenCentredAndInsideFrame) {
    {
        Canvas c(7, 7);
        Selected pen(c.dc(), CreatePen(PS_SOLID, 3, kBlack));
        SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
        Rectangle(c.dc(), 1, 1, 6, 6);  // outline centred on x = 1 and x = 5
        // Edges at x, y = 1 and 5 spread one pixel each way; only the centre stays.
        EXPECT_EQ(Joined({"#######", "#######", "#######", "###.###", "#######", "#######", "#######"}),
                  Joined(c.Picture()));
    }
    {
        Canvas c(7, 7);
        Selected pen(c.dc(), CreatePen(PS_INSIDEFRAME, 2, kBlack));
        SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
        Rectangle(c.dc(), 0, 0, 6, 6);
        EXPECT_EQ(Joined({"######.", "######.", "##..##.", "##..##.", "######.", "######.", "......."}),
                  Joined(c.Picture()));
    }
}

TEST(Primitives, EllipseWithAndWithoutPen) {
    Canvas c(8, 6);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    Ellipse(c.dc(), 0, 0, 8, 6);
    EXPECT_EQ(Joined({"..####..", ".#RRRR#.", "#RRRRRR#", "#RRRRRR#", ".#RRRR#.", "..####.."}),
              Joined(c.Picture()));
    Canvas n(8, 6);
    Selected brush2(n.dc(), CreateSolidBrush(kRed));
    SelectObject(n.dc(), GetStockObject(NULL_PEN));
    Ellipse(n.dc(), 0, 0, 8, 6);
    const std::vector<std::string> got = n.Picture();
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ('.', got[y][7]) << y;
    EXPECT_EQ("........", got[5]);
    EXPECT_EQ('R', got[2][0]);
}

TEST(Primitives, PolygonFillModes) {
    // Two overlapping squares of one polygon set: the overlap is a hole only with alternate fill.
    for (int mode : {ALTERNATE, WINDING}) {
        Canvas c(8, 8);
        Selected brush(c.dc(), CreateSolidBrush(kRed));
        SelectObject(c.dc(), GetStockObject(NULL_PEN));
        SetPolyFillMode(c.dc(), mode);
        const POINT square1[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
        const POINT square2[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
        POINT both[8];
        std::copy(square1, square1 + 4, both);
        std::copy(square2, square2 + 4, both + 4);
        const INT counts[] = {4, 4};
        PolyPolygon(c.dc(), both, counts, 2);
        const COLORREF overlap = GetPixel(c.dc(), 3, 3);
        EXPECT_EQ(mode == ALTERNATE ? kWhite : kRed, overlap) << mode;
        EXPECT_EQ(kRed, GetPixel(c.dc(), 1, 1));
        EXPECT_EQ(kRed, GetPixel(c.dc(), 5, 5));
        EXPECT_EQ(kWhite, GetPixel(c.dc(), 6, 6));
    }
}

TEST(Primitives, DashedPenOpaqueAndTransparentGaps) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
        Canvas c(8, 1);
        Selected pen(c.dc(), CreatePen(PS_DOT, 1, kBlack));
        SetBkMode(c.dc(), mode);
        SetBkColor(c.dc(), kRed);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 8, 0);
        EXPECT_EQ(mode == OPAQUE ? "###RRR##" : "###...##", c.Picture()[0]);
    }
}

TEST(Primitives, Rop2Table) {
    struct Case {
        int rop2;
        COLORREF expected;
    };
    // Pen 0x0000FF (red), destination 0x00FF0F.
    const COLORREF pen = RGB(255, 0, 0), dst = RGB(0x0F, 0xFF, 0);
    const std::vector<Case> cases = {
        {R2_COPYPEN, pen},
        {R2_XORPEN, pen ^ dst},
        {R2_MASKPEN, pen & dst},
        {R2_MERGEPEN, pen | dst},
        {R2_NOT, ~dst & 0xFFFFFF},
        {R2_NOP, dst},
        {R2_BLACK, 0},
        {R2_WHITE, 0xFFFFFF},
        {R2_NOTCOPYPEN, ~pen & 0xFFFFFF},
        {R2_MASKPENNOT, pen & ~dst & 0xFFFFFF},
        {R2_NOTXORPEN, ~(pen ^ dst) & 0xFFFFFF},
    };
    for (const Case& k : cases) {
        Canvas c(2, 1);
        SetPixel(c.dc(), 0, 0, dst);
        Selected p(c.dc(), CreatePen(PS_SOLID, 1, pen));
        SetROP2(c.dc(), k.rop2);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 1, 0);
        EXPECT_EQ(k.expected, GetPixel(c.dc(), 0, 0)) << k.rop2;
    }
}

TEST(Primitives, FocusRectIsDottedAndTwiceRestores) {
    Canvas c(5, 4);
    const RECT r{0, 0, 5, 4};
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(Joined({"#.#.#", ".....", "#...#", ".#.#."}), Joined(c.Picture()));
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(Joined({".....", ".....", ".....", "....."}), Joined(c.Picture()));
}

TEST(Primitives, FillFrameInvertAndPatBlt) {
    Canvas c(5, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT all{0, 0, 5, 4}, inner{1, 1, 4, 3};
    FrameRect(c.dc(), &all, red);
    FillRect(c.dc(), &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Joined({"RRRRR", "R###R", "R###R", "RRRRR"}), Joined(c.Picture()));
    InvertRect(c.dc(), &inner);
    EXPECT_EQ(Joined({"RRRRR", "R...R", "R...R", "RRRRR"}), Joined(c.Picture()));
    PatBlt(c.dc(), 0, 0, 2, 1, BLACKNESS);
    PatBlt(c.dc(), 4, 3, -2, -1, DSTINVERT);  // negative extents normalise to [2,4)x[2,3)
    EXPECT_EQ(Joined({"##RRR", "R...R", "R.##R", "RRRRR"}), Joined(c.Picture()));
    EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 1, 1, SRCCOPY));
    // A system colour index plus one stands for its brush.
    FillRect(c.dc(), &inner, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOWTEXT + 1)));
    EXPECT_EQ(kBlack, GetPixel(c.dc(), 1, 1));
    DeleteObject(red);
}

TEST(Primitives, HatchAndPatternBrushes) {
    Canvas c(8, 2);
    {
        Selected hatch(c.dc(), CreateHatchBrush(HS_VERTICAL, kBlack));
        SetBkMode(c.dc(), TRANSPARENT);
        PatBlt(c.dc(), 0, 0, 8, 1, PATCOPY);
        SetBkMode(c.dc(), OPAQUE);
        SetBkColor(c.dc(), kRed);
        PatBlt(c.dc(), 0, 1, 8, 1, PATCOPY);
    }
    EXPECT_EQ(Joined({"....#...", "RRRR#RRR"}), Joined(c.Picture()));

    // A 2x1 monochrome pattern: bit 0 draws in the text colour, bit 1 in the background colour.
    const BYTE bits[] = {0x40, 0x00};  // row "01", padded to a word
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, bits);
    Canvas p(5, 1);
    {
        Selected brush(p.dc(), CreatePatternBrush(mono));
        SetTextColor(p.dc(), kBlue);
        SetBkColor(p.dc(), kRed);
        SetBrushOrgEx(p.dc(), 1, 0, nullptr);
        PatBlt(p.dc(), 0, 0, 5, 1, PATCOPY);
    }
    EXPECT_EQ("RBRBR", p.Picture()[0]);
    DeleteObject(mono);
}

TEST(Primitives, ArcPieChordStayInsideTheirBox) {
    Canvas c(12, 12);
    Selected brush(c.dc(), CreateSolidBrush(kRed));
    // Upper-right quarter, counter-clockwise from 3 o'clock to 12 o'clock.
    Pie(c.dc(), 0, 0, 12, 12, 12, 6, 6, 0);
    const std::vector<std::string> got = c.Picture();
    EXPECT_EQ('R', got[3][8]);   // inside the quarter
    EXPECT_EQ('.', got[8][3]);   // opposite quarter untouched
    EXPECT_EQ('.', got[3][3]);
    EXPECT_EQ('.', got[8][8]);
    for (const std::string& row : got)
        EXPECT_EQ(std::string::npos, row.find('?'));
    Canvas a(12, 12);
    SetArcDirection(a.dc(), AD_CLOCKWISE);
    Arc(a.dc(), 0, 0, 12, 12, 12, 6, 6, 0);  // now the other three quarters
    EXPECT_EQ(kWhite, GetPixel(a.dc(), 10, 2));
    EXPECT_EQ(kBlack, GetPixel(a.dc(), 0, 6));
}

TEST(Primitives, RegionFillsHonourBrushAndRop2) {
    Canvas c(6, 6);
    HRGN rgn = CreateRectRgn(1, 1, 5, 5);
    FrameRgn(c.dc(), rgn, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    EXPECT_EQ(Joined({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}), Joined(c.Picture()));
    SetROP2(c.dc(), R2_XORPEN);
    FillRgn(c.dc(), rgn, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 1, 1));  // black xor white
    EXPECT_EQ(kBlack, GetPixel(c.dc(), 2, 2));  // white xor white
    InvertRgn(c.dc(), rgn);
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 2, 2));
    DeleteObject(rgn);
}

TEST(Primitives, UserStylePenRepeatsItsLengths) {
    Canvas c(10, 1);
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    const DWORD lengths[] = {2, 1, 1, 2};
    Selected pen(c.dc(), ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 4, lengths));
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 10, 0);
    EXPECT_EQ("##.#..##.#", c.Picture()[0]);
    EXPECT_EQ(nullptr, ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &lb, 0, lengths));
}
