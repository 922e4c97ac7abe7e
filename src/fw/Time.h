// CTime: an instant as a signed 32-bit count of seconds since
// 1970-01-01 00:00:00 UTC, read in local time by the runtime's rules.
// Needs no window, so it is tested on the build host.
#ifndef TETHRA_FW_TIME_H
#define TETHRA_FW_TIME_H

#include <cstdint>
#include <ctime>

class CTime {
public:
    CTime() = default;
    explicit CTime(int32_t time) : m_time(time) {}
    // A local date and time; whether daylight saving applies is the runtime's call.
    CTime(int year, int month, int day, int hour, int minute, int second);

    int32_t GetTime() const { return m_time; }

    // Local broken-down time. False when the runtime cannot convert the
    // value (a negative time, on some runtimes).
    bool GetLocalTm(std::tm* out) const;

    bool operator==(const CTime& other) const { return m_time == other.m_time; }

private:
    int32_t m_time = 0;
};

#endif
