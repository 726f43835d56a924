// The "LISTBOX" class: a single-selection list of texts with item data, a vertical
// scroll bar when the items do not fit, mouse, keyboard and wheel selection.
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/ControlDrawing.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/StandardClasses.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Item {
    AnsiString text;
    LPARAM data = 0;
};

struct ListData {
    std::vector<Item> items;
    int selected = -1;
    int caret = 0;
    int top = 0;
    int itemHeight = 0;  // 0: from the font
    bool focused = false;
};

ListData& Data(HWND window) { return UserClassData<ListData>(window); }
DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

int ItemHeight(HWND window) {
    ListData& d = Data(window);
    if (d.itemHeight > 0)
        return d.itemHeight;
    return std::max(UserControlFontHeight(window), 1);
}

int VisibleCount(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return std::max(1, r.bottom / ItemHeight(window));
}

int Count(HWND window) { return static_cast<int>(Data(window).items.size()); }

// The scroll bar shows exactly when the items do not fit: its range is the items, its page the visible ones.
void UpdateScrollBar(HWND window) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(Count(window) - 1, 0),
                    static_cast<UINT>(VisibleCount(window)), Data(window).top, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void ClampTop(HWND window) {
    ListData& d = Data(window);
    d.top = std::clamp(d.top, 0, std::max(0, Count(window) - VisibleCount(window)));
}

void Changed(HWND window) {
    ClampTop(window);
    UpdateScrollBar(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void EnsureVisible(HWND window, int index) {
    ListData& d = Data(window);
    if (index < d.top)
        d.top = index;
    else if (index >= d.top + VisibleCount(window))
        d.top = index - VisibleCount(window) + 1;
    ClampTop(window);
}

void Select(HWND window, int index, bool notify) {
    ListData& d = Data(window);
    if (index < -1 || index >= Count(window))
        return;
    const bool changed = d.selected != index;
    d.selected = index;
    if (index >= 0) {
        d.caret = index;
        EnsureVisible(window, index);
        SetScrollPos(window, SB_VERT, d.top, TRUE);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    if (changed && notify && (Style(window) & LBS_NOTIFY))
        UserNotifyParent(window, LBN_SELCHANGE);
}

int IndexAt(HWND window, int y) {
    const int index = Data(window).top + y / ItemHeight(window);
    return (y >= 0 && index < Count(window)) ? index : -1;
}

void PaintItem(HWND window, HDC dc, int index, const RECT& r) {
    ListData& d = Data(window);
    const bool selected = index == d.selected;
    if (Style(window) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
        UINT state = (selected ? ODS_SELECTED : 0) | (d.focused && index == d.caret ? ODS_FOCUS : 0);
        DRAWITEMSTRUCT item{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(window)), static_cast<UINT>(index), ODA_DRAWENTIRE,
                            state, window, dc, r, static_cast<DWORD_PTR>(d.items[static_cast<size_t>(index)].data)};
        SendMessageA(GetParent(window), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    if (selected) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    const AnsiString& text = d.items[static_cast<size_t>(index)].text;
    RECT textRect{r.left + 2, r.top, r.right, r.bottom};
    DrawTextA(dc, text.c_str(), text.Length(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
    if (selected)
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    if (d.focused && index == d.caret)
        DrawFocusRect(dc, &r);
}

void Paint(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, UserControlColours(window, dc, WM_CTLCOLORLISTBOX));
    HGDIOBJ old = SelectObject(dc, UserControlFont(window));
    SetBkMode(dc, TRANSPARENT);
    const ListData& d = Data(window);
    const int height = ItemHeight(window);
    for (int i = d.top, y = 0; i < Count(window) && y < client.bottom; ++i, y += height)
        PaintItem(window, dc, i, RECT{0, y, client.right, y + height});
    if (d.focused && Count(window) == 0) {
        RECT focus{0, 0, client.right, height};
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, old);
}

LRESULT AddString(HWND window, LPCSTR text, int at) {
    ListData& d = Data(window);
    Item item{text ? text : "", 0};
    int index = at;
    if (at < 0 || at > Count(window)) {
        index = Count(window);
        if (Style(window) & LBS_SORT)
            index = static_cast<int>(std::upper_bound(d.items.begin(), d.items.end(), item, [](const Item& a, const Item& b) {
                                         return a.text < b.text;
                                     }) - d.items.begin());
    }
    d.items.insert(d.items.begin() + index, item);
    if (d.selected >= index)
        ++d.selected;
    Changed(window);
    return index;
}

LRESULT DeleteString(HWND window, WPARAM index) {
    ListData& d = Data(window);
    if (index >= d.items.size())
        return LB_ERR;
    d.items.erase(d.items.begin() + static_cast<long>(index));
    if (d.selected == static_cast<int>(index))
        d.selected = -1;
    else if (d.selected > static_cast<int>(index))
        --d.selected;
    d.caret = std::min(d.caret, std::max(Count(window) - 1, 0));
    Changed(window);
    return Count(window);
}

LRESULT GetText(HWND window, WPARAM index, LPARAM buffer) {
    const ListData& d = Data(window);
    if (index >= d.items.size() || !buffer)
        return LB_ERR;
    const AnsiString& text = d.items[index].text;
    std::memcpy(reinterpret_cast<char*>(buffer), text.c_str(), static_cast<size_t>(text.Length()) + 1);
    return text.Length();
}

LRESULT Find(HWND window, WPARAM start, LPARAM text, bool exact) {
    const ListData& d = Data(window);
    if (!text)
        return LB_ERR;
    const AnsiString wanted(reinterpret_cast<LPCSTR>(text));
    const int count = Count(window);
    const int first = static_cast<int>(static_cast<LONG>(start));
    for (int n = 0; n < count; ++n) {
        const int i = (first + 1 + n + count) % count;
        const AnsiString& item = d.items[static_cast<size_t>(i)].text;
        const AnsiString head = exact ? item : Copy(item, 1, wanted.Length());
        if (head.Length() == wanted.Length() &&
            std::equal(head.str().begin(), head.str().end(), wanted.str().begin(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); }))
            return i;
    }
    return LB_ERR;
}

void Scroll(HWND window, int lines) {
    ListData& d = Data(window);
    d.top += lines;
    ClampTop(window);
    SetScrollPos(window, SB_VERT, d.top, TRUE);
    InvalidateRect(window, nullptr, TRUE);
}

LRESULT ScrollCommand(HWND window, WORD code, WORD position) {
    const int page = VisibleCount(window);
    switch (code) {
    case SB_LINEUP: Scroll(window, -1); break;
    case SB_LINEDOWN: Scroll(window, 1); break;
    case SB_PAGEUP: Scroll(window, -page); break;
    case SB_PAGEDOWN: Scroll(window, page); break;
    case SB_TOP: Scroll(window, -Count(window)); break;
    case SB_BOTTOM: Scroll(window, Count(window)); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Scroll(window, position - Data(window).top); break;
    default: break;
    }
    return 0;
}

LRESULT KeyDown(HWND window, WPARAM key) {
    ListData& d = Data(window);
    const int page = VisibleCount(window);
    int index = d.selected < 0 ? d.caret : d.selected;
    switch (key) {
    case VK_UP: --index; break;
    case VK_DOWN: index = d.selected < 0 ? index : index + 1; break;
    case VK_PRIOR: index -= page - 1; break;
    case VK_NEXT: index += page - 1; break;
    case VK_HOME: index = 0; break;
    case VK_END: index = Count(window) - 1; break;
    default: return 0;
    }
    if (Count(window) > 0)
        Select(window, std::clamp(index, 0, Count(window) - 1), true);
    return 0;
}

LRESULT ListMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ListData& d = Data(window);
    switch (message) {
    case LB_ADDSTRING: return AddString(window, reinterpret_cast<LPCSTR>(lParam), -1);
    case LB_INSERTSTRING: return AddString(window, reinterpret_cast<LPCSTR>(lParam), static_cast<int>(static_cast<LONG>(wParam)));
    case LB_DELETESTRING: return DeleteString(window, wParam);
    case LB_RESETCONTENT: d.items.clear(); d.selected = -1; d.caret = 0; d.top = 0; Changed(window); return 0;
    case LB_GETCOUNT: return Count(window);
    case LB_SETCURSEL: {
        const int index = static_cast<int>(static_cast<LONG>(wParam));
        Select(window, index < Count(window) ? index : -1, false);
        return index >= 0 && index < Count(window) ? index : LB_ERR;
    }
    case LB_GETCURSEL: return d.selected;
    case LB_GETTEXT: return GetText(window, wParam, lParam);
    case LB_GETTEXTLEN: return wParam < d.items.size() ? d.items[wParam].text.Length() : LB_ERR;
    case LB_GETITEMDATA: return wParam < d.items.size() ? d.items[wParam].data : LB_ERR;
    case LB_SETITEMDATA:
        if (wParam >= d.items.size()) return LB_ERR;
        d.items[wParam].data = lParam;
        return 0;
    case LB_SETITEMHEIGHT:
        if (lParam <= 0 || lParam > 255) return LB_ERR;
        d.itemHeight = static_cast<int>(lParam);
        Changed(window);
        return 0;
    case LB_GETITEMHEIGHT: return ItemHeight(window);
    case LB_GETTOPINDEX: return d.top;
    case LB_SETTOPINDEX: d.top = static_cast<int>(wParam); ClampTop(window); Changed(window); return 0;
    case LB_FINDSTRING: return Find(window, wParam, lParam, false);
    case LB_FINDSTRINGEXACT: return Find(window, wParam, lParam, true);
    case LB_SELECTSTRING: {
        const LRESULT index = Find(window, wParam, lParam, false);
        if (index != LB_ERR) Select(window, static_cast<int>(index), false);
        return index;
    }
    case LB_GETSEL: return static_cast<int>(wParam) == d.selected ? 1 : 0;
    case LB_GETSELCOUNT: return LB_ERR;
    case LB_GETITEMRECT: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= Count(window) || !lParam) return LB_ERR;
        RECT client{};
        GetClientRect(window, &client);
        const int y = (index - d.top) * ItemHeight(window);
        *reinterpret_cast<RECT*>(lParam) = RECT{0, y, client.right, y + ItemHeight(window)};
        return 0;
    }
    case LB_ITEMFROMPOINT: {
        const int index = IndexAt(window, GET_Y_LPARAM(lParam));
        return index < 0 ? MAKELONG(static_cast<WORD>(std::max(Count(window) - 1, 0)), 1) : index;
    }
    default: return LB_ERR;
    }
}

LRESULT ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT)
        return ListMessage(window, message, wParam, lParam);
    ListData& d = Data(window);
    switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: {
        SetFocus(window);
        const int index = IndexAt(window, GET_Y_LPARAM(lParam));
        if (index >= 0)
            Select(window, index, true);
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        if (IndexAt(window, GET_Y_LPARAM(lParam)) >= 0 && (Style(window) & LBS_NOTIFY))
            UserNotifyParent(window, LBN_DBLCLK);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        return DefWindowProcA(window, WM_NCLBUTTONDOWN, wParam, lParam);
    case WM_KEYDOWN: return KeyDown(window, wParam);
    case WM_MOUSEWHEEL: Scroll(window, -static_cast<SHORT>(HIWORD(wParam)) / WHEEL_DELTA * 3); return 0;
    case WM_VSCROLL: return ScrollCommand(window, LOWORD(wParam), HIWORD(wParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        d.focused = message == WM_SETFOCUS;
        InvalidateRect(window, nullptr, TRUE);
        if (Style(window) & LBS_NOTIFY)
            UserNotifyParent(window, d.focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_SIZE: ClampTop(window); UpdateScrollBar(window); return 0;
    case WM_SETFONT: {
        LRESULT r = DefWindowProcA(window, message, wParam, lParam);
        Changed(window);
        return r;
    }
    default: break;
    }
    LRESULT painted = 0;
    if (UserPaintWholeClient(window, message, wParam, Paint, painted))
        return painted;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void UserRegisterListBoxClass() {
    UserRegisterSystemClass("LISTBOX", CS_DBLCLKS | CS_PARENTDC, ListBoxProcedure, nullptr, LoadCursorA(nullptr, IDC_ARROW));
}
