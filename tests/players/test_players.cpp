#include <typeinfo>

#include "TestSupport.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"

namespace
{
    // Sets the side's keys (bit 1 << zolSideKey) in key[], clears its others and lets the side's
    // keyboard play one tick; returns the keys still set afterwards.
    unsigned Tick(bool red, int* cursor, zolMap* map, unsigned pressed)
    {
        const int* keys = red ? g_dwvRedKeys : g_dwvBlueKeys;
        for (int k = 0; k < SIDE_KEYS; k++)
            key[keys[k]] = pressed >> k & 1;
        zolKeyboardSide(red).Tick(cursor, map, map->GetWidth(), map->GetHeight());
        unsigned held = 0;
        for (int k = 0; k < SIDE_KEYS; k++)
            held |= (key[keys[k]] ? 1u : 0u) << k;
        return held;
    }

    const std::type_info& Cmd(zolMap* map, int x, bool side)
    {
        zolCommand* cmd = map->GetTile(x, 0)->GetCommand(side);
        return cmd ? typeid(*cmd) : typeid(void);
    }
}

TEST(HumanSide, EachPlaceKeyWorksOnlyWhereAllowedAndItsCommandLeavesItsKindOfTile)
{
    // By key from SK_NORTH: the command placed, and the tile's kind once it is carried through.
    const std::type_info* placed[8] = {
        &typeid(zolCmdNorth), &typeid(zolCmdEast),   &typeid(zolCmdSouth),   &typeid(zolCmdWest),
        &typeid(zolCmdClear), &typeid(zolCmdThorns), &typeid(zolCmdTrainer), &typeid(zolCmdHive)};
    const int leaves[8] = {TILE_FLOOR, TILE_FLOOR,  TILE_FLOOR,   TILE_FLOOR,
                           TILE_FLOOR, TILE_THORNS, TILE_TRAINER, TILE_HIVE};
    for (bool red : {true, false})
        for (int k = SK_NORTH; k <= SK_HIVE; k++)
        {
            SCOPED_TRACE(testing::Message() << (red ? "red" : "blue") << " key " << k);
            // Own floor at health 16 and 17, then rock. (The other side's floor refuses any
            // command of its own accord.)
            zolMap* map = MakeFloorMap(3, 1, red ? 3 : 0, 17);
            map->GetTile(0, 0)->SetHealth(16);
            map->SetTile(2, 0, g_pvTileTypes[TILE_ROCK]);
            zolTile* tile = map->GetTile(k == SK_CLEAR ? 2 : 1, 0);
            for (int x = 0; x < 3; x++)
            {
                int cursor[2] = {x, 0};
                EXPECT_EQ(0u, Tick(red, cursor, map, 1u << k)) << "spent even where refused";
                EXPECT_EQ(map->GetTile(x, 0) == tile ? *placed[k - SK_NORTH] : typeid(void),
                          Cmd(map, x, red))
                    << "at " << x;
            }
            for (int i = 0; i < 200000 && k >= SK_CLEAR && tile->GetCommand(red); i++)
                k == SK_CLEAR ? tile->GetCommand(red)->Collision(red) : tile->Update();
            EXPECT_EQ(g_pvTileTypes[leaves[k - SK_NORTH]], tile->GetType());
            EXPECT_EQ(red, tile->IsLit());
            delete map;
        }
}

// On a 5 x 2 map: red floor at x 0-2, blue floor at 3 and rock at 4 in row 0. Each tick starts
// the cursor at (x, y) and presses keys; the cursor ends at (ex, ey) with the keys held still set.
TEST(HumanSide, MovesStopAtEveryEdgeAndActionsFollowTheMoveInOrderRemovingOnlyTheSidesOwn)
{
    zolMap* map = MakeFloorMap(5, 2, 3, 17);
    map->SetTile(4, 0, g_pvTileTypes[TILE_ROCK]);
    const unsigned L = 1 << SK_LEFT, R = 1 << SK_RIGHT, U = 1 << SK_UP, D = 1 << SK_DOWN,
                   N = 1 << SK_NORTH, X = 1 << SK_REMOVE, C = 1 << SK_CLEAR;
    const unsigned ticks[][7] = {
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
        {1, 0, 0, 1 << SK_EAST | 1 << SK_WEST, 0, 0, 0},
        // The cursor moves before North, and Remove comes after it. Both Clear the rock; red
        // Removes on the rock and on blue floor, blue on red floor.
        {1, 0, 0, R | N, 1, 0, 0},
        {1, 2, 0, N | X, 2, 0, 0},
        {1, 4, 0, C, 4, 0, 0},
        {0, 4, 0, C, 4, 0, 0},
        {0, 3, 0, N, 3, 0, 0},
        {1, 4, 0, X, 4, 0, 0},
        {1, 3, 0, X, 3, 0, 0},
        {0, 1, 0, X, 1, 0, 0}};
    for (auto [red, x, y, keys, ex, ey, held] : ticks)
    {
        SCOPED_TRACE(testing::Message() << red << " at " << x << "," << y << ": " << keys);
        int cursor[2] = {(int)x, (int)y};
        EXPECT_EQ(held, Tick(red, cursor, map, keys));
        EXPECT_EQ((int)ex, cursor[0]);
        EXPECT_EQ((int)ey, cursor[1]);
    }
    EXPECT_EQ(typeid(zolCmdWest), Cmd(map, 0, true));
    EXPECT_EQ(typeid(zolCmdNorth), Cmd(map, 1, true));
    EXPECT_EQ(typeid(void), Cmd(map, 2, true));
    EXPECT_EQ(typeid(zolCmdNorth), Cmd(map, 3, false));
    EXPECT_EQ(typeid(void), Cmd(map, 4, true));
    EXPECT_EQ(typeid(zolCmdClear), Cmd(map, 4, false));
    delete map;
}

TEST(HumanSide, ARefusedOrderSaysWhyInWords)
{
    // Red's weak floor, blue's floor, rock.
    zolMap* map = MakeFloorMap(3, 1, 1, 12);
    map->SetTile(2, 0, g_pvTileTypes[TILE_ROCK]);
    const struct
    {
        int x, key;
        const char* why;
    } cases[] = {{0, SK_NORTH, "health 12: heal it first"},
                 {1, SK_HIVE, "not your ground"},
                 {1, SK_REMOVE, "not your ground"},
                 {2, SK_WEST, "rock: Clear it first"},
                 {0, SK_CLEAR, "Clear needs rock"}};
    zolScriptedSide red(true);
    EXPECT_EQ("", red.RefusalText());
    for (const auto& c : cases)
    {
        int cursor[2] = {c.x, 0};
        red.SetKeys(1u << c.key);
        red.Tick(cursor, map, 3, 1);
        EXPECT_EQ(0, red.TicksSinceRefusal());
        EXPECT_EQ(c.why, red.RefusalText());
    }
    delete map;
}
