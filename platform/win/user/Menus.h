// Menus: popup menus, the window menu of captioned windows, and the modal popup
// shown by TrackPopupMenu (a real popup window, or a scripted choice in tests).
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

#include <functional>

constexpr UINT MF_INSERT = 0x0, MF_CHANGE = 0x80, MF_APPEND = 0x100, MF_DELETE = 0x200, MF_REMOVE = 0x1000,
               MF_BYCOMMAND = 0x0, MF_BYPOSITION = 0x400, MF_SEPARATOR = 0x800, MF_ENABLED = 0x0,
               MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_UNCHECKED = 0x0, MF_CHECKED = 0x8, MF_STRING = 0x0,
               MF_BITMAP = 0x4, MF_OWNERDRAW = 0x100, MF_POPUP = 0x10, MF_MENUBARBREAK = 0x20,
               MF_MENUBREAK = 0x40, MF_UNHILITE = 0x0, MF_HILITE = 0x80, MF_DEFAULT = 0x1000;
constexpr UINT TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2, TPM_LEFTALIGN = 0x0, TPM_CENTERALIGN = 0x4,
               TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0, TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20,
               TPM_NONOTIFY = 0x80, TPM_RETURNCMD = 0x100;

HMENU CreatePopupMenu();
HMENU CreateMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
inline BOOL AppendMenu(HMENU m, UINT f, UINT_PTR id, LPCSTR t) { return AppendMenuA(m, f, id, t); }
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
inline BOOL InsertMenu(HMENU m, UINT p, UINT f, UINT_PTR id, LPCSTR t) { return InsertMenuA(m, p, f, id, t); }
BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
// Removes an item (a missing item fails quietly); DeleteMenu also destroys its submenu.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
// Answers the previous enabled state (MF_ENABLED, MF_GRAYED, MF_DISABLED) or -1 for a missing item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// The window menu: Restore, Move, Size, Minimize, Maximize, separator, Close; windows
// without a sizing frame and maximise box get Restore, Move, Minimize, separator, Close.
HMENU GetSystemMenu(HWND window, BOOL revert);
// Modal: answers the chosen command with TPM_RETURNCMD, else TRUE/FALSE and posts
// WM_COMMAND (WM_SYSCOMMAND for the window menu) with the choice to `owner`.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);

// A scripted choice for tests: gets the menu and the screen point, answers the command
// id to choose (0: the menu is dismissed). Empty: the real popup window runs.
using PopupMenuResponder = std::function<UINT(HMENU menu, POINT at)>;
void UserSetPopupMenuResponder(PopupMenuResponder responder);
void UserDestroyWindowMenus(HWND window);
void UserResetMenus();
