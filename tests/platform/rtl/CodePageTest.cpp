#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, AnsiAndUnicodeAgreeOnTheSpecialBytes)
{
    struct Case { unsigned char byte; char32_t code; };
    const Case cases[] = {
        {'A', U'A'}, {0x80, 0x20AC}, {0x8A, 0x0160}, {0x92, 0x2019}, {0x9F, 0x0178},
        {0x81, 0x0081}, {0x9D, 0x009D}, {0xA0, 0x00A0}, {0xE0, 0x00E0}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiCharToUnicode(c.byte), c.code) << int(c.byte);
        char back = 0;
        ASSERT_TRUE(UnicodeToAnsiChar(c.code, back)) << int(c.byte);
        EXPECT_EQ(static_cast<unsigned char>(back), c.byte);
    }
    char out = 'x';
    EXPECT_FALSE(UnicodeToAnsiChar(0x0080, out));
    EXPECT_FALSE(UnicodeToAnsiChar(0x4E2D, out));
    EXPECT_EQ(out, 'x');
}

TEST(CodePage, Utf8RoundTripIsLosslessForEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const AnsiString text(all);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(text)), text);
    EXPECT_EQ(AnsiToUtf8("citt\xE0 \x80"), "citt\xC3\xA0 \xE2\x82\xAC");
}

TEST(CodePage, Utf8OutsideTheCodePageOrMalformedBecomesQuestionMarks)
{
    struct Case { const char* utf8; const char* ansi; };
    const Case cases[] = {
        {"\xE4\xB8\xAD", "?"},          // a CJK character
        {"\xF0\x9F\x98\x80!", "?!"},    // beyond the basic plane
        {"a\xC3", "a?"},                // truncated sequence
        {"\xC3(", "?("},                // bad continuation
        {"\xC0\xAF", "?"},              // overlong form: never read as "/"
        {"\xFF", "?"},
        {"\xED\xA0\x80x", "?x"},        // an encoded surrogate half
        {"\xF4\x90\x80\x80", "?"},      // beyond U+10FFFF
        {"\xE2\x82\xAC\xC2\xA3", "\x80\xA3"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), AnsiString(c.ansi)) << c.utf8;
}

// The appending form says whether a '?' took the place of something.
TEST(CodePage, AppendingSaysWhetherTheTextStayedTheSame)
{
    struct Case { const char* utf8; const char* ansi; bool exact; };
    const Case cases[] = {
        {"citt\xC3\xA0?", "citt\xE0?", true},     // a question mark of the text itself
        {"", "", true},
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "?\xF3" "d?", false},
        {"a\xC3", "a?", false},                   // truncated sequence
    };
    for (const auto& c : cases) {
        std::string out = "x";
        EXPECT_EQ(AppendUtf8AsAnsi(out, c.utf8), c.exact) << c.utf8;
        EXPECT_EQ(out, std::string("x") + c.ansi) << c.utf8;
    }
}

TEST(CodePage, OemConversionsUseTheOemTableAndBestFit)
{
    struct Case { const char* ansi; const char* oem; };
    const Case cases[] = {
        {"abc 123", "abc 123"},
        {"\xE0\xE8\xE9\xEC\xF2\xF9", "\x85\x8A\x82\x8D\x95\x97"},   // Italian accented vowels
        {"\xC7\xFC\xA3\xFF", "\x80\x81\x9C\x98"},
        {"\x8A\x9A\x8C\x93\x94\x96\x99", "SsO\"\"-T"},                // no OEM counterpart
        {"\x80", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(AnsiToOem(c.ansi), AnsiString(c.oem)) << c.ansi;

    // Latin-1 letters survive the round trip; box drawing comes back as look-alikes.
    const AnsiString latin("\xC0\xC9\xD1\xDF\xE7\xF1\xA7\xB0");
    EXPECT_EQ(OemToAnsi(AnsiToOem(latin)), latin);
    EXPECT_EQ(OemToAnsi("\xC4\xB3\xDA\xDB\xD5"), AnsiString("-|+#i"));
}
