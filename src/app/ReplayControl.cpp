#include "ReplayControl.h"

bool zolReplayControl::WantsState(int tick)
{
    return (tick == m_dwFirst || tick % EVERY == 0) && !m_vStates.count(tick);
}

const std::string* zolReplayControl::StateBefore(int tick, int* at)
{
    auto saved = m_vStates.upper_bound(tick);
    if (saved == m_vStates.begin())
        return nullptr;
    --saved;
    *at = saved->first;
    return &saved->second;
}

size_t zolReplayControl::GetStateBytes()
{
    size_t bytes = 0;
    for (auto& state : m_vStates)
        bytes += state.second.size();
    return bytes;
}
