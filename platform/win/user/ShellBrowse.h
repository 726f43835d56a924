// The shell's folder browser. Its answer is an item list of the shell services, made with
// the task allocator (free it with CoTaskMemFree).
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/kernel/Folders.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/User.h"

#include <functional>
#include <optional>

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

// Runs the browser; the chosen folder's item list (caller frees it), or null when cancelled.
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
inline LPITEMIDLIST SHBrowseForFolder(BROWSEINFOA* info) { return SHBrowseForFolderA(info); }
// The folder the user picks (empty: Cancel), asked after BFFM_INITIALIZED with the running
// browser window; the choice then goes through selection, validation and OK as typed input.
using FolderBrowseResponder = std::function<std::optional<AnsiString>(HWND browser)>;
void UserSetFolderBrowseResponder(FolderBrowseResponder responder);
// State of a running browser, for tests.
AnsiString UserFolderBrowseStatus(HWND browser);
bool UserFolderBrowseOkEnabled(HWND browser);
AnsiString UserFolderBrowseSelection(HWND browser);
