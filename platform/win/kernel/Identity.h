// Computer and user names and the process environment.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <optional>

constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;
constexpr DWORD UNLEN = 256;

// *size: buffer size in; characters copied without the terminating zero out. A buffer too
// small fails with ERROR_BUFFER_OVERFLOW and *size the size needed including the zero.
// The name is the host name, upper case, at most 15 characters.
BOOL GetComputerNameA(LPSTR buffer, DWORD* size);
inline BOOL GetComputerName(LPSTR buffer, DWORD* size) { return GetComputerNameA(buffer, size); }

// *size: buffer size in; characters copied including the terminating zero out. A buffer too
// small fails with ERROR_INSUFFICIENT_BUFFER and *size the size needed including the zero.
BOOL GetUserNameA(LPSTR buffer, DWORD* size);
inline BOOL GetUserName(LPSTR buffer, DWORD* size) { return GetUserNameA(buffer, size); }

// Tests fix the names (nullopt: the host's); a failing name query fails with ERROR_ACCESS_DENIED.
void SetComputerNameForTesting(std::optional<AnsiString> name);
void SetUserNameForTesting(std::optional<AnsiString> name);
void SetNameQueriesFailForTesting(bool fail);

// A block of "NAME=value" strings, each ended by a zero, the block ended by one more zero.
// The caller frees it with FreeEnvironmentStrings.
LPSTR GetEnvironmentStringsA();
inline LPSTR GetEnvironmentStrings() { return GetEnvironmentStringsA(); }
BOOL FreeEnvironmentStringsA(LPSTR block);
inline BOOL FreeEnvironmentStrings(LPSTR block) { return FreeEnvironmentStringsA(block); }
