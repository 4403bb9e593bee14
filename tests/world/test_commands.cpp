#include <vector>

#include <unistd.h>

#include "TestSupport.h"
#include "zolCmdClear.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"

TEST(DirectionCommand, RedAndBlueArrowsOnOneTilePushOnlyTheirOwnUnits)
{
    // By direction, north to west and north again: 0.01 a tick.
    const float push[5][2] = {{0, -0.01f}, {0.01f, 0}, {0, 0.01f}, {-0.01f, 0}, {0, -0.01f}};
    for (int dir = 0; dir < 4; dir++)
    {
        zolTile tile; // rock takes both sides' commands
        tile.SetType(g_pvTileTypes[TILE_ROCK]);
        tile.SetHealth(5000); // and stays blue's
        zolUnit unit[2];      // blue's arrow turned a quarter clockwise from red's
        for (int side = 0; side < 2; side++)
        {
            tile.SetCommand(side, MakeCommand(ORDER_NORTH + (dir + !side) % 4, side));
            unit[side].SetSide(side);
            unit[side].SetVel(0.3f, -0.2f);
            tile.AddUnit(&unit[side]);
        }
        tile.Update();
        for (int side = 0; side < 2; side++)
        {
            EXPECT_FLOAT_EQ(0.3f + push[dir + !side][0], unit[side].GetVelX()) << dir << side;
            EXPECT_FLOAT_EQ(-0.2f + push[dir + !side][1], unit[side].GetVelY()) << dir << side;
        }
    }
}

TEST(ClearCommand, HundredthOwnBounceDigsOutTheRockWhicheverOfTwoClearsFinishes)
{
    for (bool red : {true, false})
    {
        SCOPED_TRACE(red ? "red finishes" : "blue finishes");
        zolTile rock; // blue, holding both sides' Clears
        rock.SetType(g_pvTileTypes[TILE_ROCK]);
        rock.SetHealth(777);
        zolCmdClear* clear[2];
        for (bool side : {false, true})
            rock.SetCommand(side, clear[side] = (zolCmdClear*)MakeCommand(ORDER_CLEAR, side));
        clear[red]->Collision(!red); // the other side's bounce does not count
        for (int i = 0; i < 99; i++)
            clear[red]->Collision(red);
        ASSERT_TRUE(rock.IsSolid());
        ASSERT_EQ(1, clear[red]->GetHitsLeft());
        clear[red]->Collision(red);
        EXPECT_EQ(g_pvTileTypes[TILE_FLOOR], rock.GetType());
        EXPECT_EQ(red, rock.IsLit());
        EXPECT_EQ(0, rock.GetHealth());
        EXPECT_EQ(nullptr, rock.GetCommand(red));
        // Red's finish takes the tile from blue and with it blue's Clear; blue's leaves red's.
        EXPECT_EQ(red ? nullptr : clear[1], rock.GetCommand(!red));
    }
}

TEST(BuildCommand, FinishesAfterItsWorkCountingOnlyOwnUnitsAndDrawsItsBarEvenWithoutItsPicture)
{
    // Order, own and enemy units, tile health, on a blue rock or red floor; ticks until the build
    // is gone, then the tile's kind, owner and health (own units heal it, the build does not).
    // The last: five blue units wear the last 10 health away, and the capture takes the build.
    const int cases[7][9] = {{ORDER_TRAINER, 7, 0, 5000, 0, 40000, TILE_TRAINER, 1, 8192},
                             {ORDER_TRAINER, 8, 0, 5000, 0, 20000, TILE_TRAINER, 1, 8192},
                             {ORDER_TRAINER, 40, 40, 5000, 0, 4000, TILE_TRAINER, 1, 5000},
                             {ORDER_HIVE, 0, 0, 5000, 0, 160000, TILE_HIVE, 1, 5000},
                             {ORDER_THORNS, 0, 0, 5000, 0, 20000, TILE_THORNS, 1, 5000},
                             {ORDER_THORNS, 0, 0, 5000, 1, 20000, TILE_THORNS, 1, 5000},
                             {ORDER_TRAINER, 0, 5, 10, 0, 1, TILE_FLOOR, 0, 4096}};
    // Every build is made where its picture cannot be loaded: "/" has no Data/.
    BITMAP* pictures[3] = {g_pBmpTrainer, g_pBmpHive, g_pBmpThorns};
    g_pBmpTrainer = g_pBmpHive = g_pBmpThorns = nullptr;
    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir("/"));
    // Pixels of red's colour (seed 1's) in the bar's bottom row: one as the build starts, x - 15
    // to x half done, all 31 one tick short.
    BITMAP* bmp = create_bitmap(64, 64);
    auto bar = [bmp](zolCommand* build)
    {
        clear_bitmap(bmp);
        zolSeedRand(1);
        build->Draw(bmp, 32, 32);
        int n = 0;
        for (int x = 0; x < 64; x++)
            n += getpixel(bmp, x, 46) == makecol(255, 127, 0);
        return n;
    };
    for (auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "order " << c[0] << ", " << c[1] << " own units");
        zolTile tile;
        tile.SetType(g_pvTileTypes[c[4] ? TILE_ROCK : TILE_FLOOR]);
        tile.SetLit(!c[4]);
        tile.SetHealth(c[3]);
        std::vector<zolUnit> units(c[1] + c[2]); // blue unless set red
        for (int i = 0; i < c[1]; i++)
            units[i].SetSide(true);
        for (zolUnit& unit : units)
            tile.AddUnit(&unit);
        zolCommand* build = MakeCommand(c[0], true);
        tile.SetCommand(true, build);
        int ticks = 0;
        std::vector<int> seen;
        for (; tile.GetCommand(true) == build && ticks < 200000; ticks++)
        {
            if (ticks == 0 || ticks == c[5] / 2 || ticks == c[5] - 1)
                seen.push_back(bar(build));
            tile.Update();
        }
        EXPECT_EQ(c[5], ticks);
        EXPECT_EQ(g_pvTileTypes[c[6]], tile.GetType());
        EXPECT_EQ(c[7] == 1, tile.IsLit());
        EXPECT_EQ(c[8], tile.GetHealth());
        EXPECT_EQ(c[5] > 1 ? std::vector<int>({1, 16, 31}) : std::vector<int>({1}), seen);
    }
    EXPECT_EQ(0, chdir(cwd));
    EXPECT_EQ(nullptr, g_pBmpTrainer);
    EXPECT_EQ(nullptr, g_pBmpHive);
    EXPECT_EQ(nullptr, g_pBmpThorns);
    g_pBmpTrainer = pictures[0], g_pBmpHive = pictures[1], g_pBmpThorns = pictures[2];
    destroy_bitmap(bmp);
}
