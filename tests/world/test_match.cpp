#include "TestSupport.h"

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

TEST(MatchShell, TicksBeyondOnePassStayOwedAndEscEndsWithNoWinner)
{
    Idle idle;
    Match match(&idle, &idle, 20, 14);
    BITMAP* bmp = create_bitmap(640, 480);
    std::atomic<int> clock(60);
    // Passes of at most 25 ticks, a frame after each: ticks run, and ticks still owed after it.
    const int passes[4][2] = {{25, 35}, {25, 10}, {10, 0}, {0, 0}};
    for (auto [ran, owed] : passes)
    {
        EXPECT_EQ(ran, RunOwedTicks(match, clock, 25));
        EXPECT_EQ(owed, clock);
        match.Draw(bmp, false);
    }
    EXPECT_EQ(60, match.GetTicks());
    EXPECT_EQ(0, match.GetFrameRate()) << "until 100 ticks have run";
    clock = 40;
    EXPECT_EQ(40, RunOwedTicks(match, clock, 100));
    EXPECT_EQ(4, match.GetFrameRate()) << "frames in the last 100 ticks";
    EXPECT_FALSE(match.IsOver());
    match.Quit();
    EXPECT_TRUE(match.IsOver());
    EXPECT_EQ(OUTCOME_NO_WINNER, match.GetOutcome());
    destroy_bitmap(bmp);
}

TEST(MatchShell, SkippingFramesMovesTheFlickerAsDrawingThemAndCountsThem)
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
    // On one machine the frames draw from the game's source; across two from a source apart.
    for (bool apart : {false, true})
    {
        g_bFlickerApart = apart;
        zolSeedRand(7);
        g_dwFlickerState = 9;
        for (int f = 0; f < 37; f++)
            drawn.Draw(bmp, false);
        uint32_t rand = g_dwRandState, flicker = g_dwFlickerState;
        zolSeedRand(7);
        g_dwFlickerState = 9;
        skipped.SkipFrames(37);
        EXPECT_EQ(rand, g_dwRandState) << "apart " << apart;
        EXPECT_EQ(flicker, g_dwFlickerState) << "apart " << apart;
        EXPECT_EQ(zolRandJump(apart ? 9 : 7, 37 * (2 + 9)), apart ? flicker : rand);
    }
    g_bFlickerApart = false;
    drawn.Tick();
    skipped.Tick();
    EXPECT_EQ(74, drawn.GetFramesBeforeTick());
    EXPECT_EQ(74, skipped.GetFramesBeforeTick());
    destroy_bitmap(bmp);
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
