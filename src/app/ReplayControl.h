#ifndef REPLAYCONTROL_H
#define REPLAYCONTROL_H

#include <cstddef>
#include <map>
#include <string>

class MatchSession;
class zolReplaySource;

// A recording watched: its pace (paused, or 1, 2, 4 or 8 times as fast as it was played) and
// moves back and forward in it. Going back is quick anywhere in a long match: the whole state is
// saved every ten seconds of play as the replay first passes there, and a move back takes up the
// nearest saved state before the moment and plays on to it.
class zolReplayControl
{
public:
    static const int EVERY = 1000; // ticks between two saved states

    // The session's match stands at first when the recording begins. Both are not owned and
    // must outlive the control.
    zolReplayControl(MatchSession& session, zolReplaySource& source, int first);

    void AfterTick(); // a saved state when the match reaches a tick of one not yet kept
    // To tick, clamped to the recording; returns the tick reached. Headless: plays as fast as
    // it can, saving states as it passes where none is kept yet.
    int SeekTo(int tick);

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
    MatchSession& m_session; // not owned
    zolReplaySource& m_source;
    int m_dwFirst, m_dwLast;
    std::map<int, std::string> m_vStates; // by the match's ticks
    bool m_bPaused = false;
    int m_dwSpeed = 1;
};

#endif
