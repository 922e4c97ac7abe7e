#include "fw/Time.h"

#include <cstdint>

#include "fw/LocalTime.h"

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local = LocalTmOf(year, month, day, hour, minute, second, -1);
    // The runtime's mktime gives -1 where it fails.
    if (!TimeOfLocal(&local, SystemTimeZone(), &m_time))
        m_time = -1;
}

bool CTime::GetLocalTm(std::tm* out) const
{
    return LocalTimeOf(m_time, SystemTimeZone(), out);
}

bool CTime::GetLocalDateTime(LocalDateTime* out) const
{
    std::tm local = {};
    if (m_time < 0 || !GetLocalTm(&local))
        return false;
    out->year = local.tm_year + 1900;
    out->month = local.tm_mon + 1;
    out->day = local.tm_mday;
    out->hour = local.tm_hour;
    out->minute = local.tm_min;
    out->second = local.tm_sec;
    return true;
}

bool CTime::FromLocalDateTime(const LocalDateTime& local, CTime* out)
{
    std::tm fields = LocalTmOf(local.year, local.month, local.day, local.hour, local.minute, local.second, -1);
    int32_t t = 0;
    if (!TimeOfLocal(&fields, SystemTimeZone(), &t))
        return false;
    *out = CTime(t);
    return true;
}

CTime CTime::FromPickedTimeOfDay(const LocalDateTime& picked)
{
    CTime result;
    if (FromLocalDateTime(picked, &result))
        return result;
    LocalDateTime moved = picked;
    moved.year = 2000;
    moved.month = 1;
    moved.day = 1;
    if (FromLocalDateTime(moved, &result))
        return result;
    return CTime(2000, 1, 1, 1, 0, 0);
}
