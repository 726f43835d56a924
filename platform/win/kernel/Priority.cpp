#include "platform/win/kernel/Priority.h"

#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"

namespace {

DWORD processClass = NORMAL_PRIORITY_CLASS;
thread_local int threadPriority = THREAD_PRIORITY_NORMAL;

bool ValidClass(DWORD value)
{
    switch (value) {
    case NORMAL_PRIORITY_CLASS: case IDLE_PRIORITY_CLASS: case HIGH_PRIORITY_CLASS:
    case REALTIME_PRIORITY_CLASS: case BELOW_NORMAL_PRIORITY_CLASS: case ABOVE_NORMAL_PRIORITY_CLASS:
        return true;
    default:
        return false;
    }
}

bool ValidThreadPriority(int value)
{
    return (value >= THREAD_PRIORITY_LOWEST && value <= THREAD_PRIORITY_HIGHEST) ||
           value == THREAD_PRIORITY_IDLE || value == THREAD_PRIORITY_TIME_CRITICAL;
}

} // namespace

DWORD GetPriorityClass(HANDLE process)
{
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return processClass;
}

BOOL SetPriorityClass(HANDLE process, DWORD priorityClass)
{
    if (process != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!ValidClass(priorityClass)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    processClass = priorityClass;
    return TRUE;
}

int GetThreadPriority(HANDLE thread)
{
    if (thread != GetCurrentThread()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    return threadPriority;
}

BOOL SetThreadPriority(HANDLE thread, int priority)
{
    if (thread != GetCurrentThread()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!ValidThreadPriority(priority)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    threadPriority = priority;
    return TRUE;
}
