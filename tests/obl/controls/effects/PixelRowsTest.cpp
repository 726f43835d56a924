// Row pieces of many lengths at a place inside their rows: each length ends differently in
// the routines' block steps, and nothing beside a piece may change (rows of widths not a
// multiple of four end in padding).
#include "obl/controls/effects/Oblbmp.h"
#include "PixelFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

const int kLengths[] = {1, 2, 3, 5, 17, 20, 21, 22, 31, 32, 33, 41, 42, 43, 44, 63, 64, 65, 85, 86, 128, 129, 200};

Rows Pattern(int width, int height, int seed)
{
    Rows rows(height, std::vector<BYTE>(3 * width));
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < 3 * width; ++i)
            rows[y][i] = static_cast<BYTE>((i * 89 + y * 157 + seed) % 256);
    return rows;
}

int Share(int j, int k)
{
    int v = j * k, q = v / 100, r = v % 100;
    return r > 50 || (r == 50 && q % 2 == 1) ? q + 1 : q;
}

// A pixel of the result from source pixel (x, y).
using PixelRule = std::function<void(const BYTE* from, int x, int y, BYTE* to)>;
using Run = std::function<void(TBitmap* source, const TRect& rect, TBitmap* target, const TPoint& point)>;

struct Case {
    const char* name;
    Run run;
    PixelRule rule;
    bool mirrored = false;
};

// The blend's second source is `second`, holding `seconds`.
std::vector<Case> Cases(TBitmap* second, const Rows& seconds)
{
    auto bytewise = [](std::function<int(int)> f) {
        return [f](const BYTE* from, int, int, BYTE* to) {
            for (int k = 0; k < 3; ++k)
                to[k] = static_cast<BYTE>(f(from[k]));
        };
    };
    return {
        {"grey", OBLBMPGrayScale,
         [](const BYTE* from, int, int, BYTE* to) {
             to[0] = to[1] = to[2] = static_cast<BYTE>(Share(from[2], 30) + Share(from[1], 59) + Share(from[0], 11));
         }},
        {"invert", OBLBMPInvert, bytewise([](int v) { return 255 - v; })},
        {"+70", [](TBitmap* s, const TRect& r, TBitmap* t, const TPoint& p) { OBLBMPBrightness(s, r, t, 70, p); },
         bytewise([](int v) { return std::min(255, v + 70); })},
        {"-70", [](TBitmap* s, const TRect& r, TBitmap* t, const TPoint& p) { OBLBMPBrightness(s, r, t, -70, p); },
         bytewise([](int v) { return std::max(0, v - 70); })},
        {"blend 0.6",
         [second](TBitmap* s, const TRect& r, TBitmap* t, const TPoint& p) {
             OBLBMPAlphaBlend(s, second, r, TPoint{r.left, r.top}, t, 0.6f, p);
         },
         [&seconds](const BYTE* from, int x, int y, BYTE* to) {
             for (int k = 0; k < 3; ++k) {
                 int a = seconds[y][3 * x + k];
                 to[k] = static_cast<BYTE>(a + static_cast<int>(std::nearbyint((from[k] - a) * double{0.6f})));
             }
         }},
        {"mirror", OBLBMPFlipVertical,
         [](const BYTE* from, int, int, BYTE* to) {
             for (int k = 0; k < 3; ++k)
                 to[k] = from[k];
         },
         true},
    };
}

// The target's rows after the case ran on the rectangle's rows [1, 3) of the source.
Rows Expected(const Case& c, const Rows& source, const TRect& rect, Rows target, const TPoint& point)
{
    int length = rect.right - rect.left;
    for (int j = 0; j < rect.bottom - rect.top; ++j)
        for (int i = 0; i < length; ++i) {
            int x = rect.left + (c.mirrored ? length - 1 - i : i), y = rect.top + j;
            c.rule(&source[y][3 * x], x, y, &target[point.y + j][3 * (point.x + i)]);
        }
    return target;
}

TEST(PixelRows, PiecesOfEveryLengthInsideTheirRowsInPlaceAndIntoAnotherBitmap)
{
    for (int length : kLengths) {
        const int width = length + 5;
        const Rows source = Pattern(width, 4, length), other = Pattern(length + 4, 5, 11), seconds = Pattern(width, 4, 3);
        auto second = Make24(seconds);
        const TRect rect = Rect(3, 1, 3 + length, 3);
        for (const Case& c : Cases(second.get(), seconds)) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << length << " pixels");
            auto inPlace = Make24(source);
            c.run(inPlace.get(), rect, inPlace.get(), TPoint{rect.left, rect.top});
            EXPECT_EQ(Bytes(inPlace.get()), Expected(c, source, rect, source, TPoint{rect.left, rect.top}));
            auto from = Make24(source);
            auto target = Make24(other);
            c.run(from.get(), rect, target.get(), TPoint{1, 2});
            EXPECT_EQ(Bytes(target.get()), Expected(c, source, rect, other, TPoint{1, 2}));
            EXPECT_EQ(Bytes(from.get()), source);
        }
    }
}

} // namespace
