// Frames and borders of unit Oblutils.
#include "obl/core/draw/Oblutils.h"

#include "platform/win/gdi/Gdi.h"

namespace {

void UsePen(TCanvas* canvas, TColor color)
{
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
}

void UseBrush(TCanvas* canvas, TColor color)
{
    canvas->Brush()->SetColor(color);
    canvas->Brush()->SetStyle(bsSolid);
}

// One-pixel bevel: top and left lines, then right and bottom lines. Right and Bottom
// arrive one less than the rectangle's.
void DrawThinBevel(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight)
{
    r.right -= 1;
    UsePen(canvas, topLeft);
    canvas->Polyline({{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}});
    canvas->Pen()->SetColor(bottomRight);
    canvas->Polyline({{r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
    InflateRect(&r, -1, -1);
}

// Wide bevel: bands of w pixels, the top-left ones meeting the bottom-right ones on the
// corners' diagonals. Filled row by row so the bands are exactly w wide, leave no gaps on
// the diagonals and stay outside the rectangle handed back.
void DrawWideBevel(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int w)
{
    UseBrush(canvas, topLeft);
    for (int i = 0; i < w; ++i) {
        canvas->FillRect(Rect(r.left, r.top + i, r.right - 1 - i, r.top + i + 1));
        canvas->FillRect(Rect(r.left + i, r.top, r.left + i + 1, r.bottom - i));
    }
    UseBrush(canvas, bottomRight);
    for (int i = 0; i < w; ++i) {
        canvas->FillRect(Rect(r.right - 1 - i, r.top + i, r.right - i, r.bottom));
        canvas->FillRect(Rect(r.left + i + 1, r.bottom - 1 - i, r.right, r.bottom - i));
    }
    InflateRect(&r, -w, -w);
}

// Etched frame: per pixel of width a frame in the bottom-right colour shifted in from the
// top-left, then one in the top-left colour shifted in from the bottom-right.
void DrawEtchedFrame(TCanvas* canvas, TRect& r, TColor topLeft, TColor bottomRight, int w)
{
    for (int k = 0; k < w; ++k) {
        UseBrush(canvas, bottomRight);
        canvas->FrameRect(Rect(r.left + k + 1, r.top + k + 1, r.right, r.bottom));
        UseBrush(canvas, topLeft);
        canvas->FrameRect(Rect(r.left, r.top, r.right - k - 1, r.bottom - k - 1));
    }
    InflateRect(&r, -(w + 1), -(w + 1));
}

void Edge(TCanvas* canvas, TRect& rect, UINT edge, UINT flags) { DrawEdge(canvas->Handle(), &rect, edge, flags); }

void DrawTriangleLines(TCanvas* canvas, int x, int y, int size, bool down)
{
    if (down) {
        for (int k = 0; k <= size - 2; ++k) {
            canvas->MoveTo(x + k, y + k);
            canvas->LineTo(x + 2 * size - k - 1, y + k);
        }
        canvas->SetPixels(x + size - 1, y + size - 1, canvas->Pen()->Color());
        return;
    }
    const int middle = x + size / 2;
    for (int k = 0; k < size; ++k) {
        canvas->MoveTo(middle - k, y + k);
        canvas->LineTo(middle + k + 1, y + k);
    }
}

} // namespace

bool OBLDrawFrame3D(TCanvas* canvas, TRect& rect, TOBLBevelStyle style, TColor lightColor, TColor shadowColor,
                    int width)
{
    // A negative width would grow the rectangle; it draws nothing, like 0.
    if (width < 1 || style == bvNone || style == bvShadow) return false;
    const bool lowered = style == bvLowered || style == bvFrameLowered;
    TColor topLeft = lowered ? shadowColor : lightColor;
    TColor bottomRight = lowered ? lightColor : shadowColor;
    if (style == bvNormal) topLeft = bottomRight = clBlack;

    if (style == bvFrameLowered || style == bvFrameRaised) {
        DrawEtchedFrame(canvas, rect, topLeft, bottomRight, width);
        return true;
    }
    if (width > 1) {
        DrawWideBevel(canvas, rect, topLeft, bottomRight, width);
        return true;
    }
    rect.bottom -= 1;
    DrawThinBevel(canvas, rect, topLeft, bottomRight);
    rect.right += 1;
    rect.bottom += 1;
    return true;
}

bool OBLDrawFrameShadow(TCanvas* canvas, TRect& rect, TColor frameColor, TColor shadowColor, TColor backColor,
                        TOBLShadowDepth depth, std::uint8_t frameWidth, bool transparent, WORD)
{
    const int d = depth;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(shadowColor);
    canvas->FillRect(Rect(rect.right - d, rect.top + d, rect.right, rect.bottom));
    canvas->FillRect(Rect(rect.left + d, rect.bottom - d, rect.right, rect.bottom));
    if (!transparent) {
        canvas->Brush()->SetColor(backColor);
        canvas->FillRect(Rect(rect.right - d, rect.top, rect.right, rect.top + d));
        canvas->FillRect(Rect(rect.left, rect.bottom - d, rect.left + d, rect.bottom));
    }
    rect.right -= d;
    rect.bottom -= d;
    canvas->Brush()->SetColor(frameColor);
    for (int k = 0; k < frameWidth; ++k) {
        canvas->FrameRect(rect);
        InflateRect(&rect, -1, -1);
    }
    canvas->Pen()->SetWidth(1);
    return true;
}

int OBLDrawStdFrameExt(TOBLBorderStyle style)
{
    switch (style) {
    case lsNone: return 0;
    case lsSingle:
    case lsSingleRaised:
    case lsSingleLowered: return 1;
    default: return 2;
    }
}

bool OBLDrawStdFrame(TCanvas* canvas, TRect& rect, TOBLBorderStyle style, WORD extraFlags)
{
    const UINT f = extraFlags | BF_ADJUST;
    switch (style) {
    case lsNone: break;
    case lsSingle:
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_SOFT | BF_LEFT | BF_TOP);
        Edge(canvas, rect, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        break;
    case lsLowered: Edge(canvas, rect, EDGE_SUNKEN, f | BF_SOFT | BF_RECT); break;
    case lsRaised: Edge(canvas, rect, EDGE_RAISED, f | BF_SOFT | BF_RECT); break;
    case lsRaisedspb:
    case lsRaisedExt:
        Edge(canvas, rect, BDR_RAISEDOUTER, f | BF_SOFT | BF_RECT);
        Edge(canvas, rect, BDR_RAISEDINNER, BF_ADJUST | BF_RIGHT | BF_BOTTOM);
        if (style == lsRaisedExt) {
            rect.top += 1;
            rect.left += 1;
        }
        break;
    case lsLoweredspb:
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT);
        Edge(canvas, rect, BDR_SUNKENINNER, f | BF_LEFT | BF_TOP);
        break;
    case lsLoweredExt:
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT);
        Edge(canvas, rect, BDR_SUNKENINNER, BF_ADJUST | BF_LEFT | BF_TOP);
        rect.right -= 1;
        rect.bottom -= 1;
        break;
    case lsFrameInset: Edge(canvas, rect, EDGE_ETCHED, f | BF_RECT); break;
    case lsFrameOffset:
        Edge(canvas, rect, BDR_RAISEDINNER, f | BF_RECT);
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT);
        break;
    case lsWindowBorder:
        Edge(canvas, rect, BDR_RAISEDOUTER, f | BF_RIGHT | BF_BOTTOM);
        rect.top += 1;
        rect.left += 1;
        Edge(canvas, rect, BDR_RAISEDINNER, f | BF_RECT);
        break;
    case lsSingleRaised: Edge(canvas, rect, BDR_RAISEDINNER, f | BF_RECT); break;
    case lsSingleLowered: Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT); break;
    case lsDoubleRaised:
        Edge(canvas, rect, BDR_RAISEDINNER, f | BF_RECT);
        Edge(canvas, rect, BDR_RAISEDINNER, f | BF_RECT);
        break;
    case lsDoubleLowered:
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT);
        Edge(canvas, rect, BDR_SUNKENOUTER, f | BF_RECT);
        break;
    }
    return true;
}

void OBLDrawBorder(TCanvas* canvas, const TRect& rect, TColor topLeftColor, TColor bottomRightColor)
{
    canvas->Pen()->SetColor(topLeftColor);
    canvas->MoveTo(rect.left, rect.bottom - 1);
    canvas->LineTo(rect.left, rect.top);
    canvas->LineTo(rect.right - 1, rect.top);
    canvas->Pen()->SetColor(bottomRightColor);
    canvas->LineTo(rect.right - 1, rect.bottom - 1);
    canvas->LineTo(rect.left, rect.bottom - 1);
}

int OBLGetCtrlBorderWidth(bool flagA, TFormBorderStyle borderStyle, bool flagB)
{
    if (borderStyle != bsSingle) return 0;
    return flagA || flagB ? 2 : 1;
}

void OBLDrawTriangle(TCanvas* canvas, int x, int y, int size, TColor color, bool down, bool enabled)
{
    if (size < 2 || size > 15) return;
    if (!enabled) {
        UsePen(canvas, clHighlightText);
        DrawTriangleLines(canvas, x + 1, y + 1, size, down);
        color = clGrayText;
    }
    UsePen(canvas, color);
    DrawTriangleLines(canvas, x, y, size, down);
}
