// The painting of unit Oblgrapa: OBLShapeDraw and its passes.
#include "obl/controls/shapes/Oblgrapa.h"
#include "obl/controls/shapes/ShapeOutlines.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/draw/Oblutils.h"

#include <algorithm>
#include <memory>

namespace {

using shapeoutline::Half;
using shapeoutline::Runs;

// Outline points of each shape type; the list holds as many inner points after them.
int OutlineCount(TOBLShapeType Type)
{
    switch (Type) {
    case stEllipse:
    case stRectangle: return 2;
    case stDiamond: return 4;
    case stComb: return 6;
    case stOctagon: return 8;
    case stStar: return 10;
    default: return 3; // the rounded rectangle (two corners and the corner size), the arrows
    }
}

// A toothed outline: four frame points, at least one step and the closing point.
constexpr std::size_t MinTeethPoints = 6;

// The points of a shape as drawn: the outline, then the inner (bevel-inset) points; a
// toothed rectangle has its outline only. The rounded rectangle's corner size is kept apart
// from the points, so moving the shape never moves it.
struct Figure {
    TOBLShapeType type;
    bool teeth;
    int count;
    int corner;
    std::vector<POINT> points;

    bool Fits() const
    {
        return teeth ? points.size() >= MinTeethPoints : points.size() == static_cast<std::size_t>(2 * count);
    }
    const POINT* Outline() const { return points.data(); }
    const POINT* Inner() const { return teeth ? points.data() : points.data() + count; }
    void Move(int dx, int dy)
    {
        for (auto& p : points) {
            p.x += dx;
            p.y += dy;
        }
    }
};

std::vector<POINT> ReadPoints(TOBLPointList* List)
{
    std::vector<POINT> points;
    points.reserve(static_cast<std::size_t>(List->Count()));
    for (int i = 0; i < List->Count(); ++i)
        points.push_back(OBLListPoint(List, i));
    return points;
}

// The outline or the inner shape, with the canvas pen and brush.
void DrawShape(TCanvas* Canvas, const Figure& F, const POINT* p)
{
    if (F.teeth) {
        Canvas->Polygon(F.points.data(), static_cast<int>(F.points.size()));
        return;
    }
    switch (F.type) {
    case stEllipse: Canvas->Ellipse(p[0].x, p[0].y, p[1].x, p[1].y); break;
    case stRectangle: Canvas->Rectangle(p[0].x, p[0].y, p[1].x, p[1].y); break;
    case stRoundRect: Canvas->RoundRect(p[0].x, p[0].y, p[1].x, p[1].y, F.corner, F.corner); break;
    default: Canvas->Polygon(p, F.count); break;
    }
}

// The polylines of each polygon's halves over its inner points.
const Runs& PolygonRuns(TOBLShapeType Type, Half Which)
{
    struct Halves {
        Runs upper, lower;
    };
    static const Halves up{{{0, 2}}, {{2, 1, 0}}}, side{{{1, 0, 2}}, {{2, 1}}}, left{{{0, 1}}, {{1, 2, 0}}},
        diamond{{{1, 0, 3}}, {{3, 2, 1}}}, comb{{{1, 0, 5, 4}}, {{4, 3, 2, 1}}},
        octagon{{{2, 1, 0, 7, 6}}, {{6, 5, 4, 3, 2}}};
    const Halves* h = &up;
    switch (Type) {
    case stStar: return shapeoutline::StarRuns(Which);
    case stDirectRight:
    case stDirectDown: h = &side; break;
    case stDirectLeft: h = &left; break;
    case stDiamond: h = &diamond; break;
    case stComb: h = &comb; break;
    case stOctagon: h = &octagon; break;
    default: break;
    }
    return Which == Half::Upper ? h->upper : h->lower;
}

// The edges of a toothed outline facing up or left (the upper half), or the others.
void TeethHalf(TCanvas* Canvas, const std::vector<POINT>& P, Half Which)
{
    const std::size_t n = P.size();
    long long area = 0; // twice the signed area: its sign tells which side is outside
    for (std::size_t i = 0; i < n; ++i) {
        const POINT &a = P[i], &b = P[(i + 1) % n];
        area += static_cast<long long>(a.x) * b.y - static_cast<long long>(b.x) * a.y;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const POINT &a = P[i], &b = P[(i + 1) % n];
        const long long dx = b.x - a.x, dy = b.y - a.y;
        const long long outX = area > 0 ? dy : -dy, outY = area > 0 ? -dx : dx;
        if ((outX + outY < 0) == (Which == Half::Upper)) {
            Canvas->MoveTo(a.x, a.y);
            Canvas->LineTo(b.x, b.y);
        }
    }
}

void BevelHalf(TCanvas* Canvas, const Figure& F, Half Which)
{
    if (F.teeth) {
        TeethHalf(Canvas, F.points, Which);
        return;
    }
    const POINT* p = F.Inner();
    switch (F.type) {
    case stEllipse: shapeoutline::EllipseHalf(Canvas, Rect(p[0].x, p[0].y, p[1].x, p[1].y), Which); break;
    case stRoundRect:
        shapeoutline::RoundRectHalf(Canvas, Rect(p[0].x, p[0].y, p[1].x, p[1].y), F.corner, F.corner, Which);
        break;
    case stRectangle: {
        // Where Rectangle draws the edges: the right and bottom ones inside the box.
        const POINT corners[] = {
            {p[1].x - 1, p[0].y}, {p[0].x, p[0].y}, {p[0].x, p[1].y - 1}, {p[1].x - 1, p[1].y - 1}};
        static const Runs upper = {{0, 1, 2}}, lower = {{2, 3, 0}};
        shapeoutline::DrawRuns(Canvas, corners, Which == Half::Upper ? upper : lower);
        break;
    }
    default: shapeoutline::DrawRuns(Canvas, p, PolygonRuns(F.type, Which)); break;
    }
}

void DrawShadow(TCanvas* Canvas, const Figure& F, const TOBLShadow& Shadow)
{
    Canvas->Pen()->SetStyle(psClear);
    TBrush* brush = Canvas->Brush();
    TBitmap* checker = Shadow.Style() == hssTracing && OBLApplication
                           ? OBLApplication->GetBrushBitmap(Shadow.Color())
                           : nullptr;
    if (checker) {
        // Every other pixel takes the shadow colour over what lies below.
        brush->SetBitmap(checker);
        Canvas->Pen()->SetMode(pmMask);
    } else {
        brush->SetBitmap(nullptr);
        brush->SetStyle(bsSolid);
        brush->SetColor(Shadow.Color());
    }
    DrawShape(Canvas, F, F.Outline());
}

// The picture inside the shape: a white inner shape on the mask colour selects its pixels.
void DrawPicture(TCanvas* Canvas, const TRect& R, const Figure& F, TBitmap* Picture, TColor MaskColor, int PenWidth)
{
    const int W = R.right - R.left, H = R.bottom - R.top;
    const TColor mask = static_cast<TColor>(ColorToRGB(MaskColor));
    auto shape = std::make_unique<TBitmap>();
    shape->SetSize(W, H);
    TCanvas* c = shape->Canvas();
    c->Brush()->SetColor(mask);
    c->FillRect(Rect(0, 0, W, H));
    if (PenWidth > 0) {
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetWidth(PenWidth);
    } else {
        c->Pen()->SetStyle(psClear);
    }
    c->Brush()->SetColor(clWhite);
    Figure local = F;
    local.Move(-R.left, -R.top);
    DrawShape(c, local, local.Inner());
    // The picture on the mask colour as large as the shape's box, so none of it can reach
    // past the shape.
    auto image = std::make_unique<TBitmap>();
    image->SetSize(W, H);
    image->Canvas()->Brush()->SetColor(mask);
    image->Canvas()->FillRect(Rect(0, 0, W, H));
    image->Canvas()->Draw(0, 0, Picture);
    OBLMaskBmpDraw(Canvas, R, shape.get(), image.get(), mask, clWhite);
}

// The shape's face on the canvas, its edge in the bevel pen.
void DrawFace(TCanvas* Canvas, const Figure& F, TBrush* Brush, bool Picture, TOBLSimpleBevel* Bevel, int Width,
              TColor BackColor)
{
    TPen* pen = Canvas->Pen();
    TBrush* brush = Canvas->Brush();
    pen->SetMode(pmCopy);
    if (Picture) {
        brush->SetStyle(bsClear);
    } else if (Brush) {
        brush->Assign(Brush);
    }
    if (Bevel && Bevel->Width() > 0) {
        pen->SetStyle(psSolid);
        pen->SetWidth(Width);
        // Inset and offset bevels draw their own edge: the pen disappears in the face.
        pen->SetColor(Bevel->Style() == sbNormal ? Bevel->Color() : brush->Color());
    } else {
        pen->SetStyle(psClear);
    }
    const bool hatched = !Picture && brush->Style() != bsSolid && brush->Style() != bsClear && !brush->Bitmap();
    if (!hatched) {
        DrawShape(Canvas, F, F.Inner());
        return;
    }
    // A hatched face shows BackColor between its lines.
    HDC dc = Canvas->Handle();
    const COLORREF oldColor = SetBkColor(dc, ColorToRGB(BackColor));
    const int oldMode = SetBkMode(dc, OPAQUE);
    DrawShape(Canvas, F, F.Inner());
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldColor);
}

void DrawBevel(TCanvas* Canvas, const Figure& F, const TOBLSimpleBevel& Bevel, int Width)
{
    if (Bevel.Width() == 0 || Bevel.Style() == sbNormal)
        return;
    TPen* pen = Canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(Width);
    const bool inset = Bevel.Style() == sbInset;
    pen->SetColor(inset ? Bevel.ShadowColor() : Bevel.LightColor());
    BevelHalf(Canvas, F, Half::Upper);
    pen->SetColor(inset ? Bevel.LightColor() : Bevel.ShadowColor());
    BevelHalf(Canvas, F, Half::Lower);
}

// Gives the canvas its pen and brush back, also when an exception passes.
class PenBrushKeeper {
public:
    explicit PenBrushKeeper(TCanvas* Canvas) : canvas_(Canvas)
    {
        pen_.Assign(Canvas->Pen());
        brush_.Assign(Canvas->Brush());
    }
    ~PenBrushKeeper()
    {
        canvas_->Pen()->Assign(&pen_);
        canvas_->Brush()->Assign(&brush_);
    }
    PenBrushKeeper(const PenBrushKeeper&) = delete;
    PenBrushKeeper& operator=(const PenBrushKeeper&) = delete;

private:
    TCanvas* canvas_;
    TPen pen_;
    TBrush brush_;
};

} // namespace

void OBLShapeDraw(const TRect& R, TCanvas* Canvas, TOBLShapeType ShapeType, TOBLTeeth* Teeth, TOBLPointList* List,
                  bool Square, TBrush* Brush, std::uint8_t Percent, TOBLSimpleBevel* Bevel, TOBLShadow* Shadow,
                  TBitmap* Picture, TColor MaskColor, TColor BackColor, [[maybe_unused]] WORD Unused)
{
    const int W = R.right - R.left, H = R.bottom - R.top;
    if (!Canvas || W <= 0 || H <= 0)
        return;
    const int depth = Shadow && Shadow->Style() != hssNone ? Shadow->Depth() : 0;
    Figure F{ShapeType, Teeth != nullptr, OutlineCount(ShapeType),
             std::max(0, Percent * std::min(W - depth, H - depth) / 100), {}};
    // The points are read into a copy: a given list is never moved, so it notifies nobody.
    if (List) {
        F.points = ReadPoints(List);
    } else {
        TOBLPointList computed;
        OBLShapeCalc(R, ShapeType, Teeth, Square, Brush, Percent, Bevel, Shadow, &computed);
        F.points = ReadPoints(&computed);
    }
    if (!F.Fits())
        return;
    const int width = F.teeth || !Bevel ? 1 : Bevel->Width();
    const bool picture = Picture && !Picture->Empty();
    PenBrushKeeper keep(Canvas);
    F.Move(R.left, R.top);
    if (depth > 0)
        DrawShadow(Canvas, F, *Shadow);
    // The shape lies up-left of its shadow.
    F.Move(-depth, -depth);
    if (picture)
        DrawPicture(Canvas, R, F, Picture, MaskColor, Bevel && Bevel->Width() > 0 ? width : 0);
    DrawFace(Canvas, F, Brush, picture, Bevel, width, BackColor);
    if (Bevel)
        DrawBevel(Canvas, F, *Bevel, width);
}
