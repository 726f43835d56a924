#include "GdiFixture.h"

#include "platform/win/gdi/FontEngine.h"

#include <cstring>

namespace {

// The built-in face at 8 pixels: cell 4 x 8, ascent 6, glyph boxes 3 x 6.
HFONT TestFont(int height = -8, LONG escapement = 0, BYTE underline = 0) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfUnderline = underline;
    std::strcpy(lf.lfFaceName, GDI_TEST_FACE);
    return CreateFontIndirect(&lf);
}

HFONT NamedFont(const char* face, int height = -11) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

RECT InkBox(const Canvas& c) {
    RECT box{1000, 1000, -1, -1};
    const std::vector<std::string> pic = c.Picture();
    for (int y = 0; y < static_cast<int>(pic.size()); ++y)
        for (int x = 0; x < static_cast<int>(pic[y].size()); ++x)
            if (pic[y][x] != '.') {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

std::vector<LONG> V(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

TEST(Text, TestFaceMetricsAndExtents) {
    Canvas c(4, 4);
    Selected font(c.dc(), TestFont());
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetrics(c.dc(), &tm));
    EXPECT_EQ(8, tm.tmHeight);
    EXPECT_EQ(6, tm.tmAscent);
    EXPECT_EQ(2, tm.tmDescent);
    EXPECT_EQ(4, tm.tmAveCharWidth);
    EXPECT_EQ(0, tm.tmPitchAndFamily & TMPF_TRUETYPE);
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32(c.dc(), "ABC", 3, &size));
    EXPECT_EQ(12, size.cx);
    EXPECT_EQ(8, size.cy);
    SetTextCharacterExtra(c.dc(), 2);
    GetTextExtentPoint32(c.dc(), "ABC", 3, &size);
    EXPECT_EQ(18, size.cx);  // the extra follows every character
    int fit = 0, dx[3];
    GetTextExtentExPoint(c.dc(), "ABC", 3, 13, &fit, dx, &size);
    EXPECT_EQ(2, fit);
    EXPECT_EQ((std::vector<int>{6, 12, 18}), (std::vector<int>(dx, dx + 3)));
    INT widths[2];
    GetCharWidth(c.dc(), 'A', 'B', widths);
    EXPECT_EQ(4, widths[0]);
    char face[LF_FACESIZE];
    EXPECT_EQ(static_cast<int>(std::strlen(GDI_TEST_FACE)), GetTextFace(c.dc(), LF_FACESIZE, face));
    EXPECT_STREQ(GDI_TEST_FACE, face);
}

TEST(Text, TextOutPixelsBackgroundAndAlignment) {
    Canvas c(10, 9);
    Selected font(c.dc(), TestFont());
    SetBkMode(c.dc(), TRANSPARENT);
    TextOut(c.dc(), 1, 0, "A B", 3);
    EXPECT_EQ(".###.....#", c.Picture()[0]);
    EXPECT_EQ(".###.....#", c.Picture()[5]);
    EXPECT_EQ("..........", c.Picture()[6]);

    Canvas o(6, 9);
    Selected font2(o.dc(), TestFont());
    SetBkColor(o.dc(), kRed);
    SetTextAlign(o.dc(), TA_RIGHT | TA_BASELINE);
    TextOut(o.dc(), 5, 7, "A", 1);  // cell [1,5) x [1,9)
    EXPECT_EQ(Joined({"......", ".###R.", ".###R.", ".###R.", ".###R.", ".###R.", ".###R.", ".RRRR.", ".RRRR."}),
              Joined(o.Picture()));
}

TEST(Text, UpdateCurrentPositionAndOpaqueClippedRect) {
    Canvas c(12, 8);
    Selected font(c.dc(), TestFont());
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextAlign(c.dc(), TA_UPDATECP);
    MoveToEx(c.dc(), 2, 0, nullptr);
    TextOut(c.dc(), 0, 0, "AB", 2);
    POINT p;
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(10, p.x);
    Canvas e(8, 8);
    Selected font2(e.dc(), TestFont());
    SetBkColor(e.dc(), kBlue);
    const RECT r{0, 0, 6, 2};
    ExtTextOut(e.dc(), 0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, "AB", 2, nullptr);
    EXPECT_EQ(Joined({"###B##..", "###B##..", "........"}), Joined(e.Picture()).substr(0, 27));
}

TEST(Text, RotatedTextBoundingBox) {
    struct Case {
        LONG escapement;
        std::vector<LONG> box;
    };
    // "AB" at (10, 20), top-left aligned; ink is the two 3 x 6 boxes, 7 x 6 in all. A pixel
    // takes the ink its centre falls on after turning counter-clockwise around (10, 20).
    const std::vector<Case> cases = {
        {0, {10, 20, 17, 26}},
        {900, {10, 13, 16, 20}},    // turned up: the text runs from bottom to top
        {1800, {3, 14, 10, 20}},    // upside down, right to left
        {2700, {4, 20, 10, 27}},
    };
    for (const Case& k : cases) {
        Canvas c(32, 32);
        Selected font(c.dc(), TestFont(-8, k.escapement));
        SetBkMode(c.dc(), TRANSPARENT);
        TextOut(c.dc(), 10, 20, "AB", 2);
        EXPECT_EQ(k.box, V(InkBox(c))) << k.escapement;
    }
}

TEST(Text, FontsFromFontconfigAndRasterReporting) {
    Canvas c(60, 20);
    for (const char* face : {"Arial", "MS Sans Serif"}) {
        Selected font(c.dc(), NamedFont(face));
        TEXTMETRICA tm;
        GetTextMetrics(c.dc(), &tm);
        EXPECT_GT(tm.tmHeight, 10) << face;
        const bool trueType = (tm.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
        EXPECT_EQ(std::string(face) == "Arial", trueType) << face;
        SIZE one, two;
        GetTextExtentPoint32(c.dc(), "W", 1, &one);
        GetTextExtentPoint32(c.dc(), "WW", 2, &two);
        EXPECT_GT(one.cx, 5);
        EXPECT_EQ(2 * one.cx, two.cx);
        char name[LF_FACESIZE];
        GetTextFace(c.dc(), LF_FACESIZE, name);
        EXPECT_STREQ(face, name);
    }
    Selected font(c.dc(), NamedFont("Arial", -12));
    SetBkMode(c.dc(), TRANSPARENT);
    TextOut(c.dc(), 2, 2, "Hg", 2);
    SIZE size;
    GetTextExtentPoint32(c.dc(), "Hg", 2, &size);
    const RECT ink = InkBox(c);
    EXPECT_GE(ink.left, 2);
    EXPECT_GE(ink.top, 2);
    EXPECT_LE(ink.right, 2 + size.cx + 1);
    EXPECT_LE(ink.bottom, 2 + size.cy);
    EXPECT_GT(ink.bottom - ink.top, 8);  // an ascender and a descender
}

TEST(Text, MetricsOfInstalledFacesFollowTheirCharacters) {
    // Faces are measured lazily: the metrics must not depend on what was drawn before.
    Canvas c(60, 20);
    for (const char* face : {"Arial", "MS Sans Serif", "Courier New"}) {
        SCOPED_TRACE(face);
        Selected font(c.dc(), NamedFont(face, -13));
        TextOut(c.dc(), 0, 0, "Wim", 3);
        TEXTMETRICA tm;
        ASSERT_TRUE(GetTextMetrics(c.dc(), &tm));
        INT widths[256];
        ASSERT_TRUE(GetCharWidth32A(c.dc(), 0, 255, widths));
        int widest = 0;
        for (int ch = 0x20; ch <= 0xFF; ++ch)
            if (ch != 0x7F)
                widest = std::max(widest, widths[ch]);
        EXPECT_EQ(widest, tm.tmMaxCharWidth);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_LE(tm.tmAveCharWidth, tm.tmMaxCharWidth);
        TEXTMETRICA again;
        GetTextMetrics(c.dc(), &again);
        EXPECT_EQ(0, std::memcmp(&tm, &again, sizeof tm));
    }
}

TEST(Text, TextHeightIsTheMetricsHeight) {
    // Asked first, before anything measured the face.
    Canvas c(4, 4);
    struct Case {
        const char* face;
        int height;
        LONG weight;
    };
    for (const Case& k : {Case{GDI_TEST_FACE, -8, FW_NORMAL}, Case{"Arial", -17, FW_NORMAL},
                          Case{"MS Sans Serif", -11, FW_BOLD}, Case{"Courier New", 15, FW_NORMAL}}) {
        SCOPED_TRACE(k.face);
        LOGFONTA lf{};
        lf.lfHeight = k.height;
        lf.lfWeight = k.weight;
        std::strncpy(lf.lfFaceName, k.face, LF_FACESIZE - 1);
        Selected font(c.dc(), CreateFontIndirect(&lf));
        const int height = GdiTextHeight(c.dc());
        TEXTMETRICA tm;
        ASSERT_TRUE(GetTextMetrics(c.dc(), &tm));
        EXPECT_EQ(tm.tmHeight, height);
        EXPECT_GT(height, 7);
    }
    EXPECT_EQ(0, GdiTextHeight(nullptr));
}

TEST(Text, TextInPathBecomesRegion) {
    Canvas c(20, 10);
    Selected font(c.dc(), TestFont());
    BeginPath(c.dc());
    TextOut(c.dc(), 2, 1, "AB", 2);
    EndPath(c.dc());
    HRGN rgn = PathToRegion(c.dc());
    ASSERT_NE(nullptr, rgn);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ((std::vector<LONG>{2, 1, 9, 7}), V(box));
    EXPECT_FALSE(PtInRegion(rgn, 5, 3));  // the gap between the letters
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 2, 1));  // nothing was drawn
    DeleteObject(rgn);
}

// A glyph too large to be rendered whole for a few pixels of it is rendered only inside the
// window asked for, pixel for pixel what the whole glyph has there.
TEST(Text, APartOfALargeGlyphHasTheWholeGlyphsPixels) {
    LOGFONTA lf{};
    lf.lfHeight = -1600;
    std::strcpy(lf.lfFaceName, "Arial");
    RealizedFont& font = RealizeFont(lf);
    const std::vector<RECT> windows = {{-200, -1500, 300, -1000}, {700, -400, 1013, 301}, {5, -1205, 6, 200},
                                       {-100000, -100000, 100000, 100000}, {4000, 0, 4100, 10}};
    for (unsigned char c : {'W', 'O', '@'}) {
        std::vector<GlyphBitmap> parts;
        for (const RECT& window : windows)
            parts.push_back(font.GlyphPart(c, window));
        const GlyphBitmap& whole = font.Glyph(c);
        ASSERT_GT(static_cast<long long>(whole.width) * whole.height, 1LL << 20) << c;
        for (std::size_t i = 0; i < windows.size(); ++i) {
            const GlyphBitmap expected = GlyphCrop(whole, windows[i]);
            EXPECT_EQ(parts[i].left, expected.left) << c << " window " << i;
            EXPECT_EQ(parts[i].top, expected.top) << c << " window " << i;
            EXPECT_EQ(parts[i].width, expected.width) << c << " window " << i;
            EXPECT_EQ(parts[i].height, expected.height) << c << " window " << i;
            EXPECT_TRUE(parts[i].bits == expected.bits) << c << " window " << i;
            EXPECT_EQ(parts[i].advance, whole.advance);
        }
    }
}
