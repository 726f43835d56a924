#include "obl/controls/effects/OBLGradient.h"
#include "obl/core/draw/Oblutils.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

std::vector<COLORREF> Colors(TList* list)
{
    std::vector<COLORREF> result;
    for (int i = 0; i < list->Count(); ++i)
        result.push_back(static_cast<COLORREF>(OBLGradientColorAt(list, i)));
    return result;
}

void SetUserColors(TOBLGradient& g, std::initializer_list<COLORREF> colors)
{
    TList list;
    for (COLORREF c : colors)
        list.Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(c)));
    g.SetColors(&list);
}

TEST(GradientSettings, DefaultsAreAVerticalBlueToBlackOfSixteenStepsWithoutPalette)
{
    TOBLGradient g;
    EXPECT_EQ(g.Style(), gstVertical);
    EXPECT_EQ(g.Color(), clBlue);
    EXPECT_EQ(g.EndColor(), clBlack);
    EXPECT_EQ(g.ColorCount(), 16);
    EXPECT_TRUE(g.TwoColors());
    EXPECT_EQ(g.GetPalette(), nullptr);
    std::vector<COLORREF> steps = Colors(g.ColorList());
    ASSERT_EQ(steps.size(), 16u);
    EXPECT_EQ(steps.front(), RGB(0, 0, 255));
    EXPECT_EQ(steps[8], RGB(0, 0, 119));  // 255 + MulDiv(8, -255, 15)
    EXPECT_EQ(steps.back(), RGB(0, 0, 0));
    EXPECT_EQ(g.GetSetStr(), "vertical, Col: 16, 2 col mode");
}

TEST(GradientSettings, SummaryNamesStyleCountAndMode)
{
    TOBLGradient g;
    g.SetStyle(gstTopRightDiagonal);
    g.SetColorCount(7);
    g.SetTwoColors(false);
    EXPECT_EQ(g.GetSetStr(), "top right diag, Col: 7, mult. col mode");
    g.SetStyle(gstElliptic);
    EXPECT_EQ(g.GetSetStr(), "elliptic, Col: 7, mult. col mode");
}

struct ListCase {
    const char* name;
    std::initializer_list<COLORREF> colors;
    int count;
    std::vector<COLORREF> expected;
};

TEST(GradientSettings, MultiColourListsJoinSegmentsOfCountDivColours)
{
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    const ListCase cases[] = {
        // 16 div 3 = 5 steps a segment (MulDiv rounds halves away from zero); the second
        // segment leaves out the joint colour.
        {"three colours", {red, green, blue}, 16,
         {red, RGB(191, 64, 0), RGB(127, 128, 0), RGB(64, 191, 0), green, RGB(0, 191, 64), RGB(0, 127, 128),
          RGB(0, 64, 191), blue}},
        {"one colour", {red}, 16, {}},
        // One step a segment: the first colour fills everything.
        {"one step", {red, green}, 2, {red}},
        // More colours than steps still paints with one step a segment.
        {"more colours than steps", {red, green, blue}, 2, {red}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLGradient g;
        g.SetColorCount(static_cast<TOBLColorCount>(c.count));
        g.SetTwoColors(false);
        SetUserColors(g, c.colors);
        EXPECT_EQ(Colors(g.ColorList()), c.expected);
    }
}

TEST(GradientSettings, OneStepFillsTheWholeAreaInTheFirstColour)
{
    TOBLGradient g;
    g.SetColorCount(2);
    g.SetTwoColors(false);
    SetUserColors(g, {RGB(200, 10, 10), RGB(10, 10, 200)});
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(6, 6);
    g.PaintGradient(bitmap->Canvas(), Rect(0, 0, 6, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(ColorToRGB(bitmap->Canvas()->Pixels(x, y)), RGB(200, 10, 10)) << x << "," << y;
}

TEST(GradientSettings, PaintsItsPreparedBands)
{
    TOBLGradient g;
    g.SetColor(static_cast<TColor>(RGB(255, 0, 0)));
    g.SetEndColor(static_cast<TColor>(RGB(0, 0, 255)));
    g.SetColorCount(2);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(3, 4);
    g.PaintGradient(bitmap->Canvas(), Rect(0, 0, 3, 4));
    EXPECT_EQ(ColorToRGB(bitmap->Canvas()->Pixels(1, 1)), RGB(255, 0, 0));
    EXPECT_EQ(ColorToRGB(bitmap->Canvas()->Pixels(1, 2)), RGB(0, 0, 255));
}

TEST(GradientSettings, SettersNotifyOnlyOnARealChange)
{
    const std::vector<std::function<void(TOBLGradient&)>> setters = {
        [](TOBLGradient& g) { g.SetColor(clRed); },       [](TOBLGradient& g) { g.SetEndColor(clWhite); },
        [](TOBLGradient& g) { g.SetColorCount(30); },     [](TOBLGradient& g) { g.SetStyle(gstSquare); },
        [](TOBLGradient& g) { g.SetPaletteRealize(true); }, [](TOBLGradient& g) { g.SetTwoColors(false); },
    };
    for (std::size_t i = 0; i < setters.size(); ++i) {
        SCOPED_TRACE(i);
        TOBLGradient g;
        ChangeCounter counter(g);
        setters[i](g);
        EXPECT_EQ(counter.count, 1);
        setters[i](g);
        EXPECT_EQ(counter.count, 1);
    }
    TOBLGradient g;
    g.SetColorCount(1);
    EXPECT_EQ(g.ColorCount(), 2) << "held at the range's low end";
    g.SetColorCount(250);
    EXPECT_EQ(g.ColorCount(), 236) << "held at the range's high end";
}

TEST(GradientSettings, AssignCopiesEverythingWithOneChange)
{
    TOBLGradient source;
    source.SetStyle(gstBottomLeft);
    source.SetColor(clLime);
    source.SetEndColor(clYellow);
    source.SetColorCount(9);
    source.SetTwoColors(false);
    SetUserColors(source, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
    TOBLGradient target;
    ChangeCounter counter(target);
    target.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(target.Style(), gstBottomLeft);
    EXPECT_EQ(target.Color(), clLime);
    EXPECT_EQ(target.EndColor(), clYellow);
    EXPECT_EQ(target.ColorCount(), 9);
    EXPECT_FALSE(target.TwoColors());
    EXPECT_EQ(Colors(target.Colors()), Colors(source.Colors()));
    EXPECT_EQ(Colors(target.ColorList()), Colors(source.ColorList()));
}

TEST(GradientSettings, PalettesAreDeletedOnEveryChangeAndWithTheGradient)
{
    int before = GdiLiveObjectCount();
    {
        TOBLGradient g;
        g.SetPaletteRealize(true);
        HPALETTE first = g.GetPalette();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(GdiLiveObjectCount(), before + 1);
        g.SetColor(clRed);
        g.SetColorCount(40);
        EXPECT_NE(g.GetPalette(), nullptr);
        EXPECT_EQ(GdiLiveObjectCount(), before + 1) << "the old palettes are gone";
        g.SetPaletteRealize(false);
        EXPECT_EQ(g.GetPalette(), nullptr);
        EXPECT_EQ(GdiLiveObjectCount(), before);
        g.SetPaletteRealize(true);
    }
    EXPECT_EQ(GdiLiveObjectCount(), before);
}

} // namespace
