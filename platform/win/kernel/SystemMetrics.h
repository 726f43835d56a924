// System metrics and parameters with the classic look's fixed values, over a screen whose
// size and work area tests may change.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/gdi/Gdi.h"

constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXFIXEDFRAME = 7,
              SM_CYFIXEDFRAME = 8, SM_CYVTHUMB = 9, SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12,
              SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17,
              SM_CYKANJIWINDOW = 18, SM_MOUSEPRESENT = 19, SM_CYVSCROLL = 20, SM_CXHSCROLL = 21, SM_DEBUG = 22,
              SM_SWAPBUTTON = 23, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30, SM_CYSIZE = 31, SM_CXFRAME = 32,
              SM_CYFRAME = 33, SM_CXSIZEFRAME = 32, SM_CYSIZEFRAME = 33, SM_CXMINTRACK = 34, SM_CYMINTRACK = 35,
              SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXICONSPACING = 38, SM_CYICONSPACING = 39,
              SM_MENUDROPALIGNMENT = 40, SM_DBCSENABLED = 42, SM_CMOUSEBUTTONS = 43, SM_CXEDGE = 45,
              SM_CYEDGE = 46, SM_CXMINSPACING = 47, SM_CYMINSPACING = 48, SM_CXSMICON = 49, SM_CYSMICON = 50,
              SM_CYSMCAPTION = 51, SM_CXSMSIZE = 52, SM_CYSMSIZE = 53, SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55,
              SM_ARRANGE = 56, SM_CXMINIMIZED = 57, SM_CYMINIMIZED = 58, SM_CXMAXTRACK = 59, SM_CYMAXTRACK = 60,
              SM_CXMAXIMIZED = 61, SM_CYMAXIMIZED = 62, SM_NETWORK = 63, SM_CLEANBOOT = 67, SM_CXDRAG = 68,
              SM_CYDRAG = 69, SM_SHOWSOUNDS = 70, SM_CXMENUCHECK = 71, SM_CYMENUCHECK = 72, SM_SLOWMACHINE = 73,
              SM_MIDEASTENABLED = 74, SM_MOUSEWHEELPRESENT = 75, SM_XVIRTUALSCREEN = 76, SM_YVIRTUALSCREEN = 77,
              SM_CXVIRTUALSCREEN = 78, SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80, SM_SAMEDISPLAYFORMAT = 81,
              SM_CXFOCUSBORDER = 83, SM_CYFOCUSBORDER = 84, SM_REMOTESESSION = 0x1000;

// Unknown indices answer 0, as the original.
int GetSystemMetrics(int index);

// The screen (default 1024 x 768) and its work area (default the screen less a 30-pixel task
// bar at the bottom). Setting the screen size also sizes the drawing layer's desktop and puts
// the work area back to its default for that size.
void SetScreenSize(int width, int height);
void SetWorkArea(const RECT& area);
// The width of vertical scroll bars and the height of horizontal ones (default 16 each), as
// the display settings may make them: SM_CXVSCROLL, SM_CXHSCROLL and SM_CXHTHUMB answer the
// width, SM_CYHSCROLL, SM_CYVSCROLL and SM_CYVTHUMB the height.
void SetScrollBarSize(int width, int height);
RECT WorkArea();

constexpr UINT SPI_GETBEEP = 0x0001, SPI_GETMOUSE = 0x0003, SPI_GETBORDER = 0x0005,
               SPI_GETSCREENSAVETIMEOUT = 0x000E, SPI_GETSCREENSAVEACTIVE = 0x0010, SPI_GETICONTITLELOGFONT = 0x001F,
               SPI_GETDRAGFULLWINDOWS = 0x0026, SPI_GETNONCLIENTMETRICS = 0x0029, SPI_GETWORKAREA = 0x0030,
               SPI_GETHIGHCONTRAST = 0x0042, SPI_GETFONTSMOOTHING = 0x004A, SPI_GETWINDOWSEXTENSION = 0x005C,
               SPI_GETWHEELSCROLLLINES = 0x0068, SPI_GETMENUSHOWDELAY = 0x006A, SPI_GETMENUANIMATION = 0x1002,
               SPI_GETCOMBOBOXANIMATION = 0x1004, SPI_GETGRADIENTCAPTIONS = 0x1008, SPI_GETKEYBOARDCUES = 0x100A,
               SPI_GETFLATMENU = 0x1022, SPI_GETCARETWIDTH = 0x2006;

struct NONCLIENTMETRICSA {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
};
static_assert(sizeof(NONCLIENTMETRICSA) == 340);
using NONCLIENTMETRICS = NONCLIENTMETRICSA;

// The queries above; pvParam receives the answer (a RECT, NONCLIENTMETRICS with its cbSize
// set, LOGFONT, UINT or BOOL as the original). Unknown actions or a wrong record size fail
// with ERROR_INVALID_PARAMETER. No setting can be changed.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);
inline BOOL SystemParametersInfo(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni)
{
    return SystemParametersInfoA(action, uiParam, pvParam, winIni);
}
