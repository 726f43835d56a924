// The standard scroll bars of a window (WS_HSCROLL, WS_VSCROLL): range, page, position,
// and the mouse tracking that turns presses on them into WM_HSCROLL/WM_VSCROLL.
#pragma once

#include "platform/win/user/User.h"

struct SCROLLINFO { UINT cbSize; UINT fMask; int nMin; int nMax; UINT nPage; int nPos; int nTrackPos; };
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
constexpr UINT ESB_ENABLE_BOTH = 0, ESB_DISABLE_BOTH = 3;

// A bar whose range fits in its page disappears, and comes back when the range grows
// (unless SIF_DISABLENOSCROLL keeps it, disabled). The position stays in the range.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
int SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, INT* min, INT* max);
BOOL ShowScrollBar(HWND window, int bar, BOOL show);
BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows);

// Thumb rectangle of a bar in window coordinates (empty when the bar has no thumb).
RECT UserScrollThumbRect(HWND window, int bar);
// Tracks a press on a bar (hit HTVSCROLL or HTHSCROLL at a screen point) until release.
void UserTrackScrollBar(HWND window, LRESULT hit, POINT screen);
