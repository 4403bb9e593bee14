#include "ReplayControl.h"

#include "MatchSession.h"

zolReplayControl::zolReplayControl(MatchSession& session, zolReplaySource& source, int first)
    : m_session(session), m_source(source), m_dwFirst(first), m_dwLast(first + source.Remaining())
{
    AfterTick();
}

void zolReplayControl::AfterTick()
{
    int tick = m_session.GetMatch().GetTicks();
    if ((tick == m_dwFirst || tick % EVERY == 0) && !m_vStates.count(tick))
        m_vStates[tick] = m_session.Snapshot();
}

int zolReplayControl::SeekTo(int tick)
{
    tick = tick < m_dwFirst ? m_dwFirst : tick > m_dwLast ? m_dwLast : tick;
    Match& match = m_session.GetMatch();
    // The nearest saved state at or before the moment, unless the match is nearer already.
    auto saved = m_vStates.upper_bound(tick);
    if (saved != m_vStates.begin())
    {
        --saved;
        std::string why;
        if ((match.GetTicks() > tick || saved->first > match.GetTicks()) &&
            m_session.Restore(saved->second, &why))
            m_source.SeekTo(match, m_dwFirst);
    }
    while (match.GetTicks() < tick && m_session.Step())
    {
    }
    return match.GetTicks();
}

size_t zolReplayControl::GetStateBytes()
{
    size_t bytes = 0;
    for (auto& state : m_vStates)
        bytes += state.second.size();
    return bytes;
}
