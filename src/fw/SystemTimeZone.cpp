// The Windows side of local time: the zone record and the clock.
#include <windows.h>

#include "fw/LocalTime.h"

#include <cstring>

namespace {

static_assert(sizeof(ZoneDate) == sizeof(SYSTEMTIME), "ZoneDate is a SYSTEMTIME");

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
    std::memcpy(static_cast<void*>(&g_zone.standardDate), &info.StandardDate, sizeof(SYSTEMTIME));
    std::memcpy(static_cast<void*>(&g_zone.daylightDate), &info.DaylightDate, sizeof(SYSTEMTIME));
    return g_zone;
}

int32_t SystemCurrentTime()
{
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return static_cast<int32_t>(SecondsOfUtc(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
}
