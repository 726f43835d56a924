#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumConv.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NumConv, IntToStrAndIntToHex)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");

    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 4), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t{-1}, 1), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0xFD01u, 8), "0000FD01");
}

TEST(NumConv, StrToIntFollowsValRules)
{
    struct Case { const char* s; bool ok; int value; };
    const Case cases[] = {
        {"123", true, 123}, {"  -45", true, -45}, {"+7", true, 7}, {"007", true, 7},
        {"$FF", true, 255}, {"$ff", true, 255}, {"-$10", true, -16}, {"0x1A", true, 26}, {"x1a", true, 26},
        {"$FFFFFFFF", true, -1}, {"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0}, {"-2147483649", false, 0}, {"$100000000", false, 0},
        {"", false, 0}, {"   ", false, 0}, {"-", false, 0}, {"$", false, 0}, {"12 ", false, 0},
        {"12a", false, 0}, {"\t12", false, 0}, {"1.0", false, 0}, {"--1", false, 0}, {"$G", false, 0},
    };
    for (const auto& c : cases) {
        int value = 999;
        EXPECT_EQ(TryStrToInt(c.s, value), c.ok) << '"' << c.s << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.s;
            EXPECT_EQ(StrToInt(c.s), c.value);
        } else {
            EXPECT_EQ(value, 999) << "value changed on failure: " << c.s;
            EXPECT_EQ(StrToIntDef(c.s, -77), -77) << c.s;
        }
    }
}

TEST(NumConv, StrToIntRaisesConvertErrorNamingTheText)
{
    try {
        StrToInt("12x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12x' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(NumConv, Int64Range)
{
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64Def("x", 5), 5);
}
