#include "GdiFixture.h"

#include <cstring>

namespace {

// The built-in face at 8 pixels: cell 4 x 8, ascent 6, glyph boxes 3 x 6, underline at row 7.
class TextCanvas : public Canvas {
public:
    TextCanvas(int w, int h) : Canvas(w, h) {
        LOGFONTA lf{};
        lf.lfHeight = -8;
        std::strcpy(lf.lfFaceName, GDI_TEST_FACE);
        font_ = CreateFontIndirect(&lf);
        old_ = SelectObject(dc(), font_);
        SetBkMode(dc(), TRANSPARENT);
    }
    ~TextCanvas() {
        SelectObject(dc(), old_);
        DeleteObject(font_);
    }

private:
    HFONT font_;
    HGDIOBJ old_;
};

std::vector<LONG> V(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

struct CalcCase {
    const char* text;
    UINT format;
    int width;
    std::vector<LONG> rect;
    int height;
};

TEST(DrawText, CalcRectTable) {
    const std::vector<CalcCase> cases = {
        {"ABC", DT_SINGLELINE, 100, {5, 3, 17, 11}, 8},
        {"&File", DT_SINGLELINE, 100, {5, 3, 21, 11}, 8},               // the mark takes no room
        {"&File", DT_SINGLELINE | DT_NOPREFIX, 100, {5, 3, 25, 11}, 8},
        {"A&&B", DT_SINGLELINE, 100, {5, 3, 17, 11}, 8},               // "A&B"
        {"AB\r\nCDE\nF", 0, 100, {5, 3, 17, 27}, 24},
        {"AB\r\nCDE", DT_SINGLELINE, 100, {5, 3, 33, 11}, 8},
        {"AA BB CC", DT_WORDBREAK, 20, {5, 3, 25, 19}, 16},            // "AA BB" / "CC"
        {"AA BB CC", DT_WORDBREAK, 19, {5, 3, 13, 27}, 24},
        {"ABCDEFGH", DT_WORDBREAK, 12, {5, 3, 17, 11 + 16}, 24},       // a long word breaks between characters
        {"A\tB", DT_EXPANDTABS | DT_SINGLELINE, 100, {5, 3, 41, 11}, 8},  // tab stops every 8 average widths
        {"ABCDEFGH", DT_SINGLELINE | DT_END_ELLIPSIS, 20, {5, 3, 25, 11}, 8},
        {"", DT_SINGLELINE, 100, {5, 3, 5, 3}, 0},
    };
    for (const CalcCase& k : cases) {
        TextCanvas c(4, 4);
        RECT r{5, 3, 5 + k.width, 50};
        EXPECT_EQ(k.height, DrawText(c.dc(), k.text, -1, &r, k.format | DT_CALCRECT)) << k.text;
        EXPECT_EQ(k.rect, V(r)) << k.text << " " << k.format;
        EXPECT_EQ(kWhite, GetPixel(c.dc(), 0, 0));  // measuring draws nothing
    }
}

TEST(DrawText, PrefixUnderlinesTheNextCharacter) {
    TextCanvas c(12, 9);
    RECT r{0, 0, 12, 9};
    DrawText(c.dc(), "A&BC", -1, &r, DT_SINGLELINE);
    const std::vector<std::string> pic = c.Picture();
    EXPECT_EQ("###.###.###.", pic[0]);
    EXPECT_EQ("............", pic[6]);
    EXPECT_EQ("....####....", pic[7]);  // under B only
    TextCanvas h(12, 9);
    DrawText(h.dc(), "A&BC", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ("............", h.Picture()[7]);
}

struct AlignCase {
    UINT format;
    int x;
    int y;
};

TEST(DrawText, AlignmentTable) {
    // "AB" (8 x 8) in [0,20) x [0,20); VCENTER and BOTTOM need SINGLELINE.
    const std::vector<AlignCase> cases = {
        {DT_LEFT | DT_SINGLELINE, 0, 0},
        {DT_CENTER | DT_SINGLELINE, 6, 0},
        {DT_RIGHT | DT_SINGLELINE, 12, 0},
        {DT_VCENTER | DT_SINGLELINE, 0, 6},
        {DT_BOTTOM | DT_RIGHT | DT_SINGLELINE, 12, 12},
        {DT_VCENTER, 0, 0},
        {DT_BOTTOM, 0, 0},
    };
    for (const AlignCase& k : cases) {
        TextCanvas c(20, 20);
        RECT r{0, 0, 20, 20};
        DrawText(c.dc(), "AB", 2, &r, k.format);
        EXPECT_EQ(kBlack, GetPixel(c.dc(), k.x, k.y)) << k.format;
        EXPECT_EQ(kWhite, GetPixel(c.dc(), k.x + 3, k.y)) << k.format;
        if (k.x > 0) {
            EXPECT_EQ(kWhite, GetPixel(c.dc(), k.x - 1, k.y)) << k.format;
        }
        if (k.y > 0) {
            EXPECT_EQ(kWhite, GetPixel(c.dc(), k.x, k.y - 1)) << k.format;
        }
    }
}

TEST(DrawText, ClippedToTheRectangleUnlessNoClip) {
    TextCanvas c(12, 8);
    RECT r{0, 0, 5, 8};
    DrawText(c.dc(), "AB", 2, &r, DT_SINGLELINE);
    EXPECT_EQ("###.#.......", c.Picture()[0]);  // B starts at 4, inside the rectangle
    TextCanvas n(12, 8);
    DrawText(n.dc(), "AB", 2, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ("###.###.....", n.Picture()[0]);
}

TEST(DrawText, OpaqueBackgroundAndEllipsisText) {
    TextCanvas c(20, 8);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    RECT r{0, 0, 20, 8};
    DrawText(c.dc(), "ABCDEFGH", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    // "AB..." : two letters, three dots (the test face draws dots as boxes), background red.
    EXPECT_EQ("###R###R###R###R###R", c.Picture()[0]);
    EXPECT_EQ("RRRRRRRRRRRRRRRRRRRR", c.Picture()[7]);
    char buffer[32] = "C:\\dir\\sub\\f.txt";
    TextCanvas p(4, 4);
    RECT narrow{0, 0, 44, 8};  // room for 11 characters
    DrawTextEx(p.dc(), buffer, static_cast<int>(std::strlen(buffer)), &narrow,
               DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_STREQ("C:...\\f.txt", buffer);  // the last path part is kept
}

TEST(DrawText, MarginsAndLengthDrawn) {
    TextCanvas c(30, 8);
    RECT r{0, 0, 30, 8};
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 3, 2, 0};
    char text[] = "AB";
    DrawTextEx(c.dc(), text, 2, &r, DT_SINGLELINE | DT_RIGHT, &params);
    EXPECT_EQ(2u, params.uiLengthDrawn);
    EXPECT_EQ(kBlack, GetPixel(c.dc(), 20, 0));  // right edge 30 - 2, text 8 wide
    EXPECT_EQ(kWhite, GetPixel(c.dc(), 19, 0));
    RECT calc{0, 0, 30, 8};
    DrawTextEx(c.dc(), text, 2, &calc, DT_SINGLELINE | DT_CALCRECT, &params);
    EXPECT_EQ(13, calc.right);  // 3 + 8 + 2
}
