// The non-client area every window gets from the default window procedure: frame
// sizes, caption bar, caption buttons and scroll bars, in the classic look.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

// Sizes of the frame parts (pixels), from the system metrics.
int BorderWidth();
int DialogFrameWidth();
int SizingFrameWidth();
int ClientEdgeWidth();
int StaticEdgeWidth();
int CaptionHeight();
int SmallCaptionHeight();
int CaptionButtonWidth();
int CaptionButtonHeight();
int SmallCaptionButtonSize();
// Thickness of a vertical bar (its width) or of a horizontal one (its height).
int ScrollBarSize(bool vertical);
// Length of the arrow buttons along a vertical or a horizontal bar.
int ScrollArrowSize(bool vertical);

// Client rectangle for a window rectangle (both in the same coordinates).
RECT UserDefaultClientRect(DWORD style, DWORD exStyle, const RECT& window);
// Hit-test code of a screen point for a window, by its geometry alone.
LRESULT UserDefaultHitTest(HWND window, POINT screen);
// Draws the frame, caption and scroll bars of a window on its window DC.
void UserPaintNonClient(HWND window, bool active);
// The same on a given DC whose origin is the window rectangle's top-left corner (WM_PRINT).
void UserPaintNonClientOn(HDC dc, HWND window, bool active);
// True when the window's caption button works (a minimise or maximise box is shown greyed
// when the window has only the other one).
bool UserCaptionButtonEnabled(HWND window, LRESULT hit);
// Narrowest window width whose caption bar shows `text` whole, beside the icon and the
// caption buttons that the styles give it.
int UserCaptionMinimumWidth(DWORD style, DWORD exStyle, const AnsiString& text);
// Rectangle (window coordinates) of a caption button; empty when the window has none.
RECT UserCaptionButtonRect(HWND window, LRESULT hit);
