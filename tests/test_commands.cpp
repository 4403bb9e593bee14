#include <string>

#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
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
        case 4: { auto c = new zolCmdClear(); c->SetClearType(g_pvTileTypes[1]); cmd = c; break; }
        case 5: { auto c = new zolCmdTrainer(); c->SetTrainerType(g_pvTileTypes[3]); cmd = c; break; }
        case 6: { auto c = new zolCmdHive(); c->SetHiveType(g_pvTileTypes[2]); cmd = c; break; }
        default: { auto c = new zolCmdThorns(); c->SetThornsType(g_pvTileTypes[4]); cmd = c; break; }
        }
        cmd->SetSide(side);
        return cmd;
    }

    zolUnit* Put(zolMap* map, zolTile* tile, bool side, float vx = 0, float vy = 0)
    {
        zolUnit* unit = new zolUnit();
        unit->SetSide(side);
        unit->SetVel(vx, vy);
        tile->AddUnit(unit);
        map->AddUnit(unit);
        return unit;
    }

    // Places a red build and runs its tile until the build is gone.
    int TicksToFinish(zolTile* tile, zolCommand* build)
    {
        tile->SetCommand(true, build);
        int ticks = 0;
        for (; tile->GetCommand(true) == build && ticks < 200000; ticks++)
            tile->Update();
        return ticks;
    }
}

TEST(CommandDraw, OneDrawForTheSidesFlickeringColourAndEachFigureItsShape)
{
    // Tip, shaft end (middle and corners) and shoulders of each arrow, the cross's centre and ends,
    // the builds' bar start; then the count: 13 + 2 * 18 shaft, 2 * 3 shoulders, 17 head; 2 * 25 - 1.
    const int lit[8][6][2] = {{{0, -12}, {0, 12}, {-6, 12}, {6, 12}, {-9, -6}, {9, -6}},
                              {{12, 0}, {-12, 0}, {-12, -6}, {-12, 6}, {6, -9}, {6, 9}},
                              {{0, 12}, {0, -12}, {-6, -12}, {6, -12}, {-9, 6}, {9, 6}},
                              {{-12, 0}, {12, 0}, {12, -6}, {12, 6}, {-6, -9}, {-6, 9}},
                              {{0, 0}, {-12, -12}, {12, 12}, {12, -12}, {-12, 12}, {0, 0}},
                              {{-15, 13}}, {{-15, 13}}, {{-15, 13}}};
    BITMAP* bmp = create_bitmap(64, 64);
    for (int kind = 0; kind < 16; kind++)
    {
        bool red = kind < 8;
        zolCommand* cmd = Make(kind % 8, red);
        for (unsigned seed = 0; seed < 64; seed++)
        {
            zolSeedRand(seed);
            int v = (zolRand() >> 7) & 63, next = zolRand();
            clear_bitmap(bmp);
            zolSeedRand(seed);
            cmd->Draw(bmp, 32, 32);
            EXPECT_EQ(next, zolRand());
            int c = getpixel(bmp, 32 + lit[kind % 8][0][0], 32 + lit[kind % 8][0][1]);
            EXPECT_EQ(red ? makecol(255, (v + 255) / 2, v) : makecol(v, (v + 255) / 2, 255), c);
            EXPECT_TRUE(getg32(c) >= 127 && getg32(c) <= 159 && (red ? getr32(c) : getb32(c)) == 255);
        }
        delete cmd;
        if (kind % 8 >= 5)
            continue;
        for (auto& p : lit[kind % 8])
            EXPECT_NE(0, getpixel(bmp, 32 + p[0], 32 + p[1])) << kind << ": " << p[0] << "," << p[1];
        int count = 0;
        for (int i = 0; i < 64 * 64; i++)
            count += getpixel(bmp, i % 64, i / 64) != 0;
        EXPECT_EQ(kind % 8 < 4 ? 72 : 49, count) << kind;
    }
    destroy_bitmap(bmp);
}

TEST(DirectionCommand, RedAndBlueArrowsOnOneTilePushOnlyTheirOwnUnits)
{
    const float push[4][2] = {{0, -0.01f}, {0.01f, 0}, {0, 0.01f}, {-0.01f, 0}};
    for (int dir = 0; dir < 4; dir++)
    {
        // Only a solid tile takes both sides' commands; its health keeps it from changing hands.
        zolMap* map = MakeFloorMap(1, 1, 0, 5000);
        zolTile* tile = map->GetTile(0, 0);
        tile->SetType(g_pvTileTypes[0]);
        int blueDir = (dir + 1) % 4;
        tile->SetCommand(true, Make(dir, true));
        tile->SetCommand(false, Make(blueDir, false));
        zolUnit* red = Put(map, tile, true, 0.3f, -0.2f);
        zolUnit* blue = Put(map, tile, false, 0.3f, -0.2f);
        tile->Update();
        EXPECT_EQ(0.3f + push[dir][0], red->GetVelX()) << dir;
        EXPECT_EQ(-0.2f + push[dir][1], red->GetVelY()) << dir;
        EXPECT_EQ(0.3f + push[blueDir][0], blue->GetVelX()) << dir;
        EXPECT_EQ(-0.2f + push[blueDir][1], blue->GetVelY()) << dir;
        delete map;
    }
}

TEST(ClearCommand, HundredthOwnBounceDigsOutTheRockWhicheverOfTwoClearsFinishes)
{
    for (bool red : {true, false})
    {
        // A blue rock east of red floor, holding both sides' Clears.
        zolMap* map = MakeFloorMap(2, 1, 1);
        zolTile* rock = map->GetTile(1, 0);
        rock->SetType(g_pvTileTypes[0]);
        rock->SetHealth(777);
        zolCmdClear* clear[2];
        for (bool side : {false, true})
            rock->SetCommand(side, clear[side] = static_cast<zolCmdClear*>(Make(4, side)));
        for (int i = 0; i < 99; i++)
            clear[red]->Collision(red);
        clear[red]->Collision(!red);
        EXPECT_EQ(1, clear[red]->GetHitsLeft());
        EXPECT_TRUE(rock->IsSolid());

        zolUnit* unit = Put(map, map->GetTile(0, 0), red, 0.5f);
        unit->SetPos(0.998f, 0);
        zolSeedRand(1000);                          // first draw 3304: no wander kick
        unit->Move();
        EXPECT_EQ(1.0f, unit->GetX());
        EXPECT_EQ(g_pvTileTypes[1], rock->GetType());
        EXPECT_EQ(std::make_pair(red, 0), std::make_pair(rock->IsLit(), rock->GetHealth()));
        EXPECT_EQ(nullptr, rock->GetCommand(red));
        // Red's finish takes the tile from blue and with it blue's Clear; blue's leaves red's waiting.
        EXPECT_EQ(red ? nullptr : clear[1], rock->GetCommand(!red));
        EXPECT_EQ(100, red ? 100 : clear[1]->GetHitsLeft());
        delete map;
    }
}

TEST(BuildCommand, FinishesAfterItsWorkCountingOnlyOwnUnitsAndDiesWithItsTile)
{
    // kind, own units, enemy units, ticks, tile health after (own units heal, the build does not),
    // built on a blue rock (which the build takes over)
    const int cases[7][6] = {{5, 0, 0, 40000, 5000, 0},  {5, 7, 0, 40000, 8192, 0}, {5, 8, 0, 20000, 8192, 0},
                             {5, 40, 40, 4000, 5000, 0}, {6, 0, 0, 160000, 5000, 0},
                             {7, 0, 0, 20000, 5000, 0},  {7, 0, 0, 20000, 5000, 1}};
    const int target[3] = {3, 2, 4};
    for (auto& c : cases)
    {
        zolMap* map = MakeFloorMap(1, 1, 1 - c[5], 5000);
        zolTile* tile = map->GetTile(0, 0);
        tile->SetType(g_pvTileTypes[c[5] ? 0 : 1]);
        for (int i = 0; i < c[1] + c[2]; i++)
            Put(map, tile, i < c[1]);
        EXPECT_EQ(c[3], TicksToFinish(tile, Make(c[0], true))) << c[0] << " " << c[1];
        EXPECT_EQ(g_pvTileTypes[target[c[0] - 5]], tile->GetType());
        EXPECT_EQ(std::make_pair(true, c[4]), std::make_pair(tile->IsLit(), tile->GetHealth()));
        delete map;
    }
    // Five blue units wear the last 10 health away: the capture takes the build with it.
    zolMap* map = MakeFloorMap(1, 1, 1, 10);
    zolTile* tile = map->GetTile(0, 0);
    tile->SetCommand(true, Make(5, true));
    for (int i = 0; i < 5; i++)
        Put(map, tile, false);
    tile->Update();
    EXPECT_FALSE(tile->IsLit());
    EXPECT_EQ(nullptr, tile->GetCommand(true));
    delete map;
}

TEST(BuildCommand, DrawsItsPictureAndProgressBarEvenWithoutThePicture)
{
    zolMap* map = MakeFloorMap(1, 1, 1);
    zolTile* tile = map->GetTile(0, 0);
    zolCommand* build = Make(5, true);
    BITMAP* picture = g_pBmpTrainer;
    ASSERT_NE(nullptr, picture);
    delete Make(5, true);
    EXPECT_EQ(picture, g_pBmpTrainer);              // loaded once, kept
    tile->SetCommand(true, build);
    BITMAP* bmp = create_bitmap(64, 64);
    const int background = makecol(1, 2, 3);
    // The bar's bottom row, x - 15 .. x + 15: 'c' the command colour, 'k' black, '.' untouched.
    auto bar = [&](int ticks) {
        for (int i = 0; i < ticks; i++)
            tile->Update();
        clear_to_color(bmp, background);
        zolSeedRand(9);
        int v = (zolRand() >> 7) & 63;
        zolSeedRand(9);
        build->Draw(bmp, 32, 32);
        std::string row;
        for (int x = 17; x <= 47; x++)
        {
            int p = getpixel(bmp, x, 46);
            row += p == makecol(255, (v + 255) / 2, v) ? 'c' : p == 0 ? 'k' : p == background ? '.' : '?';
        }
        return row;
    };
    EXPECT_EQ("c" + std::string(29, 'k') + ".", bar(0));
    const int w = picture->w, h = picture->h;       // the picture centred on (32, 32), mask left out
    for (int i = 0; i < w * h; i++)
    {
        int p = getpixel(picture, i % w, i / w);
        EXPECT_EQ(p == bitmap_mask_color(picture) ? background : p,
                  getpixel(bmp, 32 - w / 2 + i % w, 32 - h / 2 + i / w));
    }
    EXPECT_EQ(std::string(16, 'c') + std::string(14, 'k') + ".", bar(20000));
    EXPECT_EQ(std::string(31, 'c'), bar(19999));

    // Without its picture a build still draws its bar and works; the next one loads it again.
    g_pBmpTrainer = nullptr;
    char empty[] = "/tmp/glowfront-XXXXXX", cwd[4096];
    ASSERT_TRUE(mkdtemp(empty) && getcwd(cwd, sizeof cwd) && chdir(empty) == 0);
    build = Make(5, true);
    ASSERT_EQ(0, chdir(cwd));
    rmdir(empty);
    EXPECT_EQ(nullptr, g_pBmpTrainer);
    tile->SetCommand(true, build);
    EXPECT_EQ("c" + std::string(29, 'k') + ".", bar(0));
    EXPECT_EQ(background, getpixel(bmp, 32, 32));
    EXPECT_EQ(40000, TicksToFinish(tile, build));
    delete Make(5, true);
    EXPECT_NE(nullptr, g_pBmpTrainer);
    destroy_bitmap(g_pBmpTrainer);
    g_pBmpTrainer = picture;
    destroy_bitmap(bmp);
    delete map;
}
