#include "obl/core/base/Oblstrings.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

AnsiString Bytes(std::initializer_list<unsigned char> bytes)
{
    std::string s;
    for (unsigned char b : bytes) s.push_back(static_cast<char>(b));
    return AnsiString(s);
}

TEST(OblstringsTest, FillingToALength)
{
    struct Case {
        AnsiString actual;
        const char* expected;
    } cases[] = {
        {OBLFillString(3, 'x'), "xxx"},
        {OBLFillString(0, 'x'), ""},
        {OBLFillString(-2, 'x'), ""},
        {OBLSpace(2), "  "},
        {OBLAddZeroL("42", 5), "00042"},
        {OBLAddZeroL("42", 1), "42"},
        {OBLAddZeroR("42", 4), "4200"},
        {OBLAddSpaceL("ab", 4), "  ab"},
        {OBLAddSpaceR("ab", 3), "ab "},
        {OBLAddCharL("abc", 3, '*'), "abc"},
        {OBLAddCharR("", 2, '*'), "**"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(OblstringsTest, TrimmingCountingAndSearching)
{
    EXPECT_EQ(OBLTrim(" \tab \r"), "ab");
    EXPECT_EQ(OBLTrimL("  ab "), "ab ");
    EXPECT_EQ(OBLTrimR("  ab "), "  ab");
    EXPECT_TRUE(OBLEmpty(""));
    EXPECT_TRUE(OBLEmpty("   "));
    EXPECT_FALSE(OBLEmpty(" \t "));
    EXPECT_EQ(OBLCount("a,b,,c", ','), 3);
    EXPECT_EQ(OBLCount("", ','), 0);
    EXPECT_EQ(OBLBackPos('a', "abca"), 4);
    EXPECT_EQ(OBLBackPos('a', "abc"), 1);
    EXPECT_EQ(OBLBackPos('z', "abc"), 0);
    EXPECT_EQ(OBLBackPos('a', ""), 0);
    EXPECT_EQ(OBLScanToNumber("abc7d9"), 4);
    EXPECT_EQ(OBLScanToNumber("0"), 1);
    EXPECT_EQ(OBLScanToNumber("none"), 0);
    EXPECT_EQ(OBLReplaceChar("a.b.c", '.', '\\'), "a\\b\\c");
}

TEST(OblstringsTest, PartsAroundTheFirstSeparator)
{
    EXPECT_EQ(OBLGetFirstString("key=value=x", '='), "key");
    EXPECT_EQ(OBLGetSecondString("key=value=x", '='), "value=x");
    EXPECT_EQ(OBLGetFirstString("plain", '='), "plain");
    EXPECT_EQ(OBLGetSecondString("plain", '='), "plain");
    const AnsiString longTail = "k=" + AnsiString(std::string(300, 'v'));
    EXPECT_EQ(OBLGetSecondString(longTail, '=').Length(), 255);
}

TEST(OblstringsTest, PathBackslashes)
{
    struct Case {
        const char* in;
        const char* added;
        const char* removed;
    } cases[] = {
        {"", "\\", ""},
        {"  ", "  \\", "  "},
        {"C:\\dir", "C:\\dir\\", "C:\\dir"},
        {"C:\\dir\\", "C:\\dir\\", "C:\\dir"},
        {"C:\\dir\\\\", "C:\\dir\\\\", "C:\\dir\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OBLSlashAdd(c.in), c.added) << c.in;
        EXPECT_EQ(OBLSlashRemove(c.in), c.removed) << c.in;
    }
}

TEST(OblstringsTest, CodingArraysOfStringsAndIntegers)
{
    const AnsiString words[] = {"a", "", "c"};
    EXPECT_EQ(OBLCodeString(words, 2, ';'), "a;;c");
    EXPECT_EQ(OBLCodeString(words, 0, ';'), "a");
    EXPECT_EQ(OBLCodeString(words, -1, ';'), "");
    const int numbers[] = {10, -3, 0};
    EXPECT_EQ(OBLCodeInt(numbers, 2, ','), "10,-3,0");
}

TEST(OblstringsTest, CodedFieldsAndCounts)
{
    struct Case {
        const char* s;
        int count;
        const char* fields[4];
    } cases[] = {
        {"", 0, {"", "", "", ""}},
        {"one", 1, {"one", "", "", ""}},
        {"a,b,c", 3, {"a", "b", "c", ""}},
        {"a,,c", 3, {"a", "", "c", ""}},
        {",", 2, {"", "", "", ""}},
        {"a,b,", 3, {"a", "b", "", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OBLGetCodedCount(c.s, ','), c.count) << c.s;
        for (int n = 0; n < 4; ++n) EXPECT_EQ(OBLGetCodedString(c.s, ',', n), c.fields[n]) << c.s << " field " << n;
    }
    EXPECT_EQ(OBLGetCodedString("a,b", ',', -1), "");
}

TEST(OblstringsTest, CodedIntegers)
{
    EXPECT_EQ(OBLGetCodedInt("5,,-7", ',', 0), 5);
    EXPECT_EQ(OBLGetCodedInt("5,,-7", ',', 1), -1);
    EXPECT_EQ(OBLGetCodedInt("5,,-7", ',', 2), -7);
    EXPECT_EQ(OBLGetCodedInt("5,,-7", ',', 3), -1);
    EXPECT_THROW(OBLGetCodedInt("5,x", ',', 1), EConvertError);
}

TEST(OblstringsTest, SettingCodedFields)
{
    struct Case {
        const char* s;
        const char* value;
        int n;
        const char* expected;
    } cases[] = {
        {"one", "X", 2, "one,,X"},
        {"a,b,c", "X", 1, "a,X,c"},
        {"a,b,c", "X", 0, "X,b,c"},
        {"a,b,c", "X", 2, "a,b,X"},
        {"a,b,c", "", 1, "a,,c"},
        {"", "X", 0, "X"},
        {"", "X", 1, ",X"},
        {"a,b", "X", 3, "a,b,,X"},
        {"a,b", "X", -1, "a,b"},
    };
    for (const Case& c : cases) {
        AnsiString s = c.s;
        OBLSetCodedString(s, c.value, ',', c.n);
        EXPECT_EQ(s, c.expected) << c.s << " field " << c.n;
        if (c.n >= 0) {
            EXPECT_EQ(OBLGetCodedString(s, ',', c.n), c.value);
        }
    }
}

TEST(OblstringsTest, ScramblerVectors)
{
    struct Case {
        AnsiString plain;
        std::uint16_t key;
        AnsiString coded;
    } cases[] = {
        {"A", 0x1234, Bytes({0x53})},
        {"Hello", 0x1234, Bytes({0x5A, 0xE6, 0x3E, 0x53, 0x41})},
        {Bytes({0, 0, 0}), 0, Bytes({0x00, 0x58, 0xC9})},
        {"", 0x1234, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OBLEncode(c.plain, c.key), c.coded);
        EXPECT_EQ(OBLDecode(c.coded, c.key), c.plain);
    }
}

TEST(OblstringsTest, ScramblerSingleByteUsesTheKeysHighByte)
{
    for (unsigned b : {0x00u, 0x7Fu, 0x80u, 0xFFu})
        for (unsigned k : {0x0000u, 0x00FFu, 0xAB00u, 0xFFFFu})
            EXPECT_EQ(static_cast<unsigned char>(OBLEncode(Bytes({static_cast<unsigned char>(b)}), k)[1]),
                      (b ^ (k >> 8)) & 0xFF);
}

TEST(OblstringsTest, ScramblerRoundTripsEveryByteWithAnyKey)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const AnsiString plain(all + all);
    for (unsigned k : {0u, 1u, 0x1234u, 0x8000u, 0xFFFFu}) {
        const AnsiString coded = OBLEncode(plain, static_cast<std::uint16_t>(k));
        ASSERT_EQ(coded.Length(), plain.Length());
        EXPECT_NE(coded, plain);
        EXPECT_EQ(OBLDecode(coded, static_cast<std::uint16_t>(k)), plain);
        EXPECT_NE(OBLDecode(coded, static_cast<std::uint16_t>(k ^ 0x0100)), plain);
    }
}

} // namespace
