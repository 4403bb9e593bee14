#ifndef REPLAYCONTROL_H
#define REPLAYCONTROL_H

#include <cstddef>
#include <map>
#include <string>
#include <utility>

// A recording watched: its pace (paused, or 1, 2, 4 or 8 times as fast as it was played) and the
// states saved along it. Going back is quick anywhere in a long match: the whole state is saved
// every ten seconds of play as the replay first passes there, so a move back can take up the
// nearest saved state before the moment and play on to it.
class zolReplayControl
{
public:
    static const int EVERY = 1000; // ticks between two saved states

    // The recording runs from the match's tick first (the first state kept) to last.
    zolReplayControl(int first, int last) : m_dwFirst(first), m_dwLast(last) {}

    // Whether tick is one a state is saved at (the first, or each EVERY) and none is kept yet.
    bool WantsState(int tick);
    void KeepState(int tick, std::string state) { m_vStates[tick] = std::move(state); }
    int Clamp(int tick) { return tick < m_dwFirst ? m_dwFirst : tick > m_dwLast ? m_dwLast : tick; }
    // The saved state nearest at or before tick, and its tick in *at; null when none is. It
    // stays valid while states are kept.
    const std::string* StateBefore(int tick, int* at);

    int GetFirst() { return m_dwFirst; } // the match's ticks when the recording begins
    int GetLast() { return m_dwLast; }   // and when it ends
    bool IsPaused() { return m_bPaused; }
    void SetPaused(bool paused) { m_bPaused = paused; }
    int GetSpeed() { return m_dwSpeed; } // 1, 2, 4 or 8
    void Faster() { m_dwSpeed = m_dwSpeed < 8 ? m_dwSpeed * 2 : 8; }
    void Slower() { m_dwSpeed = m_dwSpeed > 1 ? m_dwSpeed / 2 : 1; }
    size_t GetStateBytes(); // held by the saved states
    int GetStates() { return (int)m_vStates.size(); }

private:
    int m_dwFirst, m_dwLast;
    std::map<int, std::string> m_vStates; // by the match's ticks
    bool m_bPaused = false;
    int m_dwSpeed = 1;
};

#endif
