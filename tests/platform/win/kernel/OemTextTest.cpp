#include "platform/win/kernel/OemText.h"

#include <gtest/gtest.h>

#include <string>

TEST(OemText, RoundTripInPlaceKeepsWhatBothCodePagesHold)
{
    // "città è" in Windows-1252: à and è exist in OEM 850 at other positions.
    char text[] = "citt\xE0 \xE8";
    ASSERT_TRUE(CharToOemA(text, text));
    EXPECT_EQ(std::string(text), std::string("citt\x85 \x8A"));
    ASSERT_TRUE(OemToCharA(text, text));
    EXPECT_EQ(std::string(text), std::string("citt\xE0 \xE8"));
}

TEST(OemText, CharactersMissingFromOemComeBackAsTheirLookAlike)
{
    // The euro sign has no OEM 850 counterpart: the round trip loses it, as the edit's
    // OEM conversion is meant to show.
    char text[] = "\x80" "5";
    ASSERT_TRUE(CharToOemA(text, text));
    ASSERT_TRUE(OemToCharA(text, text));
    EXPECT_NE(text[0], '\x80');
    EXPECT_EQ(text[1], '5');
}

TEST(OemText, BufferFormsConvertExactlyTheGivenLengthIncludingNul)
{
    const char source[] = {'\xE0', '\0', '\xE8'};
    char out[3] = {'x', 'x', 'x'};
    ASSERT_TRUE(CharToOemBuffA(source, out, 3));
    EXPECT_EQ(out[0], '\x85');
    EXPECT_EQ(out[1], '\0');
    EXPECT_EQ(out[2], '\x8A');
    EXPECT_FALSE(CharToOemA(nullptr, out));
}
