#include <gtest/gtest.h>

#include <cmath>

#include "Main.h"
#include "TestSupport.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    // The last column of a bar of colour that starts at x = 0 in row y: -1 for none, -2 when the
    // colour shows anywhere else in the row.
    int BarEnd(BITMAP* bmp, int y, int colour)
    {
        int end = -1;
        while (end + 1 < bmp->w && getpixel(bmp, end + 1, y) == colour)
            end++;
        for (int x = end + 1; x < bmp->w; x++)
            if (getpixel(bmp, x, y) == colour)
                return -2;
        return end;
    }

    const int RED_CURSOR[2] = {10, 10}, BLUE_CURSOR[2] = {19, 13};  // clear of text and bars
}

TEST(TitleWave, EachColumnRidesTheSineOfTheClock)
{
    BITMAP* sprite = create_bitmap(64, 3);
    clear_to_color(sprite, makecol(10, 200, 30));
    putpixel(sprite, 5, 1, bitmap_mask_color(sprite));
    BITMAP* dest = create_bitmap(100, 40);
    for (int time : {0, -80, 9904})     // at 9904 column 10 tells 0.02f from 0.02
    {
        g_dwMainTime = time;
        clear_bitmap(dest);
        DrawSineSprite(dest, sprite, 10, 15);
        for (int c = 0; c < 64; c++)
        {
            int dy = (int)(std::sin((time + 5 * c) * (double)0.02f) * 12);
            for (int y = 0; y < 40; y++)
            {
                bool drawn = y >= 15 + dy && y < 18 + dy && !(c == 5 && y == 16 + dy);
                ASSERT_EQ(drawn, getpixel(dest, 10 + c, y) != 0) << "time " << time << " column " << c;
            }
        }
    }
    BITMAP* empty = create_bitmap(0, 3);
    clear_bitmap(dest);
    DrawSineSprite(dest, empty, 0, 0);
    EXPECT_EQ(0, getpixel(dest, 0, 0));
    g_dwMainTime = 0;
    for (BITMAP* bmp : {empty, dest, sprite})
        destroy_bitmap(bmp);
}

TEST(MatchShell, NewMapIsRockWithTwoBasesAndTheirHives)
{
    zolMap* map = NewMatchMap(20, 14);
    ASSERT_TRUE(map->GetWidth() == 20 && map->GetHeight() == 14);
    auto red = [](int x, int y) { return x >= 1 && x <= 3 && y >= 1 && y <= 3; };
    auto blue = [](int x, int y) { return x >= 16 && x <= 18 && y >= 10 && y <= 12; };
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 20; x++)
        {
            zolTile* tile = map->GetTile(x, y);
            int type = (x == 2 && y == 2) || (x == 17 && y == 11) ? 2 : red(x, y) || blue(x, y) ? 1 : 0;
            int glow = red(x, y - 1) * 1 + red(x + 1, y) * 2 + red(x, y + 1) * 4 + red(x - 1, y) * 8;
            EXPECT_EQ(g_pvTileTypes[type], tile->GetType()) << x << "," << y;
            EXPECT_EQ(red(x, y), tile->IsLit()) << x << "," << y;
            EXPECT_EQ(glow, tile->GetLitMask()) << x << "," << y;
            EXPECT_TRUE(tile->GetHealth() == 0 && !tile->GetCommand(false) && !tile->GetCommand(true));
        }
    EXPECT_TRUE(map->GetUnits().empty());
    delete map;
}

TEST(MatchShell, BalanceBarsAndTheEndTest)
{
    BITMAP* bmp = create_bitmap(640, 480);
    const int orange = makecol(255, 128, 0), sky = makecol(0, 128, 255);
    // red units, blue units, ticks played, match over, last column of red's bar, of blue's
    const int cases[][6] = {{1, 1000, 5000, 0, 0, 639}, {3, 3, 5000, 0, 639, 639}, {1, 5, 5000, 0, 127, 639},
        {5, 1, 5000, 0, 639, 127}, {3, 0, 1000, 0, -1, -1}, {3, 0, 1001, 1, -1, -1}, {0, 3, 1001, 1, -1, -1},
        {0, 0, 1000, 0, -1, -1}, {0, 0, 1001, 1, -1, -1}};
    for (auto& c : cases)
    {
        zolMap* map = MakeFloorMap(2, 1, 1);
        for (int i = 0; i < c[0] + c[1]; i++)
        {
            zolUnit* unit = new zolUnit();
            unit->SetSide(i < c[0]);
            map->GetTile(i < c[0] ? 0 : 1, 0)->AddUnit(unit);
            map->AddUnit(unit);
        }
        map->Update();
        ASSERT_TRUE(map->GetUnitCount(true) == c[0] && map->GetUnitCount(false) == c[1]);
        EXPECT_EQ(c[3] == 1, DrawMatchFrame(bmp, map, RED_CURSOR, BLUE_CURSOR, 0, c[2])) << c[0] << ":" << c[1];
        for (int y = 467; y <= 476; y++)
        {
            EXPECT_EQ(y >= 468 && y <= 471 ? c[4] : -1, BarEnd(bmp, y, orange)) << c[0] << " row " << y;
            EXPECT_EQ(y >= 472 && y <= 475 ? c[5] : -1, BarEnd(bmp, y, sky)) << c[1] << " row " << y;
        }
        delete map;
    }
    destroy_bitmap(bmp);
}

TEST(MatchShell, CursorsFlickerInTheirSidesColoursAndTheFrameRateShowsWhileF2IsHeld)
{
    zolMap empty;
    BITMAP* frame = create_bitmap(640, 480);
    BITMAP* text = create_bitmap(640, 480);
    clear_bitmap(text);
    textprintf_ex(text, font, 4, 4, makecol(255, 255, 0), 0, "FPS: %d", 57);
    for (int held : {1, 0})
    {
        zolSeedRand(held);
        int v = (zolRand() >> 7) & 255, w = (zolRand() >> 7) & 255;
        zolSeedRand(held);
        key[KEY_F2] = held;
        DrawMatchFrame(frame, &empty, RED_CURSOR, BLUE_CURSOR, 57, 0);
        for (int y = 0; y < 20; y++)
            for (int x = 0; x < 100; x++)
                ASSERT_EQ(held ? getpixel(text, x, y) : 0, getpixel(frame, x, y)) << x << "," << y;
        EXPECT_TRUE(getpixel(frame, 320, 320) == makecol(255, v, v) && getpixel(frame, 351, 351) == makecol(255, v, v));
        EXPECT_TRUE(getpixel(frame, 608, 416) == makecol(w, w, 255) && getpixel(frame, 639, 447) == makecol(w, w, 255));
        EXPECT_TRUE(getpixel(frame, 321, 321) == 0 && getpixel(frame, 609, 417) == 0);
    }
    key[KEY_F2] = 0;
    destroy_bitmap(text);
    destroy_bitmap(frame);
}
