#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolMap.h"
#include "zolTile.h"
#include "zolUnit.h"

// How many pixels of the colour row y holds, all from x = 0 on; -1 when one stands apart.
static int Bar(BITMAP* bmp, int y, int colour)
{
    int n = 0;
    for (int x = 0; x < bmp->w; x++)
        if (getpixel(bmp, x, y) == colour && n++ != x)
            return -1;
    return n;
}

TEST(TitleWave, EachColumnRidesTheSineOfTheClockAndAnEmptySpriteDrawsNothing)
{
    BITMAP* sprite = create_bitmap(16, 3), *empty = create_bitmap(0, 3), *dest = create_bitmap(40, 40);
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
            ASSERT_EQ(y >= top && y < top + 3 && !(c == 5 && y == top + 1), getpixel(dest, x, y) != 0) << x << "," << y;
        }
    for (BITMAP* bmp : {empty, dest, sprite})
        destroy_bitmap(bmp);
}

TEST(MatchShell, NewMapIsRockWithTwoBasesAndTheirHives)
{
    zolMap* map = NewMatchMap(20, 14);
    ASSERT_TRUE(map->GetWidth() == 20 && map->GetHeight() == 14 && map->GetUnits().empty());
    auto red = [](int x, int y) { return x >= 1 && x <= 3 && y >= 1 && y <= 3; };
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 20; x++)
        {
            // Blue's base is red's moved by (15, 9); health 0 everywhere.
            int type = (x == 2 && y == 2) || (x == 17 && y == 11) ? 2 : red(x, y) || red(x - 15, y - 9) ? 1 : 0;
            int glow = red(x, y - 1) * 1 + red(x + 1, y) * 2 + red(x, y + 1) * 4 + red(x - 1, y) * 8;
            zolTile* t = map->GetTile(x, y);
            EXPECT_TRUE(t->GetType() == g_pvTileTypes[type] && t->GetHealth() == 0) << x << "," << y;
            EXPECT_TRUE(t->IsLit() == red(x, y) && t->GetLitMask() == glow) << x << "," << y;
        }
    delete map;
}

TEST(MatchShell, BalanceBarsAndTheEndTest)
{
    BITMAP* bmp = create_bitmap(640, 480);
    const int cursors[2] = {10, 10}, orange = makecol(255, 128, 0), sky = makecol(0, 128, 255);
    // red units, blue units, ticks played, match over, width of red's bar, of blue's
    const int cases[][6] = {{1, 1000, 5000, 0, 1, 640}, {3, 3, 5000, 0, 640, 640}, {1, 5, 5000, 0, 128, 640},
        {5, 1, 5000, 0, 640, 128}, {3, 0, 1000, 0, 0, 0}, {3, 0, 1001, 1, 0, 0}, {0, 3, 1001, 1, 0, 0},
        {0, 0, 1000, 0, 0, 0}, {0, 0, 1001, 1, 0, 0}};
    for (auto [red, blue, ticks, over, redBar, blueBar] : cases)
    {
        zolMap* map = MakeFloorMap(2, 1, 1);
        for (int i = 0; i < red + blue; i++)
        {
            zolUnit* unit = new zolUnit();
            unit->SetSide(i < red);
            map->GetTile(i < red ? 0 : 1, 0)->AddUnit(unit);
            map->AddUnit(unit);
        }
        map->Update();
        EXPECT_EQ(over == 1, DrawMatchFrame(bmp, map, cursors, cursors, 0, ticks)) << red << ":" << blue;
        for (int y = 467; y <= 476; y++)
            EXPECT_EQ(std::make_pair(y >= 468 && y <= 471 ? redBar : 0, y >= 472 && y <= 475 ? blueBar : 0),
                      std::make_pair(Bar(bmp, y, orange), Bar(bmp, y, sky))) << red << ":" << blue << " row " << y;
        delete map;
    }
    destroy_bitmap(bmp);
}
