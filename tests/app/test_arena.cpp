#include "Arena.h"
#include "TestSupport.h"
#include "zolAI.h"

// What the arena's lines rest on; tests/e2e/e2e_arena.sh runs the arena itself.
TEST(Arena, AMatchWithoutAWinnerByItsLastTickIsADrawAndTheProgramsComputersAreLeftAlone)
{
    ProgramComputer(LEVEL_NORMAL).Reset();
    ProgramComputer(LEVEL_NORMAL).AddJobBack(ORDER_CLEAR, 4, 4, 0);
    zolArenaMatch short_ = PlayArenaMatch(LEVEL_NORMAL, LEVEL_NORMAL, 3, StartMap(), 1500);
    EXPECT_EQ(OUTCOME_NO_WINNER, short_.outcome);
    EXPECT_EQ(1500, short_.ticks);
    EXPECT_EQ(1u, ProgramComputer(LEVEL_NORMAL).GetJobs().size()) << "arena computers are fresh";
    EXPECT_EQ(0, ProgramComputer(LEVEL_NORMAL).GetMoveTicker());

    // A side that cannot spawn loses once ten seconds have passed: the end test runs every tick.
    const int savedCap = zu_dwMaxUnits;
    zu_dwMaxUnits = 0;
    zolArenaMatch empty = PlayArenaMatch(LEVEL_HARD, LEVEL_EASY, 3);
    zu_dwMaxUnits = savedCap;
    EXPECT_EQ(OUTCOME_NO_WINNER, empty.outcome);
    EXPECT_EQ(1001, empty.ticks);
}
