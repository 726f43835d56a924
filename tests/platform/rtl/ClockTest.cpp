#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, FakeClockAdvancesEveryReadingAndTheTickWraps)
{
    TFakeClock fake(45000.5, 0xFFFFFF00u);
    TClockOverride use(fake);
    ASSERT_EQ(&CurrentClock(), &fake);

    const auto counter = CurrentClock().PerformanceCounter();
    fake.Advance(0x200);
    EXPECT_EQ(CurrentClock().TickCount(), 0x100u);
    EXPECT_EQ(CurrentClock().PerformanceCounter() - counter, 0x200 * 1000);
    EXPECT_EQ(CurrentClock().PerformanceFrequency(), 1000000);
    EXPECT_NEAR(CurrentClock().Now(), 45000.5 + 0x200 / 86400000.0, 1e-12);

    fake.SetNow(1.25);
    fake.SetTickCount(7);
    EXPECT_EQ(CurrentClock().Now(), 1.25);
    EXPECT_EQ(CurrentClock().TickCount(), 7u);
}

TEST(Clock, OverridesNestAndRestoreTheSystemClock)
{
    TClock& system = CurrentClock();
    TFakeClock outer(1.0), inner(2.0);
    {
        TClockOverride a(outer);
        {
            TClockOverride b(inner);
            EXPECT_EQ(CurrentClock().Now(), 2.0);
        }
        EXPECT_EQ(CurrentClock().Now(), 1.0);
    }
    EXPECT_EQ(&CurrentClock(), &system);
    InstallClock(&outer);
    EXPECT_EQ(&CurrentClock(), &outer);
    InstallClock(nullptr);
    EXPECT_EQ(&CurrentClock(), &system);
}

TEST(Clock, SystemClockReadsTheRealTime)
{
    TSystemClock clock;
    // 2020-01-01 is day 43831; a wall clock before it is broken.
    EXPECT_GT(clock.Now(), 43831.0);
    const auto first = clock.PerformanceCounter();
    EXPECT_GE(clock.PerformanceCounter(), first);
    EXPECT_EQ(clock.PerformanceFrequency(), 1000000);
}
