#include "obl/core/draw/OBLButtonBase.h"

#include "platform/classlib/Forms.h"
#include "platform/win/kernel/Resources.h"
#include "tests/obl/core/draw/GlyphStrip.h"

#include <gtest/gtest.h>

namespace {

class GlyphKindTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(RegisterBitmapFileResource(nullptr, MAKEINTRESOURCEA(OBLGlyphStripResource), GlyphStripFile()));
    }
};

TEST_F(GlyphKindTest, EachKindYieldsItsCell)
{
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        TBitmap bitmap;
        OBLGetGlyphKind(&bitmap, static_cast<TOBLGlyphKind>(k));
        EXPECT_EQ(bitmap.Width(), 13);
        EXPECT_EQ(bitmap.Height(), 14);
        EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), CellColor(k - 1));
        EXPECT_EQ(bitmap.Canvas()->Pixels(12, 13), CellColor(k - 1));
        EXPECT_EQ(bitmap.Canvas()->Pixels(1, 2), MarkerColor(k - 1));
    }
}

TEST_F(GlyphKindTest, CustomKindKeepsTheFirstCell)
{
    TBitmap bitmap;
    OBLGetGlyphKind(&bitmap, gkCustom);
    EXPECT_EQ(bitmap.Width(), 13);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), CellColor(0));
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 2), MarkerColor(0));
}

TEST_F(GlyphKindTest, ReplacesWhateverTheBitmapHeld)
{
    TBitmap bitmap;
    bitmap.SetSize(40, 40);
    bitmap.Canvas()->SetPixels(0, 0, clRed);
    OBLGetGlyphKind(&bitmap, gkFont);
    EXPECT_EQ(bitmap.Width(), 13);
    EXPECT_EQ(bitmap.Height(), 14);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), CellColor(7));
}

TEST(GlyphKind, NilBitmapIsIgnored) { EXPECT_NO_THROW(OBLGetGlyphKind(nullptr, gkFile)); }

TEST(ButtonBevel, WidthsByStyle)
{
    const std::pair<TOBLUserButtonStyle, int> cases[] = {
        {ubsWin31, 3}, {ubsWin40, 2}, {ubsDelphi, 2}, {ubsDelphiFlat, 2}, {ubsNavigator, 2},
        {ubsIntegrated, 2}, {ubsFlat, 1}, {ubsFlatUnColored, 1}, {ubsExplorer, 1},
        {ubsExplorerColored, 1}, {ubsWinXP, 1}, {ubsWinXPCombo, 1}, {ubsWinXPTool, 1},
    };
    for (auto [style, width] : cases) {
        SCOPED_TRACE(static_cast<int>(style));
        EXPECT_EQ(OBLGetButtonBevel(style, bsUp), width);
        EXPECT_EQ(OBLGetButtonBevel(style, bsDown), width);
    }
}

TEST(ButtonBevel, AutoDetectFollowsNewStyleControls)
{
    const bool saved = NewStyleControls;
    NewStyleControls = true;
    EXPECT_EQ(OBLGetButtonBevel(ubsAutoDetect, bsUp), 2);
    NewStyleControls = false;
    EXPECT_EQ(OBLGetButtonBevel(ubsAutoDetect, bsMouseOver), 3);
    NewStyleControls = saved;
}

} // namespace
