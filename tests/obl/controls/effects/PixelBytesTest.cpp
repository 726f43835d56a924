// The exact bytes of blends and grey images: every pair of source bytes at a set of
// strengths, checked against the rule and against digests of images made before the
// routines were reworked for speed, so that no faster path may move a single byte.
#include "obl/controls/effects/Oblbmp.h"
#include "PixelFixture.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const TPoint kOrigin{0, 0};

std::uint64_t Digest(TBitmap* bitmap)
{
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const auto& row : Bytes(bitmap))
        for (BYTE b : row)
            h = (h ^ b) * 1099511628211ull;
    return h;
}

// Two sources as rows of bytes and as bitmaps.
struct Pairs {
    Rows ones, twos;
    std::unique_ptr<TBitmap> first, second;

    Pairs(Rows o, Rows t) : ones(std::move(o)), twos(std::move(t)), first(Make24(ones)), second(Make24(twos)) {}
    TRect All() const { return Rect(0, 0, static_cast<int>(ones[0].size() / 3), static_cast<int>(ones.size())); }
};

// Every pair of bytes once: first-source byte i % 256 of row a over second-source byte a.
Pairs AllPairs()
{
    Rows ones(256, std::vector<BYTE>(768)), twos(256, std::vector<BYTE>(768));
    for (int a = 0; a < 256; ++a)
        for (int i = 0; i < 768; ++i) {
            ones[a][i] = static_cast<BYTE>(i);
            twos[a][i] = static_cast<BYTE>(a);
        }
    return Pairs(std::move(ones), std::move(twos));
}

// Rows of 48 bytes, which the blend takes as 32 bytes and 16: each of the two pieces holds
// every pair once over the 4096 rows.
Pairs NarrowPairs()
{
    Rows ones(4096, std::vector<BYTE>(48)), twos(4096, std::vector<BYTE>(48));
    for (int r = 0; r < 4096; ++r)
        for (int i = 0; i < 48; ++i) {
            ones[r][i] = static_cast<BYTE>(i < 32 ? r % 8 * 32 + i : r % 16 * 16 + i - 32);
            twos[r][i] = static_cast<BYTE>(r / 16);
        }
    return Pairs(std::move(ones), std::move(twos));
}

// The rule: a + (b1 - a) * alpha, rounded half to even.
BYTE Blended(int b1, int a, float alpha)
{
    return static_cast<BYTE>(a + static_cast<int>(std::nearbyint((b1 - a) * static_cast<double>(alpha))));
}

int WrongBytes(TBitmap* result, const Pairs& pairs, float alpha)
{
    Rows got = Bytes(result);
    int wrong = 0;
    for (std::size_t y = 0; y < got.size(); ++y)
        for (std::size_t i = 0; i < got[y].size(); ++i)
            wrong += got[y][i] != Blended(pairs.ones[y][i], pairs.twos[y][i], alpha);
    return wrong;
}

// Strengths with ties (quarters, 256ths), near ties (thirds, tenths), and the ends.
const float kStrengths[] = {0.6f, 0.5f, 0.25f, 0.75f, 0.1f, 0.3f, 1.0f / 3, 0.999f, 0.001f,
                            0.0f, 1.0f, 0.126f, 77.0f / 256, 1.0f / 512, 1.0f / 510, 0.9f};

TEST(PixelBytes, BlendsOfEveryBytePairFollowTheRule)
{
    for (const Pairs& pairs : {AllPairs(), NarrowPairs()}) {
        const TRect all = pairs.All();
        auto target = Solid24(all.right, all.bottom, 0, 0, 0);
        for (float alpha : kStrengths) {
            SCOPED_TRACE(testing::Message() << all.right << " pixels a row, strength " << alpha);
            OBLBMPAlphaBlend(pairs.first.get(), pairs.second.get(), all, kOrigin, target.get(), alpha, kOrigin);
            EXPECT_EQ(WrongBytes(target.get(), pairs, alpha), 0);
            // In place as the alpha object blends: the first source is the target.
            auto inPlace = Make24(pairs.ones);
            OBLBMPAlphaBlend(inPlace.get(), pairs.second.get(), all, kOrigin, inPlace.get(), alpha, kOrigin);
            EXPECT_EQ(WrongBytes(inPlace.get(), pairs, alpha), 0);
        }
    }
}

// The shares are rounded in the processor's rounding mode, as the rule's nearbyint does:
// upwards they are no longer symmetric about 0, towards zero no half goes to the even side.
TEST(PixelBytes, BlendsFollowTheRuleInEveryRoundingMode)
{
    const Pairs pairs = AllPairs();
    auto target = Solid24(256, 256, 0, 0, 0);
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        for (float alpha : {0.6f, 0.5f, 0.3f}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", strength " << alpha);
            std::fesetround(mode);
            OBLBMPAlphaBlend(pairs.first.get(), pairs.second.get(), pairs.All(), kOrigin, target.get(), alpha,
                             kOrigin);
            int wrong = WrongBytes(target.get(), pairs, alpha);
            std::fesetround(FE_TONEAREST);
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(PixelBytes, BlendsGiveTheSameBytesAsBefore)
{
    struct Pin {
        float alpha;
        TRect rect;  // rows of odd lengths, landing one pixel right and two rows down
        std::uint64_t digest;
    };
    const TRect all = Rect(0, 0, 256, 256), odd = Rect(3, 1, 254, 250);
    const Pin pins[] = {
        {0.6f, all, 0x9af52ce39ecdd9ddull},      {0.5f, all, 0x50df134e23705fc3ull},
        {0.25f, all, 0x1ebba6ec0d1e89c6ull},     {1.0f / 3, all, 0x88e460e84568b01aull},
        {0.001f, all, 0x22b0b96c98ed2c86ull},    {0.999f, all, 0x951a560c62346325ull},
        {77.0f / 256, all, 0x403968da59789d24ull}, {0.6f, odd, 0xcaf5493a7ffdb88eull},
        {0.5f, odd, 0xc7f225c97a967440ull},
    };
    const Pairs pairs = AllPairs();
    for (const Pin& pin : pins) {
        SCOPED_TRACE(pin.alpha);
        auto target = Solid24(256, 256, 0, 0, 0);
        OBLBMPAlphaBlend(pairs.first.get(), pairs.second.get(), pin.rect, TPoint{pin.rect.left, pin.rect.top},
                         target.get(), pin.alpha, TPoint{pin.rect.left + 1, pin.rect.top + 2});
        EXPECT_EQ(Digest(target.get()), pin.digest);
    }
}

// Every difference of the two sources, twice over, at strengths on and right beside each
// point where a difference's blend lies half way between two bytes: n * alpha = k + 1/2.
TEST(PixelBytes, BlendsAtAndBesideEveryHalfWayStrengthFollowTheRule)
{
    Rows ones(2, std::vector<BYTE>(3 * 511)), twos(2, std::vector<BYTE>(3 * 511));
    for (int d = -255; d <= 255; ++d)
        for (int k = 0; k < 3; ++k) {
            int i = 3 * (d + 255) + k;
            // Row 0 from the low end, row 1 towards the high end.
            twos[0][i] = static_cast<BYTE>(d < 0 ? -d : 0);
            twos[1][i] = static_cast<BYTE>(d < 0 ? 255 : 255 - d);
            ones[0][i] = static_cast<BYTE>(twos[0][i] + d);
            ones[1][i] = static_cast<BYTE>(twos[1][i] + d);
        }
    auto first = Make24(ones), second = Make24(twos);
    auto target = Solid24(511, 2, 0, 0, 0);
    std::vector<float> strengths;
    for (int n = 1; n <= 255; ++n)
        for (int k = 1; 2 * k - 1 <= 2 * n; ++k) {
            float at = static_cast<float>(2 * k - 1) / static_cast<float>(2 * n);
            strengths.insert(strengths.end(), {at, std::nextafter(at, 0.0f), std::nextafter(at, 1.0f)});
        }
    int wrongStrengths = 0;
    for (float alpha : strengths) {
        OBLBMPAlphaBlend(first.get(), second.get(), Rect(0, 0, 511, 2), kOrigin, target.get(), alpha, kOrigin);
        Rows got = Bytes(target.get());
        bool wrong = false;
        for (int y = 0; y < 2; ++y)
            for (int i = 0; i < 3 * 511; ++i)
                wrong = wrong || got[y][i] != Blended(ones[y][i], twos[y][i], alpha);
        if (wrong && ++wrongStrengths <= 5)
            ADD_FAILURE() << "strength " << alpha;
    }
    EXPECT_EQ(wrongStrengths, 0);
}

TEST(PixelBytes, GreyImagesGiveTheSameBytesAsBefore)
{
    // Every blue and green with a red made of both; and a ramp of the benchmark's kind.
    Rows mixed(256, std::vector<BYTE>(3 * 256)), ramp(64, std::vector<BYTE>(3 * 333));
    for (int green = 0; green < 256; ++green)
        for (int blue = 0; blue < 256; ++blue) {
            BYTE* p = &mixed[green][3 * blue];
            p[0] = static_cast<BYTE>(blue);
            p[1] = static_cast<BYTE>(green);
            p[2] = static_cast<BYTE>((blue * 3 + green) % 256);
        }
    for (int y = 0; y < 64; ++y)
        for (int i = 0; i < 3 * 333; ++i)
            ramp[y][i] = static_cast<BYTE>(i * 7 + y * 13);
    auto one = Make24(mixed);
    OBLBMPGrayScale(one.get(), Rect(0, 0, 256, 256), one.get(), kOrigin);
    EXPECT_EQ(Digest(one.get()), 0xdf6917a3af3a3f41ull);
    auto two = Make24(ramp);
    auto target = Solid24(333, 64, 1, 2, 3);
    OBLBMPGrayScale(two.get(), Rect(0, 0, 333, 64), target.get(), kOrigin);
    EXPECT_EQ(Digest(target.get()), 0x66bf92e28490483dull);
}

} // namespace
