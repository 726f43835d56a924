// Frame controls: push buttons, check boxes, radio buttons, scroll arrows and
// caption buttons, drawn from edges, system colours and small glyphs.
#include "platform/win/gdi/Raster.h"
#include "platform/win/gdi/Shapes.h"

#include <algorithm>

namespace {

void Fill(HDC dc, const RECT& r, int colorIndex) { FillRect(dc, &r, GetSysColorBrush(colorIndex)); }

void Dot(HDC dc, int x, int y, int colorIndex) {
    const RECT r{x, y, x + 1, y + 1};
    Fill(dc, r, colorIndex);
}

RECT Square(const RECT& r) {
    const int side = std::min(r.right - r.left, r.bottom - r.top);
    const int top = r.top + (r.bottom - r.top - side) / 2;
    return {r.left, top, r.left + side, top + side};
}

RECT Centered(const RECT& r, int w, int h) {
    const int x = r.left + (r.right - r.left - w) / 2, y = r.top + (r.bottom - r.top - h) / 2;
    return {x, y, x + w, y + h};
}

// A push-button face; answers the area inside the edges.
RECT ButtonFace(HDC dc, const RECT& rect, UINT state) {
    RECT r = rect;
    UINT flags = BF_RECT | BF_MIDDLE | BF_ADJUST | BF_SOFT;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    DrawEdge(dc, &r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED, flags);
    return r;
}

int GlyphColor(UINT state) { return (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT; }

void CheckMark(HDC dc, const RECT& box, int colorIndex) {
    // A 7 x 7 tick, three pixels thick, centred in the box.
    const RECT g = Centered(box, 7, 7);
    for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? g.top + 2 + i : g.top + 6 - i;
        for (int t = 0; t < 3; ++t)
            Dot(dc, g.left + i, top + t, colorIndex);
    }
}

BOOL CheckBox(HDC dc, const RECT& rect, UINT state) {
    RECT box = Square(rect);
    if (state & DFCS_FLAT)
        DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
    else
        DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    Fill(dc, box, (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_3DFACE : COLOR_WINDOW);
    if (state & DFCS_CHECKED)
        CheckMark(dc, box, (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    return TRUE;
}

void PaintRegion(HDC dc, const Region& shape, int colorIndex) {
    const std::vector<RECT> rects = shape.Rects();
    for (const RECT& r : rects)
        Fill(dc, r, colorIndex);
}

// Rings of a circle, split between the upper-left and lower-right halves.
void Ring(HDC dc, const RECT& outer, int inset, int upperLeft, int lowerRight) {
    const Region ring = Region::Combine(
        EllipseShape(outer.left + inset, outer.top + inset, outer.right - inset, outer.bottom - inset),
        EllipseShape(outer.left + inset + 1, outer.top + inset + 1, outer.right - inset - 1, outer.bottom - inset - 1),
        Region::Op::Diff);
    const int sum = outer.left + outer.right + outer.top + outer.bottom - 2;
    std::vector<std::vector<Region::Span>> ul, lr;
    const RECT box = ring.Bounds();
    ul.resize(static_cast<std::size_t>(box.bottom - box.top));
    lr.resize(ul.size());
    for (const RECT& r : ring.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                (2 * (x + y) < sum ? ul : lr)[static_cast<std::size_t>(y - box.top)].emplace_back(x, x + 1);
    PaintRegion(dc, Region::FromRows(box.top, std::move(ul)), upperLeft);
    PaintRegion(dc, Region::FromRows(box.top, std::move(lr)), lowerRight);
}

BOOL RadioButton(HDC dc, const RECT& rect, UINT state) {
    const RECT box = Square(rect);
    const int side = box.right - box.left;
    if ((state & 0xF) == DFCS_BUTTONRADIOMASK) {
        Fill(dc, box, COLOR_WINDOW);
        PaintRegion(dc, EllipseShape(box.left, box.top, box.right, box.bottom), COLOR_WINDOWTEXT);
        return TRUE;
    }
    Ring(dc, box, 0, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    Ring(dc, box, 1, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    PaintRegion(dc, EllipseShape(box.left + 2, box.top + 2, box.right - 2, box.bottom - 2),
                (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_3DFACE : COLOR_WINDOW);
    if (state & DFCS_CHECKED) {
        const int d = std::max(2, side / 3);
        const RECT dot = Centered(box, d, d);
        PaintRegion(dc, EllipseShape(dot.left, dot.top, dot.right, dot.bottom),
                    (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    }
    return TRUE;
}

// A solid triangle pointing in one direction, `size` pixels along its base.
void Arrow(HDC dc, const RECT& area, UINT direction, int colorIndex) {
    const int size = std::max(3, (std::min(area.right - area.left, area.bottom - area.top) * 2 / 3) | 1);
    const int half = size / 2;
    const bool vertical = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLDOWN;
    const RECT g = vertical ? Centered(area, size, half + 1) : Centered(area, half + 1, size);
    for (int i = 0; i <= half; ++i) {
        RECT row{};
        switch (direction) {
        case DFCS_SCROLLUP: row = {g.left + half - i, g.top + i, g.left + half + i + 1, g.top + i + 1}; break;
        case DFCS_SCROLLDOWN: row = {g.left + i, g.top + i, g.right - i, g.top + i + 1}; break;
        case DFCS_SCROLLLEFT: row = {g.left + i, g.top + half - i, g.left + i + 1, g.top + half + i + 1}; break;
        default: row = {g.left + i, g.top + i, g.left + i + 1, g.bottom - i}; break;
        }
        Fill(dc, row, colorIndex);
    }
}

BOOL ScrollButton(HDC dc, const RECT& rect, UINT state) {
    RECT face = ButtonFace(dc, rect, state & ~DFCS_CHECKED);
    if (state & DFCS_PUSHED)
        OffsetRect(&face, 1, 1);
    Arrow(dc, face, state & 0xF, GlyphColor(state));
    return TRUE;
}

void CaptionGlyph(HDC dc, const RECT& area, UINT kind, int colorIndex) {
    const int side = std::max(4, std::min(area.right - area.left, area.bottom - area.top) - 4);
    const RECT g = Centered(area, side, side);
    switch (kind) {
    case DFCS_CAPTIONCLOSE:
        for (int i = 0; i < side; ++i) {
            Fill(dc, {g.left + i, g.top + i, g.left + i + 2, g.top + i + 1}, colorIndex);
            Fill(dc, {g.right - i - 2, g.top + i, g.right - i, g.top + i + 1}, colorIndex);
        }
        break;
    case DFCS_CAPTIONMIN: Fill(dc, {g.left, g.bottom - 2, g.right - side / 3, g.bottom}, colorIndex); break;
    case DFCS_CAPTIONMAX: {
        const RECT frame = g;
        FrameRect(dc, &frame, GetSysColorBrush(colorIndex));
        Fill(dc, {g.left, g.top + 1, g.right, g.top + 2}, colorIndex);
        break;
    }
    case DFCS_CAPTIONRESTORE: {
        const int s = side * 2 / 3;
        const RECT back{g.right - s, g.top, g.right, g.top + s}, front{g.left, g.bottom - s, g.left + s, g.bottom};
        FrameRect(dc, &back, GetSysColorBrush(colorIndex));
        Fill(dc, front, COLOR_3DFACE);
        FrameRect(dc, &front, GetSysColorBrush(colorIndex));
        Fill(dc, {front.left, front.top + 1, front.right, front.top + 2}, colorIndex);
        break;
    }
    default: {  // help: a question mark
        const int cx = g.left + side / 2;
        Fill(dc, {cx - 2, g.top, cx + 2, g.top + 1}, colorIndex);
        Fill(dc, {cx + 1, g.top + 1, cx + 3, g.top + side / 2}, colorIndex);
        Fill(dc, {cx - 1, g.top + side / 2, cx + 1, g.bottom - 3}, colorIndex);
        Fill(dc, {cx - 1, g.bottom - 2, cx + 1, g.bottom}, colorIndex);
        break;
    }
    }
}

BOOL CaptionButton(HDC dc, const RECT& rect, UINT state) {
    RECT face = ButtonFace(dc, rect, state & ~DFCS_CHECKED);
    if (state & DFCS_PUSHED)
        OffsetRect(&face, 1, 1);
    CaptionGlyph(dc, face, state & 0xF, GlyphColor(state));
    return TRUE;
}

} // namespace

BOOL DrawFrameControl(HDC handle, LPRECT rect, UINT type, UINT state) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !rect)
        return FALSE;
    RecordCall(*dc, "DrawFrameControl", FormatArgs({rect->left, rect->top, rect->right, rect->bottom, type, state}));
    switch (type) {
    case DFC_BUTTON:
        if (state & DFCS_BUTTONPUSH) {
            const RECT inside = ButtonFace(handle, *rect, state);
            if (state & DFCS_ADJUSTRECT)
                *rect = inside;
            return TRUE;
        }
        switch (state & 0xF) {
        case DFCS_BUTTONRADIO:
        case DFCS_BUTTONRADIOIMAGE:
        case DFCS_BUTTONRADIOMASK: return RadioButton(handle, *rect, state);
        default: break;
        }
        return CheckBox(handle, *rect, state);
    case DFC_SCROLL: return ScrollButton(handle, *rect, state);
    case DFC_CAPTION: return CaptionButton(handle, *rect, state);
    default: return FALSE;
    }
}
