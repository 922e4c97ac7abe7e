#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "frame/TimedLock.h"
#include "fw/Time.h"

namespace {

// Runs the tests in a fixed zone so local times are known.
class TimeTest : public ::testing::Test {
protected:
    void SetUp() override { SetZone("UTC0"); }
    void TearDown() override
    {
        unsetenv("TZ");
        tzset();
    }
    static void SetZone(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    static std::tm Local(int32_t t)
    {
        std::tm local = {};
        EXPECT_TRUE(CTime(t).GetLocalTm(&local));
        return local;
    }
};

TEST_F(TimeTest, LocalDateTimeRoundTrips)
{
    CTime t(2000, 1, 1, 1, 0, 0);
    EXPECT_EQ(t.GetTime(), 946688400);
    std::tm local = Local(t.GetTime());
    EXPECT_EQ(local.tm_year, 100);
    EXPECT_EQ(local.tm_hour, 1);

    SetZone("CST-8");
    EXPECT_EQ(CTime(2000, 1, 1, 1, 0, 0).GetTime(), 946688400 - 8 * 3600);
}

TEST_F(TimeTest, RunningTimeIsTheStoredValuesLocalTimeOfDay)
{
    EXPECT_EQ(SecondsOfDay(Local(0)), 0u);
    EXPECT_EQ(SecondsOfDay(Local(1800)), 1800u);
    EXPECT_EQ(SecondsOfDay(Local(946684800 + 86399)), 86399u);

    // Only the time of day counts: the same clock time on another day.
    EXPECT_EQ(SecondsOfDay(Local(946684800 + 5 * 86400 + 3723)), 3723u);

    SetZone("CST-8");
    EXPECT_EQ(SecondsOfDay(Local(0)), 8u * 3600u) << "the epoch at 08:00 in UTC+8";
}

TEST(TimedLock, TimeLockTypeZeroMeansRunningTimeAnythingElseClockTime)
{
    EXPECT_EQ(TimedLockModeFor(0), kTimedLockAfterRunning);
    EXPECT_EQ(TimedLockModeFor(1), kTimedLockAtClock);
    EXPECT_EQ(TimedLockModeFor(2), kTimedLockAtClock);
    EXPECT_EQ(TimedLockModeFor(7), kTimedLockAtClock);
}

TEST(TimedLock, RunningTimeCountsWholeSecondsAcrossATickWrap)
{
    EXPECT_TRUE(RunningTimeReached(1000, 0, 0)) << "zero fires on the first tick";
    EXPECT_FALSE(RunningTimeReached(1799999, 0, 1800));
    EXPECT_TRUE(RunningTimeReached(1800000, 0, 1800));

    uint32_t start = 0xFFFFFC18u;  // 1000 ms before the wrap
    EXPECT_FALSE(RunningTimeReached(start + 999u, start, 1));
    EXPECT_TRUE(RunningTimeReached(start + 1000u, start, 1)) << "lands exactly on 0 after the wrap";
    EXPECT_TRUE(RunningTimeReached(1800000u - 1000u, start, 1800));
}

TEST(TimedLock, ClockTimeFiresInTheTargetMinuteFromTheTargetSecond)
{
    std::tm target = {};
    target.tm_hour = 22;
    target.tm_min = 15;
    target.tm_sec = 30;
    std::tm now = target;

    now.tm_sec = 29;
    EXPECT_FALSE(ClockTimeReached(now, target));
    now.tm_sec = 30;
    EXPECT_TRUE(ClockTimeReached(now, target));
    now.tm_sec = 59;
    EXPECT_TRUE(ClockTimeReached(now, target));
    now.tm_min = 16;
    now.tm_sec = 0;
    EXPECT_FALSE(ClockTimeReached(now, target)) << "a missed minute waits for the next day";

    std::tm otherDay = target;
    otherDay.tm_year = 80;
    otherDay.tm_mday = 3;
    EXPECT_TRUE(ClockTimeReached(otherDay, target)) << "the date never matters";
}

}  // namespace
