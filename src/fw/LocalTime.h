// Local time by the rules of Windows' C runtime (msvcrt's localtime and
// mktime): the zone's standard offset, and daylight saving between the two
// dates the system's time-zone record gives, worked out for each date's own
// year. No windows.h: tested on the build host.
#ifndef TETHRA_FW_LOCALTIME_H
#define TETHRA_FW_LOCALTIME_H

#include <cstdint>
#include <ctime>

// A SYSTEMTIME of the time-zone record, field for field. With year 0 it is
// the day-in-month form: the day-th (1 to 4, 5 meaning the last) dayOfWeek
// (0 = Sunday) of month; otherwise day is a day of that month, every year.
struct ZoneDate {
    uint16_t year = 0;
    uint16_t month = 0;  // 0: no transition
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// TIME_ZONE_INFORMATION's numbers: UTC = local time + bias, in minutes.
// Daylight saving starts at daylightDate (in standard time) and ends at
// standardDate (in daylight time).
struct TimeZoneRules {
    long bias = 0;
    long standardBias = 0;
    long daylightBias = 0;
    ZoneDate standardDate;
    ZoneDate daylightDate;
};

// What the runtime keeps when GetTimeZoneInformation fails: US Pacific time
// under the 1987 rule.
TimeZoneRules RuntimeDefaultTimeZone();

// The machine's zone, read once as the runtime does, and the current time
// (the Windows side, SystemTimeZone.cpp; host tests supply their own zone).
const TimeZoneRules& SystemTimeZone();
int32_t SystemCurrentTime();

// localtime: false for a negative time, as the runtime refuses those.
bool LocalTimeOf(int32_t time, const TimeZoneRules& zone, std::tm* out);

// mktime: the instant of a local date and time, fields out of range carried
// over; tm_isdst > 0 means daylight time, 0 standard time, < 0 the rules'
// choice. Writes the normalised fields back. False where the runtime
// returns -1: no 32-bit time from 1970 on holds it.
bool TimeOfLocal(std::tm* fields, const TimeZoneRules& zone, int32_t* out);

// The fields mktime takes for a local date and time (month 1 to 12).
std::tm LocalTmOf(int year, int month, int day, int hour, int minute, int second, int isdst);

// Seconds since 1970-01-01 00:00:00 of a UTC date and time from 1969 to
// 2038 (month 1 to 12), as the clock gives it.
int64_t SecondsOfUtc(int year, int month, int day, int hour, int minute, int second);

#endif
