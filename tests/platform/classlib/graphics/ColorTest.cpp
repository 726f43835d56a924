#include "platform/classlib/Graphics.h"

#include <gtest/gtest.h>

TEST(Color, ConstantsHaveTheirDocumentedValues)
{
    struct Case { TColor color; std::uint32_t value; };
    const Case cases[] = {
        {clFuchsia, 0xFF00FF}, {clBtnFace, 0x8000000F}, {clBtnShadow, 0x80000010}, {clGrayText, 0x80000011},
        {clBtnHighlight, 0x80000014}, {clHighlight, 0x8000000D}, {clHighlightText, 0x8000000E},
        {clWindow, 0x80000005}, {clWindowText, 0x80000008}, {clNone, 0x1FFFFFFF}, {clDefault, 0x20000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(c.color), c.value);
}

TEST(Color, ColorToRgbResolvesSystemColoursOnly)
{
    GdiResetSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clHighlightText), GetSysColor(COLOR_HIGHLIGHTTEXT));
    int index = COLOR_BTNFACE;
    COLORREF pink = RGB(250, 10, 200);
    SetSysColors(1, &index, &pink);
    EXPECT_EQ(ColorToRGB(clBtnFace), pink);
    GdiResetSysColors();
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
}

TEST(Color, StringConversionsRoundTrip)
{
    struct Case { TColor color; const char* text; };
    const Case cases[] = {
        {clBlack, "clBlack"}, {clFuchsia, "clFuchsia"}, {clGray, "clGray"}, {clSilver, "clSilver"},
        {clBtnFace, "clBtnFace"}, {clNone, "clNone"}, {clDefault, "clDefault"}, {clWindowText, "clWindowText"},
        {0x123456, "$00123456"}, {static_cast<TColor>(0x80000040u), "$80000040"}, {0x02000000, "$02000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToString(c.color), c.text);
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
    }
}

TEST(Color, IdentifiersMatchWithoutCaseAndNumbersAreAccepted)
{
    EXPECT_EQ(StringToColor("CLRED"), clRed);
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("255"), 255);
    EXPECT_EQ(StringToColor("$FF0000"), clBlue);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    TColor color = 7;
    EXPECT_FALSE(IdentToColor("red", color));
    EXPECT_EQ(color, 7);
    AnsiString ident = "unchanged";
    EXPECT_FALSE(ColorToIdent(0x010203, ident));
    EXPECT_EQ(ident, "unchanged");
}
