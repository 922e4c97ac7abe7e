// Whether the machine has gone unused for the idle lock's minutes. Windows 95
// has no GetLastInputInfo and a system-wide hook would need a DLL that every
// program's input waits on, so the frame looks once a second at what any
// program can read: the pointer's position and the keys' asynchronous state.
// No windows.h: tested on the build host.
#ifndef TETHRA_FRAME_IDLEWATCH_H
#define TETHRA_FRAME_IDLEWATCH_H

#include <cstdint>

#include "app/InputState.h"

// "Time"/"IdleMinutes" as used: 1 to 240, anything else 10.
constexpr int IdleMinutesFor(int stored)
{
    return stored >= 1 && stored <= 240 ? stored : 10;
}

class CIdleWatch {
public:
    // Starts counting from tick (milliseconds, GetTickCount's) with state as
    // the last input seen.
    void Start(int minutes, uint32_t tick, const InputState& state);
    // Someone is known to be there (a lock in force, the settings dialog
    // open): the idle time starts again from tick.
    void Touch(uint32_t tick) { m_lastUse = tick; }
    // One look: true when nothing has changed for the whole idle time. The
    // tick count's wrap is harmless (unsigned difference).
    bool IsIdle(uint32_t tick, const InputState& state);

private:
    uint32_t m_idleMillis = 0;
    uint32_t m_lastUse = 0;
    InputState m_last;
};

#endif
