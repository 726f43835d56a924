// Creating and destroying windows, the window tree, texts and window longs.
#include "platform/win/user/WindowObject.h"

#include "platform/win/user/Caret.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/NonClient.h"
#include "platform/win/user/Timers.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDefaultWidth = 640, kDefaultHeight = 480;

const WindowClass* ClassFor(LPCSTR className) {
    UserRegisterSystemClasses();
    if (!className)
        return nullptr;
    if (IS_INTRESOURCE(className))
        return UserFindClassAtom(static_cast<ATOM>(reinterpret_cast<DWORD_PTR>(className)));
    return UserFindClass(className);
}

// Overlapped windows always have a caption and clip their siblings.
DWORD NormalisedStyle(DWORD style) {
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    return style & ~WS_VISIBLE;
}

RECT InitialRect(DWORD style, int x, int y, int width, int height) {
    const bool child = (style & WS_CHILD) != 0;
    if (x == CW_USEDEFAULT) {
        x = child ? 0 : 32;
        y = child ? 0 : 32;
    }
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : kDefaultWidth;
        height = child ? 0 : kDefaultHeight;
    }
    return {x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

// New top-level windows go on top; new child windows go below their siblings, so the
// z-order of a dialog's controls is their creation (tab) order.
void InsertChild(WindowObject& parent, HWND child, bool topmost) {
    auto& list = parent.children;
    if (parent.handle != UserDesktop().handle) {
        list.push_back(child);
        return;
    }
    auto pos = list.begin();
    if (!topmost)
        pos = std::find_if(list.begin(), list.end(), [](HWND h) {
            WindowObject* w = UserFindWindow(h);
            return w && !(w->exStyle & WS_EX_TOPMOST);
        });
    list.insert(pos, child);
}

void Unlink(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return;
    if (WindowObject* parent = UserFindWindow(w->parent))
        std::erase(parent->children, window);
}

void SendSizeAndMove(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return;
    const WPARAM kind = (w->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    const RECT c = w->client;
    const POINT origin{w->rect.left + c.left, w->rect.top + c.top};
    UserSend(window, WM_SIZE, kind, UserPackPoint(c.right - c.left, c.bottom - c.top));
    UserSend(window, WM_MOVE, 0, UserPackPoint(origin.x, origin.y));
}

void DestroyTree(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return;
    w->destroying = true;
    UserSend(window, WM_DESTROY, 0, 0);
    if ((w = UserFindWindow(window))) {
        std::vector<HWND> children = w->children;
        for (HWND child : children)
            DestroyTree(child);
    }
    UserSend(window, WM_NCDESTROY, 0, 0);
    UserKillWindowTimers(window);
    UserPurgeWindowMessages(window);
    UserForgetWindowInput(window);
    UserForgetCaretOwner(window);
    UserFocusForgetWindow(window);
    if (WindowObject* gone = UserFindWindow(window); gone && gone->IsTopLevel())
        UserDisplay().WindowDestroyed(window);
    Unlink(window);
    UserRemoveWindow(window);
}

void DestroyOwnedWindows(HWND owner) {
    for (HWND h : UserAllWindows()) {
        WindowObject* w = UserFindWindow(h);
        if (w && w->owner == owner && !w->destroying)
            DestroyWindow(h);
    }
}

bool Contains(HWND ancestor, HWND window) { return window && (window == ancestor || IsChild(ancestor, window)); }

}  // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
    const WindowClass* cls = ClassFor(className);
    if (!cls)
        return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child && !UserFindWindow(parent))
        return nullptr;
    if (parent && !UserFindWindow(parent))
        return nullptr;

    auto object = std::make_unique<WindowObject>();
    object->cls = cls;
    object->procedure = cls->procedure;
    object->style = NormalisedStyle(style);
    object->exStyle = exStyle;
    object->instance = instance;
    object->threadId = UserThreadId();
    object->parent = child ? parent : UserDesktop().handle;
    object->owner = child ? nullptr : UserTopLevelOf(parent);
    object->id = child ? reinterpret_cast<LONG_PTR>(menuOrId) : 0;
    object->rect = InitialRect(style, x, y, width, height);
    object->client = {0, 0, object->Width(), object->Height()};
    if (!child)
        object->surface = std::make_unique<Surface>(std::max(object->Width(), 1), std::max(object->Height(), 1));
    const RECT initial = object->rect;
    const HWND window = UserAddWindow(std::move(object));
    InsertChild(*UserFindWindow(child ? parent : UserDesktop().handle), window, (exStyle & WS_EX_TOPMOST) != 0);

    CREATESTRUCTA cs{param, instance, menuOrId, parent, initial.bottom - initial.top, initial.right - initial.left,
                     initial.top, initial.left, static_cast<LONG>(style), windowName, className, exStyle};
    if (!child) {
        MINMAXINFO info{};
        UserSend(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    }
    if (!UserSend(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        UserSend(window, WM_NCDESTROY, 0, 0);
        Unlink(window);
        UserRemoveWindow(window);
        return nullptr;
    }
    if (WindowObject* w = UserFindWindow(window)) {
        RECT r = w->rect;
        UserSend(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
        if ((w = UserFindWindow(window)))
            w->client = {r.left - w->rect.left, r.top - w->rect.top, r.right - w->rect.left, r.bottom - w->rect.top};
    }
    if (UserSend(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    if (!IsWindow(window))
        return nullptr;
    SendSizeAndMove(window);
    if (child && !(exStyle & WS_EX_NOPARENTNOTIFY))
        UserSend(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(reinterpret_cast<DWORD_PTR>(menuOrId))),
                 reinterpret_cast<LPARAM>(window));
    if (IsWindow(window) && (style & WS_VISIBLE))
        ShowWindow(window, (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return IsWindow(window) ? window : nullptr;
}

BOOL DestroyWindow(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w || window == UserDesktop().handle)
        return FALSE;
    if (w->destroying)
        return TRUE;
    const HWND parent = w->parent;
    const bool wasVisible = UserReallyVisible(window);
    const RECT area = w->rect;
    DestroyOwnedWindows(window);
    if ((w = UserFindWindow(window)) && (w->style & WS_VISIBLE))
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (Contains(window, GetCapture()))
        ReleaseCapture();
    if (Contains(window, GetFocus()))
        SetFocus(nullptr);
    if (!IsWindow(window))
        return TRUE;
    DestroyTree(window);
    if (wasVisible && parent != UserDesktop().handle && IsWindow(parent))
        InvalidateRect(parent, &area, TRUE);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) { return UserReallyVisible(window) ? TRUE : FALSE; }

BOOL IsWindowEnabled(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND window) {
    const HWND desktop = UserDesktop().handle;
    WindowObject* w = UserFindWindow(window);
    while (w && w->parent && w->parent != desktop) {
        if (w->parent == parent)
            return TRUE;
        w = UserFindWindow(w->parent);
    }
    return FALSE;
}

HWND GetParent(HWND window) {
    WindowObject* w = UserFindWindow(window);
    if (!w || window == UserDesktop().handle)
        return nullptr;
    if (w->style & WS_CHILD)
        return w->parent == UserDesktop().handle ? nullptr : w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetDesktopWindow() { return UserDesktop().handle; }

HWND SetParent(HWND window, HWND newParent) {
    WindowObject* w = UserFindWindow(window);
    const HWND desktop = UserDesktop().handle;
    if (!newParent)
        newParent = desktop;
    if (!w || window == desktop || !UserFindWindow(newParent) || newParent == window || IsChild(window, newParent))
        return nullptr;
    const HWND old = w->parent;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible)
        ShowWindow(window, SW_HIDE);
    if (!(w = UserFindWindow(window)))
        return nullptr;
    Unlink(window);
    w->parent = newParent;
    if (newParent == desktop && !w->surface)
        w->surface = std::make_unique<Surface>(std::max(w->Width(), 1), std::max(w->Height(), 1));
    else if (newParent != desktop && w->surface) {
        UserDisplay().WindowDestroyed(window);
        w->surface.reset();
    }
    InsertChild(*UserFindWindow(newParent), window, (w->exStyle & WS_EX_TOPMOST) != 0);
    if (visible)
        ShowWindow(window, SW_SHOWNA);
    return old;
}

HWND GetWindow(HWND window, UINT relation) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return nullptr;
    if (relation == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (relation == GW_OWNER)
        return w->owner;
    WindowObject* parent = UserFindWindow(w->parent);
    if (!parent)
        return nullptr;
    const auto& list = parent->children;
    auto it = std::find(list.begin(), list.end(), window);
    switch (relation) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return (it != list.end() && it + 1 != list.end()) ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return (it != list.begin() && it != list.end()) ? *(it - 1) : nullptr;
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND window) { return GetWindow(window ? window : GetDesktopWindow(), GW_CHILD); }

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (HWND h : UserDesktop().children) {
        WindowObject* w = UserFindWindow(h);
        if (!w)
            continue;
        if (className && !(w->cls && UserFindClass(className) == w->cls))
            continue;
        if (windowName && w->text != windowName)
            continue;
        return h;
    }
    return nullptr;
}

HWND GetDlgItem(HWND dialog, int id) {
    WindowObject* w = UserFindWindow(dialog);
    if (!w)
        return nullptr;
    for (HWND child : w->children) {
        WindowObject* c = UserFindWindow(child);
        if (c && c->id == id)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    WindowObject* w = UserFindWindow(window);
    return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

// ---------------------------------------------------------------- texts

int GetWindowTextA(HWND window, LPSTR text, int size) {
    if (!text || size <= 0)
        return 0;
    text[0] = '\0';
    return static_cast<int>(UserSend(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND window) { return static_cast<int>(UserSend(window, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!IsWindow(window))
        return FALSE;
    return UserSend(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

// ---------------------------------------------------------------- window longs

LONG_PTR GetWindowLongA(HWND window, int index) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return 0;
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->procedure);
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_ID: return w->id;
    case GWL_USERDATA: return w->userData;
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(window));
    default: return 0;
    }
}

namespace {

LONG_PTR SetStyleLong(HWND window, int index, DWORD value) {
    WindowObject* w = UserFindWindow(window);
    DWORD& slot = index == GWL_STYLE ? w->style : w->exStyle;
    const DWORD old = slot;
    // The visibility bit changes only through ShowWindow and SetWindowPos.
    if (index == GWL_STYLE)
        value = (value & ~WS_VISIBLE) | (old & WS_VISIBLE);
    const WPARAM kind = index == GWL_STYLE ? static_cast<WPARAM>(GWL_STYLE) : static_cast<WPARAM>(GWL_EXSTYLE);
    struct { DWORD oldStyle; DWORD newStyle; } change{old, value};
    UserSend(window, WM_STYLECHANGING, kind, reinterpret_cast<LPARAM>(&change));
    if (!(w = UserFindWindow(window)))
        return static_cast<LONG>(old);
    (index == GWL_STYLE ? w->style : w->exStyle) = change.newStyle;
    UserSend(window, WM_STYLECHANGED, kind, reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG>(old);
}

}  // namespace

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongA(window, index);
    switch (index) {
    case GWL_WNDPROC: w->procedure = reinterpret_cast<WNDPROC>(value); break;
    case GWL_STYLE:
    case GWL_EXSTYLE: return SetStyleLong(window, index, static_cast<DWORD>(value));
    case GWL_ID: w->id = value; break;
    case GWL_USERDATA: w->userData = value; break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT: w->owner = UserTopLevelOf(reinterpret_cast<HWND>(value)); break;
    default: return 0;
    }
    return old;
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !name)
        return FALSE;
    w->properties[name] = data;
    return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !name)
        return nullptr;
    auto it = w->properties.find(name);
    return it == w->properties.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
    HANDLE data = GetPropA(window, name);
    if (data)
        UserFindWindow(window)->properties.erase(name);
    return data;
}
