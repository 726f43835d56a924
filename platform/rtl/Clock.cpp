#include "platform/rtl/Clock.h"

#include <chrono>
#include <ctime>

namespace {

TClock* installed = nullptr;

TSystemClock& SystemClock()
{
    static TSystemClock clock;
    return clock;
}

// Days from 1970-01-01 to the day the date-time values count from (1899-12-30).
constexpr double kUnixEpochDays = 25569.0;
constexpr double kMillisecondsPerDay = 86400000.0;

} // namespace

std::uint32_t TSystemClock::TickCount() const
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

std::int64_t TSystemClock::PerformanceCounter() const
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

std::int64_t TSystemClock::PerformanceFrequency() const { return 1000000; }

TDateTime TSystemClock::Now() const
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const year_month_day day{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                             std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
    const double days = sys_days{day}.time_since_epoch().count() + kUnixEpochDays;
    const double msOfDay = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 + static_cast<double>(ms);
    return days + msOfDay / kMillisecondsPerDay;
}

void TFakeClock::Advance(std::uint32_t milliseconds)
{
    tick_ += milliseconds;
    counter_ += static_cast<std::int64_t>(milliseconds) * (kFrequency / 1000);
    now_ += milliseconds / kMillisecondsPerDay;
}

TClock& CurrentClock() { return installed ? *installed : SystemClock(); }

void InstallClock(TClock* clock) { installed = clock; }

TClockOverride::TClockOverride(TClock& clock) : previous_(installed) { installed = &clock; }

TClockOverride::~TClockOverride() { installed = previous_; }
