// CTime: an instant as a signed 32-bit count of seconds since
// 1970-01-01 00:00:00 UTC, read in local time by the runtime's rules.
// Needs no window, so it is tested on the build host.
#ifndef TETHRA_FW_TIME_H
#define TETHRA_FW_TIME_H

#include <cstdint>
#include <ctime>

// A local date and time, as the date-time picker shows and edits it.
struct LocalDateTime {
    int year = 1970;
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class CTime {
public:
    CTime() = default;
    explicit CTime(int32_t time) : m_time(time) {}
    // A local date and time; whether daylight saving applies is the runtime's call.
    CTime(int year, int month, int day, int hour, int minute, int second);

    int32_t GetTime() const { return m_time; }

    // Local broken-down time (fw/LocalTime.h). False for a negative value,
    // which Windows' runtime refuses too.
    bool GetLocalTm(std::tm* out) const;

    // The local date and time; false for a negative value.
    bool GetLocalDateTime(LocalDateTime* out) const;
    // The instant of a local date and time; false when none of ours holds
    // it (before 1970-01-01 00:00:00 UTC, or past 2038).
    static bool FromLocalDateTime(const LocalDateTime& local, CTime* out);

    // For pickers that edit only the time of day: the instant of picked,
    // or, when no time value holds that date and time, the same time of
    // day on 2000-01-01.
    static CTime FromPickedTimeOfDay(const LocalDateTime& picked);

    bool operator==(const CTime& other) const { return m_time == other.m_time; }

private:
    int32_t m_time = 0;
};

#endif
