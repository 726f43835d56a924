// The default window procedure: texts, fonts, the non-client area and its mouse
// handling (move loop, caption buttons), activation defaults, erasing and painting.
#include "platform/win/user/WindowObject.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Menus.h"
#include "platform/win/user/NonClient.h"
#include "platform/win/user/ScrollBars.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsChildWindow(const WindowObject& w) { return (w.style & WS_CHILD) && !w.IsTopLevel(); }

LRESULT CalcSize(WindowObject& w, WPARAM calcValid, LPARAM lParam) {
    RECT* r = calcValid ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    if (r)
        *r = UserDefaultClientRect(w.style, w.exStyle, *r);
    return 0;
}

LRESULT SetText(HWND window, WindowObject& w, LPARAM lParam) {
    w.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    if (w.IsTopLevel())
        UserDisplay().WindowTextChanged(window);
    if ((w.style & WS_CAPTION) == WS_CAPTION && UserReallyVisible(window))
        UserPaintNonClient(window, w.ncActive);
    return TRUE;
}

LRESULT GetText(const WindowObject& w, WPARAM size, LPARAM buffer) {
    if (!buffer || size == 0)
        return 0;
    const int count = std::min<int>(static_cast<int>(size) - 1, w.text.Length());
    char* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, w.text.c_str(), static_cast<size_t>(count));
    out[count] = '\0';
    return count;
}

HBRUSH ClassBrush(const WindowObject& w) {
    if (!w.cls || !w.cls->background)
        return nullptr;
    // A class brush of COLOR_xxx + 1 names a system colour.
    const auto value = reinterpret_cast<DWORD_PTR>(w.cls->background);
    if (value <= GDI_SYS_COLOR_COUNT)
        return GetSysColorBrush(static_cast<int>(value) - 1);
    return w.cls->background;
}

LRESULT EraseBackground(HWND window, WindowObject& w, HDC dc) {
    HBRUSH brush = ClassBrush(w);
    if (!brush || !dc)
        return 0;
    RECT box{};
    GetClipBox(dc, &box);
    FillRect(dc, &box, brush);
    return 1;
}

// WM_PRINT: the frame at the DC's origin, then the client area moved to its place in the window.
LRESULT Print(HWND window, HDC dc, LPARAM flags) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !dc || ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(window)))
        return 0;
    if (flags & PRF_NONCLIENT)
        UserPaintNonClientOn(dc, window, w->ncActive);
    const int saved = SaveDC(dc);
    if (flags & PRF_NONCLIENT) {
        OffsetViewportOrgEx(dc, w->client.left, w->client.top, nullptr);
        IntersectClipRect(dc, 0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top);
    }
    if (flags & PRF_ERASEBKGND)
        UserSend(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (flags & PRF_CLIENT)
        UserSend(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    RestoreDC(dc, saved);
    return 0;
}

void PositionChanged(HWND window, const WINDOWPOS* pos) {
    constexpr UINT kNoClientSize = 0x0800, kNoClientMove = 0x1000;
    WindowObject* w = UserFindWindow(window);
    if (!w || !pos)
        return;
    if (!(pos->flags & kNoClientSize)) {
        const WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        UserSend(window, WM_SIZE, kind, UserPackPoint(w->client.right - w->client.left, w->client.bottom - w->client.top));
    }
    if ((w = UserFindWindow(window)) && !(pos->flags & kNoClientMove))
        UserSend(window, WM_MOVE, 0, UserPackPoint(w->rect.left + w->client.left, w->rect.top + w->client.top));
}

LRESULT SetCursorDefault(HWND window, WindowObject& w, WPARAM wParam, LPARAM lParam) {
    if (IsChildWindow(w) && UserSend(w.parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    const auto hit = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
    switch (hit) {
    case HTCLIENT:
        if (w.cls && w.cls->cursor) {
            SetCursor(w.cls->cursor);
            return TRUE;
        }
        return FALSE;
    case HTLEFT: case HTRIGHT: SetCursor(LoadCursorA(nullptr, IDC_SIZEWE)); return TRUE;
    case HTTOP: case HTBOTTOM: SetCursor(LoadCursorA(nullptr, IDC_SIZENS)); return TRUE;
    case HTTOPLEFT: case HTBOTTOMRIGHT: SetCursor(LoadCursorA(nullptr, IDC_SIZENWSE)); return TRUE;
    case HTTOPRIGHT: case HTBOTTOMLEFT: SetCursor(LoadCursorA(nullptr, IDC_SIZENESW)); return TRUE;
    default: SetCursor(LoadCursorA(nullptr, IDC_ARROW)); return FALSE;
    }
}

// Waits for the next mouse message of a modal mouse loop; false when no more input can come.
bool NextMouseMessage(MSG* m) {
    while (!PeekMessageA(m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        if (!UserDisplay().WaitForEvents(false, 0))
            return false;
    }
    return true;
}

// Moves the window with the pointer until the left button is released.
void MoveLoop(HWND window, POINT start) {
    UserSend(window, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(window);
    const RECT origin = UserFindWindow(window)->rect;
    MSG m{};
    while (IsWindow(window) && GetCapture() == window && NextMouseMessage(&m)) {
        if (m.message == WM_LBUTTONUP)
            break;
        if (m.message == WM_MOUSEMOVE)
            SetWindowPos(window, nullptr, origin.left + m.pt.x - start.x, origin.top + m.pt.y - start.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetCapture() == window)
        ReleaseCapture();
    UserSend(window, WM_EXITSIZEMOVE, 0, 0);
}

void MinMaxDefaults(MINMAXINFO* info) {
    const RECT screen = UserDesktop().rect;
    info->ptMaxSize = {screen.right + 2 * SizingFrameWidth(), screen.bottom + 2 * SizingFrameWidth()};
    info->ptMaxPosition = {-SizingFrameWidth(), -SizingFrameWidth()};
    info->ptMinTrackSize = {112, 27};
    info->ptMaxTrackSize = {screen.right + 12, screen.bottom + 12};
}

constexpr int WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5, WMSZ_BOTTOM = 6,
              WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8;

bool MovesLeft(int edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool MovesRight(int edge) { return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT; }
bool MovesTop(int edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }
bool MovesBottom(int edge) { return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT; }

// The rectangle for the dragged edges, kept within the window's tracking sizes.
RECT SizedRect(const RECT& start, int edge, int dx, int dy, const MINMAXINFO& limits) {
    RECT r = start;
    if (MovesLeft(edge)) r.left += dx;
    if (MovesRight(edge)) r.right += dx;
    if (MovesTop(edge)) r.top += dy;
    if (MovesBottom(edge)) r.bottom += dy;
    const auto clampSpan = [](LONG& low, LONG& high, bool lowMoves, LONG minimum, LONG maximum) {
        const LONG span = std::clamp<LONG>(high - low, minimum, maximum);
        if (lowMoves)
            low = high - span;
        else
            high = low + span;
    };
    clampSpan(r.left, r.right, MovesLeft(edge), limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
    clampSpan(r.top, r.bottom, MovesTop(edge), limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
    return r;
}

// Resizes the window with the pointer until the left button is released.
void SizeLoop(HWND window, int edge, POINT start) {
    MINMAXINFO limits{};
    MinMaxDefaults(&limits);
    UserSend(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    UserSend(window, WM_ENTERSIZEMOVE, 0, 0);
    SetCapture(window);
    const RECT origin = UserFindWindow(window)->rect;
    MSG m{};
    while (IsWindow(window) && GetCapture() == window && NextMouseMessage(&m)) {
        if (m.message == WM_LBUTTONUP)
            break;
        if (m.message != WM_MOUSEMOVE)
            continue;
        RECT r = SizedRect(origin, edge, m.pt.x - start.x, m.pt.y - start.y, limits);
        UserSend(window, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetCapture() == window)
        ReleaseCapture();
    UserSend(window, WM_EXITSIZEMOVE, 0, 0);
}

WPARAM CommandForButton(HWND window, LRESULT hit) {
    if (hit == HTCLOSE)
        return SC_CLOSE;
    if (hit == HTMINBUTTON)
        return SC_MINIMIZE;
    return IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
}

void PaintButton(HWND window, LRESULT hit, bool pushed) {
    RECT r = UserCaptionButtonRect(window, hit);
    HDC dc = GetWindowDC(window);
    UINT kind = hit == HTCLOSE ? DFCS_CAPTIONCLOSE : hit == HTMINBUTTON ? DFCS_CAPTIONMIN
                : IsZoomed(window) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    DrawFrameControl(dc, &r, DFC_CAPTION, kind | (pushed ? DFCS_PUSHED : 0));
    ReleaseDC(window, dc);
}

// A caption button pressed: drawn pushed while the pointer stays on it; releasing on it runs its command.
void TrackCaptionButton(HWND window, LRESULT hit) {
    const RECT r = UserCaptionButtonRect(window, hit);
    if (r.right <= r.left || !UserCaptionButtonEnabled(window, hit))
        return;
    SetCapture(window);
    bool pushed = true;
    PaintButton(window, hit, true);
    MSG m{};
    while (IsWindow(window) && GetCapture() == window && NextMouseMessage(&m)) {
        const RECT wr = UserScreenWindowRect(window);
        const POINT p{m.pt.x - wr.left, m.pt.y - wr.top};
        const bool inside = p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
        if (m.message == WM_LBUTTONUP) {
            pushed = inside;
            break;
        }
        if (inside != pushed) {
            pushed = inside;
            PaintButton(window, hit, pushed);
        }
    }
    if (GetCapture() == window)
        ReleaseCapture();
    if (!IsWindow(window))
        return;
    PaintButton(window, hit, false);
    if (pushed)
        UserSend(window, WM_SYSCOMMAND, CommandForButton(window, hit), 0);
}

// The window menu at a screen point; its choice comes back as WM_SYSCOMMAND.
void RunSystemMenu(HWND window, POINT at) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, window, nullptr));
    if (command && IsWindow(window))
        UserSend(window, WM_SYSCOMMAND, command, 0);
}

LRESULT NonClientButtonDown(HWND window, WPARAM hit, LPARAM lParam) {
    switch (static_cast<LRESULT>(hit)) {
    case HTCAPTION: UserSend(window, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam); break;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON: TrackCaptionButton(window, static_cast<LRESULT>(hit)); break;
    case HTVSCROLL:
    case HTHSCROLL: UserTrackScrollBar(window, static_cast<LRESULT>(hit), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); break;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        UserSend(window, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), lParam);
        break;
    case HTSYSMENU: {
        const RECT wr = UserScreenWindowRect(window);
        RunSystemMenu(window, POINT{wr.left + SizingFrameWidth(), wr.top + CaptionHeight() + SizingFrameWidth()});
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT SystemCommand(HWND window, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_CLOSE: UserSend(window, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(window, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
    case SC_SIZE: {
        POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int edge = static_cast<int>(command & 0x000F);
        if (edge >= WMSZ_LEFT && edge <= WMSZ_BOTTOMRIGHT && (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME))
            SizeLoop(window, edge, start);
        break;
    }
    case SC_MOVE: {
        POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if ((command & 0x000F) != HTCAPTION)
            GetCursorPos(&start);
        MoveLoop(window, start);
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT ControlColour(HDC dc, UINT message) {
    const bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
}


}  // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
            w->text = cs->lpszName;
        return TRUE;
    }
    case WM_NCCALCSIZE: return CalcSize(*w, wParam, lParam);
    case WM_NCHITTEST: return UserDefaultHitTest(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: UserPaintNonClient(window, w->ncActive); return 0;
    case WM_NCACTIVATE:
        w->ncActive = wParam != 0;
        if ((w->style & WS_CAPTION) == WS_CAPTION && UserReallyVisible(window))
            UserPaintNonClient(window, w->ncActive);
        return TRUE;
    case WM_NCLBUTTONDOWN: return NonClientButtonDown(window, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
            UserSend(window, WM_SYSCOMMAND, IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_SYSCOMMAND: return SystemCommand(window, wParam, lParam);
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION || wParam == HTSYSMENU)
            RunSystemMenu(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
            SetFocus(window);
        return 0;
    case WM_MOUSEACTIVATE:
        if (IsChildWindow(*w)) {
            if (LRESULT r = UserSend(w->parent, WM_MOUSEACTIVATE, wParam, lParam))
                return r;
        }
        return MA_ACTIVATE;
    case WM_SETCURSOR: return SetCursorDefault(window, *w, wParam, lParam);
    case WM_SETTEXT: return SetText(window, *w, lParam);
    case WM_GETTEXT: return GetText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH: return w->text.Length();
    case WM_SETFONT:
        w->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<DWORD_PTR>(lParam)))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_ERASEBKGND: return EraseBackground(window, *w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINT: return Print(window, reinterpret_cast<HDC>(wParam), lParam);
    case WM_WINDOWPOSCHANGED: PositionChanged(window, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_GETMINMAXINFO: MinMaxDefaults(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_CANCELMODE:
        if (GetCapture() == window)
            ReleaseCapture();
        return 0;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        return ControlColour(reinterpret_cast<HDC>(wParam), message);
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        if (IsChildWindow(*w))
            return UserSend(w->parent, message, wParam, lParam);
        return 0;
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &p);
        UserSend(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), UserPackPoint(p.x, p.y));
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(static_cast<DWORD_PTR>(lParam)) & 0x2000))
            UserSend(UserTopLevelOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN: return TRUE;
    case WM_NCDESTROY: UserDestroyWindowMenus(window); return 0;
    default: return 0;
    }
}
