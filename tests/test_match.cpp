#include <gtest/gtest.h>

#include <typeindex>

#include "Main.h"
#include "Orders.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolCmdClear.h"
#include "zolCmdHive.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

TEST(Match, ClearsAndArrowsDigATunnelWhoseEndTheUnitsBuildIntoAHive)
{
    zolSeedRand(3);
    zolMap* map = NewMatchMap(20, 14);
    for (int x = 4; x <= 7; x++)
        map->GetTile(x, 2)->SetCommand(true, MakeCommand(4, true));
    map->GetTile(3, 2)->SetCommand(true, MakeCommand(6, true)); // units wandering on it go east
    int face = 4;
    for (int tick = 0; tick < 8000 && face <= 7; tick++)
    {
        map->Update();
        if (!map->GetTile(face, 2)->IsSolid()) // open: an arrow there pushes on east
            map->GetTile(face++, 2)->SetCommand(true, MakeCommand(6, true));
    }
    // A hive takes 160000 ticks of work alone: the units crowding at the end build it in 20000.
    zolTile* end = map->GetTile(7, 2);
    end->SetCommand(true, MakeCommand(3, true));
    for (int tick = 0; tick < 20000 && end->GetCommand(true); tick++)
        map->Update();
    EXPECT_TRUE(end->GetType() == g_pvTileTypes[2] && end->IsLit())
        << "the tunnel reached x = " << face - 1;
    delete map;
}

// Red mashes keys; blue is the computer. The bases are joined by a corridor of blue floor.
TEST(Match, UnitsFightAndCaptureWhileTheComputerDigsBuildsAndPointsArrows)
{
    const int savedCap = zu_dwMaxUnits;
    zu_dwMaxUnits = 100; // keeps a long match quick
    zolSeedRand(5);
    zolMap* map = NewMatchMap(20, 14);
    for (int i = 0; i < 21; i++)
        map->SetTile(i < 14 ? 4 + i : 17, i < 14 ? 2 : i - 11, g_pvTileTypes[1]);
    std::vector<int> was(280, 5); // by tile at the last look: 0 blue floor, 1 red, 2 rock
    int red[2] = {0, 0}, blue[2] = {19, 13}, dug = 0, blueBuilt = 0, fought = 0,
        captured[2] = {0, 0};
    std::set<std::type_index> kinds; // of blue's commands
    KeyScript keys(11, true);
    for (int tick = 1; tick <= 100000 && !HasFailure(); tick++)
    {
        keys.Press(8);
        DoPlayer1(red, map, 20, 14);
        DoAI(blue, map, 20, 14);
        map->Update();
        if (tick % 100)
            continue; // a look every 100 ticks keeps the match quick
        EXPECT_EQ("", CheckMap(map)) << "tick " << tick;
        blueBuilt = 0;
        for (int i = 0; i < 280; i++)
        {
            zolTile* tile = map->GetTile(i % 20, i / 20);
            int now = tile->IsSolid() ? 2 : tile->IsLit();
            dug += was[i] == 2 && now == 0;
            captured[now % 2] |= was[i] == 1 - now; // open ground that changed sides
            was[i] = now;
            blueBuilt += now == 0 && (tile->GetType() == g_pvTileTypes[2] ||
                                      tile->GetType() == g_pvTileTypes[3]);
            fought |= tile->GetDamage(true) && tile->GetDamage(false);
            if (zolCommand* cmd = tile->GetCommand(false))
                kinds.insert(typeid(*cmd));
        }
    }
    // Clears, both builds and, as it never places thorns, arrows.
    EXPECT_EQ(3u, kinds.erase(typeid(zolCmdClear)) + kinds.erase(typeid(zolCmdTrainer)) +
                      kinds.erase(typeid(zolCmdHive)));
    EXPECT_FALSE(kinds.empty()) << "no arrows";
    EXPECT_TRUE(fought && captured[0] && captured[1] && dug > 30 && blueBuilt > 10)
        << dug << " dug, " << blueBuilt << " built";
    delete map;
    zu_dwMaxUnits = savedCap;
}
