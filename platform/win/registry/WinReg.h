// The registry functions of the window-system stand-in (the ANSI entry points, with the
// unsuffixed names as aliases), over a tree kept in a file. Handles of opened keys are
// small numbers that never collide with the predefined roots; a key deleted while a handle
// is open on it answers ERROR_KEY_DELETED through that handle. Every change is written to
// the file at once, so RegFlushKey only retries a write that failed. When another process
// has saved the file since, the next call reads it again and open handles follow their keys.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/kernel/Errors.h"

#include <cstdint>
#include <string>

using REGSAM = DWORD;
using PHKEY = HKEY*;
// Only passed through; the store keeps no write times and reports them as zero.
struct FILETIME;

#define VENDARO_PREDEFINED_HKEY(value) (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(value)))
#define HKEY_CLASSES_ROOT VENDARO_PREDEFINED_HKEY(0x80000000u)
#define HKEY_CURRENT_USER VENDARO_PREDEFINED_HKEY(0x80000001u)
#define HKEY_LOCAL_MACHINE VENDARO_PREDEFINED_HKEY(0x80000002u)
#define HKEY_USERS VENDARO_PREDEFINED_HKEY(0x80000003u)
#define HKEY_PERFORMANCE_DATA VENDARO_PREDEFINED_HKEY(0x80000004u)
#define HKEY_CURRENT_CONFIG VENDARO_PREDEFINED_HKEY(0x80000005u)
#define HKEY_DYN_DATA VENDARO_PREDEFINED_HKEY(0x80000006u)

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM STANDARD_RIGHTS_READ = 0x00020000;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_EXECUTE = 0x00020019;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Results of the registry functions: the system's error numbers, and those only the
// registry reports.
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_BADDB = 1009;
constexpr DWORD ERROR_CANTWRITE = 1013;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// Where the registry file lies (a host path; by default ~/.vendaro/registry). Changing it
// invalidates every open key handle and loads the tree kept in the new file.
void SetRegistryFileName(const std::string& fileName);
std::string RegistryFileName();

// A subkey path is names separated by "\"; one trailing "\" is tolerated, an empty name
// anywhere else is ERROR_BAD_PATHNAME. Empty or null opens the key itself once more.
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, void* lpSecurityAttributes, PHKEY phkResult, DWORD* lpdwDisposition);
LONG RegCloseKey(HKEY hKey);
LONG RegFlushKey(HKEY hKey);
// Fails with ERROR_ACCESS_DENIED while the key has subkeys; an empty path is ERROR_INVALID_PARAMETER.
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                      DWORD* lpcbData);
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
// Subkeys are enumerated in name order (ASCII case folded), values in the order first set.
LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD* lpcchName, DWORD* lpReserved, LPSTR lpClass,
                   DWORD* lpcchClass, FILETIME* lpftLastWriteTime);
LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                   DWORD* lpType, BYTE* lpData, DWORD* lpcbData);
LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, DWORD* lpcchClass, DWORD* lpReserved, DWORD* lpcSubKeys,
                      DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen, DWORD* lpcValues,
                      DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen, DWORD* lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime);

inline LONG RegOpenKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult)
{
    return RegOpenKeyExA(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}
inline LONG RegCreateKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass, DWORD dwOptions,
                           REGSAM samDesired, void* lpSecurityAttributes, PHKEY phkResult, DWORD* lpdwDisposition)
{
    return RegCreateKeyExA(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes,
                           phkResult, lpdwDisposition);
}
inline LONG RegDeleteKey(HKEY hKey, LPCSTR lpSubKey) { return RegDeleteKeyA(hKey, lpSubKey); }
inline LONG RegDeleteValue(HKEY hKey, LPCSTR lpValueName) { return RegDeleteValueA(hKey, lpValueName); }
inline LONG RegQueryValueEx(HKEY hKey, LPCSTR lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                            DWORD* lpcbData)
{
    return RegQueryValueExA(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegSetValueEx(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                          DWORD cbData)
{
    return RegSetValueExA(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}
inline LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD* lpcchName, DWORD* lpReserved,
                         LPSTR lpClass, DWORD* lpcchClass, FILETIME* lpftLastWriteTime)
{
    return RegEnumKeyExA(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass, lpftLastWriteTime);
}
inline LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                         DWORD* lpType, BYTE* lpData, DWORD* lpcbData)
{
    return RegEnumValueA(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegQueryInfoKey(HKEY hKey, LPSTR lpClass, DWORD* lpcchClass, DWORD* lpReserved, DWORD* lpcSubKeys,
                            DWORD* lpcbMaxSubKeyLen, DWORD* lpcbMaxClassLen, DWORD* lpcValues,
                            DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen, DWORD* lpcbSecurityDescriptor,
                            FILETIME* lpftLastWriteTime)
{
    return RegQueryInfoKeyA(hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen, lpcbMaxClassLen,
                            lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen, lpcbSecurityDescriptor,
                            lpftLastWriteTime);
}
