#include "fw/Time.h"

#include <cstdint>

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    m_time = static_cast<int32_t>(std::mktime(&local));
}

bool CTime::GetLocalTm(std::tm* out) const
{
    std::time_t t = m_time;
    const std::tm* local = std::localtime(&t);
    if (local == nullptr)
        return false;
    *out = *local;
    return true;
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
    std::tm fields = {};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;
    std::time_t t = std::mktime(&fields);
    // mktime's -1 is also 1969-12-31 23:59:59 UTC, which is refused anyway.
    if (t < 0 || static_cast<std::time_t>(static_cast<int32_t>(t)) != t)
        return false;
    *out = CTime(static_cast<int32_t>(t));
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
