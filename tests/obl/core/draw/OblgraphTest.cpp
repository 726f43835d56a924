#include "obl/core/draw/Oblgraph.h"

#include <gtest/gtest.h>

namespace {

struct EnumCase {
    PTypeInfo info;
    int count;
    const char* first;
    const char* last;
};

TEST(Oblgraph, EnumerationNameTablesKeepTheStreamedOrder)
{
    const EnumCase cases[] = {
        {TypeInfo<TOBLShadowStyle>(), 3, "hssNone", "hssTracing"},
        {TypeInfo<TOBLBevelStyle>(), 7, "bvNone", "bvShadow"},
        {TypeInfo<TOBLBorderStyle>(), 15, "lsNone", "lsDoubleLowered"},
        {TypeInfo<TOBLEdgeStyle>(), 8, "etRaisedInner", "etSunken"},
        {TypeInfo<TOBLTextArrange>(), 8, "taLeft", "taBottomLeft"},
        {TypeInfo<TOBLButtonState>(), 9, "bsUp", "bsDefaultEd"},
        {TypeInfo<TOBLUserButtonStyle>(), 14, "ubsAutoDetect", "ubsWinXPTool"},
        {TypeInfo<TOBLAlignment>(), 9, "agTopLeft", "agBottomRight"},
        {TypeInfo<TOBLGradientStyle>(), 10, "gstHorizontal", "gstTopRightDiagonal"},
        {TypeInfo<TOBLDrawTextStyle>(), 11, "dtDisabled", "dtRectClip"},
        {TypeInfo<TOBLThreeDStyle>(), 11, "tdNone", "tdExtrudeEnh"},
        {TypeInfo<TOBLThreeDOrientation>(), 4, "toBottomLeft", "toTopRight"},
        {TypeInfo<TOBLDisabledStyle>(), 4, "dsAuto", "dsNone"},
        {TypeInfo<TOBLBitmapStyle>(), 8, "sbNone", "sbKeepHeight"},
        {TypeInfo<TOBLDirection>(), 4, "tdRight", "tdUp"},
        {TypeInfo<TOBLMeterTextOptions>(), 3, "toNoText", "toPercent"},
    };
    for (const EnumCase& c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(c.info->Kind, tkEnumeration);
        ASSERT_EQ(static_cast<int>(c.info->EnumNames.size()), c.count);
        EXPECT_EQ(GetEnumName(c.info, 0), c.first);
        EXPECT_EQ(GetEnumName(c.info, c.count - 1), c.last);
        EXPECT_EQ(GetEnumValue(c.info, c.last), c.count - 1);
    }
}

TEST(Oblgraph, ValuesInTheMiddleOfTablesHaveTheirOrdinals)
{
    EXPECT_EQ(GetEnumValue(TypeInfo<TOBLBorderStyle>(), "lsWindowBorder"), 10);
    EXPECT_EQ(static_cast<int>(lsWindowBorder), 10);
    EXPECT_EQ(GetEnumValue(TypeInfo<TOBLThreeDStyle>(), "tdPColorRaised"), 6);
    EXPECT_EQ(static_cast<int>(ds3d), 2);
    EXPECT_EQ(GetEnumName(TypeInfo<TOBLFillStyle>(), 4), "sfBitmapList");
    EXPECT_EQ(sizeof(TOBLBorderStyle), 1u);
}

TEST(Oblgraph, DrawTextStyleBitsFollowOrdinals)
{
    const std::pair<TOBLDrawTextStyle, std::uint32_t> bits[] = {
        {dtEnabled, 0x0002}, {dtClip, 0x0008}, {dtAutoSize, 0x0020}, {dtRectText, 0x0040},
        {dtRectGlyph, 0x0080}, {dtRectGlyphText, 0x0100}, {dtCalculate, 0x0200}, {dtRectClip, 0x0400},
    };
    for (auto [style, mask] : bits) EXPECT_EQ(TOBLDrawTextStyles{style}.Mask(), mask);
}

TEST(Oblgraph, FocusStyleConvertsToTheRectangleBits)
{
    const std::pair<TOBLGlyphTextFocusStyle, int> cases[] = {
        {fcControl, 0}, {fcText, 64}, {fcGlyph, 128}, {fcGlyphText, 256}, {fcNone, 0},
    };
    for (auto [style, expected] : cases) EXPECT_EQ(OBLConvertFocusStyle(style), expected);
    const TOBLDrawTextStyles styles =
        TOBLDrawTextStyles::FromMask(static_cast<std::uint32_t>(OBLConvertFocusStyle(fcGlyphText)));
    EXPECT_TRUE(styles.Contains(dtRectGlyphText));
}

TEST(Oblgraph, LegacyButtonStyleNamesMatchTheEnumeration)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetEnumName(TypeInfo<TOBLNormalButtonStyle>(), i), OBLNormalButtonStyleNames[i]);
}

} // namespace
