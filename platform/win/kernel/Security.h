// Access-token privileges and the request to end the session. Nothing is ever shut down or
// logged off: requests are checked as the original checks them and recorded for tests.
#pragma once

#include "platform/win/WinTypes.h"

#include <vector>

struct LUID {
    DWORD LowPart;
    LONG HighPart;
};
struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes;
};
struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount;
    LUID_AND_ATTRIBUTES Privileges[1];
};

constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr DWORD ERROR_NOT_ALL_ASSIGNED = 1300;
constexpr char SE_SHUTDOWN_NAME[] = "SeShutdownPrivilege";

constexpr UINT EWX_LOGOFF = 0;
constexpr UINT EWX_SHUTDOWN = 1;
constexpr UINT EWX_REBOOT = 2;
constexpr UINT EWX_FORCE = 4;
constexpr UINT EWX_POWEROFF = 8;

// A token of the current process (other processes fail with ERROR_INVALID_HANDLE); the
// handle is closed with CloseHandle.
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token);
// Known names (case-insensitive) get their fixed numbers; others fail with ERROR_NO_SUCH_PRIVILEGE.
BOOL LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, LUID* luid);
inline BOOL LookupPrivilegeValue(LPCSTR systemName, LPCSTR name, LUID* luid) { return LookupPrivilegeValueA(systemName, name, luid); }
// Enables or disables privileges of the process. Succeeds with ERROR_NOT_ALL_ASSIGNED as last
// error when a privilege is unknown; needs a token opened with TOKEN_ADJUST_PRIVILEGES.
BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength);

// Log-off is always accepted; shutting down, rebooting and powering off need the shutdown
// privilege enabled, else FALSE with ERROR_PRIVILEGE_NOT_HELD. Accepted or not, the request
// is recorded and never carried out.
BOOL ExitWindowsEx(UINT flags, DWORD reserved);

struct TExitWindowsRequest {
    UINT flags;
    DWORD reserved;
    bool accepted;
};
const std::vector<TExitWindowsRequest>& ExitWindowsRequests();
// Clears the recorded requests and disables every privilege again.
void ResetSecurityForTesting();
// Makes OpenProcessToken and AdjustTokenPrivileges fail with ERROR_ACCESS_DENIED.
void SetTokenCallsFailForTesting(bool fail);
