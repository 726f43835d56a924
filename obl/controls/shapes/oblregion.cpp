#include "obl/controls/shapes/oblregion.h"

#include <cmath>

namespace {

// To nearest, halves to even (the default floating-point rounding mode).
int Rnd(double v) { return static_cast<int>(std::nearbyint(v)); }

HRGN Combine(HRGN a, HRGN b, int mode)
{
    CombineRgn(a, a, b, mode);
    DeleteObject(b);
    return a;
}

// Removes the two scooped top corners and everything above the top edge.
HRGN CutShieldTop(HRGN shield, int W, int H)
{
    shield = Combine(shield, CreateEllipticRgn(-(W / 2), -(H / 5), W / 2, H / 5), RGN_DIFF);
    shield = Combine(shield, CreateEllipticRgn(W / 2, -(H / 5), W / 2 + W, H / 5), RGN_DIFF);
    // The whole strip above the top edge, as high as the tallest seed ellipse reaches.
    return Combine(shield, CreateRectRgn(-W, -2 * H - 1, 2 * W, 0), RGN_DIFF);
}

bool OnTopHalf(TOBLExtPos Pos) { return Pos <= epRightTop; }
bool AtLeftEnd(TOBLExtPos Pos) { return Pos <= epTopLeft || Pos >= epBottomLeft; }

void ShrinkBody(TRect& R, int a, TOBLExtPos Pos)
{
    if (OnTopHalf(Pos))
        R.top += a;
    else
        R.bottom -= a;
    if (AtLeftEnd(Pos))
        R.left += a;
    else
        R.right -= a;
}

template <std::size_t N> HRGN Polygon(const std::array<POINT, N>& p)
{
    return CreatePolygonRgn(p.data(), static_cast<int>(N), ALTERNATE);
}

enum class Body { Rect, Round, Ellipse };

HRGN BodyRgn(const TRect& R, Body body, int RoundX, int RoundY)
{
    switch (body) {
    case Body::Round: return CreateRoundRectRgn(R.left, R.top, R.right, R.bottom, RoundX, RoundY);
    case Body::Ellipse: return CreateEllipticRgn(R.left, R.top, R.right, R.bottom);
    default: return CreateRectRgn(R.left, R.top, R.right, R.bottom);
    }
}

HRGN ThinkBubbleRgn(const TRect& R0, int NoseSize, int BubbleCount, TOBLExtPos Pos, Body body, int RoundX,
                    int RoundY)
{
    TRect R = R0;
    auto bubbles = OBLThinkBubbles(R, NoseSize, BubbleCount, Pos);
    // Starts empty: a seed pixel would stay in the window as a stray dot.
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (const auto& b : bubbles)
        result = Combine(result,
                         CreateEllipticRgn(b.X - b.Diameter / 2, b.Y - b.Diameter / 2, b.X + b.Diameter / 2,
                                           b.Y + b.Diameter / 2),
                         RGN_OR);
    return Combine(result, BodyRgn(R, body, RoundX, RoundY), RGN_OR);
}

} // namespace

std::array<POINT, 4> OBLDiamondPoints(const TRect& R)
{
    int W = R.right - R.left, H = R.bottom - R.top;
    return {{{R.left + W / 2, R.top}, {R.left, R.top + H / 2}, {R.left + W / 2, R.bottom}, {R.right, R.top + H / 2}}};
}

std::array<POINT, 10> OBLStarPoints(const TRect& R)
{
    int L = R.left, T = R.top, W = R.right - R.left, H = R.bottom - R.top;
    int y38 = T + Rnd(0.38 * H), y60 = T + Rnd(0.6 * H);
    return {{{L + W / 2, T},
             {L + Rnd(0.65 * W), y38},
             {R.right, y38},
             {L + Rnd(0.7 * W), y60},
             {L + Rnd(0.85 * W), R.bottom},
             {L + W / 2, T + Rnd(0.75 * H)},
             {L + Rnd(0.15 * W), R.bottom},
             {L + Rnd(0.3 * W), y60},
             {L, y38},
             {L + Rnd(0.35 * W), y38}}};
}

std::array<POINT, 8> OBLOctagonPoints(const TRect& R)
{
    int L = R.left, T = R.top, W3 = (R.right - R.left) / 3, H3 = (R.bottom - R.top) / 3;
    return {{{L + W3 * 2, T},
             {L + W3, T},
             {L, T + H3},
             {L, T + H3 * 2},
             {L + W3, R.bottom},
             {L + W3 * 2, R.bottom},
             {R.right, T + H3 * 2},
             {R.right, T + H3}}};
}

std::array<POINT, 6> OBLCombPoints(const TRect& R)
{
    int L = R.left, T = R.top, W = R.right - R.left, H4 = (R.bottom - R.top) / 4;
    return {{{L + W / 2, T}, {L, T + H4}, {L, T + H4 * 3}, {L + W / 2, R.bottom}, {R.right, T + H4 * 3}, {R.right, T + H4}}};
}

std::array<POINT, 3> OBLNosePoints(TRect& R, int a, TOBLExtPos Pos, int b)
{
    ShrinkBody(R, a, Pos);
    int s = Rnd(std::sqrt(2.0 * a * a));
    int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
    switch (Pos) {
    case epLeftTop: return {{{L - a, T - a}, {L, T + b}, {L, T + b + s}}};
    case epTopLeft: return {{{L - a, T - a}, {L + b, T}, {L + b + s, T}}};
    case epTopRight: return {{{Rt + a, T - a}, {Rt - b, T}, {Rt - b - s, T}}};
    case epRightTop: return {{{Rt + a, T - a}, {Rt, T + b}, {Rt, T + b + s}}};
    case epRightBottom: return {{{Rt + a, B + a}, {Rt, B - b}, {Rt, B - b - s}}};
    case epBottomRight: return {{{Rt + a, B + a}, {Rt - b, B}, {Rt - b - s, B}}};
    case epBottomLeft: return {{{L - a, B + a}, {L + b, B}, {L + b + s, B}}};
    default: return {{{L - a, B + a}, {L, B - b}, {L, B - b - s}}};
    }
}

std::vector<TOBLBubble> OBLThinkBubbles(TRect& R, int a, int BubbleCount, TOBLExtPos Pos)
{
    ShrinkBody(R, a, Pos);
    int n = BubbleCount < 1 ? 1 : BubbleCount;
    double e = (a * 6.283185307179586 / 4) / n / n;
    int L = R.left, T = R.top, Rt = R.right, B = R.bottom;
    std::vector<TOBLBubble> result;
    for (int f = 0; f <= n + 1; ++f) {
        double g = (90.0 / (n + 1)) * f * 0.017453292519943295;
        double g2 = 1.57 - g;
        int d = Rnd(f * e);
        int x = 0, y = 0;
        switch (Pos) {
        case epLeftTop: x = L - Rnd(a * std::cos(g)); y = T - a + Rnd(a * std::sin(g)); break;
        case epRightTop: x = Rt + Rnd(a * std::cos(g)); y = T - a + Rnd(a * std::sin(g)); break;
        case epRightBottom: x = Rt + Rnd(a * std::cos(g)); y = B + a - Rnd(a * std::sin(g)); break;
        case epLeftBottom: x = L - Rnd(a * std::cos(g)); y = B + a - Rnd(a * std::sin(g)); break;
        case epTopLeft: x = L - a + Rnd(a * std::cos(g2)); y = T - Rnd(a * std::sin(g2)); break;
        case epTopRight: x = Rt + a - Rnd(a * std::cos(g2)); y = T - Rnd(a * std::sin(1.57 + g)); break;
        case epBottomRight: x = Rt + a - Rnd(a * std::cos(g2)); y = B + Rnd(a * std::sin(g2)); break;
        case epBottomLeft: x = L - a + Rnd(a * std::cos(g2)); y = B + Rnd(a * std::sin(g2)); break;
        }
        result.push_back({x, y, d});
    }
    return result;
}

HRGN OBLCreateDiamondRgn(const TRect& R) { return Polygon(OBLDiamondPoints(R)); }
HRGN OBLCreateStarRgn(const TRect& R) { return Polygon(OBLStarPoints(R)); }
HRGN OBLCreateOctagonRgn(const TRect& R) { return Polygon(OBLOctagonPoints(R)); }
HRGN OBLCreateCombRgn(const TRect& R) { return Polygon(OBLCombPoints(R)); }

HRGN OBLCreateRoundShieldRgn(const TRect& R)
{
    int W = R.right - R.left, H = R.bottom - R.top;
    return CutShieldTop(CreateEllipticRgn(0, -(H - H / 5), W, H), W, H);
}

HRGN OBLCreateSharpShieldRgn(const TRect& R)
{
    int W = R.right - R.left, H = R.bottom - R.top;
    int reach = 8 * H / 7;
    HRGN lens = Combine(CreateEllipticRgn(-W, -reach, W, reach), CreateEllipticRgn(0, -reach, 2 * W, reach), RGN_AND);
    return CutShieldTop(lens, W, H);
}

HRGN OBLCreateNoseRectRgn(const TRect& R0, int NoseSize, TOBLExtPos Pos)
{
    TRect R = R0;
    auto nose = OBLNosePoints(R, NoseSize, Pos, 5);
    return Combine(CreateRectRgn(R.left, R.top, R.right, R.bottom), Polygon(nose), RGN_OR);
}

int OBLRoundNoseOffset(TOBLExtPos Pos, int RoundX, int RoundY)
{
    const bool onTopOrBottom = Pos == epTopLeft || Pos == epTopRight || Pos == epBottomRight || Pos == epBottomLeft;
    return onTopOrBottom ? RoundX : RoundY;
}

HRGN OBLCreateRoundNoseRectRgn(const TRect& R0, int NoseSize, int RoundX, int RoundY, TOBLExtPos Pos)
{
    TRect R = R0;
    auto nose = OBLNosePoints(R, NoseSize, Pos, OBLRoundNoseOffset(Pos, RoundX, RoundY));
    return Combine(CreateRoundRectRgn(R.left, R.top, R.right, R.bottom, RoundX, RoundY), Polygon(nose), RGN_OR);
}

HRGN OBLCreateThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos)
{
    return ThinkBubbleRgn(R, NoseSize, BubbleCount, Pos, Body::Rect, 0, 0);
}

HRGN OBLCreateEllipticThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos)
{
    return ThinkBubbleRgn(R, NoseSize, BubbleCount, Pos, Body::Ellipse, 0, 0);
}

HRGN OBLCreateRoundThinkBubbleRgn(const TRect& R, int NoseSize, int BubbleCount, TOBLExtPos Pos, int RoundX,
                                  int RoundY)
{
    return ThinkBubbleRgn(R, NoseSize, BubbleCount, Pos, Body::Round, RoundX, RoundY);
}
