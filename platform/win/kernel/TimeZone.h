// The machine's time zone: Central European time (UTC+1, summer time UTC+2 from the last
// Sunday of March 2:00 to the last Sunday of October 3:00). Whether summer time is in force
// is read from the run time's clock.
#pragma once

#include "platform/win/WinTypes.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

struct TIME_ZONE_INFORMATION {
    LONG Bias;
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;
};

constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFF;

// Bias in minutes: UTC = local time + bias (so -60 here).
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* info);
