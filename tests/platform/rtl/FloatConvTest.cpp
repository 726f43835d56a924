#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatConv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(FloatConv, FloatToStrGeneral)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {-1.5, "-1.5"}, {0.1, "0.1"}, {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"}, {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"}, {1e20, "1E20"}, {0.0001, "0.0001"}, {0.00001, "0.00001"},
        {0.000001234, "1.234E-6"}, {-2.5e-10, "-2.5E-10"}, {100.0, "100"}, {1e15, "1E15"}, {999999999999999.0, "999999999999999"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), AnsiString(c.text)) << c.value;
}

TEST(FloatConv, FloatToStrOfWholeNumbersMatchesTheGeneralFormat)
{
    for (const double v : {0.0, -0.0, 7.0, -123.0, 4096.0, 999999999999999.0, -999999999999999.0, 1e15, -1e15,
                           4503599627370496.0, 1e300})
        EXPECT_EQ(FloatToStr(v), FloatToStrF(v, ffGeneral, 15, 0)) << v;
    EXPECT_EQ(FloatToStr(-123.0), "-123");
}

TEST(FloatConv, FloatToStrFFormats)
{
    struct Case { double value; TFloatFormat format; int precision, digits; const char* text; };
    const Case cases[] = {
        {1234.5, ffFixed, 15, 2, "1234.50"}, {1234.5, ffFixed, 15, 0, "1235"}, {-0.004, ffFixed, 15, 2, "0.00"},
        {0.125, ffFixed, 15, 2, "0.13"}, {99.995, ffFixed, 15, 2, "100.00"}, {1.0 / 3.0, ffFixed, 3, 5, "0.33300"},
        {123456.0, ffFixed, 4, 2, "1.235E5"}, {1234567.5, ffNumber, 15, 2, "1,234,567.50"}, {-999.0, ffNumber, 15, 0, "-999"},
        {1234.5, ffExponent, 4, 2, "1.235E+03"}, {0.0, ffExponent, 4, 2, "0.000E+00"}, {-1e-7, ffExponent, 3, 0, "-1.00E-7"},
        {1234.5, ffGeneral, 3, 0, "1.23E3"}, {1234.5, ffGeneral, 4, 0, "1235"}, {1234.5, ffGeneral, 3, 2, "1.23E03"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), AnsiString(c.text)) << c.value << " " << int(c.format);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FloatToStr(inf), "INF");
    EXPECT_EQ(FloatToStr(-inf), "-INF");
    EXPECT_EQ(FloatToStrF(std::nan(""), ffFixed, 15, 2), "NAN");
}

TEST(FloatConv, SeparatorsComeFromTheSettings)
{
    TFormatSettings italian;
    italian.DecimalSeparator = ',';
    italian.ThousandSeparator = '.';
    EXPECT_EQ(FloatToStr(1.5, italian), "1,5");
    EXPECT_EQ(FloatToStrF(1234567.25, ffNumber, 15, 2, italian), "1.234.567,25");
    EXPECT_EQ(StrToFloat("1,5", italian), 1.5);
    EXPECT_THROW(StrToFloat("1.5", italian), EConvertError);
    {
        TFormatSettingsOverride use(italian);
        EXPECT_EQ(FloatToStr(2.25), "2,25");
        EXPECT_EQ(StrToFloat("2,25"), 2.25);
    }
    EXPECT_EQ(FloatToStr(2.25), "2.25");
}

TEST(FloatConv, StrToFloatAcceptsTheRunTimesNotation)
{
    struct Case { const char* s; bool ok; double value; };
    const Case cases[] = {
        {"1.5", true, 1.5}, {"  -2.25  ", true, -2.25}, {"+3", true, 3}, {".5", true, 0.5}, {"5.", true, 5},
        {"1E3", true, 1000}, {"1.5e-2", true, 0.015}, {"2E+2", true, 200}, {"0.333333333333333", true, 0.333333333333333},
        {"", false, 0}, {" ", false, 0}, {".", false, 0}, {"1,5", false, 0}, {"1e", false, 0}, {"e5", false, 0},
        {"1.2.3", false, 0}, {"12abc", false, 0}, {"1e999", false, 0}, {"inf", false, 0}, {"nan", false, 0}, {"0x10", false, 0},
    };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(TryStrToFloat(c.s, value), c.ok) << '"' << c.s << '"';
        if (c.ok) EXPECT_DOUBLE_EQ(value, c.value) << c.s;
        else EXPECT_EQ(StrToFloatDef(c.s, 7.5), 7.5) << c.s;
    }
    try {
        StrToFloat("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
    }
}

TEST(FloatConv, TextRoundTripsThroughFloatToStr)
{
    const double values[] = {0.1, 1234.5678, -1e-12, 3.14159265358979, 6.02e23, 86399.999};
    for (const double v : values) EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
}
