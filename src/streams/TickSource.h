#ifndef TICKSOURCE_H
#define TICKSOURCE_H

class Match;

// Where the keys of a match's human sides come from when not from this keyboard: a recording, or
// the other machine. The match loop asks before every tick and tells it after; a source keeps
// pointers to the sides it feeds, which must outlive it.
class zolTickSource
{
public:
    virtual ~zolTickSource() {}

    // Readies the match's next tick: the frames played before it accounted for, the sides' keys
    // set. False when the tick cannot run yet (the other machine's keys are late) or ever (see
    // IsOver()); then nothing of the match has changed.
    virtual bool Prepare(Match& match) = 0;
    // After the tick; may end the match (Match::Quit) or the source.
    virtual void Finish(Match& /*match*/) {}
    // Once after each pass of ticks, whether any ran: a network source talks to the other side.
    virtual void EndPass() {}
    // Nothing more will come: the recording has run out, or the other machine has gone.
    virtual bool IsOver() = 0;
    // The player here leaves the match: the other machine is told.
    virtual void Leave() {}
};

#endif
