// The border painters of unit oblregion: one style engine, one outline per region shape.
#include "obl/controls/shapes/ClipKeeper.h"
#include "obl/controls/shapes/ShapeOutlines.h"
#include "obl/controls/shapes/oblregion.h"

#include <cmath>
#include <utility>

namespace {

using shapeoutline::Half;
using shapeoutline::Runs;

TRect Shrunk(const TRect& R, int by) { return Rect(R.left + by, R.top + by, R.right - by, R.bottom - by); }

// One outline the border styles are painted along.
class FrameOutline {
public:
    virtual ~FrameOutline() = default;
    // The whole outline with the canvas pen and brush.
    virtual void Single(TCanvas* Canvas, const TRect& R) const = 0;
    virtual void Part(TCanvas* Canvas, const TRect& R, Half Which) const = 0;
    // The inner line of the psb styles.
    virtual void PsbInner(TCanvas* Canvas, const TRect& R) const { Part(Canvas, R, Half::Lower); }
    // Where the two colours go inside the single outline, and the psb inner line.
    virtual TRect SingleInset(const TRect& R) const { return Shrunk(R, 1); }
    virtual TRect PsbInset(const TRect& R) const { return Shrunk(R, 1); }
};

void TwoColours(TCanvas* Canvas, const FrameOutline& Outline, const TRect& R, TColor Upper, TColor Lower)
{
    Canvas->Pen()->SetColor(Upper);
    Outline.Part(Canvas, R, Half::Upper);
    Canvas->Pen()->SetColor(Lower);
    Outline.Part(Canvas, R, Half::Lower);
}

void Paint(TCanvas* Canvas, const TRect& R, TColor Light, TColor Shadow, TColor Single, TOBLRegionBorderStyle Style,
           const FrameOutline& Outline)
{
    if (Style == rbLowered || Style == rbSingleLowered || Style == rbLoweredpsb)
        std::swap(Light, Shadow);
    switch (Style) {
    case rbNone: break;
    case rbRaised:
    case rbLowered: TwoColours(Canvas, Outline, R, Light, Shadow); break;
    case rbSingle:
        Canvas->Pen()->SetColor(Single);
        Outline.Single(Canvas, R);
        break;
    case rbSingleRaised:
    case rbSingleLowered:
        Canvas->Pen()->SetColor(Single);
        Outline.Single(Canvas, R);
        TwoColours(Canvas, Outline, Outline.SingleInset(R), Light, Shadow);
        break;
    case rbRaisedpsb:
    case rbLoweredpsb:
        // The lower-right half takes the single colour, the shadow colour runs inside it.
        TwoColours(Canvas, Outline, R, Light, Single);
        Canvas->Pen()->SetColor(Shadow);
        Outline.PsbInner(Canvas, Outline.PsbInset(R));
        break;
    }
}

template <auto Builder> std::vector<POINT> PointsOf(const TRect& R)
{
    auto p = Builder(R);
    return {p.begin(), p.end()};
}

std::vector<POINT> RectPoints(const TRect& R)
{
    return {{R.right, R.top}, {R.left, R.top}, {R.left, R.bottom}, {R.right, R.bottom}};
}

// A polygon outline: the parts are polylines over the vertices of the matching builder.
class PolygonOutline : public FrameOutline {
public:
    using Vertices = std::vector<POINT> (*)(const TRect&);
    PolygonOutline(Vertices vertices, Runs upper, Runs lower, Runs psb, int singleInset = 1, int psbInset = 1)
        : vertices_(vertices), upper_(std::move(upper)), lower_(std::move(lower)), psb_(std::move(psb)),
          singleInset_(singleInset), psbInset_(psbInset)
    {
    }
    void Single(TCanvas* Canvas, const TRect& R) const override
    {
        auto p = vertices_(R);
        Canvas->Polygon(p.data(), static_cast<int>(p.size()));
    }
    void Part(TCanvas* Canvas, const TRect& R, Half Which) const override
    {
        shapeoutline::DrawRuns(Canvas, vertices_(R).data(), Which == Half::Upper ? upper_ : lower_);
    }
    void PsbInner(TCanvas* Canvas, const TRect& R) const override
    {
        shapeoutline::DrawRuns(Canvas, vertices_(R).data(), psb_);
    }
    TRect SingleInset(const TRect& R) const override { return Shrunk(R, singleInset_); }
    TRect PsbInset(const TRect& R) const override { return Shrunk(R, psbInset_); }

private:
    Vertices vertices_;
    Runs upper_, lower_, psb_;
    int singleInset_, psbInset_;
};

class EllipseOutline : public FrameOutline {
public:
    void Single(TCanvas* Canvas, const TRect& R) const override { Canvas->Ellipse(R); }
    void Part(TCanvas* Canvas, const TRect& R, Half Which) const override
    {
        shapeoutline::EllipseHalf(Canvas, R, Which);
    }
};

// The lower half of the ellipse (L, 2T - B, R, B); its upper half lies above R and is not
// drawn.
class HalfRoundOutline : public FrameOutline {
public:
    void Single(TCanvas* Canvas, const TRect& R) const override
    {
        Arc(Canvas, R, Point(R.left, R.top), Point(R.right, R.top));
    }
    void Part(TCanvas* Canvas, const TRect& R, Half Which) const override
    {
        if (Which == Half::Upper)
            Arc(Canvas, R, Point(R.left, R.top), Point(R.left, R.bottom));
        else
            Arc(Canvas, R, Point(R.left, R.bottom), Point(R.right, R.top));
    }

private:
    static void Arc(TCanvas* Canvas, const TRect& R, POINT From, POINT To)
    {
        if (R.right > R.left && R.bottom > R.top)
            Canvas->Arc(R.left, 2 * R.top - R.bottom, R.right, R.bottom, From.x, From.y, To.x, To.y);
    }
};

class RoundRectOutline : public FrameOutline {
public:
    RoundRectOutline(int roundX, int roundY) : roundX_(roundX), roundY_(roundY) {}
    void Single(TCanvas* Canvas, const TRect& R) const override
    {
        Canvas->RoundRect(R.left, R.top, R.right, R.bottom, roundX_, roundY_);
    }
    void Part(TCanvas* Canvas, const TRect& R, Half Which) const override
    {
        shapeoutline::RoundRectHalf(Canvas, R, roundX_, roundY_, Which);
    }
    TRect SingleInset(const TRect& R) const override
    {
        TRect inner = Shrunk(R, 1);
        inner.right -= 2;
        inner.bottom -= 2;
        return inner;
    }

private:
    int roundX_, roundY_;
};

// The shields' arcs, at the origin like their regions: the main curve (a bottom ellipse for
// the round shield, the two lens ellipses for the sharp one) and the two top scoops. The
// painters hand over the shield's rectangle moved to the origin, so an inset rectangle
// starts at (d, d): the inner line runs inside the shield, on the main curve's ellipses
// shrunk by d and on the scoops' grown (the shield lies outside them), the two scoops
// meeting where their grown ellipses cross below the top point. The scoops are hollow:
// along them an inner line 1 pixel in takes its steps later than the outline and covers it
// at each step, so there they keep 2 pixels per inset pixel.
class ShieldOutline : public FrameOutline {
public:
    explicit ShieldOutline(bool sharp) : sharp_(sharp) {}
    void Single(TCanvas* Canvas, const TRect& R) const override
    {
        Part(Canvas, R, Half::Upper);
        Part(Canvas, R, Half::Lower);
    }
    void Part(TCanvas* Canvas, const TRect& R, Half Which) const override
    {
        const int d = R.left;
        const int W = R.right + d, H = R.bottom + d;
        // Where the scoops leave the sides, where they meet, and the bottom point.
        const POINT left = Point(0, H / 5), right = Point(W, H / 5), bottom = Point(W / 2, H);
        const int scoop = 2 * d;
        const POINT top = Point(W / 2, ScoopsMeet(W, H, scoop));
        if (Which == Half::Upper) {
            Arc(Canvas, Grown(Rect(W / 2, -(H / 5), W / 2 + W, H / 5), scoop), top, right);
            Arc(Canvas, Grown(Rect(-(W / 2), -(H / 5), W / 2, H / 5), scoop), left, top);
            if (sharp_)
                Arc(Canvas, Grown(Rect(0, -(8 * H / 7), 2 * W, 8 * H / 7), -d), left, bottom);
            else
                Arc(Canvas, Grown(Rect(0, -(H - H / 5), W, H), -d), left, Point(0, H));
        } else if (sharp_) {
            Arc(Canvas, Grown(Rect(-W, -(8 * H / 7), W, 8 * H / 7), -d), bottom, right);
        } else {
            Arc(Canvas, Grown(Rect(0, -(H - H / 5), W, H), -d), Point(0, H), right);
        }
    }

private:
    static TRect Grown(const TRect& Box, int By) { return Rect(Box.left - By, Box.top - By, Box.right + By, Box.bottom + By); }
    // Below the top point, the height at which the scoops' ellipses grown by g cross.
    static int ScoopsMeet(int W, int H, int g)
    {
        if (g == 0)
            return 0;
        const double rx = W / 2 + g, ry = H / 5 + g, x = W / 2.0;
        const double share = 1.0 - (x / rx) * (x / rx);
        return share > 0 ? static_cast<int>(std::lround(ry * std::sqrt(share))) : 0;
    }
    static void Arc(TCanvas* Canvas, const TRect& Box, POINT From, POINT To)
    {
        Canvas->Arc(Box.left, Box.top, Box.right, Box.bottom, From.x, From.y, To.x, To.y);
    }
    bool sharp_;
};

const FrameOutline& RectOutline()
{
    static const PolygonOutline outline(RectPoints, {{0, 1, 2}}, {{2, 3, 0}}, {{2, 3, 0}});
    return outline;
}

const FrameOutline& EllipticOutline()
{
    static const EllipseOutline outline;
    return outline;
}

void FrameThinkBubble(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos, TColor Light,
                      TColor Shadow, TColor Single, TOBLRegionBorderStyle Style, const FrameOutline& Body)
{
    if (Style == rbNone)
        return;
    TRect body = R;
    auto bubbles = OBLThinkBubbles(body, NoseSize, BubbleCount, Pos);
    ClipKeeper keep(Canvas);
    HDC dc = Canvas->Handle();
    for (const auto& b : bubbles) {
        const int half = b.Diameter / 2;
        const TRect box = Rect(b.X - half, b.Y - half, b.X + half, b.Y + half);
        OBLFrameEllipticRgn(Canvas, box, Light, Shadow, Single, Style);
        ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
    }
    Paint(Canvas, body, Light, Shadow, Single, Style, Body);
}

} // namespace

void OBLFrameRectRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style)
{
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, RectOutline());
}

void OBLFrameEllipticRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                         TColor SingleColor, TOBLRegionBorderStyle Style)
{
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, EllipticOutline());
}

void OBLFrameHalfRoundRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                          TColor SingleColor, TOBLRegionBorderStyle Style)
{
    static const HalfRoundOutline outline;
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameDiamondRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                        TOBLRegionBorderStyle Style)
{
    // Vertices top, left, bottom, right; the psb line inside is the right half.
    static const PolygonOutline outline(PointsOf<OBLDiamondPoints>, {{3, 0, 1}}, {{1, 2, 3}}, {{2, 3, 0}});
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameStarRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style)
{
    // The star's thin arms need a deeper inset for the inner lines.
    static const PolygonOutline outline(PointsOf<OBLStarPoints>, shapeoutline::StarRuns(Half::Upper),
                                        shapeoutline::StarRuns(Half::Lower), shapeoutline::StarRuns(Half::Lower), 2,
                                        3);
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameOctagonRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                        TOBLRegionBorderStyle Style)
{
    static const PolygonOutline outline(PointsOf<OBLOctagonPoints>, {{7, 0, 1, 2, 3}}, {{3, 4, 5, 6, 7}},
                                        {{3, 4, 5, 6, 7}});
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameCombRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                     TOBLRegionBorderStyle Style)
{
    static const PolygonOutline outline(PointsOf<OBLCombPoints>, {{5, 0, 1, 2}}, {{2, 3, 4, 5}}, {{2, 3, 4, 5}});
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameRoundShieldRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                            TColor SingleColor, TOBLRegionBorderStyle Style)
{
    static const ShieldOutline outline(false);
    Paint(Canvas, Rect(0, 0, R.right - R.left, R.bottom - R.top), LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameSharpShieldRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                            TColor SingleColor, TOBLRegionBorderStyle Style)
{
    static const ShieldOutline outline(true);
    Paint(Canvas, Rect(0, 0, R.right - R.left, R.bottom - R.top), LightColor, ShadowColor, SingleColor, Style, outline);
}

void OBLFrameRoundRectRgn(TCanvas* Canvas, const TRect& R, TColor LightColor, TColor ShadowColor,
                          TColor SingleColor, TOBLRegionBorderStyle Style, int RoundX, int RoundY)
{
    Paint(Canvas, R, LightColor, ShadowColor, SingleColor, Style, RoundRectOutline(RoundX, RoundY));
}

void OBLFrameThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos,
                            TColor LightColor, TColor ShadowColor, TColor SingleColor, TOBLRegionBorderStyle Style)
{
    FrameThinkBubble(Canvas, R, NoseSize, BubbleCount, Pos, LightColor, ShadowColor, SingleColor, Style,
                     RectOutline());
}

void OBLFrameEllipticThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount,
                                    TOBLExtPos Pos, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                                    TOBLRegionBorderStyle Style)
{
    FrameThinkBubble(Canvas, R, NoseSize, BubbleCount, Pos, LightColor, ShadowColor, SingleColor, Style,
                     EllipticOutline());
}

void OBLFrameRoundThinkBubbleRgn(TCanvas* Canvas, const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos,
                                 int RoundX, int RoundY, TColor LightColor, TColor ShadowColor, TColor SingleColor,
                                 TOBLRegionBorderStyle Style)
{
    FrameThinkBubble(Canvas, R, NoseSize, BubbleCount, Pos, LightColor, ShadowColor, SingleColor, Style,
                     RoundRectOutline(RoundX, RoundY));
}
