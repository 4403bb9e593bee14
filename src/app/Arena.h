#ifndef ARENA_H
#define ARENA_H

#include <cstdint>
#include <string>

#include "MapBook.h"
#include "Match.h"

struct zolOptions;
class zolMap;

// Computers against each other without a display, as fast as the machine goes: the tool that
// tells how the levels measure up.

struct zolArenaMatch
{
    zolOutcome outcome; // OUTCOME_NO_WINNER: a draw
    int ticks;
};

// One match between two fresh computers of the levels given (zolLevel), red and blue, with the
// game's random source seeded first; the end test runs after every tick, and a match with no
// winner after maxTicks is a draw. Needs a tile set.
zolArenaMatch PlayArenaMatch(int red, int blue, uint32_t seed, const zolMapPlan& map = StartMap(),
                             int maxTicks = 180000);

// --arena: checks the arena's words (one line on stderr and status 2 for a bad one), builds the
// tile set headless and plays the matches, printing a line for each and the tally; status 0.
int RunArena(const zolOptions& options);

#endif
