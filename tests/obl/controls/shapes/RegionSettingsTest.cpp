#include "obl/controls/shapes/OBLRegionBorder.h"
#include "obl/controls/shapes/OBLRgnShadow.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

namespace {

TEST(RegionSettings, RegionShadowStartsOff)
{
    TOBLRgnShadow shadow;
    EXPECT_EQ(shadow.Style(), hssNone);
    EXPECT_EQ(shadow.Depth(), 6);
    EXPECT_EQ(shadow.Color(), clBtnShadow);
    EXPECT_EQ(shadow.GetSetStr(), "{Disabled}");
}

TEST(RegionSettings, BorderDefaultsSettersAndAssign)
{
    TOBLRegionBorder border;
    EXPECT_EQ(border.Style(), rbSingle);
    EXPECT_EQ(border.SingleColor(), clBlack);
    TOBLRegionBorder source;
    source.SetStyle(rbLoweredpsb);
    source.SetLightColor(clRed);
    source.SetShadowColor(clBlue);
    source.SetSingleColor(clGreen);
    ChangeCounter changes(border);
    border.SetStyle(rbSingle); // unchanged
    EXPECT_EQ(changes.count, 0);
    border.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(border.Style(), rbLoweredpsb);
    EXPECT_EQ(border.LightColor(), clRed);
    EXPECT_EQ(border.ShadowColor(), clBlue);
    EXPECT_EQ(border.SingleColor(), clGreen);
    border.Assign(&border);
    EXPECT_EQ(changes.count, 1);
    TOBLShadow other;
    EXPECT_THROW(border.Assign(&other), EConvertError);
}

} // namespace
