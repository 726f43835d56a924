// The window-system stand-in: window classes and windows, the message queue, the
// non-client area, painting, input, focus, capture, timers, carets and the clipboard.
// Everything runs on the GUI thread; PostMessage alone may be called from any thread.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowStyles.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// ---------------------------------------------------------------- structures
struct MSG { HWND hwnd; UINT message; WPARAM wParam; LPARAM lParam; DWORD time; POINT pt; };
using LPMSG = MSG*;
struct WNDCLASSA {
    UINT style; WNDPROC lpfnWndProc; int cbClsExtra; int cbWndExtra; HINSTANCE hInstance; HICON hIcon;
    HCURSOR hCursor; HBRUSH hbrBackground; LPCSTR lpszMenuName; LPCSTR lpszClassName;
};
using WNDCLASS = WNDCLASSA;
struct CREATESTRUCTA {
    LPVOID lpCreateParams; HINSTANCE hInstance; HMENU hMenu; HWND hwndParent; int cy; int cx; int y; int x;
    LONG style; LPCSTR lpszName; LPCSTR lpszClass; DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTA;
struct WINDOWPOS { HWND hwnd; HWND hwndInsertAfter; int x; int y; int cx; int cy; UINT flags; };
struct NCCALCSIZE_PARAMS { RECT rgrc[3]; WINDOWPOS* lppos; };
struct MINMAXINFO { POINT ptReserved; POINT ptMaxSize; POINT ptMaxPosition; POINT ptMinTrackSize; POINT ptMaxTrackSize; };
struct PAINTSTRUCT { HDC hdc; BOOL fErase; RECT rcPaint; BOOL fRestore; BOOL fIncUpdate; BYTE rgbReserved[32]; };
struct DRAWITEMSTRUCT {
    UINT CtlType; UINT CtlID; UINT itemID; UINT itemAction; UINT itemState; HWND hwndItem; HDC hDC;
    RECT rcItem; DWORD_PTR itemData;
};
struct MEASUREITEMSTRUCT { UINT CtlType; UINT CtlID; UINT itemID; UINT itemWidth; UINT itemHeight; DWORD_PTR itemData; };
struct TRACKMOUSEEVENT { DWORD cbSize; DWORD dwFlags; HWND hwndTrack; DWORD dwHoverTime; };

// ---------------------------------------------------------------- constants
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
              SW_SHOWNA = 8, SW_RESTORE = 9, SW_SHOWDEFAULT = 10;
constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
               SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040,
               SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100, SWP_NOOWNERZORDER = 0x0200,
               SWP_NOSENDCHANGING = 0x0400, SWP_DEFERERASE = 0x2000, SWP_ASYNCWINDOWPOS = 0x4000;
constexpr int GWL_WNDPROC = -4, GWL_HINSTANCE = -6, GWL_HWNDPARENT = -8, GWL_ID = -12, GWL_STYLE = -16,
              GWL_EXSTYLE = -20, GWL_USERDATA = -21;
constexpr int GCL_HBRBACKGROUND = -10, GCL_HCURSOR = -12, GCL_STYLE = -26, GCL_WNDPROC = -24;
constexpr UINT PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002;
constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008,
               RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020, RDW_NOCHILDREN = 0x0040,
               RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100, RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400,
               RDW_NOFRAME = 0x0800;
constexpr DWORD DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_NORESETATTRS = 0x4, DCX_CLIPCHILDREN = 0x8,
                DCX_CLIPSIBLINGS = 0x10, DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80,
                DCX_EXCLUDEUPDATE = 0x100, DCX_INTERSECTUPDATE = 0x200, DCX_LOCKWINDOWUPDATE = 0x400,
                DCX_VALIDATE = 0x200000;
constexpr UINT CWP_ALL = 0, CWP_SKIPINVISIBLE = 1, CWP_SKIPDISABLED = 2, CWP_SKIPTRANSPARENT = 4;
constexpr DWORD TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_NONCLIENT = 0x10, TME_QUERY = 0x40000000,
                TME_CANCEL = 0x80000000, HOVER_DEFAULT = 0xFFFFFFFF;
constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13;
// Resource ids passed where a name is expected (cursor ids, class atoms).
inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<DWORD_PTR>(id)); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<DWORD_PTR>(name) >> 16) == 0; }
inline const LPCSTR IDC_ARROW = MAKEINTRESOURCEA(32512), IDC_IBEAM = MAKEINTRESOURCEA(32513),
                    IDC_WAIT = MAKEINTRESOURCEA(32514), IDC_CROSS = MAKEINTRESOURCEA(32515),
                    IDC_UPARROW = MAKEINTRESOURCEA(32516), IDC_SIZE = MAKEINTRESOURCEA(32640),
                    IDC_ICON = MAKEINTRESOURCEA(32641), IDC_SIZENWSE = MAKEINTRESOURCEA(32642),
                    IDC_SIZENESW = MAKEINTRESOURCEA(32643), IDC_SIZEWE = MAKEINTRESOURCEA(32644),
                    IDC_SIZENS = MAKEINTRESOURCEA(32645), IDC_SIZEALL = MAKEINTRESOURCEA(32646),
                    IDC_NO = MAKEINTRESOURCEA(32648), IDC_HAND = MAKEINTRESOURCEA(32649),
                    IDC_APPSTARTING = MAKEINTRESOURCEA(32650), IDC_HELP = MAKEINTRESOURCEA(32651);

// ---------------------------------------------------------------- window classes
ATOM RegisterClassA(const WNDCLASSA* windowClass);
inline ATOM RegisterClass(const WNDCLASSA* windowClass) { return RegisterClassA(windowClass); }
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);
inline BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass) { return GetClassInfoA(instance, className, windowClass); }
int GetClassNameA(HWND window, LPSTR name, int size);
inline int GetClassName(HWND window, LPSTR name, int size) { return GetClassNameA(window, name, size); }
DWORD_PTR GetClassLongA(HWND window, int index);

// ---------------------------------------------------------------- windows
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowEx(DWORD e, LPCSTR c, LPCSTR n, DWORD s, int x, int y, int w, int h, HWND p, HMENU m,
                           HINSTANCE i, LPVOID param) { return CreateWindowExA(e, c, n, s, x, y, w, h, p, m, i, param); }
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
BOOL IsChild(HWND parent, HWND window);
HWND GetParent(HWND window);
HWND SetParent(HWND window, HWND newParent);
HWND GetDesktopWindow();
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5;
HWND GetWindow(HWND window, UINT relation);
HWND GetTopWindow(HWND window);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
inline HWND FindWindow(LPCSTR className, LPCSTR windowName) { return FindWindowA(className, windowName); }
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
int GetWindowTextA(HWND window, LPSTR text, int size);
inline int GetWindowText(HWND window, LPSTR text, int size) { return GetWindowTextA(window, text, size); }
int GetWindowTextLengthA(HWND window);
inline int GetWindowTextLength(HWND window) { return GetWindowTextLengthA(window); }
BOOL SetWindowTextA(HWND window, LPCSTR text);
inline BOOL SetWindowText(HWND window, LPCSTR text) { return SetWindowTextA(window, text); }
// Window longs are pointer-wide, so GWL_WNDPROC holds a whole procedure address.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
inline LONG_PTR GetWindowLong(HWND window, int index) { return GetWindowLongA(window, index); }
inline LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value) { return SetWindowLongA(window, index, value); }
inline LONG_PTR GetWindowLongPtr(HWND window, int index) { return GetWindowLongA(window, index); }
inline LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) { return SetWindowLongA(window, index, value); }
// The window owns `region` (window coordinates) from then on; 0 removes it.
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
int GetWindowRgn(HWND window, HRGN copyInto);
BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

// ---------------------------------------------------------------- messages
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT CallWindowProc(WNDPROC p, HWND w, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProcA(p, w, m, wp, lp); }
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT DefWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) { return SendMessageA(w, m, wp, lp); }
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PostMessageA(w, m, wp, lp); }
void PostQuitMessage(int exitCode);
BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
inline BOOL PeekMessage(LPMSG m, HWND w, UINT mn, UINT mx, UINT r) { return PeekMessageA(m, w, mn, mx, r); }
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
inline BOOL GetMessage(LPMSG m, HWND w, UINT mn, UINT mx) { return GetMessageA(m, w, mn, mx); }
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
inline LRESULT DispatchMessage(const MSG* message) { return DispatchMessageA(message); }
BOOL WaitMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();
BOOL InSendMessage();

// ---------------------------------------------------------------- painting
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL ValidateRgn(HWND window, HRGN region);
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
int GetUpdateRgn(HWND window, HRGN region, BOOL erase);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);
constexpr UINT SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4;
// Scrolls the client area's bits: children move with SW_SCROLLCHILDREN, and what received no
// visible bits (the uncovered strip) is the update, invalidated with SW_INVALIDATE.
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags);
BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip);

// ---------------------------------------------------------------- focus, activation, capture
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetCapture(HWND window);
HWND GetCapture();
BOOL ReleaseCapture();

// ---------------------------------------------------------------- input
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* state);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
inline BOOL _TrackMouseEvent(TRACKMOUSEEVENT* track) { return TrackMouseEvent(track); }
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
inline HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) { return LoadCursorA(instance, name); }
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT milliseconds);

// ---------------------------------------------------------------- timers
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---------------------------------------------------------------- caret
BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND window);
BOOL HideCaret(HWND window);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);
// Which windows of the thread hold the focus, activation, capture and caret.
constexpr DWORD GUI_CARETBLINKING = 0x1, GUI_INMENUMODE = 0x4, GUI_POPUPMENUMODE = 0x10;
struct GUITHREADINFO {
    DWORD cbSize; DWORD flags; HWND hwndActive; HWND hwndFocus; HWND hwndCapture; HWND hwndMenuOwner;
    HWND hwndMoveSize; HWND hwndCaret; RECT rcCaret;
};
// Only the calling thread (0) is known; a cbSize other than the structure's fails.
BOOL GetGUIThreadInfo(DWORD thread, GUITHREADINFO* info);

// ---------------------------------------------------------------- clipboard
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// CF_TEXT data is a NUL-terminated Windows-1252 text, copied at once (the memory stays the caller's).
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();
