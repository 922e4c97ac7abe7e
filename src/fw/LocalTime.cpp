#include "fw/LocalTime.h"

namespace {

const int32_t kDay = 86400;
const int32_t kDayMs = 86400 * 1000;
const int32_t kTimeMax = 2147483647;

// Days of the year before each month, and through the last month.
const uint16_t kDaysBefore[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

// The runtime's leap rule: tm_year a multiple of 4 (right from 1901 to 2099).
bool IsLeap(long tmYear)
{
    return (tmYear & 3) == 0;
}

int YearDayOfMonthStart(long tmYear, int month0)
{
    return kDaysBefore[month0] + (month0 > 1 && IsLeap(tmYear) ? 1 : 0);
}

// Days from 1970-01-01 to 1 January of tmYear (69 to 139), as the runtime counts them.
int32_t DaysToYear(long tmYear)
{
    return static_cast<int32_t>((tmYear - 70) * 365 + ((tmYear - 1) >> 2) - 17);
}

int WeekdayOf(int32_t days)
{
    return static_cast<int>((days + 11) % 7);  // 1970-01-01 was a Thursday
}

// gmtime of time - offset, for the seconds the conversions here reach:
// from a week before 1970 to the end of 2038. Unsigned 32-bit arithmetic
// throughout, shifted by a week so that it never goes below zero.
std::tm BrokenDown(int32_t time, int32_t offset)
{
    const uint32_t kWeek = 7 * kDay;
    uint32_t shifted = static_cast<uint32_t>(time) - static_cast<uint32_t>(offset) + kWeek;
    int32_t days = static_cast<int32_t>(shifted / kDay) - 7;
    uint32_t rest = shifted % kDay;
    std::tm tm = {};
    tm.tm_hour = static_cast<int>(rest / 3600);
    tm.tm_min = static_cast<int>(rest / 60 % 60);
    tm.tm_sec = static_cast<int>(rest % 60);
    tm.tm_wday = WeekdayOf(days);
    long year = 69;
    while (DaysToYear(year + 1) <= days)
        ++year;
    int yearDay = days - DaysToYear(year);
    int month0 = 0;
    while (month0 < 11 && YearDayOfMonthStart(year, month0 + 1) <= yearDay)
        ++month0;
    tm.tm_year = static_cast<int>(year);
    tm.tm_mon = month0;
    tm.tm_mday = yearDay - YearDayOfMonthStart(year, month0) + 1;
    tm.tm_yday = yearDay;
    return tm;
}

// The zone as the runtime's tzset keeps it, in seconds: local standard
// time = UTC - timezone; daylight time = standard time - dstBias.
struct Offsets {
    int32_t timezone;
    bool daylight;
    int32_t dstBias;
};

Offsets OffsetsOf(const TimeZoneRules& zone)
{
    Offsets o;
    o.timezone = static_cast<int32_t>(zone.bias * 60);
    if (zone.standardDate.month != 0)
        o.timezone += static_cast<int32_t>(zone.standardBias * 60);
    o.daylight = zone.daylightDate.month != 0 && zone.daylightBias != 0;
    o.dstBias = o.daylight ? static_cast<int32_t>((zone.daylightBias - zone.standardBias) * 60) : 0;
    return o;
}

struct Transition {
    int yearDay;
    int32_t ms;
};

// A transition of the year tmYear, as the runtime's cvtdate works it out
// (weeks past the fifth and other odd records included).
Transition TransitionIn(long tmYear, const ZoneDate& date)
{
    int month0 = date.month - 1;
    if (month0 < 0 || month0 > 11)
        month0 = 0;
    int yearDay = YearDayOfMonthStart(tmYear, month0);
    if (date.year == 0) {
        int monthDow = WeekdayOf(DaysToYear(tmYear) + yearDay);
        if (monthDow <= date.dayOfWeek)
            yearDay += (date.dayOfWeek - monthDow) + (date.day - 1) * 7;
        else
            yearDay += (date.dayOfWeek - monthDow) + date.day * 7;
        if (date.day == 5 && yearDay > YearDayOfMonthStart(tmYear, month0 + 1) - 1)
            yearDay -= 7;
    } else {
        yearDay += date.day - 1;
    }
    int32_t ms = date.milliseconds + 1000 * (date.second + 60 * (date.minute + 60 * date.hour));
    return {yearDay, ms};
}

// The runtime's _isindst, for a broken-down local standard time.
bool IsInDaylightTime(const std::tm& tm, const TimeZoneRules& zone, const Offsets& offsets)
{
    if (!offsets.daylight)
        return false;
    Transition start = TransitionIn(tm.tm_year, zone.daylightDate);
    Transition end = TransitionIn(tm.tm_year, zone.standardDate);
    // The end is given in daylight time; the time tested is standard time.
    end.ms += offsets.dstBias * 1000;
    if (end.ms < 0) {
        end.ms += kDayMs;
        end.yearDay--;
    } else if (end.ms >= kDayMs) {
        end.ms -= kDayMs;
        end.yearDay++;
    }
    if (start.yearDay < end.yearDay) {
        if (tm.tm_yday < start.yearDay || tm.tm_yday > end.yearDay)
            return false;
        if (tm.tm_yday > start.yearDay && tm.tm_yday < end.yearDay)
            return true;
    } else {
        // Southern hemisphere: daylight time spans the turn of the year.
        if (tm.tm_yday < end.yearDay || tm.tm_yday > start.yearDay)
            return true;
        if (tm.tm_yday > end.yearDay && tm.tm_yday < start.yearDay)
            return false;
    }
    int32_t ms = 1000 * (tm.tm_sec + 60 * tm.tm_min + 3600 * tm.tm_hour);
    if (tm.tm_yday == start.yearDay)
        return ms >= start.ms;
    return ms < end.ms;
}

// The runtime's 32-bit sum where it does not check: wrapping.
int32_t WrappingSum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

TimeZoneRules RuntimeDefaultTimeZone()
{
    TimeZoneRules zone;
    zone.bias = 480;
    zone.daylightBias = -60;
    zone.standardDate.month = 10;
    zone.standardDate.day = 5;
    zone.standardDate.hour = 2;
    zone.daylightDate.month = 4;
    zone.daylightDate.day = 1;
    zone.daylightDate.hour = 2;
    return zone;
}

bool LocalTimeOf(int32_t time, const TimeZoneRules& zone, std::tm* out)
{
    if (time < 0)
        return false;
    Offsets offsets = OffsetsOf(zone);
    // Within three days of either end of the range the runtime decides
    // daylight saving on the UTC date and time instead.
    bool nearEnd = time <= 3 * kDay || time >= kTimeMax - 3 * kDay;
    std::tm tested = BrokenDown(time, nearEnd ? 0 : offsets.timezone);
    if (IsInDaylightTime(tested, zone, offsets)) {
        *out = BrokenDown(time, offsets.timezone + offsets.dstBias);
        out->tm_isdst = 1;
    } else {
        *out = BrokenDown(time, offsets.timezone);
    }
    return true;
}

bool TimeOfLocal(std::tm* fields, const TimeZoneRules& zone, int32_t* out)
{
    long year = fields->tm_year;
    if (year < 69 || year > 139)
        return false;
    if (fields->tm_mon < 0 || fields->tm_mon > 11) {
        year += fields->tm_mon / 12;
        fields->tm_mon %= 12;
        if (fields->tm_mon < 0) {
            fields->tm_mon += 12;
            year--;
        }
        if (year < 69 || year > 139)
            return false;
    }
    // Each step must not overflow 32 bits, as the runtime checks it.
    int32_t local = DaysToYear(year) + YearDayOfMonthStart(year, fields->tm_mon) - 1;
    if (__builtin_add_overflow(local, fields->tm_mday, &local))
        return false;
    const int steps[3][2] = {{24, fields->tm_hour}, {60, fields->tm_min}, {60, fields->tm_sec}};
    for (const auto& step : steps) {
        if (__builtin_mul_overflow(local, step[0], &local) || __builtin_add_overflow(local, step[1], &local))
            return false;
    }
    // Unchecked there: a sum past 2^31 - 1 wraps and is refused as negative.
    Offsets offsets = OffsetsOf(zone);
    int32_t t = WrappingSum(local, offsets.timezone);
    std::tm converted;
    if (!LocalTimeOf(t, zone, &converted))
        return false;
    if (fields->tm_isdst > 0 || (fields->tm_isdst < 0 && converted.tm_isdst > 0)) {
        t = WrappingSum(t, offsets.dstBias);
        // The runtime would read through a null pointer here.
        if (!LocalTimeOf(t, zone, &converted))
            return false;
    }
    *fields = converted;
    *out = t;
    return true;
}

std::tm LocalTmOf(int year, int month, int day, int hour, int minute, int second, int isdst)
{
    std::tm tm = {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = isdst;
    return tm;
}

int64_t SecondsOfUtc(int year, int month, int day, int hour, int minute, int second)
{
    long tmYear = year - 1900;
    int32_t days = DaysToYear(tmYear) + YearDayOfMonthStart(tmYear, month - 1) + day - 1;
    return static_cast<int64_t>(days) * kDay + hour * 3600 + minute * 60 + second;
}
