#include <algorithm>
#include <array>
#include <memory>

#include "TestSupport.h"

// The map's update, its tiles and what each kind of tile does.
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

    struct Probe : zolCommand // tells the test when a tile destroys it
    {
        explicit Probe(bool* gone) : m_pGone(gone) {}
        ~Probe() override { *m_pGone = true; }
        bool* m_pGone;
    };
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
    for (auto* units : {&map->GetUnits(), &map->GetTile(0, 0)->GetUnits()})
        EXPECT_EQ(0, std::count(units->begin(), units->end(), doomed));
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

TEST(Hive, SpawnsForTheTilesOwnerWhenBitsSevenToElevenOfItsDrawAreClearBelowTheCap)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(1, 1, 0));
    map->SetTile(0, 0, g_pvTileTypes[TILE_HIVE]);
    zolTile* tile = map->GetTile(0, 0);
    auto tick = [tile](unsigned seed)
    {
        zolSeedRand(seed);
        tile->GetType()->Update(tile);
    };
    // Seeds whose first draw sets one of bits 7 to 11 (130, 257, 512, 1024, 2050), and their second.
    const unsigned idle[5][2] = {{28, 13762}, {67, 6966}, {145, 26142}, {302, 9706}, {616, 9601}};
    for (auto [seed, second] : idle)
    {
        tick(seed);
        EXPECT_TRUE(tile->GetUnits().empty()) << seed;
        EXPECT_EQ((int)second, zolRand()) << seed;
    }
    // Seed 1 draws 41, the unit's four, then 15724 and 11478: a blue hive takes green, then red,
    // from the last two modulo 64; seed 1243 draws 4097, then 10290 and 10518 for a red hive's
    // blue and green. Each spawn takes seven draws.
    const int spawns[2][4] = {{1, 0, makecol(22, 44, 255), 29358},
                              {1243, 1, makecol(255, 22, 50), 30931}};
    for (auto [seed, red, colour, next] : spawns)
    {
        tile->SetLit(red);
        tick(seed);
        ASSERT_EQ(1u + red, tile->GetUnits().size());
        ASSERT_EQ(1u + red, map->GetUnits().size());
        EXPECT_EQ(red == 1, tile->GetUnits().back()->GetSide());
        EXPECT_EQ(colour, tile->GetUnits().back()->GetColor());
        EXPECT_EQ(next, zolRand());
    }
    // Once the count is refreshed (by Update()), a side at the cap neither spawns nor draws.
    const int saved = zu_dwMaxUnits;
    zu_dwMaxUnits = 1;
    map->Update();
    tick(1);
    EXPECT_EQ(41, zolRand());
    zu_dwMaxUnits = 2;
    tick(1);
    EXPECT_EQ(3u, tile->GetUnits().size());
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
