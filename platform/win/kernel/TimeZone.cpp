#include "platform/win/kernel/TimeZone.h"

#include "platform/rtl/Clock.h"
#include "platform/win/kernel/Errors.h"

#include <chrono>
#include <cmath>
#include <cstring>

namespace {

// Day 5 of a transition date means "the last such weekday of the month", as the original.
constexpr SYSTEMTIME kSummerStart{0, 3, 0, 5, 2, 0, 0, 0};
constexpr SYSTEMTIME kSummerEnd{0, 10, 0, 5, 3, 0, 0, 0};
constexpr double kDateTimeEpochToUnixDays = 25569.0;

void CopyName(WCHAR* target, const char* name)
{
    std::memset(target, 0, 32 * sizeof(WCHAR));
    for (int i = 0; name[i] != '\0' && i < 31; ++i)
        target[i] = static_cast<WCHAR>(static_cast<unsigned char>(name[i]));
}

// Minutes since midnight of 1 January of the year, for comparing moments within one year.
long MinuteOfYear(const std::chrono::year_month_day& date, int minuteOfDay)
{
    using namespace std::chrono;
    const sys_days start{date.year() / January / 1};
    return (sys_days{date} - start).count() * 1440L + minuteOfDay;
}

long LastSundayMinute(std::chrono::year y, std::chrono::month m, int hour)
{
    using namespace std::chrono;
    const year_month_day last{sys_days{y / m / Sunday[std::chrono::last]}};
    return MinuteOfYear(last, hour * 60);
}

bool SummerTime(TDateTime now)
{
    using namespace std::chrono;
    const double whole = std::floor(now);
    // Whole milliseconds first, so that 2:00 stored as 0.08333... is not read as 1:59.
    const long long millisecond = std::llround((now - whole) * 86400000.0);
    const int minuteOfDay = static_cast<int>(millisecond / 60000);
    const year_month_day date{sys_days{days{static_cast<int>(whole - kDateTimeEpochToUnixDays)}}};
    const long moment = MinuteOfYear(date, minuteOfDay);
    return moment >= LastSundayMinute(date.year(), March, kSummerStart.wHour) &&
           moment < LastSundayMinute(date.year(), October, kSummerEnd.wHour);
}

} // namespace

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info)
{
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    info->Bias = -60;
    CopyName(info->StandardName, "W. Europe Standard Time");
    info->StandardDate = kSummerEnd;
    info->StandardBias = 0;
    CopyName(info->DaylightName, "W. Europe Daylight Time");
    info->DaylightDate = kSummerStart;
    info->DaylightBias = -60;
    return SummerTime(CurrentClock().Now()) ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
