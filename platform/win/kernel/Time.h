// Tick count, performance counter and Sleep, all read from the run time's replaceable clock.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstdint>

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    std::int64_t QuadPart;
};

// Milliseconds since start-up, 32 bits, wrapping after about 49.7 days.
DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// With a fake clock installed, Sleep moves that clock forward instead of waiting, so tests
// stay fast and deterministic; with the system clock it suspends the thread (0 only yields).
void Sleep(DWORD milliseconds);
