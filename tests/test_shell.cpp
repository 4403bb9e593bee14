#include "TestSupport.h"

namespace
{
    // How many pixels of the colour row y holds, all from x = 0 on; -1 when one stands apart.
    int Bar(BITMAP* bmp, int y, int colour)
    {
        int n = 0;
        for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) == colour && n++ != x)
                return -1;
        return n;
    }

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

TEST(TitleWave, EachColumnRidesTheSineOfTheClockAndAnEmptySpriteDrawsNothing)
{
    BITMAP *sprite = create_bitmap(16, 3), *empty = create_bitmap(0, 3),
           *dest = create_bitmap(40, 40);
    clear_to_color(sprite, makecol(10, 200, 30));
    putpixel(sprite, 5, 1, bitmap_mask_color(sprite));
    clear_bitmap(dest);
    g_dwMainTime = 9879;
    DrawSineSprite(dest, empty, 0, 0);
    DrawSineSprite(dest, sprite, 10, 15);
    // Truncated toward zero; column 15 would be -11 with 0.02 in place of 0.02f.
    const int dy[16] = {4, 2, 1, 0, 0, -1, -3, -4, -5, -6, -7, -8, -9, -9, -10, -10};
    for (int x = 0; x < 40; x++)
        for (int y = 0; y < 40; y++)
        {
            int c = x - 10, top = 15 + (c >= 0 && c < 16 ? dy[c] : 99);
            ASSERT_EQ(y >= top && y < top + 3 && !(c == 5 && y == top + 1),
                      getpixel(dest, x, y) != 0)
                << x << "," << y;
        }
    for (BITMAP* bmp : {empty, dest, sprite})
        destroy_bitmap(bmp);
}

TEST(MatchShell, NewMapIsRockWithTwoBasesAndTheirHives)
{
    zolMap* map = NewMatchMap(20, 14);
    ASSERT_EQ(20, map->GetWidth());
    ASSERT_EQ(14, map->GetHeight());
    EXPECT_TRUE(map->GetUnits().empty());
    auto red = [](int x, int y) { return x >= 1 && x <= 3 && y >= 1 && y <= 3; };
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 20; x++)
        {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            // Blue's base is red's moved by (15, 9); health 0 everywhere.
            int kind = (x == 2 && y == 2) || (x == 17 && y == 11) ? TILE_HIVE
                       : red(x, y) || red(x - 15, y - 9)          ? TILE_FLOOR
                                                                  : TILE_ROCK;
            int glow =
                red(x, y - 1) * 1 + red(x + 1, y) * 2 + red(x, y + 1) * 4 + red(x - 1, y) * 8;
            zolTile* t = map->GetTile(x, y);
            EXPECT_EQ(g_pvTileTypes[kind], t->GetType());
            EXPECT_EQ(0, t->GetHealth());
            EXPECT_EQ(red(x, y), t->IsLit());
            EXPECT_EQ(glow, t->GetLitMask());
        }
    delete map;
}

TEST(MatchShell, BalanceBarsCompareTheArmies)
{
    BITMAP* bmp = create_bitmap(640, 480);
    const int orange = makecol(255, 128, 0), sky = makecol(0, 128, 255);
    // red units, blue units, width of red's bar, of blue's
    const int cases[][4] = {
        {1, 1000, 1, 640}, {3, 3, 640, 640}, {1, 5, 128, 640}, {5, 1, 640, 128}, {3, 0, 0, 0}};
    for (auto [red, blue, redBar, blueBar] : cases)
    {
        Idle idle;
        Match match(&idle, &idle, Armies(8, red, blue));
        match.Tick();
        match.Draw(bmp, false);
        for (int y = 467; y <= 476; y++)
        {
            SCOPED_TRACE(testing::Message() << red << ":" << blue << " row " << y);
            EXPECT_EQ(y >= 468 && y <= 471 ? redBar : 0, Bar(bmp, y, orange));
            EXPECT_EQ(y >= 472 && y <= 475 ? blueBar : 0, Bar(bmp, y, sky));
        }
    }
    destroy_bitmap(bmp);
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
    // Passes of at most 25 ticks, a frame after each.
    for (int ran : {25, 25, 10, 0})
    {
        EXPECT_EQ(ran, RunOwedTicks(match, clock, 25));
        match.Draw(bmp, false);
    }
    EXPECT_EQ(0, clock);
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
