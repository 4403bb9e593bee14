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

enum
{
    LEFT,
    RIGHT,
    UP,
    DOWN,
    NORTH,
    EAST,
    SOUTH,
    WEST,
    CLEAR,
    THORNS,
    TRAINER,
    HIVE,
    REMOVE
};
struct Player
{
    bool side;
    void (*tick)(int*, zolMap*, int, int);
    int keys[13];
};
// Scancodes by action: red A D W S, Y J H G T B N M U; blue the arrows, keypad 8 6 5 4 7 1 2 3 9.
static const Player RED = {true, DoPlayer1, {1, 4, 23, 19, 25, 10, 8, 7, 20, 2, 14, 13, 21}};
static const Player BLUE = {false, DoPlayer2, {82, 83, 84, 85, 45, 43, 42, 41, 44, 38, 39, 40, 46}};

// Sets the side's keys of the given actions (bit 1 << action), clears its others and runs one
// tick; returns the actions whose keys are still set afterwards.
static int Tick(const Player& p, int* cursor, zolMap* map, int pressed)
{
    for (int a = LEFT; a <= REMOVE; a++)
        key[p.keys[a]] = pressed >> a & 1;
    p.tick(cursor, map, map->GetWidth(), map->GetHeight());
    int held = 0;
    for (int a = LEFT; a <= REMOVE; a++)
        held |= !!key[p.keys[a]] << a;
    return held;
}

static const std::type_info& Cmd(zolMap* map, int x, bool side)
{
    zolCommand* cmd = map->GetTile(x, 0)->GetCommand(side);
    return cmd ? typeid(*cmd) : typeid(void);
}

TEST(HumanSide, EachPlaceKeyWorksOnlyWhereAllowedAndItsCommandLeavesItsKindOfTile)
{
    const std::type_info* placed[8] = {
        &typeid(zolCmdNorth), &typeid(zolCmdEast),   &typeid(zolCmdSouth),   &typeid(zolCmdWest),
        &typeid(zolCmdClear), &typeid(zolCmdThorns), &typeid(zolCmdTrainer), &typeid(zolCmdHive)};
    const int leaves[8] = {1, 1, 1, 1, 1, 4, 3, 2}; // tile type once carried through
    for (const Player& p : {RED, BLUE})
        for (int a = NORTH; a <= HIVE; a++)
        {
            // Own floor at health 16 and 17, then rock. (The other side's floor refuses any
            // command of its own accord.)
            zolMap* map = MakeFloorMap(3, 1, p.side ? 3 : 0, 17);
            map->GetTile(0, 0)->SetHealth(16);
            map->SetTile(2, 0, g_pvTileTypes[0]);
            zolTile* tile = map->GetTile(a == CLEAR ? 2 : 1, 0);
            for (int x = 0; x < 3; x++)
            {
                int cursor[2] = {x, 0};
                EXPECT_EQ(0, Tick(p, cursor, map, 1 << a)); // spent even where refused
                EXPECT_EQ(map->GetTile(x, 0) == tile ? *placed[a - NORTH] : typeid(void),
                          Cmd(map, x, p.side))
                    << a << x;
            }
            for (int i = 0; i < 200000 && a >= CLEAR && tile->GetCommand(p.side); i++)
                a == CLEAR ? tile->GetCommand(p.side)->Collision(p.side) : tile->Update();
            EXPECT_TRUE(tile->GetType() == g_pvTileTypes[leaves[a - NORTH]] &&
                        tile->IsLit() == p.side)
                << a;
            delete map;
        }
}

// On a 5 x 2 map: red floor at x 0-2, blue floor at 3 and rock at 4 in row 0. Each tick starts
// the cursor at (x, y) and presses keys; the cursor ends at (ex, ey) with the keys held still set.
TEST(HumanSide, MovesStopAtEveryEdgeAndActionsFollowTheMoveInOrderRemovingOnlyTheSidesOwn)
{
    zolMap* map = MakeFloorMap(5, 2, 3, 17);
    map->SetTile(4, 0, g_pvTileTypes[0]);
    const int L = 1 << LEFT, R = 1 << RIGHT, U = 1 << UP, D = 1 << DOWN, N = 1 << NORTH,
              X = 1 << REMOVE;
    const int ticks[][7] = {
        // red, x, y, keys, ex, ey, held
        // Each edge blocks its key and leaves it set; a step is one tile.
        {1, 0, 0, L | U, 0, 0, L | U},
        {1, 4, 1, R | D, 4, 1, R | D},
        {1, 0, 0, R | D, 1, 1, 0},
        {1, 1, 1, L | U, 0, 0, 0},
        {0, 0, 0, L | U, 0, 0, L | U},
        {0, 4, 1, R | D, 4, 1, R | D},
        {0, 0, 0, R | D, 1, 1, 0},
        {0, 1, 1, L | U, 0, 0, 0},
        // Left and right cancel; East then West leaves West.
        {1, 1, 0, L | R, 1, 0, 0},
        {0, 1, 0, L | R, 1, 0, 0},
        {1, 0, 0, 1 << EAST | 1 << WEST, 0, 0, 0},
        // The cursor moves before North, and Remove comes after it. Both Clear the rock; red
        // Removes on the rock and on blue floor, blue on red floor.
        {1, 0, 0, R | N, 1, 0, 0},
        {1, 2, 0, N | X, 2, 0, 0},
        {1, 4, 0, 1 << CLEAR, 4, 0, 0},
        {0, 4, 0, 1 << CLEAR, 4, 0, 0},
        {0, 3, 0, N, 3, 0, 0},
        {1, 4, 0, X, 4, 0, 0},
        {1, 3, 0, X, 3, 0, 0},
        {0, 1, 0, X, 1, 0, 0}};
    for (auto [red, x, y, keys, ex, ey, held] : ticks)
    {
        int cursor[2] = {x, y}, left = Tick(red ? RED : BLUE, cursor, map, keys);
        EXPECT_TRUE(cursor[0] == ex && cursor[1] == ey && left == held)
            << red << " at " << x << "," << y << ": " << keys;
    }
    EXPECT_TRUE(Cmd(map, 0, true) == typeid(zolCmdWest) &&
                Cmd(map, 1, true) == typeid(zolCmdNorth));
    EXPECT_TRUE(Cmd(map, 2, true) == typeid(void) && Cmd(map, 3, false) == typeid(zolCmdNorth));
    EXPECT_TRUE(Cmd(map, 4, true) == typeid(void) && Cmd(map, 4, false) == typeid(zolCmdClear));
    delete map;
}
