// The open-file dialog: a modal window listing a folder through the filter, with an
// editable file name and OK/Cancel; tests answer through a scripted responder.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/user/User.h"

#include <functional>
#include <optional>

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
struct OPENFILENAMEA {
    DWORD lStructSize; HWND hwndOwner; HINSTANCE hInstance; LPCSTR lpstrFilter; LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter; DWORD nFilterIndex; LPSTR lpstrFile; DWORD nMaxFile; LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle; LPCSTR lpstrInitialDir; LPCSTR lpstrTitle; DWORD Flags; WORD nFileOffset;
    WORD nFileExtension; LPCSTR lpstrDefExt; LPARAM lCustData; LPOFNHOOKPROC lpfnHook; LPCSTR lpTemplateName;
    void* pvReserved; DWORD dwReserved; DWORD FlagsEx;
};
using OPENFILENAME = OPENFILENAMEA;

constexpr DWORD OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_NOCHANGEDIR = 0x8,
                OFN_SHOWHELP = 0x10, OFN_ENABLEHOOK = 0x20, OFN_NOVALIDATE = 0x100, OFN_ALLOWMULTISELECT = 0x200,
                OFN_EXTENSIONDIFFERENT = 0x400, OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000,
                OFN_CREATEPROMPT = 0x2000, OFN_SHAREAWARE = 0x4000, OFN_NOREADONLYRETURN = 0x8000,
                OFN_NOTESTFILECREATE = 0x10000, OFN_NONETWORKBUTTON = 0x20000, OFN_NOLONGNAMES = 0x40000,
                OFN_EXPLORER = 0x80000, OFN_NODEREFERENCELINKS = 0x100000, OFN_LONGNAMES = 0x200000,
                OFN_ENABLESIZING = 0x800000;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001, FNERR_INVALIDFILENAME = 0x3002, FNERR_BUFFERTOOSMALL = 0x3003;

// TRUE when a file was chosen: lpstrFile holds its full path, nFileOffset and
// nFileExtension index its name and extension, lpstrFileTitle (when given) its name.
// Unless OFN_NOCHANGEDIR, the current directory moves to the file's folder.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
inline BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return GetOpenFileNameA(ofn); }
DWORD CommDlgExtendedError();

// Answers the path the user picks (empty: Cancel); empty responder: the real dialog runs.
using OpenFileResponder = std::function<std::optional<AnsiString>(const OPENFILENAMEA& ofn)>;
void UserSetOpenFileResponder(OpenFileResponder responder);
// True when a file name matches a filter pattern list ("*.mdb;*.db"), ignoring case.
bool UserMatchesFilter(const AnsiString& name, const AnsiString& patterns);
