// The theme library "UxTheme.dll": an entry of the module table that programs load and bind
// by name. Tests make it absent, present with the classic look (inactive) or present with a
// visual style (active). The style is the stand-in's own: rounded, lightly shaded faces per
// part and state, drawn with GDI, so pictures are deterministic. Every entry logs its calls.
// The entries are reached only through GetProcAddress, with the signatures below.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/kernel/Modules.h"

#include <string>
#include <vector>

struct LOGFONTW;

constexpr char kThemeModuleName[] = "UxTheme.dll";

enum class TThemeModuleState : BYTE { Absent, Inactive, Active };
// The default is Inactive: the library is there and the classic look is in force.
void SetThemeModuleState(TThemeModuleState state);
TThemeModuleState ThemeModuleState();

// Paints the parent window's background into a child's device context (the window system
// installs it at start-up); false when it could not.
using TThemeParentBackgroundPainter = bool (*)(HWND child, HDC dc, const RECT* area);
void SetThemeParentBackgroundPainter(TThemeParentBackgroundPainter painter);

// The window system calls this when a window is destroyed: its theme settings (SetWindowTheme,
// dialog texture, last theme) are forgotten, so a later window with the same handle starts clean.
void ThemeWindowDestroyed(HWND window);

// One logged call: the entry's name, the theme's class ("" without theme data), part, state,
// the rectangle (empty when none) and the window where one was given. Entries without a part
// log their number argument as the part: the flags of SetThemeAppProperties and
// EnableThemeDialogTexture, the colour or switch number, EnableTheming's value.
struct TThemeCall {
    std::string function;
    std::string className;
    int part;
    int state;
    RECT rect;
    HWND window;
};
const std::vector<TThemeCall>& ThemeCallLog();
void ClearThemeCallLog();
// Back to the start: Inactive, application properties 3, theming enabled, no window
// settings, empty log, no painter.
void ResetThemeModuleForTesting();

// The module table's view of the library.
TModuleExports ThemeModuleExports();
bool ThemeModulePresent();

constexpr DWORD STAP_ALLOW_NONCLIENT = 1;
constexpr DWORD STAP_ALLOW_CONTROLS = 2;
constexpr DWORD STAP_ALLOW_WEBCONTENT = 4;
constexpr DWORD ETDT_DISABLE = 1;
constexpr DWORD ETDT_ENABLE = 2;
constexpr DWORD ETDT_USETABTEXTURE = 4;
constexpr DWORD ETDT_ENABLETAB = 6;
constexpr DWORD DTT_GRAYED = 1;

constexpr HRESULT E_PROP_ID_UNSUPPORTED = static_cast<HRESULT>(0x80070490);

// Parts and states of the classes the style knows.
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4, BP_USERBUTTON = 5;
constexpr int PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
constexpr int RBS_UNCHECKEDNORMAL = 1, RBS_CHECKEDNORMAL = 5;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_CHECKEDNORMAL = 5, CBS_MIXEDNORMAL = 9;
constexpr int EP_EDITTEXT = 1;
constexpr int ETS_NORMAL = 1, ETS_HOT = 2, ETS_SELECTED = 3, ETS_DISABLED = 4, ETS_FOCUSED = 5, ETS_READONLY = 6,
              ETS_ASSIST = 7;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
constexpr int TP_BUTTON = 1, TP_DROPDOWNBUTTON = 2, TP_SPLITBUTTON = 3, TP_SPLITBUTTONDROPDOWN = 4,
              TP_SEPARATOR = 5, TP_SEPARATORVERT = 6;
constexpr int TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5, TS_HOTCHECKED = 6;
constexpr int WP_CAPTION = 1, WP_SMALLCAPTION = 2, WP_MINCAPTION = 3, WP_SMALLMINCAPTION = 4, WP_MAXCAPTION = 5,
              WP_SMALLMAXCAPTION = 6, WP_FRAMELEFT = 7, WP_FRAMERIGHT = 8, WP_FRAMEBOTTOM = 9,
              WP_SMALLFRAMELEFT = 10, WP_SMALLFRAMERIGHT = 11, WP_SMALLFRAMEBOTTOM = 12, WP_SYSBUTTON = 13,
              WP_MDISYSBUTTON = 14, WP_MINBUTTON = 15, WP_MDIMINBUTTON = 16, WP_MAXBUTTON = 17,
              WP_CLOSEBUTTON = 18, WP_SMALLCLOSEBUTTON = 19, WP_MDICLOSEBUTTON = 20, WP_RESTOREBUTTON = 21,
              WP_MDIRESTOREBUTTON = 22, WP_HELPBUTTON = 23, WP_MDIHELPBUTTON = 24;
constexpr int CS_ACTIVE = 1, CS_INACTIVE = 2, CS_DISABLED = 3;

// Theme properties the style answers.
constexpr int TMT_BORDERCOLOR = 3801, TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803;
constexpr int TMT_FLATMENUS = 1001;

// Signatures of the library's entries, in its binding order.
using PFNDrawThemeEdge = HRESULT (*)(HTHEME, HDC, int part, int state, const RECT* dest, UINT edge, UINT flags,
                                     RECT* content);
using PFNDrawThemeBackground = HRESULT (*)(HTHEME, HDC, int part, int state, const RECT* rect, const RECT* clip);
using PFNDrawThemeParentBackground = HRESULT (*)(HWND, HDC, const RECT* rect);
using PFNDrawThemeText = HRESULT (*)(HTHEME, HDC, int part, int state, LPCWSTR text, int count, DWORD flags,
                                     DWORD flags2, const RECT* rect);
using PFNDrawThemeIcon = HRESULT (*)(HTHEME, HDC, int part, int state, const RECT* rect, HANDLE imageList, int index);
using PFNOpenThemeData = HTHEME (*)(HWND, LPCWSTR classList);
using PFNCloseThemeData = HRESULT (*)(HTHEME);
using PFNIsThemeBackgroundPartiallyTransparent = BOOL (*)(HTHEME, int part, int state);
using PFNGetThemeBackgroundContentRect = HRESULT (*)(HTHEME, HDC, int part, int state, const RECT* bounds,
                                                     RECT* content);
using PFNSetWindowTheme = HRESULT (*)(HWND, LPCWSTR subAppName, LPCWSTR subIdList);
using PFNSetThemeAppProperties = void (*)(DWORD flags);
using PFNIsThemePartDefined = BOOL (*)(HTHEME, int part, int state);
using PFNGetThemeColor = HRESULT (*)(HTHEME, int part, int state, int prop, COLORREF* color);
using PFNGetThemeMetric = HRESULT (*)(HTHEME, HDC, int part, int state, int prop, int* value);
using PFNGetThemeString = HRESULT (*)(HTHEME, int part, int state, int prop, LPWSTR buffer, int size);
using PFNGetThemeBool = HRESULT (*)(HTHEME, int part, int state, int prop, BOOL* value);
using PFNGetThemeInt = HRESULT (*)(HTHEME, int part, int state, int prop, int* value);
using PFNGetThemeEnumValue = HRESULT (*)(HTHEME, int part, int state, int prop, int* value);
using PFNGetThemePosition = HRESULT (*)(HTHEME, int part, int state, int prop, POINT* point);
using PFNGetThemeFont = HRESULT (*)(HTHEME, HDC, int part, int state, int prop, LOGFONTW* font);
using PFNGetThemeRect = HRESULT (*)(HTHEME, int part, int state, int prop, RECT* rect);
using PFNGetThemeFilename = HRESULT (*)(HTHEME, int part, int state, int prop, LPWSTR buffer, int size);
using PFNGetThemeSysColor = COLORREF (*)(HTHEME, int colorId);
using PFNGetThemeSysColorBrush = HBRUSH (*)(HTHEME, int colorId);
using PFNGetThemeSysBool = BOOL (*)(HTHEME, int boolId);
using PFNIsThemeActive = BOOL (*)();
using PFNIsAppThemed = BOOL (*)();
using PFNGetWindowTheme = HTHEME (*)(HWND);
using PFNEnableThemeDialogTexture = HRESULT (*)(HWND, DWORD flags);
using PFNIsThemeDialogTextureEnabled = BOOL (*)(HWND);
using PFNEnableTheming = HRESULT (*)(BOOL enable);
