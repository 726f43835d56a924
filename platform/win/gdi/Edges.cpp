// 3D edges in the system colours.
#include "platform/win/gdi/Raster.h"

#include <algorithm>
#include <optional>

namespace {

struct EdgeColors {
    int topLeft;
    int bottomRight;
};

void Line(DcObj& dc, int x0, int y0, int x1, int y1, int colorIndex) {
    if (x0 >= x1 || y0 >= y1)
        return;
    Ink ink;
    ink.kind = Ink::Kind::Color;
    ink.rgb = RgbFromColorRef(GetSysColor(colorIndex));
    ink.rop2 = R2_COPYPEN;
    const POINT a = dc.ToTarget(x0, y0), b = dc.ToTarget(x1, y1);
    PaintShape(dc, Region(RECT{a.x, a.y, b.x, b.y}), ink);
}

// One ring of lines on the flagged sides; the bottom and right lines own their corners.
void Ring(DcObj& dc, const RECT& r, UINT flags, const EdgeColors& c) {
    if (flags & BF_TOP) Line(dc, r.left, r.top, r.right - 1, r.top + 1, c.topLeft);
    if (flags & BF_LEFT) Line(dc, r.left, r.top, r.left + 1, r.bottom - 1, c.topLeft);
    if (flags & BF_BOTTOM) Line(dc, r.left, r.bottom - 1, r.right, r.bottom, c.bottomRight);
    if (flags & BF_RIGHT) Line(dc, r.right - 1, r.top, r.right, r.bottom, c.bottomRight);
}

void Shrink(RECT& r, UINT flags) {
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
}

// Colours of the outer and inner rings for the edge bits and the style flags.
void RingColors(UINT edge, UINT flags, std::optional<EdgeColors>* outer, std::optional<EdgeColors>* inner) {
    if (flags & BF_MONO) {
        if (edge & BDR_OUTER) *outer = EdgeColors{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
        if (edge & BDR_INNER) *inner = EdgeColors{COLOR_WINDOW, COLOR_WINDOW};
        return;
    }
    if (flags & BF_FLAT) {
        if (edge & BDR_OUTER) *outer = EdgeColors{COLOR_3DSHADOW, COLOR_3DSHADOW};
        if (edge & BDR_INNER) *inner = EdgeColors{COLOR_3DFACE, COLOR_3DFACE};
        return;
    }
    const bool soft = (flags & BF_SOFT) != 0;
    if (edge & BDR_RAISEDOUTER)
        *outer = EdgeColors{soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    else if (edge & BDR_SUNKENOUTER)
        *outer = EdgeColors{soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
    if (edge & BDR_RAISEDINNER)
        *inner = EdgeColors{soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW};
    else if (edge & BDR_SUNKENINNER)
        *inner = EdgeColors{soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

void Diagonal(DcObj& dc, const RECT& r, UINT flags, const EdgeColors& c) {
    // The line runs between the two corners the flags name; its colour follows its side.
    const bool toTopRight = (flags & BF_DIAGONAL_ENDTOPRIGHT) == BF_DIAGONAL_ENDTOPRIGHT ||
                            (flags & BF_DIAGONAL_ENDBOTTOMLEFT) == BF_DIAGONAL_ENDBOTTOMLEFT;
    const int color = (flags & (BF_TOP | BF_LEFT)) == (BF_TOP | BF_LEFT) ? c.topLeft : c.bottomRight;
    const int n = std::min(r.right - r.left, r.bottom - r.top);
    for (int i = 0; i < n; ++i) {
        const int x = r.left + i;
        const int y = toTopRight ? r.bottom - 1 - i : r.top + i;
        Line(dc, x, y, x + 1, y + 1, color);
    }
}

} // namespace

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    RecordCall(*dc, "DrawEdge", FormatArgs({rect->left, rect->top, rect->right, rect->bottom, edge, flags}));
    std::optional<EdgeColors> outer, inner;
    RingColors(edge, flags, &outer, &inner);
    RECT r = *rect;
    if (flags & BF_DIAGONAL) {
        if (outer)
            Diagonal(*dc, r, flags, *outer);
        return TRUE;
    }
    for (const std::optional<EdgeColors>* ring : {&outer, &inner}) {
        if (!*ring)
            continue;
        Ring(*dc, r, flags, **ring);
        Shrink(r, flags);
    }
    if (flags & BF_MIDDLE)
        FillRect(handle, &r, GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
    if (flags & BF_ADJUST)
        *rect = r;
    return TRUE;
}
