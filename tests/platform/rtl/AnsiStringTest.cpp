#include "platform/rtl/AnsiString.h"

#include <gtest/gtest.h>

TEST(AnsiString, HoldsAnyByteIncludingNul)
{
    const char bytes[] = {'a', '\0', '\xE0', 'z'};
    AnsiString s(bytes, 4);
    EXPECT_EQ(s.Length(), 4);
    EXPECT_EQ(s[2], '\0');
    EXPECT_EQ(static_cast<unsigned char>(s[3]), 0xE0);
}

TEST(AnsiString, CopyClampsAsTheRunTime)
{
    struct Case { const char* s; int index; int count; const char* expected; };
    const Case cases[] = {
        {"abcdef", 2, 3, "bcd"}, {"abcdef", 0, 2, "ab"}, {"abcdef", -5, 2, "ab"},
        {"abcdef", 5, 100, "ef"}, {"abcdef", 7, 1, ""}, {"abcdef", 2, -1, ""}, {"", 1, 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Copy(c.s, c.index, c.count), AnsiString(c.expected)) << c.s << " " << c.index << " " << c.count;
}

TEST(AnsiString, PosDeleteInsert)
{
    EXPECT_EQ(Pos("cd", "abcdcd"), 3);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(Pos("x", "abc"), 0);

    AnsiString s = "abcdef";
    Delete(s, 0, 2);
    EXPECT_EQ(s, "abcdef");
    Delete(s, 5, 10);
    EXPECT_EQ(s, "abcd");
    Delete(s, 2, 1);
    EXPECT_EQ(s, "acd");

    Insert("XY", s, 0);
    EXPECT_EQ(s, "XYacd");
    Insert("!", s, 100);
    EXPECT_EQ(s, "XYacd!");
    Insert("-", s, 3);
    EXPECT_EQ(s, "XY-acd!");
}

TEST(AnsiString, ComparesBytesUnsigned)
{
    EXPECT_LT(AnsiString("a"), AnsiString("\xE0"));
    EXPECT_LT(AnsiString("ab"), AnsiString("abc"));
    EXPECT_EQ(StringOfChar('x', 3), "xxx");
    EXPECT_EQ(StringOfChar('x', -1), "");
}
