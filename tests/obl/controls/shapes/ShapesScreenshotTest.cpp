// One picture of drawn shapes (shadows, bevels, hatches, pictures, teeth) and of every
// region border painter in every style over its filled region, saved as a PNG beside the
// test executable.
#include "obl/controls/shapes/Oblgrapa.h"
#include "obl/controls/shapes/oblregion.h"
#include "obl/core/app/oblclass.h"
#include "tests/obl/controls/shapes/Paper.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kLeft = 110, kShapeW = 100, kShapeH = 80, kFrameW = 90, kFrameH = 70, kGap = 12;

// Draws into a cell whose top-left corner becomes the canvas origin.
void InCell(Paper& paper, int x, int y, const std::function<void(TCanvas*)>& draw)
{
    POINT old;
    SetViewportOrgEx(paper.DC(), x, y, &old);
    draw(paper.Canvas());
    SetViewportOrgEx(paper.DC(), old.x, old.y, nullptr);
}

void Label(Paper& paper, int y, const char* text)
{
    paper.Canvas()->Brush()->SetStyle(bsClear);
    paper.Canvas()->Font()->SetColor(clBlack);
    paper.Canvas()->TextOut(6, y, text);
}

std::unique_ptr<TBitmap> StripedPicture()
{
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(kShapeW, kShapeH);
    TCanvas* c = picture->Canvas();
    for (int i = 0; i < 10; ++i) {
        c->Brush()->SetColor(static_cast<TColor>(RGB(25 * i, 120, 255 - 20 * i)));
        c->FillRect(Rect(i * 10, 0, i * 10 + 10, kShapeH));
    }
    c->Brush()->SetColor(clYellow);
    c->Ellipse(30, 20, 70, 60);
    return picture;
}

struct ShapeLook {
    TOBLShadowStyle shadow;
    TOBLSimpleBevelStyle bevel;
    TBrushStyle brush;
    bool picture;
};

void DrawShapes(Paper& paper, int top, const ShapeLook& look, TBitmap* picture)
{
    static const TColor faces[] = {clRed, clTeal, clOlive, clPurple, clNavy, clGreen, clMaroon, clBlue, clGray,
                                   clFuchsia, static_cast<TColor>(RGB(230, 140, 20))};
    for (int i = 0; i <= static_cast<int>(stStar); ++i) {
        InCell(paper, kLeft + i * (kShapeW + kGap), top, [&](TCanvas* c) {
            TBrush brush;
            brush.SetColor(faces[i]);
            brush.SetStyle(look.brush);
            TOBLShadow shadow;
            shadow.SetStyle(look.shadow);
            TOBLSimpleBevel bevel;
            bevel.SetWidth(3);
            bevel.SetStyle(look.bevel);
            OBLShapeDraw(Rect(0, 0, kShapeW, kShapeH), c, static_cast<TOBLShapeType>(i), nullptr, nullptr, false,
                         &brush, 33, &bevel, &shadow, look.picture ? picture : nullptr, clFuchsia, clYellow, 0);
        });
    }
}

void DrawTeeth(Paper& paper, int top)
{
    struct Row {
        TOBLDirection direction;
        bool offset;
        TOBLSimpleBevelStyle bevel;
    };
    const Row teeth[] = {{tdRight, true, sbNormal}, {tdDown, true, sbNormal},  {tdLeft, true, sbOffset},
                         {tdUp, true, sbInset},     {tdRight, false, sbNormal}, {tdUp, false, sbOffset}};
    for (int i = 0; i < 6; ++i) {
        InCell(paper, kLeft + i * (kShapeW + kGap), top, [&](TCanvas* c) {
            TOBLTeeth t;
            t.SetDirection(teeth[i].direction);
            t.SetCount(5);
            t.SetInteger(1, 8); // the tooth depth along the top and bottom edges
            t.SetBoolean(0, teeth[i].offset);
            TBrush brush;
            brush.SetColor(static_cast<TColor>(RGB(60, 140, 200)));
            TOBLShadow shadow;
            TOBLSimpleBevel bevel;
            bevel.SetStyle(teeth[i].bevel);
            OBLShapeDraw(Rect(0, 0, kShapeW, kShapeH), c, stRectangle, &t, nullptr, false, &brush, 0, &bevel, &shadow,
                         nullptr, clFuchsia, clWhite, 0);
        });
    }
}

using Painter = std::function<void(TCanvas*, const TRect&, TColor, TColor, TColor, TOBLRegionBorderStyle)>;
struct Framed {
    std::function<HRGN(const TRect&)> region;
    Painter paint;
};

std::vector<Framed> Borders()
{
    auto halfRound = [](const TRect& r) {
        HRGN e = CreateEllipticRgn(r.left, 2 * r.top - r.bottom, r.right, r.bottom);
        HRGN box = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(e, e, box, RGN_AND);
        DeleteObject(box);
        return e;
    };
    return {
        {[](const TRect& r) { return CreateRectRgn(r.left, r.top, r.right, r.bottom); }, OBLFrameRectRgn},
        {[](const TRect& r) { return CreateEllipticRgn(r.left, r.top, r.right, r.bottom); }, OBLFrameEllipticRgn},
        {halfRound, OBLFrameHalfRoundRgn},
        {OBLCreateDiamondRgn, OBLFrameDiamondRgn},
        {OBLCreateStarRgn, OBLFrameStarRgn},
        {OBLCreateOctagonRgn, OBLFrameOctagonRgn},
        {OBLCreateCombRgn, OBLFrameCombRgn},
        {OBLCreateRoundShieldRgn, OBLFrameRoundShieldRgn},
        {OBLCreateSharpShieldRgn, OBLFrameSharpShieldRgn},
        {[](const TRect& r) { return CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, 24, 24); },
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameRoundRectRgn(c, r, l, s, n, st, 24, 24);
         }},
        {[](const TRect& r) { return OBLCreateThinkBubbleRgn(r, 14, 3, epRightBottom); },
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameThinkBubbleRgn(c, r, 14, 3, epRightBottom, l, s, n, st);
         }},
        {[](const TRect& r) { return OBLCreateEllipticThinkBubbleRgn(r, 14, 3, epLeftTop); },
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameEllipticThinkBubbleRgn(c, r, 14, 3, epLeftTop, l, s, n, st);
         }},
        {[](const TRect& r) { return OBLCreateRoundThinkBubbleRgn(r, 14, 2, epTopRight, 16, 16); },
         [](TCanvas* c, const TRect& r, TColor l, TColor s, TColor n, TOBLRegionBorderStyle st) {
             OBLFrameRoundThinkBubbleRgn(c, r, 14, 2, epTopRight, 16, 16, l, s, n, st);
         }},
    };
}

TEST(ShapesScreenshot, DrawnShapesAndRegionBorders)
{
    oblclassInitialization();
    const auto borders = Borders();
    const int shapesBottom = 10 + 4 * (kShapeH + kGap);
    const TOBLRegionBorderStyle styles[] = {rbSingle,        rbRaised,    rbLowered,   rbSingleRaised,
                                            rbSingleLowered, rbRaisedpsb, rbLoweredpsb};
    const char* styleNames[] = {"single", "raised", "lowered", "single raised", "single lowered", "raised psb",
                                "lowered psb"};
    const int width = kLeft + static_cast<int>(borders.size()) * (kFrameW + kGap);
    const int height = shapesBottom + 7 * (kFrameH + kGap) + 10;
    Paper paper(width, height);
    auto picture = StripedPicture();

    const struct {
        const char* name;
        ShapeLook look;
    } rows[] = {
        {"solid, inset", {hssSolid, sbInset, bsSolid, false}},
        {"tracing, offset", {hssTracing, sbOffset, bsDiagCross, false}},
        {"picture", {hssSolid, sbNormal, bsSolid, true}},
    };
    for (int r = 0; r < 3; ++r) {
        const int top = 10 + r * (kShapeH + kGap);
        Label(paper, top + 30, rows[r].name);
        DrawShapes(paper, top, rows[r].look, picture.get());
    }
    Label(paper, 10 + 3 * (kShapeH + kGap) + 30, "teeth");
    DrawTeeth(paper, 10 + 3 * (kShapeH + kGap));

    HBRUSH fill = CreateSolidBrush(RGB(200, 215, 235));
    for (int s = 0; s < 7; ++s) {
        const int top = shapesBottom + s * (kFrameH + kGap);
        Label(paper, top + 25, styleNames[s]);
        for (std::size_t b = 0; b < borders.size(); ++b) {
            InCell(paper, kLeft + static_cast<int>(b) * (kFrameW + kGap), top, [&](TCanvas* c) {
                const TRect r = Rect(0, 0, kFrameW, kFrameH);
                HRGN rgn = borders[b].region(r);
                FillRgn(paper.DC(), rgn, fill);
                DeleteObject(rgn);
                c->Brush()->SetStyle(bsClear);
                c->Pen()->SetWidth(2);
                borders[b].paint(c, r, clWhite, clGray, clBlack, styles[s]);
                c->Pen()->SetWidth(1);
            });
        }
    }
    DeleteObject(fill);
    oblclassFinalization();
    ASSERT_TRUE(SaveSurfacePng(paper.Pixels(), ScreenshotPath("shapes-drawn.png")));
    // The first drawn shape, a red ellipse, and the first border, a black single frame.
    EXPECT_EQ(paper.At(kLeft + 47, 10 + 37), clRed);
    EXPECT_EQ(paper.At(kLeft + 45, shapesBottom), clBlack);
}

} // namespace
