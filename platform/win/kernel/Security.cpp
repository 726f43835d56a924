#include "platform/win/kernel/Security.h"

#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"

#include <set>
#include <strings.h>

namespace {

struct TPrivilegeName {
    const char* name;
    DWORD value;
};

constexpr TPrivilegeName kPrivileges[] = {
    {"SeSystemtimePrivilege", 12}, {"SeBackupPrivilege", 17},  {"SeRestorePrivilege", 18},
    {"SeShutdownPrivilege", 19},   {"SeDebugPrivilege", 20},   {"SeRemoteShutdownPrivilege", 24},
};
constexpr DWORD kShutdownValue = 19;

class TTokenObject : public TKernelObject {
public:
    explicit TTokenObject(DWORD access) : access(access) {}
    DWORD access;
};

std::set<DWORD> enabled;
std::vector<TExitWindowsRequest> requests;
bool tokenCallsFail = false;

bool Known(const LUID& luid)
{
    if (luid.HighPart != 0)
        return false;
    for (const TPrivilegeName& p : kPrivileges)
        if (p.value == luid.LowPart)
            return true;
    return false;
}

DWORD PrivilegesSize(DWORD count) { return sizeof(DWORD) + count * sizeof(LUID_AND_ATTRIBUTES); }

// The previous state of the privileges named in newState (or of all enabled ones for disableAll).
bool WritePreviousState(BOOL disableAll, const TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                        TOKEN_PRIVILEGES* previousState, DWORD* returnLength)
{
    std::vector<LUID_AND_ATTRIBUTES> entries;
    if (disableAll) {
        for (DWORD value : enabled)
            entries.push_back({{value, 0}, SE_PRIVILEGE_ENABLED});
    } else {
        for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
            const LUID luid = newState->Privileges[i].Luid;
            if (Known(luid))
                entries.push_back({luid, enabled.count(luid.LowPart) ? SE_PRIVILEGE_ENABLED : 0u});
        }
    }
    const DWORD needed = PrivilegesSize(static_cast<DWORD>(entries.size()));
    if (returnLength)
        *returnLength = needed;
    if (bufferLength < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    previousState->PrivilegeCount = static_cast<DWORD>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        previousState->Privileges[i] = entries[i];
    return true;
}

} // namespace

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token)
{
    if (token == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (tokenCallsFail) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *token = KernelAddObject(std::make_unique<TTokenObject>(desiredAccess));
    return TRUE;
}

BOOL LookupPrivilegeValueA(LPCSTR, LPCSTR name, LUID* luid)
{
    if (name == nullptr || luid == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const TPrivilegeName& p : kPrivileges) {
        if (::strcasecmp(p.name, name) == 0) {
            *luid = LUID{p.value, 0};
            return TRUE;
        }
    }
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disableAll, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength)
{
    auto* object = dynamic_cast<TTokenObject*>(KernelFindObject(token));
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (tokenCallsFail || (object->access & TOKEN_ADJUST_PRIVILEGES) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!disableAll && newState == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (previousState && !WritePreviousState(disableAll, newState, bufferLength, previousState, returnLength))
        return FALSE;
    if (disableAll) {
        enabled.clear();
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    bool allAssigned = true;
    for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& entry = newState->Privileges[i];
        if (!Known(entry.Luid)) {
            allAssigned = false;
        } else if (entry.Attributes & SE_PRIVILEGE_ENABLED) {
            enabled.insert(entry.Luid.LowPart);
        } else {
            enabled.erase(entry.Luid.LowPart);
        }
    }
    SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

BOOL ExitWindowsEx(UINT flags, DWORD reserved)
{
    const bool needsPrivilege = (flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0;
    const bool accepted = !needsPrivilege || enabled.count(kShutdownValue) != 0;
    requests.push_back({flags, reserved, accepted});
    if (!accepted) {
        SetLastError(ERROR_PRIVILEGE_NOT_HELD);
        return FALSE;
    }
    return TRUE;
}

const std::vector<TExitWindowsRequest>& ExitWindowsRequests() { return requests; }

void ResetSecurityForTesting()
{
    requests.clear();
    enabled.clear();
    tokenCallsFail = false;
}

void SetTokenCallsFailForTesting(bool fail) { tokenCallsFail = fail; }
