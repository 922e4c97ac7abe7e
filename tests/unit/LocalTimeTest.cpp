#include <gtest/gtest.h>

#include "TestTimeZone.h"
#include "fw/LocalTime.h"

namespace {

struct Local {
    int year, month, day, hour, minute, second, isdst;
};

Local LocalOf(int32_t t, const TimeZoneRules& zone)
{
    std::tm tm = {};
    EXPECT_TRUE(LocalTimeOf(t, zone, &tm)) << t;
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_isdst};
}

void ExpectLocal(int32_t t, const TimeZoneRules& zone, Local want)
{
    Local got = LocalOf(t, zone);
    EXPECT_EQ(got.year, want.year) << t;
    EXPECT_EQ(got.month, want.month) << t;
    EXPECT_EQ(got.day, want.day) << t;
    EXPECT_EQ(got.hour, want.hour) << t;
    EXPECT_EQ(got.minute, want.minute) << t;
    EXPECT_EQ(got.second, want.second) << t;
    EXPECT_EQ(got.isdst, want.isdst) << t;
}

// mktime of a local date and time; -1 where it fails, as the runtime's.
int64_t TimeOf(const TimeZoneRules& zone, int year, int month, int day, int hour, int minute, int second,
               int isdst = -1)
{
    std::tm tm = LocalTmOf(year, month, day, hour, minute, second, isdst);
    int32_t t = 0;
    return TimeOfLocal(&tm, zone, &t) ? t : -1;
}

TEST(LocalTime, AZoneWithoutDaylightSavingIsItsOffsetAllYear)
{
    TimeZoneRules china = ChinaZone();
    ExpectLocal(0, china, {1970, 1, 1, 8, 0, 0, 0});
    ExpectLocal(962409600, china, {2000, 7, 1, 8, 0, 0, 0});
    EXPECT_EQ(TimeOf(china, 2000, 7, 1, 8, 0, 0), 962409600);
    EXPECT_EQ(TimeOf(china, 2000, 7, 1, 8, 0, 0, 1), 962409600) << "no daylight time to ask for";
}

TEST(LocalTime, UsRuleOf1987FromTheFirstSundayOfAprilToTheLastOfOctober)
{
    TimeZoneRules us = UsEastern1987Zone();
    ExpectLocal(954658799, us, {2000, 4, 2, 1, 59, 59, 0});
    ExpectLocal(954658800, us, {2000, 4, 2, 3, 0, 0, 1});
    ExpectLocal(972799199, us, {2000, 10, 29, 1, 59, 59, 1});
    ExpectLocal(972799200, us, {2000, 10, 29, 1, 0, 0, 0});
    // October 2001 has four Sundays: "the fifth" is the last, the 28th.
    ExpectLocal(1004248799, us, {2001, 10, 28, 1, 59, 59, 1});
    ExpectLocal(1004248800, us, {2001, 10, 28, 1, 0, 0, 0});
    EXPECT_EQ(TimeOf(us, 2000, 7, 1, 12, 0, 0), 962467200);
    EXPECT_EQ(TimeOf(us, 2000, 1, 1, 1, 0, 0), 946706400);
}

TEST(LocalTime, SouthernRuleHasDaylightTimeAcrossTheNewYear)
{
    TimeZoneRules sydney = SydneyZone();
    ExpectLocal(1263513600, sydney, {2010, 1, 15, 11, 0, 0, 1});
    ExpectLocal(1279152000, sydney, {2010, 7, 15, 10, 0, 0, 0});
    ExpectLocal(1270310399, sydney, {2010, 4, 4, 2, 59, 59, 1});
    ExpectLocal(1270310400, sydney, {2010, 4, 4, 2, 0, 0, 0});
    ExpectLocal(1286035199, sydney, {2010, 10, 3, 1, 59, 59, 0});
    ExpectLocal(1286035200, sydney, {2010, 10, 3, 3, 0, 0, 1});
    EXPECT_EQ(TimeOf(sydney, 2010, 1, 15, 11, 0, 0), 1263513600);
    EXPECT_EQ(TimeOf(sydney, 2010, 7, 15, 10, 0, 0), 1279152000);
}

TEST(LocalTime, TheMissingAndTheRepeatedHourAsTheRuntimeReadsThem)
{
    TimeZoneRules us = UsEastern1987Zone();
    // 02:30 on the spring day does not exist: read as standard time it is
    // daylight time, so the runtime takes an hour off, giving 01:30 EST.
    EXPECT_EQ(TimeOf(us, 2000, 4, 2, 2, 30, 0), 954657000);
    // 01:30 on the autumn day happens twice: the runtime's choice is the
    // second (standard time) unless daylight time is asked for.
    EXPECT_EQ(TimeOf(us, 2000, 10, 29, 1, 30, 0), 972801000);
    EXPECT_EQ(TimeOf(us, 2000, 10, 29, 1, 30, 0, 0), 972801000);
    EXPECT_EQ(TimeOf(us, 2000, 10, 29, 1, 30, 0, 1), 972797400);
    EXPECT_EQ(TimeOf(us, 2000, 10, 29, 0, 59, 59), 972795599);
}

TEST(LocalTime, TimesOutsideThe32BitRangeAreRefused)
{
    TimeZoneRules us = UsEastern1987Zone();
    std::tm tm = {};
    EXPECT_FALSE(LocalTimeOf(-1, us, &tm));
    EXPECT_FALSE(LocalTimeOf(-2147483647 - 1, UtcZone(), &tm));
    // West of Greenwich the epoch is still 1969 locally.
    ExpectLocal(0, us, {1969, 12, 31, 19, 0, 0, 0});
    ExpectLocal(2147483647, us, {2038, 1, 18, 22, 14, 7, 0});
    EXPECT_EQ(TimeOf(us, 1969, 12, 31, 19, 0, 0), 0);
    EXPECT_EQ(TimeOf(us, 1969, 12, 31, 18, 59, 59), -1);
    EXPECT_EQ(TimeOf(UtcZone(), 2038, 1, 19, 3, 14, 7), 2147483647);
    EXPECT_EQ(TimeOf(UtcZone(), 2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(TimeOf(UtcZone(), 2040, 6, 1, 0, 0, 0), -1);
    EXPECT_EQ(TimeOf(UtcZone(), 1960, 6, 1, 0, 0, 0), -1);
    // The runtime counts the local seconds in 32 bits before the offset:
    // east of Greenwich the last few hours are refused although their
    // instant would fit.
    EXPECT_EQ(TimeOf(ChinaZone(), 2038, 1, 19, 11, 14, 7), -1);
    EXPECT_EQ(TimeOf(ChinaZone(), 2038, 1, 19, 3, 0, 0), 2147454000);
}

TEST(LocalTime, FieldsOutOfRangeCarryOverAndComeBackNormalised)
{
    std::tm tm = {};
    tm.tm_year = 99;
    tm.tm_mon = 13;  // February 2000
    tm.tm_mday = 30;  // which has 29 days
    tm.tm_hour = 25;
    tm.tm_isdst = -1;
    int32_t t = 0;
    ASSERT_TRUE(TimeOfLocal(&tm, UtcZone(), &t));
    EXPECT_EQ(t, 951958800);  // 2000-03-02 01:00 UTC
    EXPECT_EQ(tm.tm_mon, 2);
    EXPECT_EQ(tm.tm_mday, 2);
    EXPECT_EQ(tm.tm_hour, 1);
    EXPECT_EQ(tm.tm_wday, 4);
    EXPECT_EQ(tm.tm_yday, 61);
}

TEST(LocalTime, RuntimeDefaultIsPacificTimeUnderTheUsRule)
{
    TimeZoneRules pacific = RuntimeDefaultTimeZone();
    ExpectLocal(962467200, pacific, {2000, 7, 1, 9, 0, 0, 1});
    ExpectLocal(946684800, pacific, {1999, 12, 31, 16, 0, 0, 0});
}

TEST(LocalTime, ClockSecondsOfUtcDates)
{
    EXPECT_EQ(SecondsOfUtc(1970, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(SecondsOfUtc(2000, 3, 1, 0, 0, 0), 951868800);
    EXPECT_EQ(SecondsOfUtc(2038, 1, 19, 3, 14, 7), 2147483647);
}

}  // namespace
