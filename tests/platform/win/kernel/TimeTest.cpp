#include "platform/rtl/Clock.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/kernel/TimeZone.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(TimeTest, TickCountAndCounterFollowTheClock)
{
    TFakeClock clock(0.0, 0xFFFFFFF0u);
    TClockOverride use(clock);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    LARGE_INTEGER before{}, after{}, frequency{};
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u) << "the 32-bit tick wraps";
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, TFakeClock::kFrequency);
    EXPECT_EQ(after.QuadPart - before.QuadPart, 0x20 * frequency.QuadPart / 1000);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

TEST(TimeTest, SleepMovesAFakeClockInsteadOfWaiting)
{
    TFakeClock clock(0.0, 1000);
    TClockOverride use(clock);
    Sleep(500);
    EXPECT_EQ(GetTickCount(), 1500u);
    Sleep(0);
    EXPECT_EQ(GetTickCount(), 1500u);
}

TEST(TimeTest, SleepOnTheSystemClockWaits)
{
    const DWORD start = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - start, 19u);
}

std::string Narrow(const WCHAR* text)
{
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

struct ZoneCase {
    int year, month, day, hour, minute;
    DWORD id;
};

TEST(TimeZoneTest, CentralEuropeanTimeWithSummerTime)
{
    // TDateTime of a date: days since 1899-12-30.
    auto at = [](int y, int m, int d, int h, int mi) {
        using namespace std::chrono;
        const double days = (sys_days{year{y} / m / d} - sys_days{year{1899} / 12 / 30}).count();
        return days + (h * 60 + mi) / 1440.0;
    };
    const ZoneCase cases[] = {
        {2026, 1, 15, 12, 0, TIME_ZONE_ID_STANDARD},
        {2026, 3, 29, 1, 59, TIME_ZONE_ID_STANDARD}, // last Sunday of March 2026 is the 29th
        {2026, 3, 29, 2, 0, TIME_ZONE_ID_DAYLIGHT},
        {2026, 7, 1, 0, 0, TIME_ZONE_ID_DAYLIGHT},
        {2026, 10, 25, 2, 59, TIME_ZONE_ID_DAYLIGHT}, // last Sunday of October 2026 is the 25th
        {2026, 10, 25, 3, 0, TIME_ZONE_ID_STANDARD},
        {2026, 12, 10, 10, 0, TIME_ZONE_ID_STANDARD},
    };
    for (const ZoneCase& c : cases) {
        TFakeClock clock(at(c.year, c.month, c.day, c.hour, c.minute));
        TClockOverride use(clock);
        TIME_ZONE_INFORMATION info{};
        EXPECT_EQ(GetTimeZoneInformation(&info), c.id) << c.month << "/" << c.day << " " << c.hour << ":" << c.minute;
        EXPECT_EQ(info.Bias, -60);
        EXPECT_EQ(info.DaylightBias, -60);
        EXPECT_EQ(Narrow(info.StandardName), "W. Europe Standard Time");
        EXPECT_EQ(info.DaylightDate.wMonth, 3);
        EXPECT_EQ(info.StandardDate.wMonth, 10);
    }
    EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
}

} // namespace
