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

// A replay skips the frames its player saw. Each drew from the game's random source: once per
// cursor and once per command's mark, whatever the command. Skipping must draw exactly as much,
// with no picture at all, so that --verify needs none.
TEST(MatchShell, SkippedFramesDrawFromTheRandomSourceAsDrawnOnesAndNeedNoPicture)
{
    Idle idle;
    Match match(&idle, &idle, MakeFloorMap(20, 14, 10, 100));
    zolMap* map = match.GetMap();
    map->SetTile(12, 3, g_pvTileTypes[TILE_ROCK]);
    const int orders[][4] = {{ORDER_HIVE, 2, 2, 1},   {ORDER_NORTH, 5, 5, 1},
                             {ORDER_CLEAR, 12, 3, 1}, {ORDER_CLEAR, 12, 3, 0},
                             {ORDER_WEST, 15, 9, 0},  {ORDER_TRAINER, 16, 1, 0}};
    for (auto [order, x, y, side] : orders)
        ASSERT_TRUE(PlaceCommand(map->GetTile(x, y), order, side));
    BITMAP* frame = create_bitmap(640, 480);
    zolSeedRand(31);
    for (int f = 0; f < 3; f++)
        match.Draw(frame, false);
    uint32_t drawn = g_dwRandState;
    zolSeedRand(31);
    ReleaseTiles();
    BuildTilesHeadless();
    match.SkipFrames(3);
    EXPECT_EQ(drawn, g_dwRandState) << "(6 commands + 2 cursors) x 3 frames";
    zolSeedRand(31);
    for (int n = 0; n < 24; n++)
        zolRand();
    EXPECT_EQ(drawn, g_dwRandState);
    delete MakeCommand(ORDER_HIVE, false);
    EXPECT_EQ(nullptr, g_pBmpHive) << "a build made headless loads no picture";
    ReleaseTiles();
    ASSERT_TRUE(BuildTiles());
    destroy_bitmap(frame);
}
