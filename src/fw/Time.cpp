#include "fw/Time.h"

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
