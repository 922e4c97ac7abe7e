// The timed lock's arithmetic: when a running time or a clock time is reached.
// No windows.h: tested on the build host.
#ifndef TETHRA_FRAME_TIMEDLOCK_H
#define TETHRA_FRAME_TIMEDLOCK_H

#include <cstdint>
#include <ctime>

enum TimedLockMode { kTimedLockOff = 0, kTimedLockAfterRunning = 1, kTimedLockAtClock = 2 };

// "TimeLockType" 0 locks after a running time; any other value at a clock time.
inline int TimedLockModeFor(int timeLockType)
{
    return timeLockType == 0 ? kTimedLockAfterRunning : kTimedLockAtClock;
}

// The running time in seconds: a stored instant's local time of day.
inline uint32_t SecondsOfDay(const std::tm& local)
{
    return static_cast<uint32_t>(local.tm_sec + 60 * local.tm_min + 3600 * local.tm_hour);
}

// Running-time mode: due once the whole seconds since arming reach the target.
// Unsigned arithmetic keeps this right across one wrap of the tick count.
inline bool RunningTimeReached(uint32_t nowTick, uint32_t startTick, uint32_t afterSeconds)
{
    return (nowTick - startTick) / 1000u >= afterSeconds;
}

// Clock-time mode: due on a tick in the target hour and minute at or after
// the target second. The date never matters.
inline bool ClockTimeReached(const std::tm& now, const std::tm& target)
{
    return now.tm_hour == target.tm_hour && now.tm_min == target.tm_min && now.tm_sec >= target.tm_sec;
}

#endif
