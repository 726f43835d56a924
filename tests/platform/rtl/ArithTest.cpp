#include "platform/rtl/Arith.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

TEST(Arith, RoundHalvesToEvenTruncTowardZero)
{
    struct Case { double value; std::int64_t round; std::int64_t trunc; };
    const Case cases[] = {
        {0.5, 0, 0}, {1.5, 2, 1}, {2.5, 2, 2}, {3.5, 4, 3}, {-0.5, 0, 0}, {-1.5, -2, -1}, {-2.5, -2, -2},
        {2.4999999, 2, 2}, {2.5000001, 3, 2}, {-2.7, -3, -2}, {0.0, 0, 0}, {1e15 + 0.5, 1000000000000000LL, 1000000000000000LL},
        {4294967296.5, 4294967296LL, 4294967296LL},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.value), c.round) << c.value;
        EXPECT_EQ(Trunc(c.value), c.trunc) << c.value;
    }
}

TEST(Arith, RoundRejectsValuesWithoutAnInteger)
{
    const double bad[] = {std::nan(""), 1e19, -1e19, std::numeric_limits<double>::infinity()};
    for (const double v : bad) {
        EXPECT_THROW(Round(v), EInvalidOp) << v;
        EXPECT_THROW(Trunc(v), EInvalidOp) << v;
    }
    EXPECT_EQ(Trunc(-9223372036854775808.0), INT64_MIN);
}

TEST(Arith, MulDivRoundsHalfAwayFromZero)
{
    struct Case { int a, b, c, expected; };
    const Case cases[] = {
        {1, 255, 2, 128}, {-1, 255, 2, -128}, {1, -255, 2, -128}, {1, 255, -2, -128}, {-1, -255, -2, -128}, {-1, 255, -2, 128},
        {10, 10, 3, 33}, {10, 20, 3, 67}, {-10, 20, 3, -67}, {5, 1, 10, 1}, {4, 1, 10, 0},
        {100000, 100000, 100000, 100000},          // the product needs 64 bits
        {INT_MAX, 2, 2, INT_MAX}, {INT_MIN, 1, 1, INT_MIN},
        {INT_MAX, 2, 1, -1},                       // overflow
        {7, 8, 0, -1},                             // zero divisor
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Arith, ThirtyTwoBitWrapAround)
{
    static_assert(WrapAdd32(INT_MAX, 1) == INT_MIN);
    EXPECT_EQ(WrapAdd32(INT_MAX, 1), INT_MIN);
    EXPECT_EQ(WrapSub32(INT_MIN, 1), INT_MAX);
    EXPECT_EQ(WrapMul32(0x10000, 0x10000), 0);
    EXPECT_EQ(WrapMul32(-3, 0x7FFFFFFF), -0x7FFFFFFD);
    EXPECT_EQ(WrapInt32(0x1FFFFFFFFLL), -1);
    EXPECT_EQ(WrapInt32(-4294967296LL - 5), -5);
    EXPECT_EQ(TicksBetween(0xFFFFFFF0u, 0x10u), 0x20u);
    EXPECT_EQ(TicksBetween(100u, 250u), 150u);
}
