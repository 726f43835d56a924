#include "platform/win/kernel/Time.h"

#include "platform/rtl/Clock.h"
#include "platform/win/kernel/Errors.h"

#include <chrono>
#include <thread>

DWORD GetTickCount() { return CurrentClock().TickCount(); }

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    count->QuadPart = CurrentClock().PerformanceCounter();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    frequency->QuadPart = CurrentClock().PerformanceFrequency();
    return TRUE;
}

void Sleep(DWORD milliseconds)
{
    if (auto* fake = dynamic_cast<TFakeClock*>(&CurrentClock())) {
        fake->Advance(milliseconds);
        return;
    }
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
