#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolMap.h"
#include "zolTile.h"
#include "zolUnit.h"

// A unit at rest in the middle of cell (x, y), listed by the tile and the map.
static zolUnit* Spawn(zolMap& map, int x, int y, bool side, int health = 3000)
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

static bool Lists(std::list<zolUnit*>& units, zolUnit* unit)
{
    return std::find(units.begin(), units.end(), unit) != units.end();
}

TEST(MapGrid, NeighboursLinkBothWaysStopAtTheBorderAndSeeLitOnes)
{
    zolMap map;
    map.SetSize(3, 3);
    map.SetTile(1, 1, g_pvTileTypes[0]);
    zolTile* kept = map.GetTile(1, 1);
    map.FillBlanks(g_pvTileTypes[1]); // fills around the rock and links to it
    EXPECT_TRUE(kept->IsSolid() && map.GetTile(1, 0)->GetNeighbour(2) == kept);
    zolTile* corner = map.GetTile(0, 0);
    EXPECT_TRUE(!corner->GetNeighbour(0) && corner->GetNeighbour(1) == map.GetTile(1, 0) &&
                corner->GetNeighbour(2) == map.GetTile(0, 1) && !corner->GetNeighbour(3));

    // A lit tile put on the west border links to its three neighbours; each links back on its
    // opposite side and sees it in its lit-neighbour mask (north 1, east 2, south 4, west 8).
    zolTile* fresh = new zolTile();
    fresh->SetLit(true);
    map.SetTile(0, 1, fresh);
    EXPECT_EQ(nullptr, fresh->GetNeighbour(3));
    const int cells[3][2] = {{0, 0}, {1, 1}, {0, 2}};
    for (int dir = 0; dir < 3; dir++)
    {
        zolTile* around = map.GetTile(cells[dir][0], cells[dir][1]);
        EXPECT_EQ(std::make_tuple(around, fresh, 1 << ((dir + 2) % 4)),
                  std::make_tuple(fresh->GetNeighbour(dir), around->GetNeighbour((dir + 2) % 4),
                                  around->GetLitMask()))
            << dir;
    }

    // Retyping an occupied cell keeps its tile, with owner, health and units.
    zolUnit* unit = Spawn(map, 0, 1, true);
    fresh->SetHealth(777);
    map.SetTile(0, 1, g_pvTileTypes[2]);
    ASSERT_EQ(fresh, map.GetTile(0, 1));
    EXPECT_TRUE(fresh->GetType() == g_pvTileTypes[2] && fresh->IsLit() &&
                fresh->GetHealth() == 777 && Lists(fresh->GetUnits(), unit));
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
    EXPECT_EQ(
        (std::vector<int>{2, 1, 2997}),
        (std::vector<int>{map->GetUnitCount(true), map->GetUnitCount(false), red->GetHealth()}));
    EXPECT_FALSE(Lists(map->GetUnits(), doomed) || Lists(map->GetTile(0, 0)->GetUnits(), doomed));
}
