// The "COMBOBOX" class, as a drop-down list: the chosen item in a sunken field with a
// drop-down button, and a list that drops below it on a click, F4 or Alt+Down. While the
// list is down the combo box holds the mouse: a move over the list marks an item, a
// release on it chooses it, a press anywhere else closes the list unchanged. Up, Down,
// Home and End choose the neighbouring, first or last item at once when the list is
// up; when it is down they mark an item that Enter chooses and Escape forgets. Every
// change of the choice made by the user is reported with CBN_SELCHANGE.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/StandardClasses.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {

constexpr int kMaximumDroppedItems = 8;

struct ComboItem {
    AnsiString text;
    LPARAM data = 0;
};

struct ComboData {
    std::vector<ComboItem> items;
    int selected = -1;
    bool focused = false;
    HWND list = nullptr;  // the dropped list while it is down
    bool closing = false;
};

ComboData& Data(HWND window) { return UserClassData<ComboData>(window); }
int Count(HWND window) { return static_cast<int>(Data(window).items.size()); }

int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

int ItemHeight(HWND window) { return std::max(UserControlFontHeight(window), 1); }

void Redraw(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); }

// Sets the choice; `notify`: the user made it, so the parent hears of a change.
void Choose(HWND window, int index, bool notify) {
    ComboData& d = Data(window);
    if (index < -1 || index >= Count(window))
        return;
    const bool changed = d.selected != index;
    d.selected = index;
    Redraw(window);
    if (changed && notify)
        UserNotifyParent(window, CBN_SELCHANGE);
}

int Marked(HWND window) {
    const ComboData& d = Data(window);
    return d.list ? static_cast<int>(SendMessageA(d.list, LB_GETCURSEL, 0, 0)) : -1;
}

// Closes the list; `accept`: the marked item becomes the choice.
void CloseUp(HWND window, bool accept) {
    ComboData& d = Data(window);
    if (!d.list || d.closing)
        return;
    d.closing = true;
    const int marked = Marked(window);
    HWND list = d.list;
    d.list = nullptr;
    if (GetCapture() == window)
        ReleaseCapture();
    DestroyWindow(list);
    d.closing = false;
    Redraw(window);
    UserNotifyParent(window, CBN_CLOSEUP);
    if (accept && marked >= 0) {
        UserNotifyParent(window, CBN_SELENDOK);
        Choose(window, marked, true);
    } else {
        UserNotifyParent(window, CBN_SELENDCANCEL);
    }
}

void DropDown(HWND window) {
    ComboData& d = Data(window);
    if (d.list || !IsWindowEnabled(window))
        return;
    UserNotifyParent(window, CBN_DROPDOWN);
    RECT r{};
    GetWindowRect(window, &r);
    const int rows = std::clamp(Count(window), 1, kMaximumDroppedItems);
    const int height = rows * ItemHeight(window) + 2;
    const DWORD style = WS_POPUP | WS_BORDER | (Count(window) > kMaximumDroppedItems ? WS_VSCROLL : 0);
    HWND list = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "LISTBOX", "", style, r.left, r.bottom,
                                r.right - r.left, height, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(UserControlFont(window)), 0);
    for (const ComboItem& item : d.items)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(d.selected), 0);
    d.list = list;
    ShowWindow(list, SW_SHOWNA);
    UpdateWindow(list);
    if (GetFocus() != window)
        SetFocus(window);
    SetCapture(window);
    Redraw(window);
}

// Index of the list item under a point of the combo box's client area; -1 outside the list.
int ListItemAt(HWND window, LPARAM point) {
    const ComboData& d = Data(window);
    if (!d.list)
        return -1;
    POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ClientToScreen(window, &p);
    ScreenToClient(d.list, &p);
    RECT client{};
    GetClientRect(d.list, &client);
    if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom)
        return -1;
    const LRESULT item = SendMessageA(d.list, LB_ITEMFROMPOINT, 0, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    return HIWORD(item) ? -1 : static_cast<int>(LOWORD(item));
}

bool InsideList(HWND window, LPARAM point) {
    const ComboData& d = Data(window);
    if (!d.list)
        return false;
    POINT p{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    ClientToScreen(window, &p);
    RECT r{};
    GetWindowRect(d.list, &r);
    return p.x >= r.left && p.y >= r.top && p.x < r.right && p.y < r.bottom;
}

bool InsideSelf(HWND window, LPARAM point) {
    RECT client{};
    GetClientRect(window, &client);
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
}

LRESULT KeyDown(HWND window, WPARAM key, bool alt) {
    ComboData& d = Data(window);
    const int count = Count(window);
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (d.list)
            CloseUp(window, true);
        else
            DropDown(window);
        return 0;
    }
    if (d.list && (key == VK_RETURN || key == VK_ESCAPE)) {
        CloseUp(window, key == VK_RETURN);
        return 0;
    }
    if (count == 0)
        return 0;
    const int current = d.list ? Marked(window) : d.selected;
    int next = current;
    switch (key) {
    case VK_UP: case VK_LEFT: next = std::max(current - 1, 0); break;
    case VK_DOWN: case VK_RIGHT: next = current < 0 ? 0 : std::min(current + 1, count - 1); break;
    case VK_HOME: case VK_PRIOR: next = 0; break;
    case VK_END: case VK_NEXT: next = count - 1; break;
    default: return 0;
    }
    if (d.list)
        SendMessageA(d.list, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
    else
        Choose(window, next, true);
    return 0;
}

void Paint(HWND window, HDC dc) {
    const ComboData& d = Data(window);
    RECT r{};
    GetClientRect(window, &r);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const bool enabled = IsWindowEnabled(window);
    FillRect(dc, &r, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    RECT button{r.right - ButtonWidth(), r.top, r.right, r.bottom};
    DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLDOWN | (d.list ? DFCS_PUSHED | DFCS_FLAT : 0) |
                                                   (enabled ? 0 : DFCS_INACTIVE));
    RECT field{r.left + 1, r.top + 1, button.left - 1, r.bottom - 1};
    const bool marked = d.focused && !d.list;
    if (marked)
        FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
    if (d.selected >= 0) {
        HGDIOBJ old = SelectObject(dc, UserControlFont(window));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT : marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const AnsiString& text = d.items[static_cast<size_t>(d.selected)].text;
        RECT textRect{field.left + 2, field.top, field.right, field.bottom};
        DrawTextA(dc, text.c_str(), text.Length(), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old);
    }
    if (marked)
        DrawFocusRect(dc, &field);
}

LRESULT GetText(HWND window, WPARAM index, LPARAM out) {
    ComboData& d = Data(window);
    if (index >= d.items.size())
        return CB_ERR;
    const AnsiString& text = d.items[index].text;
    if (out)
        std::memcpy(reinterpret_cast<char*>(out), text.c_str(), static_cast<size_t>(text.Length()) + 1);
    return text.Length();
}

LRESULT ComboMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ComboData& d = Data(window);
    switch (message) {
    case CB_ADDSTRING: case CB_INSERTSTRING: {
        const AnsiString text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        const int at = message == CB_ADDSTRING || static_cast<int>(wParam) < 0 || static_cast<int>(wParam) > Count(window)
                           ? Count(window)
                           : static_cast<int>(wParam);
        d.items.insert(d.items.begin() + at, ComboItem{text, 0});
        if (d.selected >= at)
            ++d.selected;
        Redraw(window);
        return at;
    }
    case CB_DELETESTRING: {
        if (wParam >= d.items.size())
            return CB_ERR;
        d.items.erase(d.items.begin() + static_cast<std::ptrdiff_t>(wParam));
        if (d.selected == static_cast<int>(wParam))
            d.selected = -1;
        else if (d.selected > static_cast<int>(wParam))
            --d.selected;
        Redraw(window);
        return Count(window);
    }
    case CB_RESETCONTENT:
        CloseUp(window, false);
        d.items.clear();
        d.selected = -1;
        Redraw(window);
        return CB_OKAY;
    case CB_GETCOUNT: return Count(window);
    case CB_GETCURSEL: return d.selected;
    case CB_SETCURSEL:
        if (static_cast<int>(wParam) >= Count(window)) {
            Choose(window, -1, false);
            return CB_ERR;
        }
        Choose(window, static_cast<int>(wParam), false);
        return d.selected;
    case CB_GETLBTEXT: return GetText(window, wParam, lParam);
    case CB_GETLBTEXTLEN: return wParam < d.items.size() ? d.items[wParam].text.Length() : CB_ERR;
    case CB_GETITEMDATA: return wParam < d.items.size() ? d.items[wParam].data : CB_ERR;
    case CB_SETITEMDATA:
        if (wParam >= d.items.size())
            return CB_ERR;
        d.items[wParam].data = lParam;
        return CB_OKAY;
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown(window);
        else
            CloseUp(window, false);
        return TRUE;
    case CB_GETDROPPEDSTATE: return d.list ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        if (!lParam)
            return CB_ERR;
        RECT r{};
        GetWindowRect(d.list ? d.list : window, &r);
        *reinterpret_cast<RECT*>(lParam) = r;
        return CB_OKAY;
    }
    default: return CB_ERR;
    }
}

LRESULT ComboBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= CB_ADDSTRING && message <= CB_GETDROPPEDSTATE)
        return ComboMessage(window, message, wParam, lParam);
    ComboData& d = Data(window);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
        if (d.list) {
            // A press on the list marks; anywhere else it closes the list unchanged.
            if (InsideList(window, lParam)) {
                const int item = ListItemAt(window, lParam);
                if (item >= 0)
                    SendMessageA(d.list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
            } else {
                CloseUp(window, false);
            }
            return 0;
        }
        SetFocus(window);
        if (InsideSelf(window, lParam))
            DropDown(window);
        return 0;
    case WM_MOUSEMOVE:
        if (d.list) {
            const int item = ListItemAt(window, lParam);
            if (item >= 0 && item != Marked(window))
                SendMessageA(d.list, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
        }
        return 0;
    case WM_LBUTTONUP:
        if (d.list && InsideList(window, lParam) && ListItemAt(window, lParam) >= 0)
            CloseUp(window, true);
        return 0;
    case WM_MOUSEWHEEL:
        if (!d.list)
            KeyDown(window, static_cast<SHORT>(HIWORD(wParam)) > 0 ? VK_UP : VK_DOWN, false);
        return 0;
    case WM_KEYDOWN: return KeyDown(window, wParam, false);
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP)
            return KeyDown(window, wParam, true);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_CHAR: {
        // A typed letter chooses the next item that starts with it.
        const int count = Count(window);
        const char typed = static_cast<char>(wParam);
        if (count == 0 || static_cast<unsigned char>(typed) < 0x20)
            return 0;
        const int from = d.list ? Marked(window) : d.selected;
        for (int n = 1; n <= count; ++n) {
            const int i = (from + n + count) % count;
            const AnsiString& text = d.items[static_cast<size_t>(i)].text;
            if (!text.IsEmpty() && std::tolower(static_cast<unsigned char>(text[1])) == std::tolower(static_cast<unsigned char>(typed))) {
                if (d.list)
                    SendMessageA(d.list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
                else
                    Choose(window, i, true);
                break;
            }
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (d.list && reinterpret_cast<HWND>(lParam) != window)
            CloseUp(window, false);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        d.focused = message == WM_SETFOCUS;
        if (!d.focused)
            CloseUp(window, false);
        Redraw(window);
        UserNotifyParent(window, d.focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
        return 0;
    case WM_ENABLE: Redraw(window); return 0;
    case WM_GETTEXTLENGTH: return d.selected >= 0 ? d.items[static_cast<size_t>(d.selected)].text.Length() : 0;
    case WM_GETTEXT: {
        if (!lParam || wParam == 0)
            return 0;
        const AnsiString text = d.selected >= 0 ? d.items[static_cast<size_t>(d.selected)].text : AnsiString();
        const size_t count = std::min<size_t>(static_cast<size_t>(text.Length()), wParam - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), count);
        reinterpret_cast<char*>(lParam)[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_DESTROY:
        if (d.list) {
            HWND list = d.list;
            d.list = nullptr;
            if (GetCapture() == window)
                ReleaseCapture();
            DestroyWindow(list);
        }
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(window, reinterpret_cast<HDC>(wParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void UserRegisterComboBoxClass() {
    UserRegisterSystemClass("COMBOBOX", CS_DBLCLKS | CS_PARENTDC, ComboBoxProcedure, nullptr, LoadCursorA(nullptr, IDC_ARROW));
}
