#include "TestTimeZone.h"

namespace {

TimeZoneRules g_zone;

ZoneDate DayInMonth(int month, int week, int hour)
{
    ZoneDate date;
    date.month = month;
    date.day = week;
    date.dayOfWeek = 0;
    date.hour = hour;
    return date;
}

}  // namespace

const TimeZoneRules& SystemTimeZone()
{
    return g_zone;
}

void SetTestTimeZone(const TimeZoneRules& zone)
{
    g_zone = zone;
}

TimeZoneRules UtcZone()
{
    return TimeZoneRules();
}

TimeZoneRules ChinaZone()
{
    TimeZoneRules zone;
    zone.bias = -480;
    return zone;
}

TimeZoneRules UsEastern1987Zone()
{
    TimeZoneRules zone;
    zone.bias = 300;
    zone.daylightBias = -60;
    zone.standardDate = DayInMonth(10, 5, 2);
    zone.daylightDate = DayInMonth(4, 1, 2);
    return zone;
}

TimeZoneRules SydneyZone()
{
    TimeZoneRules zone;
    zone.bias = -600;
    zone.daylightBias = -60;
    zone.standardDate = DayInMonth(4, 1, 3);
    zone.daylightDate = DayInMonth(10, 1, 2);
    return zone;
}
