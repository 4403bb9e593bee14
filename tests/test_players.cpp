#include <gtest/gtest.h>

#include <typeinfo>

#include "Main.h"
#include "TestSupport.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
#include "zolTile.h"

namespace
{
    enum { LEFT, RIGHT, UP, DOWN, NORTH, EAST, SOUTH, WEST, CLEAR, THORNS, TRAINER, HIVE, REMOVE };
    struct Player { bool side; void (*tick)(int*, zolMap*, int, int); int keys[13]; };
    const Player RED = {true, DoPlayer1, {1, 4, 23, 19, 25, 10, 8, 7, 20, 2, 14, 13, 21}};        // A D W S, Y J H G T B N M U
    const Player BLUE = {false, DoPlayer2, {82, 83, 84, 85, 45, 43, 42, 41, 44, 38, 39, 40, 46}};  // arrows, pad 8 6 5 4 7 1 2 3 9

    // Releases every key, presses the given ones and runs one tick.
    void Tick(const Player& p, int* cursor, zolMap* map, std::initializer_list<int> actions)
    {
        for (int i = 0; i < KEY_MAX; i++)
            key[i] = 0;
        for (int a : actions)
            key[p.keys[a]] = 1;
        p.tick(cursor, map, map->GetWidth(), map->GetHeight());
    }

    const std::type_info& Cmd(zolMap* map, int x, int y, bool side)
    {
        zolCommand* cmd = map->GetTile(x, y)->GetCommand(side);
        return cmd ? typeid(*cmd) : typeid(void);
    }
}

TEST(HumanSide, EachPlaceKeyWorksOnlyWhereAllowedAndItsCommandLeavesItsKindOfTile)
{
    const std::type_info* placed[8] = {&typeid(zolCmdNorth), &typeid(zolCmdEast), &typeid(zolCmdSouth),
        &typeid(zolCmdWest), &typeid(zolCmdClear), &typeid(zolCmdThorns), &typeid(zolCmdTrainer), &typeid(zolCmdHive)};
    const int leaves[8] = {-1, -1, -1, -1, 1, 4, 3, 2};     // tile type once carried through
    for (const Player& p : {RED, BLUE})
    {
        // Own floor at health 16 and 17, the other side's floor at 17, the other side's rock at 0.
        zolMap* map = MakeFloorMap(4, 1, 0, 17);
        for (int x = 0; x < 3; x++)
            map->SetTileLit(x, 0, (x < 2) == p.side);
        map->GetTile(0, 0)->SetHealth(16);
        for (int a = NORTH; a <= HIVE; a++)
        {
            map->SetTile(3, 0, g_pvTileTypes[0]);
            map->SetTileLit(3, 0, !p.side);
            map->GetTile(3, 0)->SetHealth(0);
            int at = a == CLEAR ? 3 : 1;
            for (int x = 0; x < 4; x++)
            {
                int cursor[2] = {x, 0};
                Tick(p, cursor, map, {a});
                EXPECT_EQ(0, key[p.keys[a]]);
                EXPECT_EQ(x == at ? *placed[a - NORTH] : typeid(void), Cmd(map, x, 0, p.side)) << p.side << a << x;
            }
            zolTile* tile = map->GetTile(at, 0);
            for (int i = 0; a == CLEAR && i < 100; i++)
                tile->GetCommand(p.side)->Collision(p.side);
            for (int i = 0; a > CLEAR && i < 200000 && tile->GetCommand(p.side); i++)
                tile->Update();
            int left = leaves[a - NORTH];
            EXPECT_TRUE(left < 0 || (tile->GetType() == g_pvTileTypes[left] && tile->IsLit() == p.side)) << a;
            map->SetTile(1, 0, g_pvTileTypes[1]);
            map->GetTile(1, 0)->SetCommand(p.side, nullptr);
        }
        delete map;
    }
}

TEST(HumanSide, CursorStopsAtTheEdgesWithTheBlockedKeyStillHeld)
{
    for (const Player& p : {RED, BLUE})
    {
        zolMap* map = MakeFloorMap(3, 2, 0);
        auto seen = [&](const int* c) {
            return std::vector<int>{c[0], c[1], !!key[p.keys[LEFT]], !!key[p.keys[RIGHT]], !!key[p.keys[UP]], !!key[p.keys[DOWN]]};
        };
        int cursor[2] = {0, 0};
        Tick(p, cursor, map, {LEFT, UP});
        EXPECT_EQ(std::vector<int>({0, 0, 1, 0, 1, 0}), seen(cursor));
        key[p.keys[RIGHT]] = key[p.keys[DOWN]] = 1;     // tapped while left and up are held
        p.tick(cursor, map, 3, 2);
        EXPECT_EQ(std::vector<int>({1, 1, 1, 0, 1, 0}), seen(cursor));
        p.tick(cursor, map, 3, 2);
        EXPECT_EQ(std::vector<int>({0, 0, 0, 0, 0, 0}), seen(cursor));
        cursor[0] = 2, cursor[1] = 1;
        Tick(p, cursor, map, {RIGHT, DOWN});
        EXPECT_EQ(std::vector<int>({2, 1, 0, 1, 0, 1}), seen(cursor));
        cursor[0] = 1;
        Tick(p, cursor, map, {LEFT, RIGHT});
        EXPECT_EQ(std::vector<int>({1, 1, 0, 0, 0, 0}), seen(cursor));
        delete map;
    }
}

TEST(HumanSide, ActionsSeeTheOnesBeforeAndRemoveTakesOnlyTheSidesOwn)
{
    zolMap* map = MakeFloorMap(3, 1, 1, 17);    // red floor, blue floor, blue rock
    map->SetTile(2, 0, g_pvTileTypes[0]);
    int redFloor[2] = {0, 0}, blueFloor[2] = {1, 0}, rock[2] = {2, 0}, moving[2] = {1, 0};
    Tick(RED, redFloor, map, {EAST, WEST});
    EXPECT_EQ(typeid(zolCmdWest), Cmd(map, 0, 0, true));
    Tick(RED, redFloor, map, {HIVE});
    Tick(RED, moving, map, {LEFT, NORTH});      // the cursor moves first; the arrow replaces the build
    EXPECT_EQ(typeid(zolCmdNorth), Cmd(map, 0, 0, true));
    Tick(RED, rock, map, {CLEAR});
    Tick(BLUE, rock, map, {CLEAR});
    Tick(BLUE, blueFloor, map, {NORTH});
    Tick(RED, rock, map, {REMOVE});
    Tick(RED, blueFloor, map, {REMOVE});
    Tick(BLUE, redFloor, map, {REMOVE});
    EXPECT_EQ(typeid(void), Cmd(map, 2, 0, true));
    EXPECT_EQ(typeid(zolCmdClear), Cmd(map, 2, 0, false));
    EXPECT_EQ(typeid(zolCmdNorth), Cmd(map, 0, 0, true));
    EXPECT_EQ(typeid(zolCmdNorth), Cmd(map, 1, 0, false));
    Tick(RED, redFloor, map, {REMOVE});
    EXPECT_EQ(typeid(void), Cmd(map, 0, 0, true));
    delete map;
}
