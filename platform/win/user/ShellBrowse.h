// The shell's folder browser and its item lists. An item list names one folder by its
// Windows path; item lists come from the shell's allocator and go back with CoTaskMemFree.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

#include <cstddef>
#include <functional>
#include <optional>

struct SHITEMID { USHORT cb; BYTE abID[1]; };
struct ITEMIDLIST { SHITEMID mkid; };
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using BFFCALLBACK = int (*)(HWND window, UINT message, LPARAM lParam, LPARAM data);
struct BROWSEINFOA {
    HWND hwndOwner; LPCITEMIDLIST pidlRoot; LPSTR pszDisplayName; LPCSTR lpszTitle; UINT ulFlags;
    BFFCALLBACK lpfn; LPARAM lParam; int iImage;
};
using BROWSEINFO = BROWSEINFOA;

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001, BIF_DONTGOBELOWDOMAIN = 0x0002, BIF_STATUSTEXT = 0x0004,
               BIF_RETURNFSANCESTORS = 0x0008, BIF_EDITBOX = 0x0010, BIF_VALIDATE = 0x0020,
               BIF_BROWSEFORCOMPUTER = 0x1000, BIF_BROWSEFORPRINTER = 0x2000, BIF_BROWSEINCLUDEFILES = 0x4000;
constexpr UINT BFFM_INITIALIZED = 1, BFFM_SELCHANGED = 2, BFFM_VALIDATEFAILEDA = 3;
constexpr UINT BFFM_SETSTATUSTEXTA = WM_USER + 100, BFFM_ENABLEOK = WM_USER + 101, BFFM_SETSELECTIONA = WM_USER + 102;
constexpr int MAX_PATH = 260;
constexpr int CSIDL_DESKTOP = 0x00, CSIDL_DRIVES = 0x11, CSIDL_WINDOWS = 0x24, CSIDL_SYSTEM = 0x25;
constexpr HRESULT S_OK = 0, E_INVALIDARG = static_cast<HRESULT>(0x80070057), E_FAIL = static_cast<HRESULT>(0x80004005);

// Runs the browser; the chosen folder's item list (caller frees it), or null when cancelled.
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
inline LPITEMIDLIST SHBrowseForFolder(BROWSEINFOA* info) { return SHBrowseForFolderA(info); }
// Writes the folder's path (up to MAX_PATH bytes with the NUL); FALSE for the namespace root.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
inline BOOL SHGetPathFromIDList(LPCITEMIDLIST list, LPSTR path) { return SHGetPathFromIDListA(list, path); }
// Item list of a special folder: the desktop and My Computer are the namespace root; the
// Windows and system folders are file-system folders; any other id fails with E_INVALIDARG.
HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
void CoTaskMemFree(void* memory);

// The shell's object interfaces the system uses: the task allocator and the desktop
// folder, which parses a path into an item list.
struct IUnknown {
    virtual HRESULT QueryInterface(const void* interfaceId, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
struct IMalloc : IUnknown {
    virtual void* Alloc(std::size_t size) = 0;
    virtual void* Realloc(void* memory, std::size_t size) = 0;
    virtual void Free(void* memory) = 0;
    virtual std::size_t GetSize(void* memory) = 0;
    virtual int DidAlloc(void* memory) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};
struct IShellFolder : IUnknown {
    // Item list of an existing folder or file named by a path (wide text); E_FAIL otherwise.
    virtual HRESULT ParseDisplayName(HWND owner, void* bindContext, LPWSTR displayName, ULONG* eaten,
                                     LPITEMIDLIST* list, ULONG* attributes) = 0;

protected:
    ~IShellFolder() = default;
};
HRESULT SHGetMalloc(IMalloc** allocator);
HRESULT SHGetDesktopFolder(IShellFolder** folder);

// An item list for a path (caller frees it with CoTaskMemFree).
LPITEMIDLIST UserItemListForPath(const AnsiString& path);

// The folder the user picks (empty: Cancel), asked after BFFM_INITIALIZED with the running
// browser window; the choice then goes through selection, validation and OK as typed input.
using FolderBrowseResponder = std::function<std::optional<AnsiString>(HWND browser)>;
void UserSetFolderBrowseResponder(FolderBrowseResponder responder);
// State of a running browser, for tests.
AnsiString UserFolderBrowseStatus(HWND browser);
bool UserFolderBrowseOkEnabled(HWND browser);
AnsiString UserFolderBrowseSelection(HWND browser);
