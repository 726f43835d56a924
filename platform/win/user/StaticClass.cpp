// The "STATIC" class: text labels, frames and rectangles in the classic look.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/StandardClasses.h"

namespace {

void PaintText(HWND window, HDC dc, const RECT& client, DWORD style, HBRUSH background) {
    FillRect(dc, &client, background);
    WindowObject* w = UserFindWindow(window);
    UINT format = DT_WORDBREAK | DT_EXPANDTABS;
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_CENTER) format |= DT_CENTER;
    if (type == SS_RIGHT) format |= DT_RIGHT;
    if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) format = DT_SINGLELINE;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (style & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(window))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(dc, UserControlFont(window));
    RECT r = client;
    DrawTextA(dc, w->text.c_str(), w->text.Length(), &r, format);
    SelectObject(dc, old);
}

void PaintShape(HDC dc, const RECT& client, DWORD type) {
    RECT r = client;
    switch (type) {
    case SS_BLACKRECT: FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_BLACKFRAME: FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYFRAME: FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITEFRAME: FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_ETCHEDFRAME: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); break;
    case SS_ETCHEDHORZ: DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP); break;
    case SS_ETCHEDVERT: DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT); break;
    default: break;
    }
}

void Paint(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_OWNERDRAW) {
        DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(window)), 0, ODA_DRAWENTIRE, 0, window, dc, client, 0};
        if (HWND parent = GetParent(window))
            SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    HBRUSH background = UserControlColours(window, dc, WM_CTLCOLORSTATIC);
    if (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)
        PaintText(window, dc, client, style, background);
    else
        PaintShape(dc, client, type);
}

LRESULT StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        if (!(GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY))
            return HTTRANSPARENT;
        break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(window, reinterpret_cast<HDC>(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_LBUTTONDOWN: UserNotifyParent(window, STN_CLICKED); return 0;
    case WM_LBUTTONDBLCLK: UserNotifyParent(window, STN_DBLCLK); return 0;
    case WM_SETTEXT:
    case WM_ENABLE: {
        LRESULT r = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return r;
    }
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void UserRegisterStaticClass() {
    UserRegisterSystemClass("STATIC", CS_DBLCLKS | CS_PARENTDC, StaticProcedure, nullptr, LoadCursorA(nullptr, IDC_ARROW));
}
