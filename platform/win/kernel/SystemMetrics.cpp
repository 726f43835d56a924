#include "platform/win/kernel/SystemMetrics.h"

#include "platform/win/kernel/Errors.h"

#include <cstring>

namespace {

constexpr int kTaskBarHeight = 30;
// The classic non-client sizes: captions 18 high (19 with the line below), small captions 15.
constexpr int kCaptionWidth = 18, kCaptionHeight = 18, kSmCaptionWidth = 12, kSmCaptionHeight = 15;
constexpr int kMenuWidth = 18, kMenuHeight = 18, kScrollSize = 16, kBorderWidth = 1;
constexpr UINT kScreenSaveTimeoutSeconds = 600;

int screenWidth = 1024;
// The vertical bar's width and the horizontal bar's height (the arrows are as long).
int scrollWidth = kScrollSize;
int scrollHeight = kScrollSize;
int screenHeight = 768;
RECT workArea{0, 0, 1024, 768 - kTaskBarHeight};

int ScreenDependent(int index)
{
    const int workWidth = workArea.right - workArea.left, workHeight = workArea.bottom - workArea.top;
    switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: return screenWidth;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return screenHeight;
    case SM_CXFULLSCREEN: return workWidth;
    case SM_CYFULLSCREEN: return workHeight - (kCaptionHeight + 1);
    case SM_CXMAXTRACK: return screenWidth + 12;
    case SM_CYMAXTRACK: return screenHeight + 12;
    case SM_CXMAXIMIZED: return workWidth + 8;
    case SM_CYMAXIMIZED: return workHeight + 8;
    default: return -1;
    }
}

int Fixed(int index)
{
    switch (index) {
    case SM_CXVSCROLL: case SM_CXHSCROLL: case SM_CXHTHUMB: return scrollWidth;
    case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CYVTHUMB: return scrollHeight;
    case SM_CYCAPTION: return kCaptionHeight + 1;
    case SM_CXBORDER: case SM_CYBORDER: case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return kBorderWidth;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CYMENU: return kMenuHeight + 1;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: case SM_CMONITORS: case SM_SAMEDISPLAYFORMAT: case SM_NETWORK:
        return 1;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXSIZE: return kCaptionWidth;
    case SM_CYSIZE: return kCaptionHeight;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXMINSPACING: case SM_CXMINIMIZED: return 160;
    case SM_CYMINSPACING: case SM_CYMINIMIZED: return 24;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return kSmCaptionHeight + 1;
    case SM_CXSMSIZE: return kSmCaptionWidth;
    case SM_CYSMSIZE: return kSmCaptionHeight;
    case SM_CXMENUSIZE: return kMenuWidth;
    case SM_CYMENUSIZE: return kMenuHeight;
    case SM_ARRANGE: return 8;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    default: return 0;
    }
}

LOGFONTA Font(LONG weight)
{
    LOGFONTA font{};
    font.lfHeight = -11; // 8 points at 96 dots per inch
    font.lfWeight = weight;
    font.lfCharSet = 0;  // ANSI_CHARSET
    std::strcpy(font.lfFaceName, "Tahoma");
    return font;
}

NONCLIENTMETRICSA NonClientMetrics()
{
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    m.iBorderWidth = kBorderWidth;
    m.iScrollWidth = scrollWidth;
    m.iScrollHeight = scrollHeight;
    m.iCaptionWidth = kCaptionWidth;
    m.iCaptionHeight = kCaptionHeight;
    m.lfCaptionFont = Font(700);
    m.iSmCaptionWidth = kSmCaptionWidth;
    m.iSmCaptionHeight = kSmCaptionHeight;
    m.lfSmCaptionFont = Font(700);
    m.iMenuWidth = kMenuWidth;
    m.iMenuHeight = kMenuHeight;
    m.lfMenuFont = Font(400);
    m.lfStatusFont = Font(400);
    m.lfMessageFont = Font(400);
    return m;
}

template <typename T>
bool Store(LPVOID target, const T& value)
{
    if (target == nullptr)
        return false;
    std::memcpy(target, &value, sizeof value);
    return true;
}

BOOL Refuse()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

} // namespace

int GetSystemMetrics(int index)
{
    const int value = ScreenDependent(index);
    return value >= 0 ? value : Fixed(index);
}

void SetScreenSize(int width, int height)
{
    screenWidth = width;
    screenHeight = height;
    workArea = RECT{0, 0, width, height > kTaskBarHeight ? height - kTaskBarHeight : height};
    GdiSetDesktopSize(width, height);
}

void SetWorkArea(const RECT& area) { workArea = area; }

void SetScrollBarSize(int width, int height)
{
    scrollWidth = width;
    scrollHeight = height;
}

RECT WorkArea() { return workArea; }

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT)
{
    bool ok = false;
    switch (action) {
    case SPI_GETWORKAREA: ok = Store(pvParam, workArea); break;
    case SPI_GETNONCLIENTMETRICS: {
        auto* metrics = static_cast<NONCLIENTMETRICSA*>(pvParam);
        ok = metrics && metrics->cbSize == sizeof(NONCLIENTMETRICSA) && Store(pvParam, NonClientMetrics());
        break;
    }
    case SPI_GETICONTITLELOGFONT: ok = Store(pvParam, Font(400)); break;
    case SPI_GETSCREENSAVETIMEOUT: ok = Store(pvParam, kScreenSaveTimeoutSeconds); break;
    case SPI_GETWHEELSCROLLLINES: ok = Store(pvParam, UINT{3}); break;
    case SPI_GETMENUSHOWDELAY: ok = Store(pvParam, UINT{400}); break;
    case SPI_GETCARETWIDTH: ok = Store(pvParam, DWORD{1}); break;
    case SPI_GETBORDER: ok = Store(pvParam, int{kBorderWidth}); break;
    case SPI_GETBEEP: case SPI_GETSCREENSAVEACTIVE: case SPI_GETDRAGFULLWINDOWS: case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETKEYBOARDCUES: case SPI_GETMENUANIMATION: case SPI_GETCOMBOBOXANIMATION:
        ok = Store(pvParam, BOOL{TRUE});
        break;
    case SPI_GETFONTSMOOTHING: case SPI_GETFLATMENU: ok = Store(pvParam, BOOL{FALSE}); break;
    // Asked only on the 9x family, where the answer tells the Windows 95 shell extensions are
    // there; the value is not written anywhere.
    case SPI_GETWINDOWSEXTENSION: return TRUE;
    default: break;
    }
    return ok ? TRUE : Refuse();
}
