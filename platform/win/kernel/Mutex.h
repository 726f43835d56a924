// Named mutexes visible across processes. A named mutex exists while any process holds a
// handle to it; creating one that exists answers a handle and ERROR_ALREADY_EXISTS.
#pragma once

#include "platform/win/WinTypes.h"

#include <string>

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;


// lpName nullptr or empty: a private mutex of this process. Otherwise the name (case-sensitive,
// any bytes, at most 260 characters) is shared by every process of this user on the machine.
// Only existence is modelled: nothing in the system waits on a mutex, so ownership is not.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name);
inline HANDLE CreateMutex(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCSTR name)
{
    return CreateMutexA(attributes, initialOwner, name);
}

// The folder holding the lock files behind named mutexes (POSIX path). The default is a
// per-user folder below $TMPDIR (or /tmp); tests point it at a temporary folder.
void SetMutexLockFolder(const std::string& posixFolder);
std::string MutexLockFolder();
