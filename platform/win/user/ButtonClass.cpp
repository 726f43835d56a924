// The "BUTTON" class: push buttons, check boxes, group boxes and owner-drawn buttons.
// A press takes the focus and the capture and shows the button pushed; while captured
// the pushed look follows the pointer; a release while pushed reports BN_CLICKED.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/StandardClasses.h"

namespace {

struct ButtonData {
    bool pushed = false;
    bool focused = false;
    bool tracking = false;  // pressed with the mouse, capture held
    bool spaceDown = false;
    WPARAM check = BST_UNCHECKED;
};

ButtonData& Data(HWND window) { return UserClassData<ButtonData>(window); }

DWORD Type(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & BS_TYPEMASK; }
bool IsCheck(DWORD type) { return type >= BS_CHECKBOX && type <= BS_AUTORADIOBUTTON && type != BS_GROUPBOX && type != BS_USERBUTTON; }

AnsiString Text(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w ? w->text : AnsiString();
}

void DrawCaption(HDC dc, HWND window, RECT r, UINT format) {
    const AnsiString text = Text(window);
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(window)) {
        RECT shadow = r;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), text.Length(), &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(dc, text.c_str(), text.Length(), &r, format);
}

RECT TextBounds(HDC dc, HWND window, const RECT& area, UINT format) {
    const AnsiString text = Text(window);
    RECT r = area;
    DrawTextA(dc, text.c_str(), text.Length(), &r, format | DT_CALCRECT);
    return r;
}

void PaintPush(HWND window, HDC dc, const RECT& client, const ButtonData& d) {
    RECT r = client;
    const bool isDefault = Type(window) == BS_DEFPUSHBUTTON;
    if (isDefault) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (d.pushed ? DFCS_PUSHED : 0));
    RECT text = r;
    if (d.pushed)
        OffsetRect(&text, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawCaption(dc, window, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (d.focused) {
        RECT focus = client;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

void PaintCheck(HWND window, HDC dc, const RECT& client, const ButtonData& d, HBRUSH background) {
    FillRect(dc, &client, background);
    constexpr int box = 13;
    const int top = (client.bottom - client.top - box) / 2;
    RECT mark{client.left, top, client.left + box, top + box};
    const DWORD type = Type(window);
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    UINT state = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (d.check == BST_CHECKED) state |= DFCS_CHECKED;
    if (d.pushed) state |= DFCS_PUSHED;
    if (!IsWindowEnabled(window)) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &mark, DFC_BUTTON, state);
    RECT area{client.left + box + 4, client.top, client.right, client.bottom};
    DrawCaption(dc, window, area, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (d.focused) {
        RECT focus = TextBounds(dc, window, area, DT_LEFT | DT_SINGLELINE);
        const int height = focus.bottom - focus.top;
        focus.top = (client.bottom - client.top - height) / 2 - 1;
        focus.bottom = focus.top + height + 2;
        InflateRect(&focus, 1, 0);
        DrawFocusRect(dc, &focus);
    }
}

// The group box draws only its frame and its label: the controls inside show through.
void PaintGroup(HWND window, HDC dc, const RECT& client, HBRUSH background) {
    const int textHeight = GdiTextHeight(dc);
    RECT frame = client;
    frame.top += textHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const AnsiString text = Text(window);
    if (text.IsEmpty())
        return;
    RECT label = TextBounds(dc, window, RECT{client.left + 8, client.top, client.right - 8, client.top + textHeight}, DT_LEFT | DT_SINGLELINE);
    InflateRect(&label, 2, 0);
    FillRect(dc, &label, background);
    InflateRect(&label, -2, 0);
    DrawCaption(dc, window, label, DT_LEFT | DT_SINGLELINE);
}

void PaintOwnerDraw(HWND window, HDC dc, const RECT& client, const ButtonData& d, UINT action) {
    UINT state = 0;
    if (d.pushed) state |= ODS_SELECTED;
    if (d.focused) state |= ODS_FOCUS;
    if (!IsWindowEnabled(window)) state |= ODS_DISABLED;
    DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(window)), 0, action, state, window, dc, client, 0};
    if (HWND parent = GetParent(window))
        SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND window, HDC dc, UINT action) {
    RECT client{};
    GetClientRect(window, &client);
    const ButtonData d = Data(window);
    const DWORD type = Type(window);
    if (type == BS_OWNERDRAW) {
        PaintOwnerDraw(window, dc, client, d, action);
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, UserControlFont(window));
    if (type == BS_GROUPBOX)
        PaintGroup(window, dc, client, UserControlColours(window, dc, WM_CTLCOLORSTATIC));
    else if (IsCheck(type))
        PaintCheck(window, dc, client, d, UserControlColours(window, dc, WM_CTLCOLORSTATIC));
    else {
        UserControlColours(window, dc, WM_CTLCOLORBTN);
        PaintPush(window, dc, client, d);
    }
    SelectObject(dc, oldFont);
}

// Repaints at once on a DC of the window (state changes outside WM_PAINT).
void Redraw(HWND window, UINT action) {
    if (!IsWindowVisible(window))
        return;
    HDC dc = GetDC(window);
    Paint(window, dc, action);
    ReleaseDC(window, dc);
}

void SetPushed(HWND window, bool pushed) {
    ButtonData& d = Data(window);
    if (d.pushed == pushed)
        return;
    d.pushed = pushed;
    Redraw(window, ODA_SELECT);
}

void Click(HWND window) {
    ButtonData& d = Data(window);
    const DWORD type = Type(window);
    if (type == BS_AUTOCHECKBOX)
        d.check = d.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    else if (type == BS_AUTO3STATE)
        d.check = (d.check + 1) % 3;
    else if (type == BS_AUTORADIOBUTTON)
        d.check = BST_CHECKED;
    if (IsCheck(type))
        Redraw(window, ODA_DRAWENTIRE);
    UserNotifyParent(window, BN_CLICKED);
}

bool Inside(HWND window, LPARAM lParam) {
    RECT client{};
    GetClientRect(window, &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
}

LRESULT ButtonDown(HWND window) {
    SetFocus(window);
    if (!IsWindow(window))
        return 0;
    SetCapture(window);
    Data(window).tracking = true;
    SetPushed(window, true);
    return 0;
}

LRESULT ButtonUp(HWND window, LPARAM lParam) {
    ButtonData& d = Data(window);
    if (!d.tracking)
        return 0;
    const bool clicked = d.pushed && Inside(window, lParam);
    d.tracking = false;
    SetPushed(window, false);
    if (GetCapture() == window)
        ReleaseCapture();
    if (clicked && IsWindow(window))
        Click(window);
    return 0;
}

LRESULT EndTracking(HWND window) {
    ButtonData& d = Data(window);
    d.spaceDown = false;
    d.tracking = false;
    SetPushed(window, false);
    return 0;
}

LRESULT DialogCode(HWND window) {
    switch (Type(window)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    default: return DLGC_BUTTON;
    }
}

LRESULT SetFocusState(HWND window, bool focused) {
    ButtonData& d = Data(window);
    d.focused = focused;
    if (!focused && (d.tracking || d.spaceDown)) {
        if (GetCapture() == window)
            ReleaseCapture();
        EndTracking(window);
    }
    Redraw(window, ODA_FOCUS);
    if (GetWindowLongA(window, GWL_STYLE) & BS_NOTIFY)
        UserNotifyParent(window, focused ? BN_SETFOCUS : BN_KILLFOCUS);
    return 0;
}

LRESULT KeyDown(HWND window, WPARAM key, LPARAM lParam) {
    if (key != VK_SPACE || (lParam & (1 << 30)))
        return 0;
    Data(window).spaceDown = true;
    SetPushed(window, true);
    return 0;
}

LRESULT KeyUp(HWND window, WPARAM key) {
    ButtonData& d = Data(window);
    if (key != VK_SPACE || !d.spaceDown)
        return 0;
    d.spaceDown = false;
    const bool clicked = d.pushed;
    SetPushed(window, false);
    if (clicked)
        Click(window);
    return 0;
}

LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const DWORD type = Type(window);
    switch (message) {
    case WM_NCHITTEST:
        if (type == BS_GROUPBOX)
            return HTTRANSPARENT;
        break;
    case WM_GETDLGCODE: return DialogCode(window);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        if (message == WM_PRINTCLIENT) {
            Paint(window, reinterpret_cast<HDC>(wParam), ODA_DRAWENTIRE);
            return 0;
        }
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc, ODA_DRAWENTIRE);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (type == BS_GROUPBOX)
            break;
        return ButtonDown(window);
    case WM_MOUSEMOVE:
        if (Data(window).tracking && GetCapture() == window)
            SetPushed(window, Inside(window, lParam));
        return 0;
    case WM_LBUTTONUP: return ButtonUp(window, lParam);
    case WM_CAPTURECHANGED:
        if (Data(window).tracking)
            EndTracking(window);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == window)
            ReleaseCapture();
        return EndTracking(window);
    case WM_KEYDOWN: return KeyDown(window, wParam, lParam);
    case WM_KEYUP: return KeyUp(window, wParam);
    case WM_SETFOCUS: return SetFocusState(window, true);
    case WM_KILLFOCUS: return SetFocusState(window, false);
    case WM_ENABLE: Redraw(window, ODA_DRAWENTIRE); return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return r;
    }
    case BM_GETCHECK: return static_cast<LRESULT>(Data(window).check);
    case BM_SETCHECK:
        Data(window).check = wParam;
        Redraw(window, ODA_DRAWENTIRE);
        return 0;
    case BM_GETSTATE: {
        const ButtonData& d = Data(window);
        return static_cast<LRESULT>(d.check | (d.pushed ? BST_PUSHED : 0) | (d.focused ? BST_FOCUS : 0));
    }
    case BM_SETSTATE: SetPushed(window, wParam != 0); return 0;
    case BM_SETSTYLE: {
        const LONG_PTR style = GetWindowLongA(window, GWL_STYLE);
        SetWindowLongA(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | static_cast<LONG_PTR>(wParam & BS_TYPEMASK));
        if (LOWORD(static_cast<DWORD_PTR>(lParam)))
            InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK:
        if (IsWindowEnabled(window))
            Click(window);
        return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void UserRegisterButtonClass() {
    UserRegisterSystemClass("BUTTON", CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, ButtonProcedure,
                            nullptr, LoadCursorA(nullptr, IDC_ARROW));
}
