// Shared helpers of the standard window classes: fonts, colours from the parent's
// WM_CTLCOLOR* answer, and notifications to the parent.
#pragma once

#include "platform/win/user/WindowObject.h"

// The control's font (WM_SETFONT) or the default GUI font.
HFONT UserControlFont(HWND window);
// The cell height (tmHeight) of that font.
int UserControlFontHeight(HWND window);
// Asks the parent for the colours (WM_CTLCOLORxxx) and answers the background brush;
// the DC gets the text and background colours the parent chose.
HBRUSH UserControlColours(HWND window, HDC dc, UINT message);
// WM_COMMAND with (id, code) to the parent.
void UserNotifyParent(HWND window, WORD code);

// The painting messages of a class that paints all of its client area itself: the
// background is never erased (the paint covers it), WM_PAINT paints the update area through
// BeginPaint/EndPaint and WM_PRINTCLIENT paints on the DC it brings. True when `message`
// was one of these, with its result in `result`.
bool UserPaintWholeClient(HWND window, UINT message, WPARAM wParam, void (*paint)(HWND, HDC), LRESULT& result);

// Per-window state of a standard class, created on first use.
template <typename T>
T& UserClassData(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w->classData)
        w->classData = std::make_shared<T>();
    return *static_cast<T*>(w->classData.get());
}
