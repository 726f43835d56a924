#include "obl/controls/shapes/Oblgrapa.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<POINT> Points(TOBLPointList& list)
{
    std::vector<POINT> result;
    for (int i = 0; i < list.Count(); ++i)
        result.push_back(OBLListPoint(&list, i));
    return result;
}

void ExpectPoints(const std::vector<POINT>& got, const std::vector<POINT>& want, const char* name)
{
    ASSERT_EQ(got.size(), want.size()) << name;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << name << " point " << i;
        EXPECT_EQ(got[i].y, want[i].y) << name << " point " << i;
    }
}

TEST(ShapeGeometry, LightColours)
{
    TColor light = clWhite, dark = clWhite;
    OBLGetLightColors(lcRed, light, dark);
    EXPECT_EQ(light, clRed);
    EXPECT_EQ(dark, clMaroon);
    OBLGetLightColors(static_cast<TOBLLightColor>(42), light, dark);
    EXPECT_EQ(light, clRed);
    EXPECT_EQ(dark, clMaroon);
}

TEST(ShapeGeometry, OffsetArrayIsBoundedByCountAndLength)
{
    std::vector<POINT> points = {{1, 1}, {2, 2}};
    OBLOffsetPointArray(points, 10, 5, -1); // a count past the end stops at the array
    ExpectPoints(points, {{6, 0}, {7, 1}}, "past the end");
    OBLOffsetPointArray(points, 1, 1, 1);
    ExpectPoints(points, {{7, 1}, {7, 1}}, "first only");
    OBLOffsetPointArray(points, -3, 1, 1);
    ExpectPoints(points, {{7, 1}, {7, 1}}, "negative count");
}

TEST(ShapeGeometry, OffsetListKeepsNegativeX)
{
    TOBLPointList list;
    list.AddPoint(POINT{3, 4});
    OBLOffsetPointList(&list, -10, 2);
    ExpectPoints(Points(list), {{-7, 6}}, "negative x");
    OBLOffsetPointList(&list, 10, -2);
    ExpectPoints(Points(list), {{3, 4}}, "back");
    EXPECT_NO_THROW(OBLOffsetPointList(nullptr, 1, 1));
}

TEST(ShapeGeometry, OutlinesAndInnerPoints)
{
    struct Case {
        const char* name;
        TOBLShapeType type;
        int bevelWidth;
        int percent;
        std::vector<POINT> want;
    };
    // 100 x 60 box, no shadow; bevel width 3 gives q = 1, r = 1.
    const Case cases[] = {
        {"rectangle", stRectangle, 3, 0, {{0, 0}, {100, 60}, {1, 1}, {99, 59}}},
        {"round rect", stRoundRect, 3, 50, {{0, 0}, {100, 60}, {30, 30}, {1, 1}, {100, 60}, {30, 30}}},
        {"up arrow", stDirectUp, 3, 0, {{50, 0}, {100, 60}, {0, 60}, {50, 1}, {99, 59}, {2, 60}}},
        {"diamond", stDiamond, 3, 0, {{50, 0}, {100, 30}, {50, 60}, {0, 30}, {50, 1}, {99, 30}, {50, 59}, {1, 30}}},
        {"comb", stComb, 1, 0, {{50, 0}, {100, 12}, {100, 48}, {50, 60}, {0, 48}, {0, 12},
                                {50, 0}, {100, 12}, {100, 48}, {50, 60}, {0, 48}, {0, 12}}},
        {"octagon", stOctagon, 3, 0, {{29, 0}, {70, 0}, {100, 18}, {100, 43}, {70, 60}, {29, 60}, {0, 43}, {0, 18},
                                      {30, 1}, {71, 1}, {99, 19}, {99, 44}, {71, 59}, {30, 59}, {1, 44}, {1, 19}}},
    };
    for (const auto& c : cases) {
        TOBLSimpleBevel bevel;
        bevel.SetWidth(c.bevelWidth);
        TOBLPointList list;
        list.AddPoint(POINT{9, 9}); // cleared first
        OBLShapeCalc(Rect(0, 0, 100, 60), c.type, nullptr, false, nullptr, static_cast<std::uint8_t>(c.percent),
                     &bevel, nullptr, &list);
        ExpectPoints(Points(list), c.want, c.name);
    }
}

TEST(ShapeGeometry, SquareBoxAndShadowDepth)
{
    TOBLPointList list;
    OBLShapeCalc(Rect(0, 0, 100, 60), stRectangle, nullptr, true, nullptr, 0, nullptr, nullptr, &list);
    ExpectPoints(Points(list), {{20, 0}, {80, 60}, {20, 0}, {80, 60}}, "square");
    TOBLShadow shadow; // depth 6, solid
    OBLShapeCalc(Rect(10, 10, 110, 70), stRectangle, nullptr, false, nullptr, 0, nullptr, &shadow, &list);
    ExpectPoints(Points(list), {{6, 6}, {100, 60}, {6, 6}, {100, 60}}, "shadow");
    shadow.SetStyle(hssNone);
    OBLShapeCalc(Rect(0, 0, 100, 60), stRectangle, nullptr, false, nullptr, 0, nullptr, &shadow, &list);
    ExpectPoints(Points(list), {{0, 0}, {100, 60}, {0, 0}, {100, 60}}, "no shadow style");
}

TEST(ShapeGeometry, TeethPerCountSetWidthWithoutNotifying)
{
    TOBLTeeth teeth;
    teeth.SetDirection(tdUp);
    teeth.SetInteger(0, 3);
    teeth.SetInteger(1, 5);
    ChangeCounter changes(teeth);
    TOBLPointList list;
    OBLShapeCalc(Rect(0, 0, 200, 50), stRectangle, &teeth, false, nullptr, 0, nullptr, nullptr, &list);
    EXPECT_EQ(teeth.Width(), 10);
    EXPECT_EQ(changes.count, 0);
    // Four frame points, 21 steps (i = 0 .. 20) and the closing point.
    ASSERT_EQ(list.Count(), 4 + 21 + 1);
    auto p = Points(list);
    ExpectPoints({p[0], p[1], p[2], p[3]}, {{199, 0}, {199, 49}, {0, 49}, {0, 0}}, "frame");
    ExpectPoints({p[4], p[5], p[6], p[24], p[25]}, {{0, 0}, {10, 5}, {20, 0}, {200, 0}, {200, 0}}, "steps");
}

TEST(ShapeGeometry, TeethOfSizeOrCountZeroGiveNoTeeth)
{
    TOBLTeeth perCount;
    perCount.SetCount(0);
    TOBLTeeth bySize;
    bySize.SetBoolean(1, false);
    bySize.SetInteger(1, 0); // tdRight uses the height
    for (TOBLTeeth* teeth : {&perCount, &bySize}) {
        TOBLPointList list;
        OBLShapeCalc(Rect(0, 0, 100, 60), stRectangle, teeth, false, nullptr, 0, nullptr, nullptr, &list);
        EXPECT_EQ(list.Count(), 4 + 1 + 1);
    }
}

} // namespace
