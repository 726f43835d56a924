#include "obl/controls/shapes/Oblgrapa.h"

#include <algorithm>
#include <cmath>

namespace {

int Rnd(double v) { return static_cast<int>(std::nearbyint(v)); }

void Add(TOBLPointList* List, int x, int y)
{
    // X is kept as 16 unsigned bits; negative values are wrapped on purpose and read
    // back through OBLListPoint.
    POINT p{static_cast<LONG>(static_cast<std::uint16_t>(static_cast<std::int16_t>(x))), y};
    List->AddPoint(p);
}

void Teeth(TOBLTeeth* Teeth, int L, int T, int R, int B, TOBLPointList* List)
{
    TOBLDirection dir = Teeth->Direction();
    bool horizontal = dir == tdDown || dir == tdUp; // teeth along a horizontal edge
    int span = horizontal ? R - L : B - T;
    int n = 0;
    Teeth->BeginUpdate();
    if (Teeth->SetPerCount()) {
        // No teeth at all for a count of 0 rather than a division by zero.
        if (Teeth->Count() > 0) {
            n = 2 * Teeth->Count();
            Teeth->SetInteger(horizontal ? 0 : 1, Rnd(static_cast<double>(span) / (2 * Teeth->Count())));
        }
    } else {
        int size = horizontal ? Teeth->Width() : Teeth->Height();
        if (size != 0)
            n = 2 * Rnd(static_cast<double>(span) / size);
    }
    Teeth->EndUpdate(false);
    if (n < 0)
        n = 0;
    int tw = Teeth->Width(), th = Teeth->Height();
    int k = horizontal ? th : tw;
    int cut = Teeth->Offset() ? 0 : k;
    switch (dir) {
    case tdRight: Add(List, R - cut - 1, B - 1); Add(List, L, B - 1); Add(List, L, T); Add(List, R - cut - 1, T); break;
    case tdDown: Add(List, R - 1, B - cut); Add(List, R - 1, T); Add(List, L, T); Add(List, L, B - cut); break;
    case tdLeft: Add(List, L + cut, B - 1); Add(List, R - 1, B - 1); Add(List, R - 1, T); Add(List, L + cut, T); break;
    case tdUp: Add(List, R - 1, T + cut); Add(List, R - 1, B - 1); Add(List, L, B - 1); Add(List, L, T + cut); break;
    }
    auto parity = [&](int i) { return Teeth->Offset() ? i % 2 : (i + 1) % 2; };
    for (int i = 0; i <= n; ++i) {
        int p = parity(i);
        switch (dir) {
        case tdRight: Add(List, R - p * tw - 1, std::min(T + th * i, B)); break;
        case tdDown: Add(List, std::min(L + tw * i, R), B - p * th); break;
        case tdLeft: Add(List, L + p * tw, std::min(T + th * i, B)); break;
        case tdUp: Add(List, std::min(L + tw * i, R), T + p * th); break;
        }
    }
    int p = parity(n);
    switch (dir) {
    case tdRight: Add(List, R - p * tw - 1, B); break;
    case tdDown: Add(List, R, B - p * th); break;
    case tdLeft: Add(List, L + p * tw, B); break;
    case tdUp: Add(List, R, T + p * th); break;
    }
}

} // namespace

void OBLGetLightColors(TOBLLightColor Color, TColor& Light, TColor& Dark)
{
    switch (Color) {
    case lcNone: Light = clBtnFace; Dark = clBtnFace; break;
    case lcBlue: Light = clBlue; Dark = clNavy; break;
    case lcRed: Light = clRed; Dark = clMaroon; break;
    case lcGreen: Light = clLime; Dark = clGreen; break;
    case lcYellow: Light = clYellow; Dark = clOlive; break;
    case lcMarine: Light = clAqua; Dark = clTeal; break;
    case lcPurple: Light = clFuchsia; Dark = clPurple; break;
    }
}

void OBLOffsetPointArray(std::vector<POINT>& Points, int Count, int DX, int DY)
{
    int n = std::min<long long>(std::max(Count, 0), static_cast<long long>(Points.size()));
    for (int i = 0; i < n; ++i) {
        Points[i].x += DX;
        Points[i].y += DY;
    }
}

POINT OBLListPoint(TOBLPointList* List, int Index)
{
    POINT p{0, 0};
    List->GetPoint(Index, p);
    p.x = static_cast<std::int16_t>(static_cast<std::uint16_t>(p.x));
    return p;
}

void OBLOffsetPointList(TOBLPointList* List, int DX, int DY)
{
    if (!List)
        return;
    for (int i = 0; i < List->Count(); ++i) {
        POINT p = OBLListPoint(List, i);
        p.x = static_cast<std::uint16_t>(static_cast<std::int16_t>(p.x + DX));
        p.y += DY;
        List->PutPoint(i, p);
    }
}

void OBLShapeCalc(const TRect& R, TOBLShapeType ShapeType, TOBLTeeth* TeethObj, bool Square, TBrush*,
                  std::uint8_t Percent, TOBLSimpleBevel* Bevel, TOBLShadow* Shadow, TOBLPointList* List)
{
    if (!List)
        return;
    List->Clear();
    int w = TeethObj || !Bevel ? 1 : Bevel->Width();
    int q = w / 2, r = (w - 1) / 2;
    int depth = Shadow && Shadow->Style() != hssNone ? Shadow->Depth() : 0;
    int W = R.right - R.left, H = R.bottom - R.top;
    int ix = 0, iy = 0;
    if (Square) {
        if (W > H)
            ix = (W - H) / 2;
        else
            iy = (H - W) / 2;
    }
    int L = ix + depth, T = iy + depth, Rt = W - ix, B = H - iy;
    if (TeethObj) {
        Teeth(TeethObj, L, T, Rt, B, List);
        return;
    }
    int mx = L + (Rt - L) / 2, my = T + (B - T) / 2;
    int c = std::min(W - depth, H - depth) * Percent / 100;
    int s = Rnd((B - T) / 5.0);
    const double k = 2 + std::sqrt(2.0);
    int a = Rnd((Rt - L) / k), b = Rnd((B - T) / k);
    int a2 = Rnd(a * std::sqrt(2.0)), b2 = Rnd(b * std::sqrt(2.0));
    std::vector<POINT> outline, inner;
    auto star = [&] {
        double sw = Rt - L, sh = B - T;
        int y38 = T + Rnd(0.38 * sh), y60 = T + Rnd(0.6 * sh);
        return std::vector<POINT>{{mx, T},
                                  {L + Rnd(0.65 * sw), y38},
                                  {Rt, y38},
                                  {L + Rnd(0.7 * sw), y60},
                                  {L + Rnd(0.85 * sw), B},
                                  {mx, T + Rnd(0.75 * sh)},
                                  {L + Rnd(0.15 * sw), B},
                                  {L + Rnd(0.3 * sw), y60},
                                  {L, y38},
                                  {L + Rnd(0.35 * sw), y38}};
    };
    switch (ShapeType) {
    case stEllipse:
    case stRectangle:
        outline = {{L, T}, {Rt, B}};
        inner = {{L + q, T + q}, {Rt - r, B - r}};
        break;
    case stRoundRect:
        outline = {{L, T}, {Rt, B}, {c, c}};
        inner = {{L + q, T + q}, {Rt, B}, {c + depth, c + depth}};
        break;
    case stDirectUp:
        outline = {{mx, T}, {Rt, B}, {L, B}};
        inner = {{mx, T + q}, {Rt - r, B - r}, {L + 2 * q, B}};
        break;
    case stDirectRight:
        outline = {{L, T}, {Rt, my}, {L, B}};
        inner = {{L + q, T + q}, {Rt - r, my}, {L + q, B - r}};
        break;
    case stDirectDown:
        outline = {{L, T}, {Rt, T}, {mx, B}};
        inner = {{L + q, T + q}, {Rt - r, T + q}, {mx, B}};
        break;
    case stDirectLeft:
        outline = {{Rt, T}, {L, my}, {Rt, B}};
        inner = {{Rt - r, T + q}, {L + q, my}, {Rt - r, B - r}};
        break;
    case stDiamond:
        outline = {{mx, T}, {Rt, my}, {mx, B}, {L, my}};
        inner = {{mx, T + q}, {Rt - r, my}, {mx, B - r}, {L + q, my}};
        break;
    case stComb:
        outline = {{mx, T}, {Rt, T + s}, {Rt, T + 4 * s}, {mx, B}, {L, T + 4 * s}, {L, T + s}};
        inner = {{mx, T + q},          {Rt - r, T + s + q}, {Rt - r, T + 4 * s + q},
                 {mx, B - r},          {L + q, T + 4 * s + q}, {L + q, T + s + q}};
        break;
    case stOctagon:
        outline = {{L + a, T},          {L + a + a2, T}, {Rt, T + b},    {Rt, T + b + b2},
                   {L + a + a2, B},     {L + a, B},      {L, T + b + b2}, {L, T + b}};
        inner = outline;
        for (int i = 0; i < 8; ++i) {
            bool right = i == 2 || i == 3, bottom = i == 4 || i == 5;
            inner[i].x += right ? -r : q;
            inner[i].y += bottom ? -r : q;
        }
        break;
    case stStar:
        outline = star();
        inner = outline;
        inner[0].y += q;
        inner[2].x -= r;
        inner[4].y -= r;
        inner[6].y -= r;
        inner[8].x += r;
        break;
    }
    for (const auto& p : outline)
        Add(List, p.x, p.y);
    for (const auto& p : inner)
        Add(List, p.x, p.y);
}
