// Icons and cursors: an AND mask and a colour image, drawn mask first (AND) then
// image (XOR); a monochrome icon keeps both halves in a mask of twice the height.
#include "platform/win/gdi/DeviceContext.h"

namespace {

HBITMAP CopyBitmap(HBITMAP source) {
    BitmapObj* b = LookupBitmap(source);
    if (!b)
        return nullptr;
    auto copy = CloneBitmap(*b);
    copy->stock = false;
    copy->selectCount = 0;
    copy->deletePending = false;
    return static_cast<HBITMAP>(GdiInsertObject(std::move(copy)));
}

SIZE IconSize(const IconObj& icon) {
    BitmapObj* color = LookupBitmap(icon.color);
    BitmapObj* mask = LookupBitmap(icon.mask);
    if (color)
        return {color->width, color->height};
    return mask ? SIZE{mask->width, mask->height / 2} : SIZE{0, 0};
}

void Draw(HDC dc, int x, int y, int w, int h, HBITMAP bitmap, int sy, int sw, int sh, DWORD rop) {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bitmap);
    StretchBlt(dc, x, y, w, h, mem, 0, sy, sw, sh, rop);
    SelectObject(mem, old);
    DeleteDC(mem);
}

} // namespace

IconObj::~IconObj() {
    DeleteObject(mask);
    DeleteObject(color);
}

HICON CreateIconIndirect(ICONINFO* info) {
    if (!info || !LookupBitmap(info->hbmMask))
        return nullptr;
    auto icon = std::make_unique<IconObj>();
    icon->isIcon = info->fIcon;
    icon->xHotspot = info->xHotspot;
    icon->yHotspot = info->yHotspot;
    icon->mask = CopyBitmap(info->hbmMask);
    icon->color = CopyBitmap(info->hbmColor);
    return static_cast<HICON>(GdiInsertObject(std::move(icon)));
}

BOOL DestroyIcon(HICON icon) {
    if (!LookupIcon(icon))
        return FALSE;
    GdiDestroyObject(icon);
    return TRUE;
}

BOOL GetIconInfo(HICON handle, ICONINFO* info) {
    IconObj* icon = LookupIcon(handle);
    if (!icon || !info)
        return FALSE;
    SIZE size = IconSize(*icon);
    info->fIcon = icon->isIcon;
    // Icons report their centre as the hot spot.
    info->xHotspot = icon->isIcon ? static_cast<DWORD>(size.cx / 2) : icon->xHotspot;
    info->yHotspot = icon->isIcon ? static_cast<DWORD>(size.cy / 2) : icon->yHotspot;
    info->hbmMask = CopyBitmap(icon->mask);
    info->hbmColor = CopyBitmap(icon->color);
    return TRUE;
}

HICON CopyIcon(HICON handle) {
    IconObj* icon = LookupIcon(handle);
    if (!icon)
        return nullptr;
    ICONINFO info{icon->isIcon, icon->xHotspot, icon->yHotspot, icon->mask, icon->color};
    return CreateIconIndirect(&info);
}

BOOL DrawIconEx(HDC handle, int x, int y, HICON iconHandle, int width, int height, UINT, HBRUSH flickerBrush, UINT flags) {
    DcObj* dc = LookupDC(handle);
    IconObj* icon = LookupIcon(iconHandle);
    if (!dc || !icon)
        return FALSE;
    RecordCall(*dc, "DrawIconEx", FormatArgs({x, y, width, height, flags}));
    const SIZE size = IconSize(*icon);
    const int w = width ? width : size.cx, h = height ? height : size.cy;
    if (flickerBrush) {
        const RECT r{x, y, x + w, y + h};
        FillRect(handle, &r, flickerBrush);
    }
    // Masks map 0 to black and 1 to white whatever the DC's colours are.
    const COLORREF text = SetTextColor(handle, 0), back = SetBkColor(handle, 0xFFFFFF);
    const bool mono = icon->color == nullptr;
    if (flags & DI_MASK)
        Draw(handle, x, y, w, h, icon->mask, 0, size.cx, size.cy, SRCAND);
    if (flags & DI_IMAGE) {
        const DWORD rop = (flags & DI_MASK) ? SRCINVERT : SRCCOPY;
        if (mono)
            Draw(handle, x, y, w, h, icon->mask, size.cy, size.cx, size.cy, rop);
        else
            Draw(handle, x, y, w, h, icon->color, 0, size.cx, size.cy, rop);
    }
    SetTextColor(handle, text);
    SetBkColor(handle, back);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
