#include "obl/controls/effects/Oblbmp.h"
#include "PixelFixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct OpCase {
    const char* name;
    std::function<void(TBitmap* source, TBitmap* target)> run;
    Rows expected;
};

const TRect kAll = Rect(0, 0, 4, 3);
const TPoint kOrigin{0, 0};

std::vector<OpCase> Cases()
{
    return {
        {"grey", [](TBitmap* s, TBitmap* t) { OBLBMPGrayScale(s, kAll, t, kOrigin); },
         {{76, 76, 76, 150, 150, 150, 28, 28, 28, 254, 254, 254},
          {22, 22, 22, 52, 52, 52, 82, 82, 82, 0, 0, 0},
          {2, 2, 2, 128, 128, 128, 61, 61, 61, 209, 209, 209}}},
        {"upside down", [](TBitmap* s, TBitmap* t) { OBLBMPFlipHorizonzal(s, kAll, t, kOrigin); },
         {{1, 2, 3, 128, 128, 128, 250, 5, 100, 5, 250, 200},
          {10, 20, 30, 40, 50, 60, 70, 80, 90, 0, 0, 0},
          {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}}},
        {"mirrored", [](TBitmap* s, TBitmap* t) { OBLBMPFlipVertical(s, kAll, t, kOrigin); },
         {{255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255},
          {0, 0, 0, 70, 80, 90, 40, 50, 60, 10, 20, 30},
          {5, 250, 200, 250, 5, 100, 128, 128, 128, 1, 2, 3}}},
        {"invert", [](TBitmap* s, TBitmap* t) { OBLBMPInvert(s, kAll, t, kOrigin); },
         {{255, 255, 0, 255, 0, 255, 0, 255, 255, 0, 0, 0},
          {245, 235, 225, 215, 205, 195, 185, 175, 165, 255, 255, 255},
          {254, 253, 252, 127, 127, 127, 5, 250, 155, 250, 5, 55}}},
        {"brighten", [](TBitmap* s, TBitmap* t) { OBLBMPBrightness(s, kAll, t, 60, kOrigin); },
         {{60, 60, 255, 60, 255, 60, 255, 60, 60, 255, 255, 255},
          {70, 80, 90, 100, 110, 120, 130, 140, 150, 60, 60, 60},
          {61, 62, 63, 188, 188, 188, 255, 65, 160, 65, 255, 255}}},
        {"darken", [](TBitmap* s, TBitmap* t) { OBLBMPBrightness(s, kAll, t, -60, kOrigin); },
         {{0, 0, 195, 0, 195, 0, 195, 0, 0, 195, 195, 195},
          {0, 0, 0, 0, 0, 0, 10, 20, 30, 0, 0, 0},
          {0, 0, 0, 68, 68, 68, 190, 0, 40, 0, 190, 140}}},
        {"half blend over grey 100",
         [](TBitmap* s, TBitmap* t) {
             auto grey = Solid24(4, 3, 100, 100, 100);
             OBLBMPAlphaBlend(s, grey.get(), kAll, kOrigin, t, 0.5f, kOrigin);
         },
         {{50, 50, 178, 50, 178, 50, 178, 50, 50, 178, 178, 178},
          {55, 60, 65, 70, 75, 80, 85, 90, 95, 50, 50, 50},
          {50, 51, 52, 114, 114, 114, 175, 52, 100, 52, 175, 150}}},
    };
}

TEST(PixelOperations, EachOperationGivesTheFixturesBytesInPlaceAndIntoAnotherBitmap)
{
    for (const OpCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        auto inPlace = Make24(Fixture());
        c.run(inPlace.get(), inPlace.get());
        EXPECT_EQ(Bytes(inPlace.get()), c.expected) << "in place";

        auto source = Make24(Fixture());
        auto target = Solid24(4, 3, 9, 9, 9);
        c.run(source.get(), target.get());
        EXPECT_EQ(Bytes(target.get()), c.expected) << "into another bitmap";
        EXPECT_EQ(Bytes(source.get()), Fixture()) << "the source is left alone";
    }
}

TEST(PixelOperations, BrightnessEcSkipsPixelsOfTheColour)
{
    // Pure red (0, 0, 255 as blue, green, red) is the colour: it stays, green brightens.
    auto bitmap = Make24(Fixture());
    OBLBmpBrightnessEC(bitmap.get(), kAll, bitmap.get(), kOrigin, 60, static_cast<TColor>(RGB(255, 0, 0)));
    Rows rows = Bytes(bitmap.get());
    EXPECT_EQ(std::vector<BYTE>(rows[0].begin(), rows[0].begin() + 6), (std::vector<BYTE>{0, 0, 255, 60, 255, 60}));
    // Into another bitmap, the skipped pixels are not written at all.
    auto source = Make24(Fixture());
    auto target = Solid24(4, 3, 9, 9, 9);
    OBLBmpBrightnessEC(source.get(), kAll, target.get(), kOrigin, 60, clWhite);
    rows = Bytes(target.get());
    EXPECT_EQ(std::vector<BYTE>(rows[0].begin() + 6, rows[0].end()), (std::vector<BYTE>{255, 60, 60, 9, 9, 9}));
}

TEST(PixelOperations, BrightnessAndBlendSaturateAtTheEnds)
{
    auto up = Make24(Fixture());
    OBLBMPBrightness(up.get(), kAll, up.get(), 300, kOrigin);
    EXPECT_EQ(Bytes(up.get()), Bytes(Solid24(4, 3, 255, 255, 255).get()));
    auto down = Make24(Fixture());
    OBLBMPBrightness(down.get(), kAll, down.get(), -300, kOrigin);
    EXPECT_EQ(Bytes(down.get()), Bytes(Solid24(4, 3, 0, 0, 0).get()));

    // Strengths beyond the ends act as the ends: no byte wraps.
    auto black = Solid24(4, 3, 0, 0, 0);
    auto over = Make24(Fixture());
    OBLBMPAlphaBlend(over.get(), black.get(), kAll, kOrigin, over.get(), 2.5f, kOrigin);
    EXPECT_EQ(Bytes(over.get()), Fixture());
    auto under = Make24(Fixture());
    OBLBMPAlphaBlend(under.get(), black.get(), kAll, kOrigin, under.get(), -1.0f, kOrigin);
    EXPECT_EQ(Bytes(under.get()), Bytes(black.get()));
}

TEST(PixelOperations, EmptyRectanglesChangeNothing)
{
    for (TRect empty : {Rect(2, 1, 2, 3), Rect(0, 2, 4, 2), Rect(3, 0, 1, 3)}) {
        auto bitmap = Make24(Fixture());
        OBLBMPInvert(bitmap.get(), empty, bitmap.get(), TPoint{empty.left, empty.top});
        OBLBMPFlipHorizonzal(bitmap.get(), empty, bitmap.get(), TPoint{empty.left, empty.top});
        OBLBMPFlipVertical(bitmap.get(), empty, bitmap.get(), TPoint{empty.left, empty.top});
        EXPECT_EQ(Bytes(bitmap.get()), Fixture());
    }
}

TEST(PixelOperations, RectanglesAreCutToBothBitmaps)
{
    // Inverting (-2, -1, 2, 2) lands at (-2, -1): only the source's pixels (0..1, 0..1)
    // exist, and they land on the same place.
    auto bitmap = Make24(Fixture());
    OBLBMPInvert(bitmap.get(), Rect(-2, -1, 2, 2), bitmap.get(), TPoint{-2, -1});
    Rows rows = Bytes(bitmap.get());
    Rows expected = Fixture();
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 6; ++i)
            expected[y][i] = static_cast<BYTE>(255 - expected[y][i]);
    EXPECT_EQ(rows, expected);

    // A target point far outside changes nothing, and a rectangle reaching past the
    // target's edge writes only what fits.
    auto source = Make24(Fixture());
    auto target = Solid24(4, 3, 9, 9, 9);
    OBLBMPGrayScale(source.get(), kAll, target.get(), TPoint{100, 100});
    EXPECT_EQ(Bytes(target.get()), Bytes(Solid24(4, 3, 9, 9, 9).get()));
    OBLBMPFlipHorizonzal(source.get(), Rect(0, 0, 4, 3), target.get(), TPoint{3, 2});
    Rows moved = Bytes(target.get());
    // Target pixel (3, 2) is the upside-down rectangle's (0, 0): source pixel (0, 2).
    EXPECT_EQ(std::vector<BYTE>(moved[2].begin() + 9, moved[2].end()), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(std::vector<BYTE>(moved[1].begin() + 9, moved[1].end()), (std::vector<BYTE>{9, 9, 9}));
}

TEST(PixelOperations, OverlappingShiftReadsTheSourceBeforeWriting)
{
    // A mirror of row 0's first three pixels, one pixel to the right, in the same bitmap.
    auto bitmap = Make24(Fixture());
    OBLBMPFlipVertical(bitmap.get(), Rect(0, 0, 3, 1), bitmap.get(), TPoint{1, 0});
    EXPECT_EQ(Bytes(bitmap.get())[0], (std::vector<BYTE>{0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    // Rows 0..1 upside down, one row lower.
    auto rows = Make24(Fixture());
    OBLBMPFlipHorizonzal(rows.get(), Rect(0, 0, 4, 2), rows.get(), TPoint{0, 1});
    EXPECT_EQ(Bytes(rows.get()), (Rows{Fixture()[0], Fixture()[1], Fixture()[0]}));
}

// A bitmap whose every byte tells its place: blue x, green y, red 200.
std::unique_ptr<TBitmap> Places(int width, int height)
{
    Rows rows(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y].insert(rows[y].end(), {static_cast<BYTE>(x), static_cast<BYTE>(y), 200});
    return Make24(rows);
}

TEST(PixelOperations, EachFlipFollowsItsFormula)
{
    // The source rectangle (1, 2) - (5, 5) lands at (2, 1) of a blank target.
    const TRect r = Rect(1, 2, 5, 5);
    const TPoint p{2, 1};
    struct Case {
        const char* name;
        void (*flip)(TBitmap*, const TRect&, TBitmap*, const TPoint&);
        // The source pixel that lands on target pixel (Point.X + i, Point.Y + j).
        TPoint (*from)(const TRect& r, int i, int j);
    };
    const Case cases[] = {
        // Target row Point.Y + j is source row Bottom - 1 - j: upside down.
        {"FlipHorizonzal", OBLBMPFlipHorizonzal,
         [](const TRect& r, int i, int j) { return TPoint{r.left + i, r.bottom - 1 - j}; }},
        // Target pixel Point.X + i is source pixel Right - 1 - i of the row: left to right.
        {"FlipVertical", OBLBMPFlipVertical,
         [](const TRect& r, int i, int j) { return TPoint{r.right - 1 - i, r.top + j}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto source = Places(7, 6);
        auto target = Solid24(8, 6, 9, 9, 9);
        c.flip(source.get(), r, target.get(), p);
        Rows got = Bytes(target.get());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const int i = x - p.x, j = y - p.y;
                const bool covered = i >= 0 && i < r.right - r.left && j >= 0 && j < r.bottom - r.top;
                const TPoint at = covered ? c.from(r, i, j) : TPoint{-1, -1};
                const std::vector<BYTE> expected =
                    covered ? std::vector<BYTE>{static_cast<BYTE>(at.x), static_cast<BYTE>(at.y), 200}
                            : std::vector<BYTE>{9, 9, 9};
                EXPECT_EQ(std::vector<BYTE>(got[y].begin() + 3 * x, got[y].begin() + 3 * x + 3), expected)
                    << "target pixel " << x << "," << y;
            }
        // In place, on the rectangle's own corner, the same picture.
        auto inPlace = Places(7, 6);
        c.flip(inPlace.get(), r, inPlace.get(), TPoint{r.left, r.top});
        Rows flipped = Bytes(inPlace.get());
        for (int j = 0; j < r.bottom - r.top; ++j)
            for (int i = 0; i < r.right - r.left; ++i) {
                const TPoint at = c.from(r, i, j);
                EXPECT_EQ(flipped[r.top + j][3 * (r.left + i)], at.x) << i << "," << j;
                EXPECT_EQ(flipped[r.top + j][3 * (r.left + i) + 1], at.y) << i << "," << j;
            }
    }
}

TEST(PixelOperations, FlipsInPlaceSwapTheOuterRowsAndKeepTheMiddle)
{
    auto bitmap = Make24(Fixture());
    OBLBMPFlipHorizonzal(bitmap.get(), kAll, bitmap.get(), kOrigin);
    Rows rows = Bytes(bitmap.get());
    EXPECT_EQ(rows[0], Fixture()[2]);
    EXPECT_EQ(rows[1], Fixture()[1]);
    EXPECT_EQ(rows[2], Fixture()[0]);
}

TEST(PixelOperations, RowsWiderThan32KilobytesAreWhole)
{
    const int width = 12000;  // 36000 bytes a row
    Rows rows(3, std::vector<BYTE>(3 * width));
    for (int y = 0; y < 3; ++y)
        for (int i = 0; i < 3 * width; ++i)
            rows[y][i] = static_cast<BYTE>((i * 7 + y * 91) % 251);
    auto bitmap = Make24(rows);
    OBLBMPFlipHorizonzal(bitmap.get(), Rect(0, 0, width, 3), bitmap.get(), kOrigin);
    EXPECT_EQ(Bytes(bitmap.get()), (Rows{rows[2], rows[1], rows[0]}));

    auto mirrored = Make24(rows);
    OBLBMPFlipVertical(mirrored.get(), Rect(0, 0, width, 3), mirrored.get(), kOrigin);
    Rows got = Bytes(mirrored.get());
    for (int x : {0, width / 2, width - 1})
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(got[1][3 * x + k], rows[1][3 * (width - 1 - x) + k]) << "pixel " << x;

    auto target = Solid24(width, 3, 0, 0, 0);
    OBLBMPInvert(bitmap.get(), Rect(0, 0, width, 3), target.get(), kOrigin);
    EXPECT_EQ(Bytes(target.get())[0].back(), static_cast<BYTE>(255 - rows[2].back()));
}

struct FormatCase {
    const char* name;
    std::function<void(TBitmap* wrong, TBitmap* right)> run;
    const char* message;
};

TEST(PixelOperations, OtherFormatsThan24BitAreRefusedNamingTheBitmap)
{
    const FormatCase cases[] = {
        {"grey, source", [](TBitmap* w, TBitmap* r) { OBLBMPGrayScale(w, kAll, r, kOrigin); },
         "Wrong PixelFormat in Source 1 bitmap!"},
        {"invert, target", [](TBitmap* w, TBitmap* r) { OBLBMPInvert(r, kAll, w, kOrigin); },
         "Wrong PixelFormat in Target bitmap!"},
        {"upside down, source", [](TBitmap* w, TBitmap* r) { OBLBMPFlipHorizonzal(w, kAll, r, kOrigin); },
         "Wrong PixelFormat in Source 1 bitmap!"},
        {"mirror, target", [](TBitmap* w, TBitmap* r) { OBLBMPFlipVertical(r, kAll, w, kOrigin); },
         "Wrong PixelFormat in Target bitmap!"},
        {"brightness, source", [](TBitmap* w, TBitmap* r) { OBLBMPBrightness(w, kAll, r, 5, kOrigin); },
         "Wrong PixelFormat in Source 1 bitmap!"},
        {"blend, second source",
         [](TBitmap* w, TBitmap* r) { OBLBMPAlphaBlend(r, w, kAll, kOrigin, r, 0.5f, kOrigin); },
         "Wrong PixelFormat in Source 2 bitmap!"},
        {"blend, target", [](TBitmap* w, TBitmap* r) { OBLBMPAlphaBlend(r, r, kAll, kOrigin, w, 0.5f, kOrigin); },
         "Wrong PixelFormat in Target bitmap!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto wrong = std::make_unique<TBitmap>();
        wrong->SetPixelFormat(pf32bit);
        wrong->SetSize(4, 3);
        auto right = Make24(Fixture());
        try {
            c.run(wrong.get(), right.get());
            ADD_FAILURE() << "no error";
        } catch (const EOBLWrongPixelFormat& e) {
            EXPECT_STREQ(e.Message().c_str(), c.message);
        }
        EXPECT_EQ(Bytes(right.get()), Fixture());
    }
}

} // namespace

namespace {

TEST(PixelOperations, MirrorMatchesPixelByPixelReversalAtEveryWidth)
{
    for (int width = 1; width <= 21; ++width) {
        SCOPED_TRACE(width);
        Rows rows(2, std::vector<BYTE>(3 * width));
        for (int y = 0; y < 2; ++y)
            for (int i = 0; i < 3 * width; ++i)
                rows[y][i] = static_cast<BYTE>(i + 40 * y + 1);
        Rows expected = rows;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                for (int k = 0; k < 3; ++k)
                    expected[y][3 * x + k] = rows[y][3 * (width - 1 - x) + k];
        auto inPlace = Make24(rows);
        OBLBMPFlipVertical(inPlace.get(), Rect(0, 0, width, 2), inPlace.get(), TPoint{0, 0});
        EXPECT_EQ(Bytes(inPlace.get()), expected);
        auto source = Make24(rows);
        auto target = Solid24(width, 2, 0, 0, 0);
        OBLBMPFlipVertical(source.get(), Rect(0, 0, width, 2), target.get(), TPoint{0, 0});
        EXPECT_EQ(Bytes(target.get()), expected);
        // Mirrored into the right part of a wider bitmap: nothing left of it is touched.
        auto wide = Solid24(width + 3, 2, 7, 7, 7);
        OBLBMPFlipVertical(source.get(), Rect(0, 0, width, 2), wide.get(), TPoint{3, 0});
        Rows got = Bytes(wide.get());
        for (int y = 0; y < 2; ++y) {
            EXPECT_EQ(std::vector<BYTE>(got[y].begin(), got[y].begin() + 9), std::vector<BYTE>(9, 7));
            EXPECT_EQ(std::vector<BYTE>(got[y].begin() + 9, got[y].end()), expected[y]);
        }
    }
}

} // namespace

namespace {

// Long rows go through the routines' block paths; each byte must still follow the rule.
TEST(PixelOperations, LongRowsFollowTheByteRulesEverywhere)
{
    const int width = 37;  // 111 bytes: six blocks of 16 and a tail
    Rows rows(2, std::vector<BYTE>(3 * width));
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 3 * width; ++i)
            rows[y][i] = static_cast<BYTE>((i * 37 + y * 101) % 256);
    struct Rule {
        const char* name;
        std::function<void(TBitmap*)> run;
        std::function<int(int)> byte;
    };
    const TRect all = Rect(0, 0, width, 2);
    const Rule rules[] = {
        {"invert", [&](TBitmap* b) { OBLBMPInvert(b, all, b, kOrigin); }, [](int v) { return 255 - v; }},
        {"+60", [&](TBitmap* b) { OBLBMPBrightness(b, all, b, 60, kOrigin); },
         [](int v) { return std::min(255, v + 60); }},
        {"-60", [&](TBitmap* b) { OBLBMPBrightness(b, all, b, -60, kOrigin); },
         [](int v) { return std::max(0, v - 60); }},
        {"+255", [&](TBitmap* b) { OBLBMPBrightness(b, all, b, 255, kOrigin); }, [](int) { return 255; }},
        {"-1", [&](TBitmap* b) { OBLBMPBrightness(b, all, b, -1, kOrigin); },
         [](int v) { return std::max(0, v - 1); }},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.name);
        auto bitmap = Make24(rows);
        rule.run(bitmap.get());
        Rows expected = rows;
        for (auto& row : expected)
            for (BYTE& b : row)
                b = static_cast<BYTE>(rule.byte(b));
        EXPECT_EQ(Bytes(bitmap.get()), expected);
    }
}

} // namespace

namespace {

// j * k / 100, halves to the even neighbour, in whole numbers.
int Share(int j, int k)
{
    int v = j * k, q = v / 100, r = v % 100;
    return r > 50 || (r == 50 && q % 2 == 1) ? q + 1 : q;
}

TEST(PixelOperations, GreyFollowsTheRoundedSharesForEveryBlueAndGreen)
{
    Rows rows(256, std::vector<BYTE>(3 * 256));
    for (int green = 0; green < 256; ++green)
        for (int blue = 0; blue < 256; ++blue) {
            BYTE* p = &rows[green][3 * blue];
            p[0] = static_cast<BYTE>(blue);
            p[1] = static_cast<BYTE>(green);
            p[2] = static_cast<BYTE>((blue * 3 + green) % 256);
        }
    auto bitmap = Make24(rows);
    OBLBMPGrayScale(bitmap.get(), Rect(0, 0, 256, 256), bitmap.get(), kOrigin);
    Rows got = Bytes(bitmap.get());
    int wrong = 0;
    for (int green = 0; green < 256; ++green)
        for (int blue = 0; blue < 256; ++blue) {
            int red = (blue * 3 + green) % 256;
            int grey = Share(red, 30) + Share(green, 59) + Share(blue, 11);
            for (int k = 0; k < 3; ++k)
                wrong += got[green][3 * blue + k] != grey;
        }
    EXPECT_EQ(wrong, 0);
}

// Rows of every width up to a few blocks of sixteen pixels, with a tail or without, in
// place and into another bitmap: each pixel follows the shares.
TEST(PixelOperations, GreyFollowsTheSharesAtEveryRowWidth)
{
    for (int width = 1; width <= 53; ++width) {
        SCOPED_TRACE(width);
        Rows rows(2, std::vector<BYTE>(3 * width));
        for (int y = 0; y < 2; ++y)
            for (int i = 0; i < 3 * width; ++i)
                rows[y][i] = static_cast<BYTE>((i * 89 + y * 157 + width) % 256);
        Rows expected = rows;
        for (auto& row : expected)
            for (int x = 0; x < width; ++x) {
                BYTE grey = static_cast<BYTE>(Share(row[3 * x + 2], 30) + Share(row[3 * x + 1], 59) +
                                              Share(row[3 * x], 11));
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = grey;
            }
        auto inPlace = Make24(rows);
        OBLBMPGrayScale(inPlace.get(), Rect(0, 0, width, 2), inPlace.get(), kOrigin);
        EXPECT_EQ(Bytes(inPlace.get()), expected);
        auto source = Make24(rows);
        auto target = Solid24(width, 2, 0, 0, 0);
        OBLBMPGrayScale(source.get(), Rect(0, 0, width, 2), target.get(), kOrigin);
        EXPECT_EQ(Bytes(target.get()), expected);
        EXPECT_EQ(Bytes(source.get()), rows);
    }
}

} // namespace
