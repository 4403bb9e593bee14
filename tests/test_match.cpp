#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "Main.h"
#include "Scenarios.h"
#include "TestSupport.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolCmdClear.h"
#include "zolCmdHive.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

TEST(Match, ClearsAndArrowsDigATunnelAndAPressedBuildMakesAHive)
{
    zolSeedRand(3);
    zolMap* map = NewMatchMap(20, 14);
    for (int x = 4; x <= 7; x++)
        map->GetTile(x, 2)->SetCommand(true, MakeCommand(4, true));
    // Every base tile pushes toward (3, 2), which pushes east into the rock.
    const int arrows[3][3] = {{6, 7, 7}, {6, 6, 6}, {6, 5, 5}};
    for (int i = 0; i < 9; i++)
        map->GetTile(1 + i % 3, 1 + i / 3)->SetCommand(true, MakeCommand(arrows[i / 3][i % 3], true));
    int opened = 4;
    for (int tick = 1; tick <= 8000 && opened <= 7; tick++)
    {
        map->Update();
        zolTile* face = map->GetTile(opened, 2);
        if (!face->IsSolid())
        {
            EXPECT_TRUE(face->IsLit() && face->GetType() == g_pvTileTypes[1] && face->GetHealth() == 0);
            if (opened < 7)
                face->SetCommand(true, MakeCommand(6, true));
            opened++;
        }
    }
    ASSERT_EQ(8, opened);

    // The units crowd at the end of the tunnel and build there the hive that M asks for.
    int cursor[2] = {7, 2};
    memset((void*)key, 0, KEY_MAX);
    for (int i = 0; i < 100 && map->GetTile(7, 2)->GetHealth() <= 16; i++)
        map->Update();
    key[KEY_M] = 1;
    DoPlayer1(cursor, map, 20, 14);
    ASSERT_NE(nullptr, map->GetTile(7, 2)->GetCommand(true));
    for (int tick = 0; tick < 20000 && map->GetTile(7, 2)->GetCommand(true); tick++)
        map->Update();
    EXPECT_TRUE(map->GetTile(7, 2)->GetType() == g_pvTileTypes[2] && map->GetTile(7, 2)->IsLit());
    EXPECT_EQ("", CheckMap(map));
    delete map;
}

// Red mashes keys; blue is the computer. The bases are joined by a corridor of blue floor.
TEST(Match, UnitsMeetAndFightWhileTheComputerDigsBuildsAndPointsArrows)
{
    const int savedCap = zu_dwMaxUnits;
    zu_dwMaxUnits = 100;        // keeps a long match quick
    zolSeedRand(5);
    ai_svJobs.clear();
    memset((void*)key, 0, KEY_MAX);
    zolMap* map = NewMatchMap(20, 14);
    for (int i = 0; i < 21; i++)
        map->SetTile(i < 14 ? 4 + i : 17, i < 14 ? 2 : i - 11, g_pvTileTypes[1]);
    std::vector<bool> rock(280);
    for (int i = 0; i < 280; i++)
        rock[i] = map->GetTile(i % 20, i / 20)->IsSolid();
    int red[2] = {0, 0}, blue[2] = {19, 13}, count[2] = {0, 0}, most[2] = {0, 0}, lit = 9;
    bool fell[2] = {false, false}, fought = false, captured[2] = {false, false};
    bool cleared = false, built = false, pointed = false;
    KeyScript keys(11, true);
    for (int tick = 1; tick <= 100000 && !HasFailure(); tick++)
    {
        keys.Press(8);
        DoPlayer1(red, map, 20, 14);
        DoAI(blue, map, 20, 14);
        map->Update();
        ASSERT_TRUE(blue[0] >= 0 && blue[0] < 20 && blue[1] >= 0 && blue[1] < 14);
        for (int side = 0; side < 2; side++)
        {
            fell[side] |= map->GetUnitCount(side) < count[side];
            count[side] = map->GetUnitCount(side);
            most[side] = std::max(most[side], count[side]);
        }
        if (tick % 100)
            continue;
        EXPECT_EQ("", CheckMap(map)) << "tick " << tick;
        int nowLit = 0;
        for (int i = 0; i < 280; i++)
        {
            zolTile* tile = map->GetTile(i % 20, i / 20);
            nowLit += tile->IsLit();
            fought |= tile->GetDamage(true) && tile->GetDamage(false);
            if (zolCommand* cmd = tile->GetCommand(false))
            {
                bool clear = typeid(*cmd) == typeid(zolCmdClear);
                bool build = typeid(*cmd) == typeid(zolCmdTrainer) || typeid(*cmd) == typeid(zolCmdHive);
                cleared |= clear, built |= build, pointed |= !clear && !build;    // it makes no thorns
            }
        }
        captured[1] |= nowLit > lit, captured[0] |= nowLit < lit;
        lit = nowLit;
    }
    int dug = 0, blueBuilt = 0;
    for (int i = 0; i < 280; i++)
    {
        zolTile* tile = map->GetTile(i % 20, i / 20);
        dug += rock[i] && !tile->IsSolid() && !tile->IsLit();
        blueBuilt += !tile->IsLit() && (tile->GetType() == g_pvTileTypes[2] || tile->GetType() == g_pvTileTypes[3]);
    }
    EXPECT_TRUE(most[0] == 100 && most[1] == 100 && fell[0] && fell[1]) << "hives fill up to the cap, fights kill";
    EXPECT_TRUE(fought && captured[0] && captured[1]);
    EXPECT_TRUE(cleared && built && pointed);
    EXPECT_GT(dug, 30);
    EXPECT_GT(blueBuilt, 10);
    delete map;
    ai_svJobs.clear();
    zu_dwMaxUnits = savedCap;
}
