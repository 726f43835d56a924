// The objects behind window handles, the class registry and the window tree. A window
// handle stays valid until the window has received WM_NCDESTROY; code that sends a
// message must look the window up again afterwards, since the receiver may destroy it.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/User.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

struct WindowClass {
    AnsiString name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    ATOM atom = 0;
    bool system = false;
};

// State of a window's standard scroll bar (SB_HORZ or SB_VERT).
struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool disabled = false;
};

struct WindowObject {
    HWND handle = nullptr;
    const WindowClass* cls = nullptr;
    WNDPROC procedure = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // the desktop for top-level windows
    HWND owner = nullptr;
    std::vector<HWND> children;  // z-order, topmost first
    RECT rect{};                 // window rectangle in the parent's client coordinates
    RECT client{};               // client rectangle relative to the window rectangle's origin
    AnsiString text;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;
    HMENU systemMenu = nullptr;
    std::map<std::string, HANDLE> properties;
    std::optional<Region> shape;  // window region (window coordinates)
    // Painting state: update region in client coordinates, pending erase and frame.
    Region update;
    bool erasePending = false;
    bool framePending = false;
    bool internalPaint = false;
    bool destroying = false;
    bool ncActive = false;  // caption last drawn active (WM_NCACTIVATE)
    ScrollBarState scroll[2];  // SB_HORZ, SB_VERT
    RECT restoreRect{};  // rectangle before minimising or maximising
    std::unique_ptr<Surface> surface;  // top-level windows only
    DWORD threadId = 0;
    // Per-class private state of the standard window classes.
    std::shared_ptr<void> classData;

    bool IsTopLevel() const;
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

// ---------------------------------------------------------------- classes
const WindowClass* UserFindClass(const AnsiString& name);
const WindowClass* UserFindClassAtom(ATOM atom);
// Registers the standard classes once ("BUTTON", "EDIT", "LISTBOX", "STATIC" and the stand-in's own).
void UserRegisterSystemClasses();
void UserRegisterSystemClass(const char* name, UINT style, WNDPROC procedure, HBRUSH background, HCURSOR cursor);

// ---------------------------------------------------------------- the window table
WindowObject* UserFindWindow(HWND window);
WindowObject& UserDesktop();
HWND UserAddWindow(std::unique_ptr<WindowObject> window);
void UserRemoveWindow(HWND window);
// All live windows in creation order.
std::vector<HWND> UserAllWindows();
// Top-level window (child of the desktop) that contains `window`, or the window itself.
HWND UserTopLevelOf(HWND window);
// True when the window and all its ancestors are visible.
bool UserReallyVisible(HWND window);
// Window rectangle and client rectangle in screen coordinates.
RECT UserScreenWindowRect(HWND window);
RECT UserScreenClientRect(HWND window);
// Forgets every window, class and queue state (tests start from a clean window system).
void UserResetWindowTable();

// ---------------------------------------------------------------- shared helpers
LRESULT UserSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline LPARAM UserPackPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
