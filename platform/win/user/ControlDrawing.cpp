// Fonts, colours, notifications and painting shared by the standard window classes.
#include "platform/win/user/ControlDrawing.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"
#include "platform/win/user/WindowObject.h"

HFONT UserControlFont(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (w && w->font)
        return w->font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int UserControlFontHeight(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, UserControlFont(window));
    const int height = GdiTextHeight(dc);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return height;
}

HBRUSH UserControlColours(HWND window, HDC dc, UINT message) {
    const bool windowColours = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(windowColours ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(windowColours ? COLOR_WINDOW : COLOR_BTNFACE));
    HWND parent = GetParent(window);
    LRESULT brush = parent ? SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)) : 0;
    if (!brush)
        return GetSysColorBrush(windowColours ? COLOR_WINDOW : COLOR_BTNFACE);
    return reinterpret_cast<HBRUSH>(brush);
}

void UserNotifyParent(HWND window, WORD code) {
    HWND parent = GetParent(window);
    if (parent)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window)), code),
                     reinterpret_cast<LPARAM>(window));
}

bool UserPaintWholeClient(HWND window, UINT message, WPARAM wParam, void (*paint)(HWND, HDC), LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_ERASEBKGND: result = 1; return true;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        paint(window, dc);
        EndPaint(window, &ps);
        return true;
    }
    case WM_PRINTCLIENT: paint(window, reinterpret_cast<HDC>(wParam)); return true;
    default: return false;
    }
}
