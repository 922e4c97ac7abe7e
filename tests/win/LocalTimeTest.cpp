// The program's local-time rules against the C runtime's own localtime and
// mktime, under the zone Wine gives this process (from the host's TZ; ctest
// runs this under several). The runtime's 64-bit functions, which every
// msvcrt.dll Wine has exports, with results past 2038 taken as refusals, as
// its 32-bit ones do.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "fw/LocalTime.h"

namespace {

class LocalTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // msvcrt reads a TZ variable before the system's zone, and Wine
        // hands the host's "Area/City" through, which it cannot parse.
        _putenv("TZ=");
        _tzset();
    }

    // The months in which the zone changes, or January and July.
    static void TransitionMonths(const TimeZoneRules& zone, int* first, int* second)
    {
        *first = zone.daylightDate.month != 0 ? zone.daylightDate.month : 1;
        *second = zone.standardDate.month != 0 ? zone.standardDate.month : 7;
    }

    static bool SameFields(const std::tm& a, const std::tm& b)
    {
        return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour &&
               a.tm_min == b.tm_min && a.tm_sec == b.tm_sec && a.tm_wday == b.tm_wday && a.tm_yday == b.tm_yday &&
               a.tm_isdst == b.tm_isdst;
    }

    static void Describe(const char* what, const std::tm& tm)
    {
        std::printf("  %s %04d-%02d-%02d %02d:%02d:%02d wday %d yday %d isdst %d\n", what, tm.tm_year + 1900,
                    tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday, tm.tm_yday, tm.tm_isdst);
    }

    void CompareLocalTime(int32_t t)
    {
        ++m_compared;
        __time64_t value = t;
        const std::tm* theirs = _localtime64(&value);
        std::tm ours = {};
        bool converted = LocalTimeOf(t, SystemTimeZone(), &ours);
        if (converted == (theirs != nullptr) && (!converted || SameFields(ours, *theirs)))
            return;
        if (++m_mismatches > 10)
            return;
        std::printf("localtime(%ld) differs:\n", static_cast<long>(t));
        if (theirs != nullptr)
            Describe("runtime", *theirs);
        if (converted)
            Describe("ours   ", ours);
    }

    void CompareMakeTime(const std::tm& fields)
    {
        ++m_compared;
        std::tm theirs = fields;
        __time64_t expected = _mktime64(&theirs);
        if (expected > 2147483647)
            expected = -1;
        std::tm ours = fields;
        int32_t t = -1;
        bool made = TimeOfLocal(&ours, SystemTimeZone(), &t);
        if (made == (expected != -1) && (!made || (t == expected && SameFields(ours, theirs))))
            return;
        // Where Wine's msvcrt departs from Windows': it refuses every year
        // before 1970 (Windows' takes the last hours of 1969 that are 1970
        // in UTC), and it checks only the result against 2038 (Windows'
        // refuses a local time whose own seconds pass 2^31 - 1).
        if ((fields.tm_year == 69 && made && expected == -1) || (fields.tm_year == 138 && !made && expected != -1)) {
            ++m_wineDepartures;
            return;
        }
        if (++m_mismatches > 10)
            return;
        std::printf("mktime differs: runtime %ld, ours %ld (%s)\n", static_cast<long>(expected), static_cast<long>(t),
                    made ? "made" : "refused");
        Describe("asked  ", fields);
        Describe("runtime", theirs);
    }

    void Report(const char* what)
    {
        const TimeZoneRules& zone = SystemTimeZone();
        std::printf("%s: zone bias %ld, daylight bias %ld, daylight from month %d week %d, standard from month %d "
                    "week %d: %d compared, %d differ, %d where Wine's msvcrt departs from Windows'\n",
                    what, zone.bias, zone.daylightBias, zone.daylightDate.month, zone.daylightDate.day,
                    zone.standardDate.month, zone.standardDate.day, m_compared, m_mismatches, m_wineDepartures);
    }

    int m_compared = 0;
    int m_mismatches = 0;
    int m_wineDepartures = 0;
};

TEST_F(LocalTimeTest, LocalTimeMatchesTheRuntimeFrom1970To2038)
{
    // A spread over the whole range, an odd step so every time of day comes up.
    for (int64_t t = -86400; t <= 2147483647; t += 9973)
        CompareLocalTime(static_cast<int32_t>(t));
    for (int32_t t : {0, 1, 3 * 86400, 3 * 86400 + 1, 2147483647 - 3 * 86400, 2147483647 - 1, 2147483647})
        CompareLocalTime(t);
    // Both sides of every hour and half hour in the months the zone changes.
    int first = 0;
    int second = 0;
    TransitionMonths(SystemTimeZone(), &first, &second);
    for (int year = 1970; year <= 2037; ++year) {
        for (int month : {first, second}) {
            int64_t start = SecondsOfUtc(year, month, 1, 0, 0, 0) - 86400;
            for (int64_t t = start; t < start + 33 * 86400; t += 1800) {
                CompareLocalTime(static_cast<int32_t>(t - 1));
                CompareLocalTime(static_cast<int32_t>(t));
            }
        }
    }
    Report("localtime");
    EXPECT_EQ(m_mismatches, 0);
}

TEST_F(LocalTimeTest, MakeTimeMatchesTheRuntimeAroundTheChangesAndTheEnds)
{
    int first = 0;
    int second = 0;
    TransitionMonths(SystemTimeZone(), &first, &second);
    // Every half hour of the months the zone changes, the missing and the
    // repeated hour among them, asked as either time or left to the rules.
    for (int year = 1970; year <= 2037; ++year) {
        for (int month : {first, second}) {
            for (int day = 1; day <= 31; ++day) {
                for (int minutes = 0; minutes < 24 * 60; minutes += 30) {
                    for (int isdst : {-1, 0, 1})
                        CompareMakeTime(LocalTmOf(year, month, day, minutes / 60, minutes % 60, 0, isdst));
                }
            }
        }
    }
    // The ends of the range and fields out of range.
    for (int hour = 0; hour < 24; ++hour) {
        CompareMakeTime(LocalTmOf(1969, 12, 31, hour, 59, 59, -1));
        CompareMakeTime(LocalTmOf(1970, 1, 1, hour, 0, 0, -1));
        CompareMakeTime(LocalTmOf(2038, 1, 18, hour, 14, 7, -1));
        CompareMakeTime(LocalTmOf(2038, 1, 19, hour, 14, 8, -1));
    }
    CompareMakeTime(LocalTmOf(1960, 1, 1, 0, 0, 0, -1));
    CompareMakeTime(LocalTmOf(2040, 1, 1, 0, 0, 0, -1));
    CompareMakeTime(LocalTmOf(1999, 14, 30, 25, -1, 61, -1));
    CompareMakeTime(LocalTmOf(2001, -1, 0, -1, 0, 0, -1));
    CompareMakeTime(LocalTmOf(2000, 1, 1, 1, 0, 0, -1));
    Report("mktime");
    EXPECT_EQ(m_mismatches, 0);
}

}  // namespace
