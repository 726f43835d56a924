// Drawing attributes of a DC and the logical/device coordinate origins.
#include "platform/win/gdi/DeviceContext.h"

namespace {

template <class T>
T Exchange(HDC handle, T DcState::*field, T value, T failure) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return failure;
    T previous = dc->state.*field;
    dc->state.*field = value;
    return previous;
}

template <class T>
T Read(HDC handle, T DcState::*field, T failure) {
    DcObj* dc = LookupDC(handle);
    return dc ? dc->state.*field : failure;
}

BOOL SetPoint(HDC handle, POINT DcState::*field, int x, int y, LPPOINT previous, bool relative) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return FALSE;
    POINT& p = dc->state.*field;
    if (previous)
        *previous = p;
    p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
    return TRUE;
}

BOOL GetPoint(HDC handle, POINT DcState::*field, LPPOINT out) {
    DcObj* dc = LookupDC(handle);
    if (!dc || !out)
        return FALSE;
    *out = dc->state.*field;
    return TRUE;
}

} // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::textColor, color & 0xFFFFFF, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Read(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::bkColor, color & 0xFFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &DcState::bkColor, CLR_INVALID); }

int SetBkMode(HDC dc, int mode) {
    return mode == OPAQUE || mode == TRANSPARENT ? Exchange(dc, &DcState::bkMode, mode, 0) : 0;
}
int GetBkMode(HDC dc) { return Read(dc, &DcState::bkMode, 0); }
int SetROP2(HDC dc, int rop2) { return rop2 >= R2_BLACK && rop2 <= R2_WHITE ? Exchange(dc, &DcState::rop2, rop2, 0) : 0; }
int GetROP2(HDC dc) { return Read(dc, &DcState::rop2, 0); }
int SetStretchBltMode(HDC dc, int mode) {
    return mode >= BLACKONWHITE && mode <= HALFTONE ? Exchange(dc, &DcState::stretchMode, mode, 0) : 0;
}
int GetStretchBltMode(HDC dc) { return Read(dc, &DcState::stretchMode, 0); }
int SetPolyFillMode(HDC dc, int mode) {
    return mode == ALTERNATE || mode == WINDING ? Exchange(dc, &DcState::fillMode, mode, 0) : 0;
}
int GetPolyFillMode(HDC dc) { return Read(dc, &DcState::fillMode, 0); }
// Only the text mapping mode exists: one logical unit is one pixel.
int SetMapMode(HDC dc, int mode) { return mode == MM_TEXT ? Exchange(dc, &DcState::mapMode, mode, 0) : 0; }
int GetMapMode(HDC dc) { return Read(dc, &DcState::mapMode, 0); }
int SetArcDirection(HDC dc, int direction) {
    return direction == AD_COUNTERCLOCKWISE || direction == AD_CLOCKWISE
               ? Exchange(dc, &DcState::arcDirection, direction, 0) : 0;
}
int GetArcDirection(HDC dc) { return Read(dc, &DcState::arcDirection, 0); }
UINT SetTextAlign(HDC dc, UINT align) { return Exchange(dc, &DcState::textAlign, align, static_cast<UINT>(-1)); }
UINT GetTextAlign(HDC dc) { return Read(dc, &DcState::textAlign, static_cast<UINT>(-1)); }
int SetTextCharacterExtra(HDC dc, int extra) { return Exchange(dc, &DcState::charExtra, extra, static_cast<int>(0x80000000)); }
int GetTextCharacterExtra(HDC dc) { return Read(dc, &DcState::charExtra, static_cast<int>(0x80000000)); }
COLORREF SetDCBrushColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::dcBrushColor, color, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::dcPenColor, color, CLR_INVALID); }

BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) { return SetPoint(dc, &DcState::brushOrigin, x, y, previous, false); }
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin) { return GetPoint(dc, &DcState::brushOrigin, origin); }
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) { return SetPoint(dc, &DcState::viewportOrigin, x, y, previous, false); }
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) { return GetPoint(dc, &DcState::viewportOrigin, origin); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) { return SetPoint(dc, &DcState::viewportOrigin, dx, dy, previous, true); }
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) { return SetPoint(dc, &DcState::windowOrigin, x, y, previous, false); }
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) { return GetPoint(dc, &DcState::windowOrigin, origin); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous) { return SetPoint(dc, &DcState::windowOrigin, dx, dy, previous, true); }
BOOL GetCurrentPositionEx(HDC dc, LPPOINT point) { return GetPoint(dc, &DcState::position, point); }

BOOL LPtoDP(HDC handle, LPPOINT points, int count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || (!points && count > 0))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->ToDevice(points[i].x, points[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC handle, LPPOINT points, int count) {
    DcObj* dc = LookupDC(handle);
    if (!dc || (!points && count > 0))
        return FALSE;
    const POINT zero = dc->ToDevice(0, 0);
    for (int i = 0; i < count; ++i)
        points[i] = {points[i].x - zero.x, points[i].y - zero.y};
    return TRUE;
}

COLORREF GetNearestColor(HDC handle, COLORREF color) {
    DcObj* dc = LookupDC(handle);
    if (!dc)
        return CLR_INVALID;
    const PixelBuffer target = dc->Target();
    const int bpp = dc->memory ? target.bpp : GdiDisplayBitsPerPixel();
    if (bpp <= 8) {
        const std::vector<RGBQUAD>& table = target.colors && dc->memory ? *target.colors : FixedColorTable256();
        return ColorRefFromRgb(RgbOf(table[NearestIndex(table, RgbFromColorRef(color))]));
    }
    return color & 0xFFFFFF;
}
