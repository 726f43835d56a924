// Fonts, colours and notifications shared by the standard window classes.
#include "platform/win/user/ControlDrawing.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/WindowObject.h"

HFONT UserControlFont(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (w && w->font)
        return w->font;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
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
