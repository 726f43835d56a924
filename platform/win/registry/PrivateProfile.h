// The profile (ini file) functions of the window-system stand-in. Every call reads the
// file and every change writes it back whole, so nothing is cached between calls; a
// missing file reads as empty. A bare file name (no "\", "/" or ":") lies in the Windows
// folder; no file name at all means "WIN.INI" there. Lists come back as NUL-ended names
// followed by one more NUL.
//
// Unlike the original, writes that would break the file's line structure are refused
// (FALSE) instead of corrupting it: a section with "]", a key with "=" or starting with "["
// or ";", or any of them, or the value, holding CR or LF. The default of a read is returned
// exactly as given (the original cut its trailing blanks).
#pragma once

#include "platform/win/WinTypes.h"

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);
// A null key deletes the section; a null value deletes the key; all three null only
// flushes (nothing is cached, so it succeeds).
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
DWORD GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName);
// The value's leading decimal number (with an optional sign); 0 when it has none, nDefault
// when the key is missing.
UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);

inline DWORD GetPrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                     DWORD nSize, LPCSTR lpFileName)
{
    return GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, lpFileName);
}
inline BOOL WritePrivateProfileString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    return WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, lpFileName);
}
inline DWORD GetPrivateProfileSection(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    return GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, lpFileName);
}
inline DWORD GetPrivateProfileSectionNames(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return GetPrivateProfileSectionNamesA(lpszReturnBuffer, nSize, lpFileName);
}
inline UINT GetPrivateProfileInt(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName)
{
    return GetPrivateProfileIntA(lpAppName, lpKeyName, nDefault, lpFileName);
}
