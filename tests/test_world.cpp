#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolCommand.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

// The map grid, its tiles and what each kind of tile does.
namespace
{
    // A unit at rest in the middle of cell (x, y), listed by the tile and the map.
    zolUnit* Spawn(zolMap& map, int x, int y, bool side, int health = 3000)
    {
        zolUnit* unit = new zolUnit();
        unit->SetSide(side);
        unit->SetHealth(health);
        unit->SetPos(0.0f, 0.0f);
        unit->SetVel(0.0f, 0.0f);
        map.GetTile(x, y)->AddUnit(unit);
        map.AddUnit(unit);
        return unit;
    }

    bool Lists(std::list<zolUnit*>& units, zolUnit* unit)
    {
        return std::find(units.begin(), units.end(), unit) != units.end();
    }

    struct Probe : zolCommand // tells the test when a tile destroys it
    {
        explicit Probe(bool* gone) : m_pGone(gone) {}
        ~Probe() override { *m_pGone = true; }
        bool* m_pGone;
    };
}

TEST(MapGrid, NeighboursLinkBothWaysStopAtTheBorderAndSeeLitOnes)
{
    zolMap map;
    map.SetSize(3, 3);
    map.SetTile(1, 1, g_pvTileTypes[TILE_ROCK]);
    zolTile* kept = map.GetTile(1, 1);
    map.FillBlanks(g_pvTileTypes[TILE_FLOOR]); // fills around the rock and links to it
    EXPECT_EQ(kept, map.GetTile(1, 0)->GetNeighbour(2));
    zolTile* corner = map.GetTile(0, 0);
    const zolTile* around[4] = {nullptr, map.GetTile(1, 0), map.GetTile(0, 1), nullptr};
    for (int dir = 0; dir < 4; dir++)
        EXPECT_EQ(around[dir], corner->GetNeighbour(dir)) << "corner, direction " << dir;

    // A lit tile put on the west border links to its three neighbours; each links back on its
    // opposite side and sees it in its lit-neighbour mask (north 1, east 2, south 4, west 8).
    zolTile* fresh = new zolTile();
    fresh->SetLit(true);
    map.SetTile(0, 1, fresh);
    EXPECT_EQ(nullptr, fresh->GetNeighbour(3));
    const int cells[3][2] = {{0, 0}, {1, 1}, {0, 2}};
    for (int dir = 0; dir < 3; dir++)
    {
        zolTile* next = map.GetTile(cells[dir][0], cells[dir][1]);
        EXPECT_EQ(next, fresh->GetNeighbour(dir)) << dir;
        EXPECT_EQ(fresh, next->GetNeighbour((dir + 2) % 4)) << dir;
        EXPECT_EQ(1 << (dir + 2) % 4, next->GetLitMask()) << dir;
    }

    // Retyping an occupied cell keeps its tile, with owner, health and units.
    zolUnit* unit = Spawn(map, 0, 1, true);
    fresh->SetHealth(777);
    map.SetTile(0, 1, g_pvTileTypes[TILE_HIVE]);
    ASSERT_EQ(fresh, map.GetTile(0, 1));
    EXPECT_EQ(g_pvTileTypes[TILE_HIVE], fresh->GetType());
    EXPECT_TRUE(fresh->IsLit());
    EXPECT_EQ(777, fresh->GetHealth());
    EXPECT_TRUE(Lists(fresh->GetUnits(), unit));
}

TEST(MapUpdate, TilesThenUnitsThenCountsOfTheLiving)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(2, 1, 1, 5000));
    zolUnit* red = Spawn(*map, 0, 0, true);
    zolUnit* doomed = Spawn(*map, 0, 0, false, 2);
    Spawn(*map, 1, 0, true);
    Spawn(*map, 1, 0, false);
    // The fight of the tile pass takes the blue unit below 0 and the red one to 2996; the unit
    // pass then removes the blue one, and heals the red one by 1 on its own ground.
    map->Update();
    EXPECT_EQ(2, map->GetUnitCount(true));
    EXPECT_EQ(1, map->GetUnitCount(false));
    EXPECT_EQ(2997, red->GetHealth());
    EXPECT_FALSE(Lists(map->GetUnits(), doomed));
    EXPECT_FALSE(Lists(map->GetTile(0, 0)->GetUnits(), doomed));
}

TEST(TileUpdate, FightsThenHealsThenWearsAndCaptures)
{
    // Owner (1 red) and health of a tile; count, side, rank and health of two groups on it;
    // after one Update(): the tile's health and owner, and each group's health.
    const int cases[][14] = {
        // Eight rank-7 units (damage 40) hit the rank-0 one for 10; its damage 1 still hits each
        // of them for the minimum 4, though the blow struck in the same tick kills it.
        {0, 1000, 8, 1, 7, 20000, 1, 0, 0, 5, 1002 - 24, 0, 19996, -5},
        // Tile damage 2 + 2 against 5 x 1: 8190 + 4 stops at the cap 8192, then - 5.
        {1, 8190, 2, 1, 0, 3000, 5, 0, 1, 4000, 8187, 1, 2996, 3996},
        // Worn to 0 or below, a tile changes owner at 4096; a side alone on it is hit by no one.
        {1, 2, 1, 0, 0, 3000, 0, 0, 0, 0, 4096, 0, 3000, 0},
        {0, 3, 1, 1, 0, 3000, 0, 0, 0, 0, 1, 0, 3000, 0},
    };
    for (auto& c : cases)
    {
        zolTile tile; // of no kind: nothing else acts on it
        tile.SetLit(c[0]);
        tile.SetHealth(c[1]);
        zolUnit units[2][8];
        for (int g = 0; g < 2; g++)
            for (int i = 0; i < c[2 + 4 * g]; i++)
            {
                units[g][i].SetSide(c[3 + 4 * g]);
                units[g][i].SetType(c[4 + 4 * g]);
                units[g][i].SetHealth(c[5 + 4 * g]);
                tile.AddUnit(&units[g][i]);
            }
        tile.Update();
        EXPECT_EQ((std::vector<int>(c + 10, c + 14)),
                  (std::vector<int>{tile.GetHealth(), tile.IsLit(), units[0][c[2] - 1].GetHealth(),
                                    c[6] ? units[1][c[6] - 1].GetHealth() : 0}))
            << c[0] << " " << c[1];
    }
}

TEST(TileCommands, AcceptedOnOwnOrSolidGroundAndLostWithTheLosersOne)
{
    std::array<bool, 4> gone = {}; // by probe
    using Gone = std::array<bool, 4>;
    zolTile tile;
    tile.SetType(g_pvTileTypes[TILE_FLOOR]); // blue floor
    Probe* red = new Probe(&gone[0]);
    tile.SetCommand(true, red);
    tile.SetCommand(false, new Probe(&gone[1]));
    EXPECT_EQ(nullptr, tile.GetCommand(true)) << "red's on blue floor";
    EXPECT_NE(nullptr, tile.GetCommand(false));

    tile.SetType(g_pvTileTypes[TILE_ROCK]);      // rock takes either side's
    tile.SetCommand(false, new Probe(&gone[2])); // and destroys the one it replaces
    tile.SetCommand(true, red);                  // refused before, so still ours to place here
    tile.SetLit(false);                          // no change of owner: nothing dies
    EXPECT_EQ((Gone{false, true, false, false}), gone);
    EXPECT_EQ(&tile, red->GetTile());
    tile.SetLit(true); // blue loses its command here, and red its own
    EXPECT_EQ((Gone{true, true, true, false}), gone);
    EXPECT_EQ(nullptr, tile.GetCommand(false));
    EXPECT_EQ(nullptr, tile.GetCommand(true));

    tile.SetLit(false);
    tile.SetCommand(true, new Probe(&gone[3]));
    tile.SetLit(true); // blue had none: red's stays
    EXPECT_FALSE(gone[3]);
    tile.SetCommand(true, nullptr);
    EXPECT_TRUE(gone[3]);
}

namespace
{
    // Seeds the source with the first seed whose first draw has the given bits of the hive's
    // one-in-32 test (none: a spawn), lets the tile's kind act once and returns how many draws
    // that took; d gets the first eight draws.
    int RunHive(zolTile* tile, int bits, int (&d)[8])
    {
        unsigned seed = 1;
        for (zolSeedRand(seed); (zolRand() & 0xF80) != bits; zolSeedRand(++seed))
        {
        }
        zolSeedRand(seed);
        std::generate(d, d + 8, zolRand);
        zolSeedRand(seed);
        tile->GetType()->Update(tile);
        return int(std::find(d, d + 8, zolRand()) - d);
    }
}

TEST(Hive, SpawnsOneTickInThirtyTwoForTheTilesOwnerBelowTheCap)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(1, 1, 0));
    map->SetTile(0, 0, g_pvTileTypes[TILE_HIVE]);
    zolTile* tile = map->GetTile(0, 0);
    int d[8];
    for (int bit = 0x80; bit <= 0x800; bit <<= 1)
        EXPECT_EQ(1, RunHive(tile, bit, d)) << bit; // any one of them: no spawn, one draw
    // The spawn draw, the unit's four, then a red hive's blue and green, a blue one's green and
    // red (the seed found draws two different values there, so their order shows).
    for (bool red : {false, true, true})
    {
        tile->SetLit(red);
        ASSERT_EQ(7, RunHive(tile, 0, d));
        zolUnit* unit = tile->GetUnits().back(); // and the map's, as its count below shows
        EXPECT_EQ(red, unit->GetSide());
        EXPECT_EQ(red ? makecol(255, d[6] % 64, d[5] % 64) : makecol(d[6] % 64, d[5] % 64, 255),
                  unit->GetColor());
    }
    // With red's count (refreshed by Update()) at the cap and blue's below it, a red hive neither
    // spawns nor draws.
    const int saved = zu_dwMaxUnits;
    zu_dwMaxUnits = 0;
    map->Update();
    zu_dwMaxUnits = 2;
    EXPECT_EQ(0, RunHive(tile, 0, d));
    zu_dwMaxUnits = 3;
    EXPECT_EQ(7, RunHive(tile, 0, d));
    zu_dwMaxUnits = saved;
}

TEST(TileKinds, TrainersTrainAndThornsHurtOnlyTheOtherSide)
{
    zolTile tile;
    zolUnit blue, red;
    red.SetSide(true);
    for (zolUnit* unit : {&blue, &red})
        unit->SetHealth(100), tile.AddUnit(unit);
    for (bool lit : {false, true}) // a tick under each owner
    {
        tile.SetLit(lit);
        g_pvTileTypes[TILE_TRAINER]->Update(&tile);
        g_pvTileTypes[TILE_THORNS]->EffectUnit(&blue, &tile);
        g_pvTileTypes[TILE_THORNS]->EffectUnit(&red, &tile);
    }
    EXPECT_EQ(1, blue.GetExp());
    EXPECT_EQ(1, red.GetExp());
    EXPECT_EQ(50, blue.GetHealth());
    EXPECT_EQ(50, red.GetHealth());
}
