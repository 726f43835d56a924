// Kernel object handles: every object the kernel services hand out (mutexes, access tokens)
// lives in one table and is released by CloseHandle.
#pragma once

#include "platform/win/WinTypes.h"

#include <memory>

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD SYNCHRONIZE = 0x00100000;

// A kernel object; the table owns it until its handle is closed.
class TKernelObject {
public:
    virtual ~TKernelObject() = default;
};

// Stores the object and answers a fresh handle (never 0, never a pseudo handle).
HANDLE KernelAddObject(std::unique_ptr<TKernelObject> object);
// The object behind a handle, or nullptr when the handle is not open.
TKernelObject* KernelFindObject(HANDLE handle);

// Closes an open handle; FALSE with ERROR_INVALID_HANDLE for anything else.
BOOL CloseHandle(HANDLE handle);

// Pseudo handles of the current process (-1) and thread (-2); closing them is not needed.
HANDLE GetCurrentProcess();
HANDLE GetCurrentThread();
DWORD GetCurrentProcessId();
