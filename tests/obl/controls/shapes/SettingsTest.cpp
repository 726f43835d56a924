#include "obl/controls/shapes/OBLShape.h"
#include "obl/controls/shapes/OBLTeeth.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

namespace {

TEST(ShapeSettings, ShadowSummaries)
{
    TOBLShadow shadow;
    EXPECT_EQ(shadow.GetSetStr(), "{solid, 6}");
    shadow.SetStyle(hssTracing);
    shadow.SetDepth(12);
    EXPECT_EQ(shadow.GetSetStr(), "{tracing, 12}");
    shadow.SetStyle(hssNone);
    EXPECT_EQ(shadow.GetSetStr(), "{Disabled}");
    shadow.SetDepth(99);
    EXPECT_EQ(shadow.Depth(), 40);
}

TEST(ShapeSettings, BevelIndexedColoursAndSummary)
{
    TOBLSimpleBevel bevel;
    ChangeCounter changes(bevel);
    bevel.SetColor(2, clRed);
    EXPECT_EQ(bevel.Color(), clRed);
    EXPECT_EQ(bevel.LightColor(), clBtnHighlight);
    bevel.SetColor(0, clBlue);
    bevel.SetColor(1, clGreen);
    EXPECT_EQ(bevel.LightColor(), clBlue);
    EXPECT_EQ(bevel.ShadowColor(), clGreen);
    EXPECT_EQ(changes.count, 3);
    bevel.SetColor(1, clGreen); // unchanged: no notification
    EXPECT_EQ(changes.count, 3);
    bevel.SetColor(7, clGreen); // unknown index only notifies
    EXPECT_EQ(changes.count, 4);
    EXPECT_EQ(bevel.GetSetStr(), "{Normal}");
    bevel.SetStyle(sbOffset);
    EXPECT_EQ(bevel.GetSetStr(), "{Offset}");
}

TEST(ShapeSettings, TeethIndexedSetters)
{
    TOBLTeeth teeth;
    ChangeCounter changes(teeth);
    teeth.SetBoolean(0, false);
    teeth.SetBoolean(1, false);
    teeth.SetInteger(0, 7);
    teeth.SetInteger(1, 9);
    EXPECT_FALSE(teeth.Offset());
    EXPECT_FALSE(teeth.SetPerCount());
    EXPECT_EQ(teeth.Width(), 7);
    EXPECT_EQ(teeth.Height(), 9);
    EXPECT_EQ(changes.count, 4);
    teeth.SetInteger(0, 7);
    EXPECT_EQ(changes.count, 4);
}

TEST(ShapeSettings, AssignCopiesOnceAndSelfIsNoOp)
{
    TOBLTeeth source;
    source.SetCount(3);
    source.SetDirection(tdUp);
    source.SetInteger(1, 5);
    TOBLTeeth teeth;
    ChangeCounter changes(teeth);
    teeth.Assign(&source);
    EXPECT_EQ(teeth.Count(), 3);
    EXPECT_EQ(teeth.Direction(), tdUp);
    EXPECT_EQ(teeth.Height(), 5);
    EXPECT_EQ(changes.count, 1);
    teeth.Assign(&teeth);
    EXPECT_EQ(changes.count, 1);

    TOBLShadow shadow;
    EXPECT_NO_THROW(shadow.Assign(&shadow));
    TOBLSimpleBevel bevel;
    EXPECT_NO_THROW(bevel.Assign(&bevel));
    EXPECT_THROW(shadow.Assign(&bevel), EConvertError);
}

TEST(ShapeSettings, ShapeKeepsItsOwnObjectsAndPassesChangesOn)
{
    TOBLShape shape;
    ChangeCounter changes(shape);
    TOBLShadow* own = shape.Shadow();
    TOBLShadow given;
    given.SetDepth(20);
    given.SetColor(clNavy);
    shape.SetShadow(&given);
    EXPECT_EQ(shape.Shadow(), own);
    EXPECT_EQ(own->Depth(), 20);
    EXPECT_EQ(own->Color(), clNavy);
    EXPECT_EQ(changes.count, 1);
    shape.Bevel()->SetWidth(4);
    shape.Brush()->SetColor(clRed);
    EXPECT_EQ(changes.count, 3);
    EXPECT_EQ(shape.RoundPercent(), 33);
    EXPECT_EQ(shape.Shape(), stRectangle);
}

TEST(ShapeSettings, ShapeHasNoAssignOfItsOwn)
{
    TOBLShape a, b;
    EXPECT_THROW(a.Assign(&b), EConvertError);
}

} // namespace
