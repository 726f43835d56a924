#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

TEST(StrUtils, TrimRemovesControlBytesAndBlanksOnly)
{
    struct Case { const char* s; const char* both; const char* left; const char* right; };
    const Case cases[] = {
        {"  ab c \t\r\n", "ab c", "ab c \t\r\n", "  ab c"},
        {"\x01x\x20", "x", "x ", "\x01x"},
        {"   ", "", "", ""},
        {"", "", "", ""},
        {"\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0", "\xA0x\xA0"}, // a high byte is no blank
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Trim(c.s), AnsiString(c.both)) << c.s;
        EXPECT_EQ(TrimLeft(c.s), AnsiString(c.left)) << c.s;
        EXPECT_EQ(TrimRight(c.s), AnsiString(c.right)) << c.s;
    }
    const char withNul[] = {'\0', 'a', '\0'};
    EXPECT_EQ(Trim(AnsiString(withNul, 3)), "a");
}

TEST(StrUtils, CaseMappingAsciiAndWindowsLetters)
{
    EXPECT_EQ(UpperCase("citt\xE0 abc-Z"), AnsiString("CITT\xE0 ABC-Z"));
    EXPECT_EQ(LowerCase("CITT\xC0 ABC"), AnsiString("citt\xC0 abc"));
    EXPECT_EQ(AnsiUpperCase("citt\xE0 \xF7\xFF\x9A\x9C\x9E\xDF\xB5"), AnsiString("CITT\xC0 \xF7\x9F\x8A\x8C\x8E\xDF\xB5"));
    EXPECT_EQ(AnsiLowerCase("CITT\xC0 \xD7\x9F\x8A\x8C\x8E"), AnsiString("citt\xE0 \xD7\xFF\x9A\x9C\x9E"));
}

TEST(StrUtils, ComparisonsGiveSignOfFirstDifference)
{
    struct Case { const char* a; const char* b; int str; int text; };
    const Case cases[] = {
        {"abc", "abc", 0, 0}, {"abc", "ABC", 1, 0}, {"abc", "abd", -1, -1},
        {"ab", "abc", -1, -1}, {"b", "A", 1, 1}, {"\xE0", "a", 1, 1}, {"", "", 0, 0},
        {"_", "a", -1, 1}, // '_' lies between the upper- and the lower-case letters
        {"x\xE0", "X\xE0", 1, 0}, {"\xE0", "\xC0", 1, 1}, // only ASCII letters fold
    };
    const auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(CompareStr(c.a, c.b)), c.str) << c.a << " " << c.b;
        EXPECT_EQ(sign(CompareText(c.a, c.b)), c.text) << c.a << " " << c.b;
        EXPECT_EQ(SameText(c.a, c.b), c.text == 0);
    }
}

TEST(StrUtils, StringReplaceFlags)
{
    struct Case { const char* s; const char* from; const char* to; TReplaceFlags flags; const char* expected; };
    const Case cases[] = {
        {"l'ora, l'anno", "'", "`", {rfReplaceAll}, "l`ora, l`anno"},
        {"l'ora, l'anno", "'", "`", {}, "l`ora, l'anno"},
        {"a,b,c", ",", " ", {rfReplaceAll}, "a b c"},
        {"a,b,c", ",", "", {rfReplaceAll}, "abc"},
        {"aaaa", "aa", "b", {rfReplaceAll}, "bb"},
        {"aaa", "aa", "a", {rfReplaceAll}, "aa"},              // no rescanning of the result
        {"Abc aBC", "abc", "x", {rfReplaceAll}, "Abc aBC"},
        {"Abc aBC", "abc", "x", {rfReplaceAll, rfIgnoreCase}, "x x"},
        {"Abc aBC", "abc", "x", {rfIgnoreCase}, "x aBC"},
        {"CITT\xC0 citt\xE0", "citt\xE0", "y", {rfReplaceAll, rfIgnoreCase}, "y y"},
        {"abc", "", "x", {rfReplaceAll}, "abc"},
        {"", "a", "x", {rfReplaceAll}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), AnsiString(c.expected)) << c.s;
}

TEST(StrUtils, QuotedStrDoublesInnerQuotes)
{
    EXPECT_EQ(QuotedStr("abc"), "'abc'");
    EXPECT_EQ(QuotedStr("l'ora"), "'l''ora'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(QuotedStr("''"), "''''''");
}
