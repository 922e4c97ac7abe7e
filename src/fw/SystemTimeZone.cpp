// The Windows side of local time: the zone record and the clock.
#include <windows.h>

#include "fw/LocalTime.h"

namespace {

ZoneDate ZoneDateOf(const SYSTEMTIME& date)
{
    ZoneDate zone;
    zone.year = date.wYear;
    zone.month = date.wMonth;
    zone.dayOfWeek = date.wDayOfWeek;
    zone.day = date.wDay;
    zone.hour = date.wHour;
    zone.minute = date.wMinute;
    zone.second = date.wSecond;
    zone.milliseconds = date.wMilliseconds;
    return zone;
}

bool g_zoneRead = false;
TimeZoneRules g_zone;

}  // namespace

const TimeZoneRules& SystemTimeZone()
{
    if (g_zoneRead)
        return g_zone;
    g_zoneRead = true;
    TIME_ZONE_INFORMATION info;
    if (::GetTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) {
        g_zone = RuntimeDefaultTimeZone();
        return g_zone;
    }
    g_zone.bias = info.Bias;
    g_zone.standardBias = info.StandardBias;
    g_zone.daylightBias = info.DaylightBias;
    g_zone.standardDate = ZoneDateOf(info.StandardDate);
    g_zone.daylightDate = ZoneDateOf(info.DaylightDate);
    return g_zone;
}

int32_t SystemCurrentTime()
{
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return static_cast<int32_t>(SecondsOfUtc(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
}
