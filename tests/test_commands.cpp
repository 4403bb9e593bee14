#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <allegro.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Main.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    // 0..3 the arrows north to west, 4 a Clear, 5..7 the trainer, hive and thorns builds.
    zolCommand* Make(int kind, bool side)
    {
        zolCommand* cmd = nullptr;
        switch (kind)
        {
        case 0: cmd = new zolCmdNorth(); break;
        case 1: cmd = new zolCmdEast(); break;
        case 2: cmd = new zolCmdSouth(); break;
        case 3: cmd = new zolCmdWest(); break;
        case 4:
        {
            auto c = new zolCmdClear();
            c->SetClearType(g_pvTileTypes[1]);
            cmd = c;
            break;
        }
        case 5:
        {
            auto c = new zolCmdTrainer();
            c->SetTrainerType(g_pvTileTypes[3]);
            cmd = c;
            break;
        }
        case 6:
        {
            auto c = new zolCmdHive();
            c->SetHiveType(g_pvTileTypes[2]);
            cmd = c;
            break;
        }
        default:
        {
            auto c = new zolCmdThorns();
            c->SetThornsType(g_pvTileTypes[4]);
            cmd = c;
            break;
        }
        }
        cmd->SetSide(side);
        return cmd;
    }
}

TEST(CommandDraw, OneDrawForTheSidesFlickeringColourAndEachFigureItsShape)
{
    // Lit pixels: an arrow's tip, a shaft end's corner and a shoulder; the cross's centre and two
    // ends; the start of a build's bar.
    const int lit[6][3][2] = {{{0, -12}, {-6, 12}, {9, -6}},   {{12, 0}, {-12, 6}, {6, -9}},
                              {{0, 12}, {6, -12}, {-9, 6}},    {{-12, 0}, {12, -6}, {-6, 9}},
                              {{0, 0}, {-12, -12}, {12, -12}}, {{-15, 12}, {-15, 13}, {-15, 14}}};
    // Seeds whose first draw is 41 and 16128 (bits 7 and up 0 and 126, of which the colour takes
    // the low six), their second draws, and blue's and red's colours for each.
    const int seed[2][2] = {{1, 18467}, {4927, 12029}};
    const int colour[2][2] = {{makecol(0, 127, 255), makecol(62, 158, 255)},
                              {makecol(255, 127, 0), makecol(255, 158, 62)}};
    BITMAP* bmp = create_bitmap(64, 64);
    for (int kind = 0; kind < 16; kind++)
    {
        int k = kind % 8;
        zolCommand* cmd = Make(k, kind < 8);
        for (int s = 0; s < 2; s++)
        {
            clear_bitmap(bmp);
            zolSeedRand(seed[s][0]);
            cmd->Draw(bmp, 32, 32);
            EXPECT_EQ(seed[s][1], zolRand()) << kind;
            for (auto& p : lit[std::min(k, 5)])
                EXPECT_EQ(colour[kind < 8][s], getpixel(bmp, 32 + p[0], 32 + p[1]))
                    << kind << ": " << p[0] << "," << p[1];
        }
        delete cmd;
        int count = 0; // an arrow has 72 pixels, the cross 49
        for (int i = 0; i < 64 * 64 && k < 5; i++)
            count += getpixel(bmp, i % 64, i / 64) != 0;
        EXPECT_EQ(k < 4 ? 72 : k < 5 ? 49 : 0, count) << kind;
    }
    destroy_bitmap(bmp);
}

TEST(DirectionCommand, RedAndBlueArrowsOnOneTilePushOnlyTheirOwnUnits)
{
    const float push[5][2] = {{0, -0.01f}, {0.01f, 0}, {0, 0.01f}, {-0.01f, 0}, {0, -0.01f}};
    for (int dir = 0; dir < 4; dir++)
    {
        zolTile tile; // rock takes both sides' commands
        tile.SetType(g_pvTileTypes[0]);
        tile.SetHealth(5000); // and stays blue's
        zolUnit unit[2];      // blue's arrow turned a quarter clockwise from red's
        for (int side = 0; side < 2; side++)
        {
            tile.SetCommand(side, Make((dir + !side) % 4, side));
            unit[side].SetSide(side);
            unit[side].SetVel(0.3f, -0.2f);
            tile.AddUnit(&unit[side]);
        }
        tile.Update();
        for (int side = 0; side < 2; side++)
            EXPECT_EQ(std::make_pair(0.3f + push[dir + !side][0], -0.2f + push[dir + !side][1]),
                      std::make_pair(unit[side].GetVelX(), unit[side].GetVelY()))
                << dir << side;
    }
}

TEST(ClearCommand, HundredthOwnBounceDigsOutTheRockWhicheverOfTwoClearsFinishes)
{
    for (bool red : {true, false})
    {
        zolTile rock; // blue, holding both sides' Clears
        rock.SetType(g_pvTileTypes[0]);
        rock.SetHealth(777);
        zolCmdClear* clear[2] = {(zolCmdClear*)Make(4, false), (zolCmdClear*)Make(4, true)};
        rock.SetCommand(false, clear[0]);
        rock.SetCommand(true, clear[1]);
        clear[red]->Collision(!red); // the other side's bounce does not count
        for (int i = 0; i < 99 && rock.IsSolid(); i++)
            clear[red]->Collision(red);
        ASSERT_TRUE(rock.IsSolid() && clear[red]->GetHitsLeft() == 1);
        clear[red]->Collision(red);
        // Red's finish takes the tile from blue and with it blue's Clear; blue's leaves red's waiting.
        EXPECT_EQ(std::make_tuple(g_pvTileTypes[1], red, 0, nullptr, red ? nullptr : clear[1], 100),
                  std::make_tuple(rock.GetType(), rock.IsLit(), rock.GetHealth(),
                                  rock.GetCommand(red), rock.GetCommand(!red),
                                  red ? 100 : clear[1]->GetHitsLeft()));
    }
}

TEST(BuildCommand, FinishesAfterItsWorkCountingOnlyOwnUnitsAndDrawsItsBarEvenWithoutItsPicture)
{
    // Kind, own and enemy units, tile health, on a blue rock or red floor; ticks until the build is
    // gone, then the tile's type, owner and health (own units heal it, the build does not). The
    // last: five blue units wear the last 10 health away, and the capture takes the build with it.
    const int cases[7][9] = {
        {5, 7, 0, 5000, 0, 40000, 3, 1, 8192},  {5, 8, 0, 5000, 0, 20000, 3, 1, 8192},
        {5, 40, 40, 5000, 0, 4000, 3, 1, 5000}, {6, 0, 0, 5000, 0, 160000, 2, 1, 5000},
        {7, 0, 0, 5000, 0, 20000, 4, 1, 5000},  {7, 0, 0, 5000, 1, 20000, 4, 1, 5000},
        {5, 0, 5, 10, 0, 1, 1, 0, 4096}};
    // Every build is made where its picture cannot be loaded: "/" has no Data/.
    BITMAP* pictures[3] = {g_pBmpTrainer, g_pBmpHive, g_pBmpThorns};
    g_pBmpTrainer = g_pBmpHive = g_pBmpThorns = nullptr;
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd) && chdir("/") == 0);
    // The bar's bottom row, x - 15 .. x + 15: 'c' red's colour (seed 1's), 'k' black, '.' untouched;
    // as the build starts, half done and one tick short.
    const std::string bars = "ckkkkkkkkkkkkkkkkkkkkkkkkkkkkk. cccccccccccccccckkkkkkkkkkkkkk. "
                             "ccccccccccccccccccccccccccccccc ";
    BITMAP* bmp = create_bitmap(64, 64);
    auto bar = [bmp](zolCommand* build)
    {
        clear_to_color(bmp, makecol(1, 2, 3));
        zolSeedRand(1);
        build->Draw(bmp, 32, 32);
        std::string row;
        for (int x = 17, p; x <= 47; x++)
            row += (p = getpixel(bmp, x, 46)) == makecol(255, 127, 0) ? 'c' : p ? '.' : 'k';
        return row + " ";
    };
    for (auto& c : cases)
    {
        zolTile tile;
        tile.SetType(g_pvTileTypes[c[4] ? 0 : 1]);
        tile.SetLit(!c[4]);
        tile.SetHealth(c[3]);
        std::vector<zolUnit> units(c[1] + c[2]); // blue unless set red
        for (int i = 0; i < c[1]; i++)
            units[i].SetSide(true);
        for (zolUnit& unit : units)
            tile.AddUnit(&unit);
        zolCommand* build = Make(c[0], true);
        tile.SetCommand(true, build);
        int ticks = 0;
        std::string seen;
        for (; tile.GetCommand(true) == build && ticks < 200000; ticks++)
        {
            if (ticks == 0 || ticks == c[5] / 2 || ticks == c[5] - 1)
                seen += bar(build);
            tile.Update();
        }
        EXPECT_EQ(std::make_tuple(c[5], g_pvTileTypes[c[6]], (bool)c[7], c[8],
                                  bars.substr(0, c[5] > 1 ? 96 : 32)),
                  std::make_tuple(ticks, tile.GetType(), tile.IsLit(), tile.GetHealth(), seen))
            << c[0] << ' ' << c[1];
    }
    EXPECT_TRUE(chdir(cwd) == 0 && !g_pBmpTrainer && !g_pBmpHive && !g_pBmpThorns);
    g_pBmpTrainer = pictures[0], g_pBmpHive = pictures[1], g_pBmpThorns = pictures[2];
    destroy_bitmap(bmp);
}
