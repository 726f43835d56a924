#include "obl/controls/shapes/Oblgrapa.h"
#include "obl/core/app/oblclass.h"
#include "tests/obl/controls/shapes/Paper.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every shape is drawn in this 100 x 80 rectangle; probes are relative to its corner.
const TRect kBox = Rect(10, 10, 110, 90);
constexpr TColor kFace = clRed, kShadow = clBlue, kEdge = clBlack, kLight = clLime, kDark = clFuchsia;

struct Probe {
    int x, y;
    TColor want;
};

enum class BevelKind { None, Normal, Inset, Offset };

struct Look {
    bool shadow = false;
    BevelKind bevel = BevelKind::None;
};

void Draw(Paper& paper, const TRect& R, TOBLShapeType type, Look look, TOBLTeeth* teeth = nullptr,
          TOBLPointList* list = nullptr, TBitmap* picture = nullptr)
{
    TBrush brush;
    brush.SetColor(kFace);
    TOBLShadow shadow;
    shadow.SetColor(kShadow);
    TOBLSimpleBevel bevel;
    bevel.SetWidth(4);
    bevel.SetColor(0, kLight);
    bevel.SetColor(1, kDark);
    bevel.SetColor(2, kEdge);
    bevel.SetStyle(look.bevel == BevelKind::Inset ? sbInset : look.bevel == BevelKind::Offset ? sbOffset : sbNormal);
    OBLShapeDraw(R, paper.Canvas(), type, teeth, list, false, &brush, 33,
                 look.bevel == BevelKind::None ? nullptr : &bevel, look.shadow ? &shadow : nullptr, picture, clFuchsia,
                 clYellow, 0);
}

TEST(ShapeDraw, EveryShapeWithAndWithoutShadowAndBevel)
{
    struct Case {
        const char* name;
        TOBLShapeType type;
        Look look;
        std::vector<Probe> probes;
    };
    const TColor W = clWhite;
    const Look plain{}, shadowed{true, BevelKind::None}, normal{false, BevelKind::Normal};
    const Look inset{false, BevelKind::Inset}, offset{false, BevelKind::Offset};
    const Case cases[] = {
        {"ellipse", stEllipse, plain, {{50, 40, kFace}, {2, 2, W}, {97, 40, kFace}, {97, 76, W}}},
        {"ellipse shadow", stEllipse, shadowed, {{47, 37, kFace}, {53, 78, kShadow}, {97, 76, W}}},
        {"rectangle", stRectangle, plain, {{50, 40, kFace}, {1, 1, kFace}, {98, 78, kFace}}},
        {"rectangle shadow", stRectangle, shadowed, {{2, 2, kFace}, {96, 76, kShadow}, {2, 78, W}, {98, 2, W}}},
        {"round rect", stRoundRect, plain, {{50, 40, kFace}, {1, 1, W}, {20, 2, kFace}, {98, 78, W}}},
        {"round rect shadow", stRoundRect, shadowed, {{47, 37, kFace}, {53, 78, kShadow}, {7, 7, kFace}}},
        {"up", stDirectUp, plain, {{50, 10, kFace}, {10, 10, W}, {10, 76, kFace}, {90, 20, W}}},
        {"up shadow", stDirectUp, shadowed, {{47, 40, kFace}, {53, 77, kShadow}}},
        {"right", stDirectRight, plain, {{10, 40, kFace}, {90, 10, W}, {95, 40, kFace}}},
        {"right shadow", stDirectRight, shadowed, {{10, 37, kFace}, {10, 77, kShadow}}},
        {"down", stDirectDown, plain, {{50, 5, kFace}, {10, 75, W}, {50, 75, kFace}}},
        {"down shadow", stDirectDown, shadowed, {{47, 10, kFace}, {53, 75, kShadow}}},
        {"left", stDirectLeft, plain, {{90, 40, kFace}, {10, 10, W}, {5, 40, kFace}}},
        {"left shadow", stDirectLeft, shadowed, {{80, 37, kFace}, {97, 77, kShadow}}},
        {"diamond", stDiamond, plain, {{50, 40, kFace}, {10, 10, W}, {90, 70, W}, {50, 5, kFace}}},
        {"diamond shadow", stDiamond, shadowed, {{47, 37, kFace}, {53, 77, kShadow}}},
        {"comb", stComb, plain, {{5, 40, kFace}, {5, 5, W}, {50, 40, kFace}, {95, 75, W}}},
        {"comb shadow", stComb, shadowed, {{47, 37, kFace}, {53, 78, kShadow}}},
        {"octagon", stOctagon, plain, {{2, 2, W}, {50, 40, kFace}, {50, 2, kFace}, {2, 40, kFace}}},
        {"octagon shadow", stOctagon, shadowed, {{47, 37, kFace}, {53, 77, kShadow}}},
        {"star", stStar, plain, {{50, 40, kFace}, {50, 10, kFace}, {35, 10, W}, {50, 70, W}, {10, 31, kFace}}},
        {"star shadow", stStar, shadowed, {{47, 37, kFace}, {84, 78, kShadow}}},
        // The edge in the bevel colour, or the two bevel colours.
        {"rectangle normal bevel", stRectangle, normal, {{1, 40, kEdge}, {98, 40, kEdge}, {50, 40, kFace}}},
        {"rectangle inset", stRectangle, inset, {{1, 40, kDark}, {50, 1, kDark}, {98, 40, kLight}, {50, 78, kLight}}},
        {"rectangle offset", stRectangle, offset, {{1, 40, kLight}, {98, 40, kDark}}},
        {"ellipse inset", stEllipse, inset, {{1, 40, kDark}, {50, 1, kDark}, {98, 40, kLight}, {50, 78, kLight}}},
        {"round rect inset", stRoundRect, inset, {{1, 40, kDark}, {50, 1, kDark}, {98, 40, kLight}, {50, 78, kLight}}},
        {"diamond offset", stDiamond, offset, {{26, 20, kLight}, {74, 60, kDark}, {50, 40, kFace}}},
        {"octagon inset shadow", stOctagon, {true, BevelKind::Inset},
         {{1, 37, kDark}, {92, 37, kLight}, {53, 77, kShadow}}},
    };
    for (const auto& c : cases) {
        Paper paper(130, 110);
        Draw(paper, kBox, c.type, c.look);
        for (const auto& p : c.probes)
            EXPECT_EQ(paper.At(kBox.left + p.x, kBox.top + p.y), p.want) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST(ShapeDraw, RoundRectangleLooksTheSameWherever)
{
    // The corner size is a size: moving the shape must not change it.
    const TRect there = Rect(160, 50, 260, 130);
    Paper paper(280, 150);
    for (const TRect& r : {kBox, there})
        Draw(paper, r, stRoundRect, {true, BevelKind::Inset});
    int differences = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            differences += paper.At(kBox.left + x, kBox.top + y) != paper.At(there.left + x, there.top + y);
    EXPECT_EQ(differences, 0);
    EXPECT_EQ(paper.At(kBox.left + 1, kBox.top + 1), clWhite) << "the corner is cut";
}

TEST(ShapeDraw, TeethCutTheEdgeAndNotifyNobody)
{
    TOBLTeeth teeth; // along the right edge, the height set from the count
    teeth.SetCount(4);
    ChangeCounter changes(teeth);
    Paper paper(130, 110);
    Draw(paper, kBox, stEllipse, {}, &teeth);
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(teeth.Height(), 10) << "80 pixels in 8 steps";
    // The ellipse is ignored: a rectangle whose right edge is notched 10 deep every 20.
    EXPECT_EQ(paper.At(kBox.left + 1, kBox.top + 1), kFace);
    EXPECT_EQ(paper.At(kBox.left + 50, kBox.top + 10), kFace);
    EXPECT_EQ(paper.At(kBox.left + 97, kBox.top + 10), clWhite);
    EXPECT_EQ(paper.At(kBox.left + 97, kBox.top + 20), kFace);
    EXPECT_EQ(paper.At(kBox.left + 97, kBox.top + 30), clWhite);
}

TEST(ShapeDraw, NoSettingsObjectNotifiesWhileDrawing)
{
    TOBLTeeth teeth;
    teeth.SetDirection(tdDown);
    TOBLSimpleBevel bevel;
    bevel.SetStyle(sbInset);
    TOBLShadow shadow;
    ChangeCounter teethChanges(teeth), bevelChanges(bevel), shadowChanges(shadow);
    Paper paper(130, 110);
    for (TOBLTeeth* t : {static_cast<TOBLTeeth*>(nullptr), &teeth})
        OBLShapeDraw(kBox, paper.Canvas(), stStar, t, nullptr, true, nullptr, 50, &bevel, &shadow, nullptr, clFuchsia,
                     clWhite, 0);
    EXPECT_EQ(teeth.Width(), 4) << "the square box less the shadow, 74 pixels, in 20 steps";
    EXPECT_EQ(teethChanges.count + bevelChanges.count + shadowChanges.count, 0);
}

TEST(ShapeDraw, TeethOfNoWidthOrCountDrawAPlainRectangle)
{
    TOBLTeeth noCount;
    noCount.SetCount(0);
    TOBLTeeth noHeight;
    noHeight.SetBoolean(1, false); // by size; the right edge uses the height, 0
    for (TOBLTeeth* teeth : {&noCount, &noHeight}) {
        Paper paper(130, 110);
        Draw(paper, kBox, stRectangle, {}, teeth);
        EXPECT_EQ(paper.At(kBox.left + 50, kBox.top + 40), kFace);
        EXPECT_EQ(paper.At(kBox.left + 97, kBox.top + 10), kFace);
        EXPECT_EQ(paper.At(kBox.left + 50, kBox.top + 82), clWhite);
    }
}

TEST(ShapeDraw, ToothedBevelLightsTheEdgesFacingUpOrLeft)
{
    TOBLTeeth teeth;
    teeth.SetCount(4);
    Paper paper(130, 110);
    Draw(paper, kBox, stRectangle, {false, BevelKind::Offset}, &teeth);
    // A toothed outline is one pixel wide: offset lights the top and left edges.
    EXPECT_EQ(paper.At(kBox.left, kBox.top + 40), kLight);
    EXPECT_EQ(paper.At(kBox.left + 40, kBox.top), kLight);
    EXPECT_EQ(paper.At(kBox.left + 40, kBox.top + 79), kDark);
    EXPECT_EQ(paper.At(kBox.left + 50, kBox.top + 40), kFace);
}

// Counts the notifications of a point list.
class ListWatcher : public TObject {
public:
    explicit ListWatcher(TOBLPointList& list) { list.SetOnChange(TNotifyEvent(this, &ListWatcher::Changed)); }
    int count = 0;

private:
    void Changed(TObject*) { ++count; }
};

std::vector<POINT> PointsOf(TOBLPointList& list)
{
    std::vector<POINT> points;
    for (int i = 0; i < list.Count(); ++i)
        points.push_back(OBLListPoint(&list, i));
    return points;
}

TEST(ShapeDraw, GivenListIsDrawnAndLeftAsItWas)
{
    TOBLShadow shadow;
    TOBLPointList list;
    OBLShapeCalc(kBox, stDiamond, nullptr, false, nullptr, 33, nullptr, &shadow, &list);
    const auto before = PointsOf(list);
    ListWatcher watcher(list);
    Paper paper(130, 110);
    Draw(paper, kBox, stDiamond, {true, BevelKind::None}, nullptr, &list);
    EXPECT_EQ(watcher.count, 0);
    const auto after = PointsOf(list);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].x, before[i].x) << i;
        EXPECT_EQ(after[i].y, before[i].y) << i;
    }
    EXPECT_EQ(paper.At(kBox.left + 47, kBox.top + 37), kFace);
}

TEST(ShapeDraw, ListOfTheWrongCountIsRefused)
{
    struct Case {
        const char* name;
        TOBLShapeType type;
        bool teeth;
        int points;
    };
    const Case cases[] = {
        {"rectangle of three", stRectangle, false, 3},
        {"star of one outline only", stStar, false, 10},
        {"octagon of twenty", stOctagon, false, 20},
        {"empty diamond", stDiamond, false, 0},
        {"teeth of five", stRectangle, true, 5},
    };
    for (const auto& c : cases) {
        TOBLPointList list;
        for (int i = 0; i < c.points; ++i)
            list.AddPoint(POINT{10 + i * 7 % 90, 5 + i * 13 % 70});
        TOBLTeeth teeth;
        Paper paper(130, 110);
        Draw(paper, kBox, c.type, {true, BevelKind::Inset}, c.teeth ? &teeth : nullptr, &list);
        int painted = 0;
        for (int y = 0; y < 110; ++y)
            for (int x = 0; x < 130; ++x)
                painted += paper.At(x, y) != clWhite;
        EXPECT_EQ(painted, 0) << c.name;
        EXPECT_EQ(list.Count(), c.points) << c.name;
    }
}

TEST(ShapeDraw, PictureShowsOnlyInsideTheShape)
{
    TBitmap picture;
    picture.SetSize(120, 100); // larger than the shape: nothing may reach past it
    picture.Canvas()->Brush()->SetColor(clGreen);
    picture.Canvas()->FillRect(Rect(0, 0, 120, 100));
    Paper paper(150, 130);
    Draw(paper, kBox, stEllipse, {false, BevelKind::Normal}, nullptr, nullptr, &picture);
    EXPECT_EQ(paper.At(kBox.left + 50, kBox.top + 40), clGreen);
    EXPECT_EQ(paper.At(kBox.left + 2, kBox.top + 2), clWhite);
    EXPECT_EQ(paper.At(kBox.left + 1, kBox.top + 40), kEdge) << "the bevel pen frames the picture";
    EXPECT_EQ(paper.At(kBox.left + 105, kBox.top + 85), clWhite);
    EXPECT_EQ(picture.Canvas()->Pixels(50, 40), clGreen) << "the caller's picture is not changed";
}

TEST(ShapeDraw, HatchedBrushShowsTheBackColourAndTheCanvasIsGivenBack)
{
    Paper paper(130, 110);
    TCanvas* canvas = paper.Canvas();
    canvas->Pen()->SetColor(clNavy);
    canvas->Pen()->SetWidth(3);
    canvas->Brush()->SetColor(clTeal);
    TBrush hatch;
    hatch.SetColor(clRed);
    hatch.SetStyle(bsCross);
    TOBLShadow shadow;
    OBLShapeDraw(kBox, canvas, stRectangle, nullptr, nullptr, false, &hatch, 0, nullptr, &shadow, nullptr, clFuchsia,
                 clYellow, 0);
    int red = 0, yellow = 0;
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 60; ++x) {
            red += paper.At(x, y) == clRed;
            yellow += paper.At(x, y) == clYellow;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(yellow, red);
    EXPECT_EQ(canvas->Pen()->Color(), clNavy);
    EXPECT_EQ(canvas->Pen()->Width(), 3);
    EXPECT_EQ(canvas->Pen()->Mode(), pmCopy);
    EXPECT_EQ(canvas->Brush()->Color(), clTeal);
    EXPECT_EQ(canvas->Brush()->Style(), bsSolid);
    // The back colour does not stay in the device context for what is drawn next.
    EXPECT_NE(GetBkColor(paper.DC()) & 0xFFFFFF, ColorToRGB(clYellow));
    canvas->FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(paper.At(2, 2), clTeal);
}

TEST(ShapeDraw, NothingForAnEmptyRectangleOrNoCanvas)
{
    Paper paper(40, 40);
    OBLShapeDraw(Rect(10, 10, 10, 30), paper.Canvas(), stRectangle, nullptr, nullptr, false, nullptr, 0, nullptr,
                 nullptr, nullptr, clFuchsia, clWhite, 0);
    EXPECT_EQ(paper.At(10, 20), clWhite);
    EXPECT_NO_THROW(OBLShapeDraw(kBox, nullptr, stRectangle, nullptr, nullptr, false, nullptr, 0, nullptr, nullptr,
                                 nullptr, clFuchsia, clWhite, 0));
}

} // namespace

namespace {

TEST(ShapeDraw, TracingShadowIsACheckerboardOverTheBackground)
{
    oblclassInitialization();
    Paper paper(130, 110);
    TBrush brush;
    brush.SetColor(kFace);
    TOBLShadow shadow;
    shadow.SetStyle(hssTracing);
    shadow.SetColor(kShadow);
    OBLShapeDraw(kBox, paper.Canvas(), stRectangle, nullptr, nullptr, false, &brush, 0, nullptr, &shadow, nullptr,
                 clFuchsia, clWhite, 0);
    oblclassFinalization();
    // Below the shape only the shadow lies: every other pixel in its colour.
    const int y = kBox.top + 77;
    for (int x = kBox.left + 20; x < kBox.left + 30; ++x)
        EXPECT_EQ(paper.At(x, y) == kShadow, paper.At(x + 1, y) == clWhite) << x;
    EXPECT_NE(paper.At(kBox.left + 20, y), paper.At(kBox.left + 21, y));
    EXPECT_EQ(paper.At(kBox.left + 40, kBox.top + 40), kFace);
}

} // namespace
