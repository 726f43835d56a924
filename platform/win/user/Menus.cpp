// Menu objects, the window menu and the modal popup menu window.
#include "platform/win/user/Menus.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kItemHeight = 18, kSeparatorHeight = 9, kTextIndent = 18, kMinimumWidth = 80;
constexpr char kPopupClass[] = "VendaroPopupMenu";

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    AnsiString text;
    HMENU submenu = nullptr;
};

struct Menu {
    std::vector<MenuItem> items;
    HWND systemOwner = nullptr;
};

struct MenuState {
    std::map<HMENU, std::unique_ptr<Menu>> menus;
    std::uintptr_t next = 0x20000;
    PopupMenuResponder responder;
};

MenuState& State() {
    static MenuState state;
    return state;
}

Menu* Find(HMENU menu) {
    auto it = State().menus.find(menu);
    return it == State().menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu() {
    MenuState& s = State();
    HMENU handle = reinterpret_cast<HMENU>(s.next);
    s.next += 4;
    s.menus[handle] = std::make_unique<Menu>();
    return handle;
}

// Index of the item named by position or command; -1 when missing.
int IndexOf(Menu& m, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION)
        return item < m.items.size() ? static_cast<int>(item) : -1;
    for (size_t i = 0; i < m.items.size(); ++i)
        if (!(m.items[i].flags & MF_POPUP) && m.items[i].id == item)
            return static_cast<int>(i);
    return -1;
}

MenuItem MakeItem(UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    MenuItem item;
    item.flags = flags & ~(MF_BYPOSITION | MF_APPEND | MF_DELETE | MF_REMOVE | MF_CHANGE);
    if (flags & MF_POPUP)
        item.submenu = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = idOrPopup;
    if (text && !(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)))
        item.text = text;
    return item;
}

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
    Menu* m = Find(menu);
    if (!m)
        return FALSE;
    const int index = IndexOf(*m, position, flags);
    if (index < 0)
        return FALSE;
    HMENU sub = m->items[static_cast<size_t>(index)].submenu;
    m->items.erase(m->items.begin() + index);
    if (destroySubmenu && sub)
        DestroyMenu(sub);
    return TRUE;
}

void BuildSystemMenu(HMENU menu, HWND window) {
    const bool full = (GetWindowLongA(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0;
    AppendMenuA(menu, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenuA(menu, MF_STRING, SC_MOVE, "&Move");
    if (full)
        AppendMenuA(menu, MF_STRING, SC_SIZE, "&Size");
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    if (full)
        AppendMenuA(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    Find(menu)->systemOwner = window;
}

// ---------------------------------------------------------------- the popup window

struct PopupData {
    HMENU menu;
    int hot = -1;
};

int ItemTop(const Menu& m, int index) {
    int y = 2;
    for (int i = 0; i < index; ++i)
        y += (m.items[static_cast<size_t>(i)].flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
    return y;
}

int ItemAt(const Menu& m, int y) {
    for (size_t i = 0; i < m.items.size(); ++i) {
        const int top = ItemTop(m, static_cast<int>(i));
        const int height = (m.items[i].flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
        if (y >= top && y < top + height)
            return static_cast<int>(i);
    }
    return -1;
}

bool Choosable(const MenuItem& item) { return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP)); }

void PaintItem(HDC dc, const MenuItem& item, const RECT& r, bool hot) {
    FillRect(dc, &r, GetSysColorBrush(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.flags & MF_SEPARATOR) {
        RECT line{r.left + 1, r.top + kSeparatorHeight / 2 - 1, r.right - 1, r.top + kSeparatorHeight / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    const bool grey = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
    SetTextColor(dc, GetSysColor(grey ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text{r.left + kTextIndent, r.top, r.right - 4, r.bottom};
    const int tab = Pos("\t", item.text);
    const AnsiString label = tab ? Copy(item.text, 1, tab - 1) : item.text;
    DrawTextA(dc, label.c_str(), label.Length(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (tab) {
        const AnsiString keys = Copy(item.text, tab + 1, item.text.Length());
        DrawTextA(dc, keys.c_str(), keys.Length(), &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    if (item.flags & MF_CHECKED) {
        RECT mark{r.left + 2, r.top + 2, r.left + 2 + kItemHeight - 4, r.bottom - 2};
        DrawFrameControl(dc, &mark, DFC_MENU, 1);
    }
}

void PaintPopup(HWND window) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    auto* data = static_cast<PopupData*>(UserFindWindow(window)->classData.get());
    Menu* m = data ? Find(data->menu) : nullptr;
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    for (size_t i = 0; m && i < m->items.size(); ++i) {
        const int top = ItemTop(*m, static_cast<int>(i));
        const int height = (m->items[i].flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
        PaintItem(dc, m->items[i], RECT{2, top, client.right - 2, top + height}, static_cast<int>(i) == data->hot);
    }
    EndPaint(window, &ps);
}

LRESULT PopupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintPopup(window);
        return 0;
    }
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    return DefWindowProcA(window, message, wParam, lParam);
}

SIZE PopupSize(const Menu& m) {
    HDC dc = GetDC(nullptr);
    int width = kMinimumWidth;
    for (const MenuItem& item : m.items) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, item.text.c_str(), item.text.Length(), &extent);
        width = std::max<int>(width, extent.cx + 2 * kTextIndent + 8);
    }
    ReleaseDC(nullptr, dc);
    return {width, ItemTop(m, static_cast<int>(m.items.size())) + 4};
}

void SetHot(HWND popup, int hot) {
    auto* data = static_cast<PopupData*>(UserFindWindow(popup)->classData.get());
    if (data->hot != hot) {
        data->hot = hot;
        InvalidateRect(popup, nullptr, FALSE);
        UpdateWindow(popup);
    }
}

int StepHot(const Menu& m, int hot, int step) {
    const int count = static_cast<int>(m.items.size());
    for (int n = 0, i = hot; n < count; ++n) {
        i = (i + step + count) % count;
        if (Choosable(m.items[static_cast<size_t>(i)]))
            return i;
    }
    return hot;
}

// Runs the popup until an item is chosen (its command) or the menu is dismissed (0).
UINT RunPopup(HMENU menu, POINT at) {
    UserRegisterSystemClass(kPopupClass, CS_SAVEBITS, PopupProcedure, nullptr, nullptr);
    Menu* m = Find(menu);
    const SIZE size = PopupSize(*m);
    HWND popup = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP | WS_DLGFRAME,
                                 at.x, at.y, size.cx, size.cy, nullptr, nullptr, nullptr, nullptr);
    UserFindWindow(popup)->classData = std::make_shared<PopupData>(PopupData{menu});
    ShowWindow(popup, SW_SHOWNA);
    UpdateWindow(popup);
    SetCapture(popup);
    UINT chosen = 0;
    for (bool running = true; running && IsWindow(popup) && GetCapture() == popup;) {
        MSG msg{};
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!WaitMessage())
                break;
            continue;
        }
        m = Find(menu);
        if (!m)
            break;
        const auto* data = static_cast<PopupData*>(UserFindWindow(popup)->classData.get());
        POINT p = msg.pt;
        ScreenToClient(popup, &p);
        RECT client{};
        GetClientRect(popup, &client);
        const bool inside = p.x >= 0 && p.y >= 0 && p.x < client.right && p.y < client.bottom;
        const int item = inside ? ItemAt(*m, p.y) : -1;
        switch (msg.message) {
        case WM_MOUSEMOVE: SetHot(popup, item >= 0 && Choosable(m->items[static_cast<size_t>(item)]) ? item : -1); break;
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
            if (!inside)
                running = false;
            break;
        case WM_LBUTTONUP: case WM_RBUTTONUP:
            if (item >= 0 && Choosable(m->items[static_cast<size_t>(item)])) {
                chosen = static_cast<UINT>(m->items[static_cast<size_t>(item)].id);
                running = false;
            }
            break;
        case WM_KEYDOWN: case WM_SYSKEYDOWN:
            if (msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU) running = false;
            else if (msg.wParam == VK_DOWN) SetHot(popup, StepHot(*m, data->hot, 1));
            else if (msg.wParam == VK_UP) SetHot(popup, StepHot(*m, data->hot < 0 ? 0 : data->hot, -1));
            else if (msg.wParam == VK_RETURN && data->hot >= 0) {
                chosen = static_cast<UINT>(m->items[static_cast<size_t>(data->hot)].id);
                running = false;
            }
            break;
        case WM_CHAR: case WM_KEYUP: case WM_SYSKEYUP: case WM_SYSCHAR: break;
        default:
            if (msg.message < WM_MOUSEFIRST || msg.message > WM_MOUSELAST) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            break;
        }
    }
    if (GetCapture() == popup)
        ReleaseCapture();
    DestroyWindow(popup);
    return chosen;
}

}  // namespace

HMENU CreatePopupMenu() { return NewMenu(); }
HMENU CreateMenu() { return NewMenu(); }
BOOL IsMenu(HMENU menu) { return Find(menu) ? TRUE : FALSE; }

BOOL DestroyMenu(HMENU menu) {
    Menu* m = Find(menu);
    if (!m)
        return FALSE;
    std::vector<HMENU> subs;
    for (const MenuItem& item : m->items)
        if (item.submenu)
            subs.push_back(item.submenu);
    State().menus.erase(menu);
    for (HMENU sub : subs)
        DestroyMenu(sub);
    return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    Menu* m = Find(menu);
    if (!m)
        return FALSE;
    m->items.push_back(MakeItem(flags, idOrPopup, text));
    return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    Menu* m = Find(menu);
    if (!m)
        return FALSE;
    int index = IndexOf(*m, position, flags);
    if (index < 0)
        index = static_cast<int>(m->items.size());
    m->items.insert(m->items.begin() + index, MakeItem(flags, idOrPopup, text));
    return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    Menu* m = Find(menu);
    const int index = m ? IndexOf(*m, position, flags) : -1;
    if (index < 0)
        return FALSE;
    m->items[static_cast<size_t>(index)] = MakeItem(flags, idOrPopup, text);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }

int GetMenuItemCount(HMENU menu) {
    Menu* m = Find(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Menu* m = Find(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& item = m->items[static_cast<size_t>(position)];
    return (item.flags & MF_POPUP) ? static_cast<UINT>(-1) : static_cast<UINT>(item.id);
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    Menu* m = Find(menu);
    const int index = m ? IndexOf(*m, item, flags) : -1;
    return index < 0 ? static_cast<UINT>(-1) : m->items[static_cast<size_t>(index)].flags;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags) {
    Menu* m = Find(menu);
    const int index = m ? IndexOf(*m, item, flags) : -1;
    if (index < 0)
        return 0;
    const AnsiString& label = m->items[static_cast<size_t>(index)].text;
    if (!text || size <= 0)
        return label.Length();
    const int count = std::min(size - 1, label.Length());
    std::memcpy(text, label.c_str(), static_cast<size_t>(count));
    text[count] = '\0';
    return count;
}

HMENU GetSubMenu(HMENU menu, int position) {
    Menu* m = Find(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size()))
        return nullptr;
    return m->items[static_cast<size_t>(position)].submenu;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* m = Find(menu);
    const int index = m ? IndexOf(*m, item, flags) : -1;
    if (index < 0)
        return static_cast<UINT>(-1);
    UINT& state = m->items[static_cast<size_t>(index)].flags;
    const UINT old = state & (MF_GRAYED | MF_DISABLED);
    state = (state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* m = Find(menu);
    const int index = m ? IndexOf(*m, item, flags) : -1;
    if (index < 0)
        return static_cast<DWORD>(-1);
    UINT& state = m->items[static_cast<size_t>(index)].flags;
    const DWORD old = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return old;
}

HMENU GetSystemMenu(HWND window, BOOL revert) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !(w->style & WS_SYSMENU))
        return nullptr;
    if (revert) {
        if (w->systemMenu)
            DestroyMenu(w->systemMenu);
        w->systemMenu = nullptr;
        return nullptr;
    }
    if (!w->systemMenu || !Find(w->systemMenu)) {
        w->systemMenu = NewMenu();
        BuildSystemMenu(w->systemMenu, window);
    }
    return w->systemMenu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    Menu* m = Find(menu);
    if (!m)
        return FALSE;
    const bool system = m->systemOwner != nullptr;
    if (IsWindow(owner)) {
        UserSend(owner, WM_ENTERMENULOOP, TRUE, 0);
        UserSend(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, system ? 1 : 0));
    }
    const POINT at{x, y};
    const UINT chosen = State().responder ? State().responder(menu, at) : RunPopup(menu, at);
    if (IsWindow(owner))
        UserSend(owner, WM_EXITMENULOOP, TRUE, 0);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && !(flags & TPM_NONOTIFY) && IsWindow(owner))
        PostMessageA(owner, system ? WM_SYSCOMMAND : WM_COMMAND, chosen, 0);
    return chosen ? TRUE : FALSE;
}

void UserSetPopupMenuResponder(PopupMenuResponder responder) { State().responder = std::move(responder); }

void UserDestroyWindowMenus(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (w && w->systemMenu) {
        DestroyMenu(w->systemMenu);
        w->systemMenu = nullptr;
    }
}

void UserResetMenus() { State() = MenuState{}; }
