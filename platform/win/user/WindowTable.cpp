// Window table, desktop window and class registry.
#include "platform/win/user/WindowObject.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"

#include <algorithm>
#include <cctype>

namespace {

struct WindowTable {
    std::map<HWND, std::unique_ptr<WindowObject>> windows;
    std::vector<HWND> order;
    std::uintptr_t nextHandle = 0x10010;
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::unique_ptr<WindowObject> desktop;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

bool SameName(const AnsiString& a, const AnsiString& b) {
    return a.Length() == b.Length() &&
           std::equal(a.str().begin(), a.str().end(), b.str().begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

LRESULT DesktopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool WindowObject::IsTopLevel() const { return parent == UserDesktop().handle; }

WindowObject& UserDesktop() {
    WindowTable& table = Table();
    if (!table.desktop) {
        auto desktop = std::make_unique<WindowObject>();
        desktop->handle = reinterpret_cast<HWND>(std::uintptr_t{0x10000});
        desktop->procedure = DesktopProcedure;
        desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
        table.desktop = std::move(desktop);
    }
    // The desktop always covers the screen the system metrics report.
    WindowObject& desktop = *table.desktop;
    desktop.rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    desktop.client = desktop.rect;
    return desktop;
}

WindowObject* UserFindWindow(HWND window) {
    if (!window)
        return nullptr;
    WindowTable& table = Table();
    if (window == UserDesktop().handle)
        return table.desktop.get();
    auto it = table.windows.find(window);
    return it == table.windows.end() ? nullptr : it->second.get();
}

HWND UserAddWindow(std::unique_ptr<WindowObject> window) {
    WindowTable& table = Table();
    HWND handle = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 4;
    window->handle = handle;
    table.order.push_back(handle);
    table.windows[handle] = std::move(window);
    return handle;
}

void UserRemoveWindow(HWND window) {
    WindowTable& table = Table();
    table.windows.erase(window);
    table.order.erase(std::remove(table.order.begin(), table.order.end(), window), table.order.end());
}

std::vector<HWND> UserAllWindows() { return Table().order; }

HWND UserTopLevelOf(HWND window) {
    const HWND desktop = UserDesktop().handle;
    WindowObject* w = UserFindWindow(window);
    while (w && w->parent && w->parent != desktop)
        w = UserFindWindow(w->parent);
    return w && w->handle != desktop ? w->handle : nullptr;
}

bool UserReallyVisible(HWND window) {
    const HWND desktop = UserDesktop().handle;
    for (WindowObject* w = UserFindWindow(window); w && w->handle != desktop; w = UserFindWindow(w->parent))
        if (!(w->style & WS_VISIBLE))
            return false;
    return UserFindWindow(window) != nullptr;
}

RECT UserScreenWindowRect(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return {};
    RECT r = w->rect;
    if (w->handle == UserDesktop().handle)
        return r;
    RECT parentClient = UserScreenClientRect(w->parent);
    return {r.left + parentClient.left, r.top + parentClient.top, r.right + parentClient.left,
            r.bottom + parentClient.top};
}

RECT UserScreenClientRect(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return {};
    if (w->handle == UserDesktop().handle)
        return w->rect;
    RECT wr = UserScreenWindowRect(window);
    return {wr.left + w->client.left, wr.top + w->client.top, wr.left + w->client.right,
            wr.top + w->client.bottom};
}

void UserResetWindowTable() {
    WindowTable& table = Table();
    table.windows.clear();
    table.order.clear();
    table.desktop.reset();
    table.classes.erase(std::remove_if(table.classes.begin(), table.classes.end(),
                                       [](const auto& c) { return !c->system; }),
                        table.classes.end());
}

// ---------------------------------------------------------------- classes

const WindowClass* UserFindClass(const AnsiString& name) {
    for (const auto& c : Table().classes)
        if (SameName(c->name, name))
            return c.get();
    return nullptr;
}

const WindowClass* UserFindClassAtom(ATOM atom) {
    for (const auto& c : Table().classes)
        if (c->atom == atom)
            return c.get();
    return nullptr;
}

namespace {

ATOM AddClass(std::unique_ptr<WindowClass> cls) {
    WindowTable& table = Table();
    cls->atom = table.nextAtom++;
    ATOM atom = cls->atom;
    table.classes.push_back(std::move(cls));
    return atom;
}

}  // namespace

void UserRegisterSystemClass(const char* name, UINT style, WNDPROC procedure, HBRUSH background, HCURSOR cursor) {
    if (UserFindClass(name))
        return;
    auto cls = std::make_unique<WindowClass>();
    cls->name = name;
    cls->style = style;
    cls->procedure = procedure;
    cls->background = background;
    cls->cursor = cursor;
    cls->system = true;
    AddClass(std::move(cls));
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc)
        return 0;
    const WindowClass* existing = UserFindClass(wc->lpszClassName);
    if (existing && !existing->system)
        return 0;
    auto cls = std::make_unique<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->procedure = wc->lpfnWndProc;
    cls->instance = wc->hInstance;
    cls->icon = wc->hIcon;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    if (existing) {
        // An application class of a system class's name hides the system one.
        WindowTable& table = Table();
        auto it = std::find_if(table.classes.begin(), table.classes.end(),
                               [&](const auto& c) { return c.get() == existing; });
        table.classes.erase(it);
    }
    return AddClass(std::move(cls));
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    if (!className)
        return FALSE;
    WindowTable& table = Table();
    const WindowClass* cls = IS_INTRESOURCE(className)
                                 ? UserFindClassAtom(static_cast<ATOM>(reinterpret_cast<DWORD_PTR>(className)))
                                 : UserFindClass(className);
    if (!cls || cls->system)
        return FALSE;
    for (const auto& [handle, w] : table.windows)
        if (w->cls == cls)
            return FALSE;
    table.classes.erase(std::find_if(table.classes.begin(), table.classes.end(),
                                     [&](const auto& c) { return c.get() == cls; }));
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* wc) {
    if (!className || !wc)
        return FALSE;
    UserRegisterSystemClasses();
    const WindowClass* cls = IS_INTRESOURCE(className)
                                 ? UserFindClassAtom(static_cast<ATOM>(reinterpret_cast<DWORD_PTR>(className)))
                                 : UserFindClass(className);
    if (!cls)
        return FALSE;
    *wc = WNDCLASSA{cls->style, cls->procedure, 0, 0, cls->instance, cls->icon, cls->cursor,
                    cls->background, nullptr, className};
    return TRUE;
}

int GetClassNameA(HWND window, LPSTR name, int size) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !w->cls || !name || size <= 0)
        return 0;
    int count = std::min(size - 1, w->cls->name.Length());
    std::copy_n(w->cls->name.c_str(), count, name);
    name[count] = '\0';
    return count;
}

DWORD_PTR GetClassLongA(HWND window, int index) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !w->cls)
        return 0;
    switch (index) {
    case GCL_STYLE: return w->cls->style;
    case GCL_HBRBACKGROUND: return reinterpret_cast<DWORD_PTR>(w->cls->background);
    case GCL_HCURSOR: return reinterpret_cast<DWORD_PTR>(w->cls->cursor);
    default: return 0;
    }
}
