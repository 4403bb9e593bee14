#include "TestSupport.h"
#include "zolCmdHive.h"

namespace
{
    struct Idle : zolController
    {
        void Tick(int*, zolMap*, int, int) override {}
    };

    // A w x 1 floor map, red's half lit, with red units on tile 0 and blue on the last.
    zolMap* Armies(int w, int red, int blue)
    {
        zolMap* map = MakeFloorMap(w, 1, w / 2);
        for (int i = 0; i < red + blue; i++)
        {
            zolUnit* unit = new zolUnit();
            unit->SetSide(i < red);
            map->GetTile(i < red ? 0 : w - 1, 0)->AddUnit(unit);
            map->AddUnit(unit);
        }
        return map;
    }
}

TEST(MatchShell, AfterTenSecondsASideWithoutUnitsEndsTheMatchAndDecidesTheOutcome)
{
    // red units, blue units, ticks played, over, outcome
    const int cases[][5] = {{3, 0, 1000, 0, OUTCOME_RED_WINS},  {3, 0, 1001, 1, OUTCOME_RED_WINS},
                            {0, 3, 1000, 0, OUTCOME_BLUE_WINS}, {0, 3, 1001, 1, OUTCOME_BLUE_WINS},
                            {0, 0, 1000, 0, OUTCOME_NO_WINNER}, {0, 0, 1001, 1, OUTCOME_NO_WINNER},
                            {2, 2, 1001, 0, OUTCOME_NO_WINNER}, {2, 2, 5000, 0, OUTCOME_NO_WINNER}};
    for (auto [red, blue, ticks, over, outcome] : cases)
    {
        SCOPED_TRACE(testing::Message() << red << ":" << blue << " after " << ticks);
        Idle idle;
        // Far apart on rock-free ground the two armies cannot meet in fifty seconds.
        Match match(&idle, &idle, Armies(red && blue ? 200 : 1, red, blue));
        for (int t = 0; t < ticks; t++)
            match.Tick();
        EXPECT_FALSE(match.IsOver()) << "before the end test";
        match.EndTest();
        EXPECT_EQ(over == 1, match.IsOver());
        EXPECT_EQ(outcome, match.GetOutcome());
    }
}

TEST(MatchStats, BirthsLossesLargestArmiesAndOneSampleASecondComeFromTheWorld)
{
    zolSeedRand(12);
    Idle idle;
    // Three red and two blue units already there count as each side's start, never as births.
    zolMap* map = Armies(1, 3, 2);
    map->SetTile(0, 0, g_pvTileTypes[TILE_HIVE]);
    map->SetTileLit(0, 0, true);
    Match match(&idle, &idle, map);
    EXPECT_EQ(3, match.GetStats().GetStart(true));
    int largest[2] = {2, 3};
    for (int t = 0; t < 950; t++)
    {
        match.Tick();
        for (int side = 0; side < 2; side++)
            largest[side] = std::max(largest[side], map->GetUnitCount(side));
    }
    zolMatchStats& stats = match.GetStats();
    // One tile of both sides: the hive spawns for its owner, and the fight kills on both sides.
    EXPECT_GT(stats.GetBorn(true), 0);
    EXPECT_EQ(0, stats.GetBorn(false));
    EXPECT_GT(stats.GetLost(false), 0);
    for (bool side : {true, false})
    {
        EXPECT_EQ(stats.GetStart(side) + stats.GetBorn(side) - stats.GetLost(side),
                  map->GetUnitCount(side));
        EXPECT_EQ(largest[side], stats.GetLargest(side));
    }
    ASSERT_EQ(9u, stats.GetArmies().size()) << "after ticks 100, 200, ... 900";
    EXPECT_EQ(0, stats.GetArmies().back()[0]) << "blue's army, gone by then";
}

TEST(MatchShell, SkippingFramesMovesTheRandomSourceAsDrawingThemAndCountsThem)
{
    Idle idle;
    Match drawn(&idle, &idle, 20, 14), skipped(&idle, &idle, 20, 14);
    // Marks of every kind, both sides': arrows, builds on own ground, Clear on rock; 9 in all.
    const int orders[][4] = {
        {1, 1, ORDER_NORTH, 1},   {2, 1, ORDER_EAST, 1},   {3, 1, ORDER_THORNS, 1},
        {1, 2, ORDER_TRAINER, 1}, {1, 3, ORDER_HIVE, 1},   {6, 5, ORDER_CLEAR, 1},
        {16, 10, ORDER_WEST, 0},  {17, 11, ORDER_HIVE, 0}, {6, 5, ORDER_CLEAR, 0}};
    for (Match* match : {&drawn, &skipped})
        for (auto [x, y, order, red] : orders)
            ASSERT_TRUE(PlaceCommand(match->GetMap()->GetTile(x, y), order, red == 1));
    BITMAP* bmp = create_bitmap(640, 480);
    zolSeedRand(7);
    for (int f = 0; f < 37; f++)
        drawn.Draw(bmp, false);
    uint32_t rand = g_dwRandState;
    zolSeedRand(7);
    skipped.SkipFrames(37);
    EXPECT_EQ(rand, g_dwRandState);
    EXPECT_EQ(zolRandJump(7, 37 * (2 + 9)), rand);
    // Frames that flicker apart, a replay's on the screen, leave the game's source alone.
    drawn.SetFlickerApart(true);
    for (int f = 0; f < 37; f++)
        drawn.Draw(bmp, false);
    EXPECT_EQ(rand, g_dwRandState);
    drawn.Tick();
    skipped.Tick();
    EXPECT_EQ(74, drawn.GetFramesBeforeTick());
    EXPECT_EQ(37, skipped.GetFramesBeforeTick());
    destroy_bitmap(bmp);
    // Headless, as --verify and the arena run, no build loads a picture.
    ReleaseTiles();
    BuildTilesHeadless();
    delete MakeCommand(ORDER_HIVE, false);
    EXPECT_EQ(nullptr, g_pBmpHive);
    ReleaseTiles();
    ASSERT_TRUE(BuildTiles());
}

TEST(MatchShell, FrameCountsOfAnySizeGiveAFrameRateWithoutOverflow)
{
    Idle idle;
    // A million frames before each tick, as a recording may claim, then the most an int holds.
    const int cases[][2] = {{1000000, 100000000}, {INT_MAX, INT_MAX}};
    for (auto [frames, rate] : cases)
    {
        Match match(&idle, &idle, 20, 14);
        for (int t = 0; t < 100; t++)
        {
            match.SkipFrames(frames);
            match.Tick();
        }
        EXPECT_EQ(frames, match.GetFramesBeforeTick());
        EXPECT_EQ(rate, match.GetFrameRate()) << "frames in the last 100 ticks";
    }
}
