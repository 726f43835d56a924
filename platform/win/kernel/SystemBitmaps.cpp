// OBM_CHECKBOXES: 52 x 39 pixels, a 4 x 3 grid of 13 x 13 cells. Each cell is a sunken box
// (shadow and dark shadow above and left, highlight and light below and right) or a sunken
// circle; pushed cells have a face-coloured inside; checked cells carry a tick or a dot.
#include "platform/win/kernel/SystemBitmaps.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Resources.h"

namespace {

constexpr int kCell = 13;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    const RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Tick(HDC dc, int x, int y, COLORREF color)
{
    constexpr int kRows[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k)
            SetPixelV(dc, x + i, y + kRows[i] + k, color);
}

void Box(HDC dc, int x, int y, bool checked, bool pushed, bool threeState)
{
    Fill(dc, x, y, x + kCell, y + kCell, GetSysColor(COLOR_3DHILIGHT));
    Fill(dc, x, y, x + kCell - 1, y + kCell - 1, GetSysColor(COLOR_3DLIGHT));
    Fill(dc, x, y, x + kCell - 1, y + 1, GetSysColor(COLOR_3DSHADOW));
    Fill(dc, x, y, x + 1, y + kCell - 1, GetSysColor(COLOR_3DSHADOW));
    Fill(dc, x + 1, y + 1, x + kCell - 2, y + 2, GetSysColor(COLOR_3DDKSHADOW));
    Fill(dc, x + 1, y + 1, x + 2, y + kCell - 2, GetSysColor(COLOR_3DDKSHADOW));
    Fill(dc, x + 2, y + 2, x + kCell - 2, y + kCell - 2, GetSysColor(pushed || threeState ? COLOR_3DFACE : COLOR_WINDOW));
    if (checked)
        Tick(dc, x + 3, y + 3, threeState ? GetSysColor(COLOR_3DSHADOW) : GetSysColor(COLOR_WINDOWTEXT));
}

// Rings by distance from the centre of a 12 x 12 circle; the upper-left half of each ring is
// the dark side of the sunken edge.
void Circle(HDC dc, int x, int y, bool checked, bool pushed)
{
    for (int py = 0; py < 12; ++py) {
        for (int px = 0; px < 12; ++px) {
            const double dx = px - 5.5, dy = py - 5.5;
            const double d2 = dx * dx + dy * dy;
            const bool upperLeft = px + py < 11;
            COLORREF color;
            if (d2 >= 36.0)
                continue;
            if (d2 >= 25.0)
                color = GetSysColor(upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
            else if (d2 >= 16.0)
                color = GetSysColor(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
            else if (checked && d2 < 4.0)
                color = GetSysColor(COLOR_WINDOWTEXT);
            else
                color = GetSysColor(pushed ? COLOR_3DFACE : COLOR_WINDOW);
            SetPixelV(dc, x + px, y + py, color);
        }
    }
}

HBITMAP CheckBoxes()
{
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC dc = CreateCompatibleDC(display);
    HBITMAP bitmap = CreateCompatibleBitmap(display, 4 * kCell, 3 * kCell);
    HGDIOBJ old = SelectObject(dc, bitmap);
    Fill(dc, 0, 0, 4 * kCell, 3 * kCell, GetSysColor(COLOR_3DFACE));
    for (int column = 0; column < 4; ++column) {
        const bool checked = (column % 2) == 1, pushed = column >= 2;
        Box(dc, column * kCell, 0, checked, pushed, false);
        Circle(dc, column * kCell, kCell, checked, pushed);
        Box(dc, column * kCell, 2 * kCell, checked, pushed, true);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteDC(display);
    return bitmap;
}

} // namespace

HBITMAP CreateSystemBitmap(WORD id) { return id == OBM_CHECKBOXES ? CheckBoxes() : nullptr; }
