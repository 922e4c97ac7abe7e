#include <gtest/gtest.h>

#include <ctime>

#include "TestTimeZone.h"
#include "frame/TimedLock.h"
#include "fw/Time.h"
#include "settings/TimeValue.h"

namespace {

// Runs the tests in a fixed zone so local times are known.
class TimeTest : public ::testing::Test {
protected:
    void SetUp() override { SetTestTimeZone(UtcZone()); }
    void TearDown() override { SetTestTimeZone(UtcZone()); }
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

    SetTestTimeZone(ChinaZone());
    EXPECT_EQ(CTime(2000, 1, 1, 1, 0, 0).GetTime(), 946688400 - 8 * 3600);
}

TEST_F(TimeTest, RunningTimeIsTheStoredValuesLocalTimeOfDay)
{
    EXPECT_EQ(SecondsOfDay(Local(0)), 0u);
    EXPECT_EQ(SecondsOfDay(Local(1800)), 1800u);
    EXPECT_EQ(SecondsOfDay(Local(946684800 + 86399)), 86399u);

    // Only the time of day counts: the same clock time on another day.
    EXPECT_EQ(SecondsOfDay(Local(946684800 + 5 * 86400 + 3723)), 3723u);

    SetTestTimeZone(ChinaZone());
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

namespace {

class TimeValueTest : public ::testing::Test {
protected:
    void SetUp() override { SetTestTimeZone(UtcZone()); }
    void TearDown() override { SetTestTimeZone(UtcZone()); }
    static LocalDateTime At(int year, int month, int day, int hour, int minute, int second)
    {
        LocalDateTime t;
        t.year = year;
        t.month = month;
        t.day = day;
        t.hour = hour;
        t.minute = minute;
        t.second = second;
        return t;
    }
};

TEST_F(TimeValueTest, PickerDateAndTimeRoundTrip)
{
    for (const TimeZoneRules& zone : {UtcZone(), ChinaZone(), UsEastern1987Zone(), SydneyZone()}) {
        SCOPED_TRACE(zone.bias);
        SetTestTimeZone(zone);
        for (int32_t t : {946688400, 946686600, 1800 + 86400, 2147483647 - 86400}) {
            LocalDateTime local;
            ASSERT_TRUE(CTime(t).GetLocalDateTime(&local)) << t;
            CTime back;
            ASSERT_TRUE(CTime::FromLocalDateTime(local, &back)) << t;
            EXPECT_EQ(back.GetTime(), t);
        }
    }
    SetTestTimeZone(ChinaZone());
    // The last second shows as 2038-01-19 11:14:07 here, which the runtime's
    // mktime refuses (it counts local seconds in 32 bits): the picker keeps
    // the time of day on 2000-01-01, as it does for any date out of range.
    LocalDateTime local;
    ASSERT_TRUE(CTime(2147483647).GetLocalDateTime(&local));
    EXPECT_EQ(CTime::FromPickedTimeOfDay(local), CTime(2000, 1, 1, 11, 14, 7));
    ASSERT_TRUE(DefaultTimeValue().GetLocalDateTime(&local));
    EXPECT_EQ(local.year, 2000);
    EXPECT_EQ(local.hour, 1);
    EXPECT_EQ(local.minute, 0);
}

TEST_F(TimeValueTest, NegativeValuesHaveNoLocalTimeAndReadAsTheDefault)
{
    for (const TimeZoneRules& zone : {UtcZone(), ChinaZone()}) {
        SCOPED_TRACE(zone.bias);
        SetTestTimeZone(zone);
        for (int32_t t : {-1, -3600, -2147483647 - 1}) {
            LocalDateTime local;
            EXPECT_FALSE(CTime(t).GetLocalDateTime(&local)) << t;
            EXPECT_EQ(StoredTimeValue(t), DefaultTimeValue()) << t;
            std::tm tm = {};
            ASSERT_TRUE(StoredTimeValue(t).GetLocalTm(&tm));
            EXPECT_EQ(SecondsOfDay(tm), 3600u) << "a running time of one hour, a clock time of 01:00:00";
        }
        for (int32_t t : {0, 1800, 946688400}) {
            EXPECT_EQ(StoredTimeValue(t).GetTime(), t) << "convertible values are kept as they are";
        }
    }
}

TEST_F(TimeValueTest, PickedTimesBeforeTheEpochKeepTheirTimeOfDayOn2000)
{
    SetTestTimeZone(ChinaZone());
    // A stored 1800 shows as 1970-01-01 08:30 in UTC+8; 00:30 on that date
    // lies before the epoch.
    LocalDateTime early = At(1970, 1, 1, 0, 30, 0);
    CTime none;
    EXPECT_FALSE(CTime::FromLocalDateTime(early, &none));
    CTime picked = CTime::FromPickedTimeOfDay(early);
    EXPECT_EQ(picked, CTime(2000, 1, 1, 0, 30, 0));
    std::tm tm = {};
    ASSERT_TRUE(picked.GetLocalTm(&tm));
    EXPECT_EQ(SecondsOfDay(tm), 1800u);

    // A date past 2038 too.
    EXPECT_EQ(CTime::FromPickedTimeOfDay(At(2040, 6, 1, 12, 0, 5)), CTime(2000, 1, 1, 12, 0, 5));
    // Where the date holds, it is kept.
    EXPECT_EQ(CTime::FromPickedTimeOfDay(At(1970, 1, 1, 9, 0, 0)).GetTime(), 3600);
}

}  // namespace
