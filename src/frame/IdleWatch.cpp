#include "frame/IdleWatch.h"

namespace {

bool SameInput(const InputState& a, const InputState& b)
{
    if (a.x != b.x || a.y != b.y)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (a.down[i] != b.down[i])
            return false;
    }
    return true;
}

}  // namespace

void CIdleWatch::Start(int minutes, uint32_t tick, const InputState& state)
{
    m_idleMillis = static_cast<uint32_t>(IdleMinutesFor(minutes)) * 60000u;
    m_lastUse = tick;
    m_last = state;
}

bool CIdleWatch::IsIdle(uint32_t tick, const InputState& state)
{
    if (state.pressedSince || !SameInput(state, m_last)) {
        m_last = state;
        m_lastUse = tick;
        return false;
    }
    return tick - m_lastUse >= m_idleMillis;
}
