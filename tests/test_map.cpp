#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"
#include "zolUnit.h"

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
}

TEST(MapGrid, NeighboursLinkBothWaysAndStopAtTheBorder)
{
    zolMap map;
    map.SetSize(3, 3);
    map.SetTile(1, 2, g_pvTileTypes[0]);
    zolTile* kept = map.GetTile(1, 2);
    map.FillBlanks(g_pvTileTypes[1]);           // fills around the kept tile and links to it
    EXPECT_TRUE(kept->GetType() == g_pvTileTypes[0] && map.GetTile(0, 2)->GetNeighbour(1) == kept);
    zolTile* corner = map.GetTile(0, 0);
    EXPECT_TRUE(!corner->GetNeighbour(0) && corner->GetNeighbour(1) == map.GetTile(1, 0)
                && corner->GetNeighbour(2) == map.GetTile(0, 1) && !corner->GetNeighbour(3));

    // A lit tile put in the middle links to all four; each links back on its opposite side and
    // sees it in its lit-neighbour mask (north 1, east 2, south 4, west 8).
    zolTile* fresh = new zolTile();
    fresh->SetType(g_pvTileTypes[1]);
    fresh->SetLit(true);
    map.SetTile(1, 1, fresh);
    EXPECT_EQ(&map, fresh->GetMap());
    const int cells[4][2] = {{1, 0}, {2, 1}, {1, 2}, {0, 1}};
    for (int dir = 0; dir < 4; dir++)
    {
        zolTile* around = map.GetTile(cells[dir][0], cells[dir][1]);
        EXPECT_EQ(around, fresh->GetNeighbour(dir));
        EXPECT_EQ(fresh, around->GetNeighbour((dir + 2) % 4));
        EXPECT_EQ(1 << ((dir + 2) % 4), around->GetLitMask());
    }
    EXPECT_EQ(map.GetTile(0, 1), fresh->GetNeighbour(7));         // directions are clamped
    EXPECT_EQ(map.GetTile(1, 0), fresh->GetNeighbour(-2));

    // Retyping an occupied cell keeps its tile, with owner, health and units.
    zolUnit* unit = Spawn(map, 1, 1, true);
    fresh->SetHealth(777);
    map.SetTile(1, 1, g_pvTileTypes[2]);
    EXPECT_TRUE(map.GetTile(1, 1) == fresh && fresh->GetType() == g_pvTileTypes[2]);
    EXPECT_TRUE(fresh->IsLit() && fresh->GetHealth() == 777 && Lists(fresh->GetUnits(), unit));
}

TEST(MapUpdate, TilesThenUnitsThenCountsOfTheLiving)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(3, 1, 2, 5000));
    zolUnit* red = Spawn(*map, 0, 0, true);
    zolUnit* doomed = Spawn(*map, 0, 0, false, 2);
    Spawn(*map, 1, 0, true);
    Spawn(*map, 2, 0, false);
    Spawn(*map, 2, 0, false);
    EXPECT_EQ(0, map->GetUnitCount(true));      // counted only by Update()

    // The fight of the tile pass takes the blue unit below 0; the unit pass removes it.
    map->Update();
    EXPECT_EQ(2, map->GetUnitCount(true));
    EXPECT_EQ(2, map->GetUnitCount(false));
    EXPECT_FALSE(Lists(map->GetUnits(), doomed) || Lists(map->GetTile(0, 0)->GetUnits(), doomed));
    EXPECT_EQ(2997, red->GetHealth());          // - 4 in the fight, then + 1 on own ground

    // A unit that a hive adds in the tile pass moves, and is counted, in the same tick.
    unsigned seed = 1;
    for (zolSeedRand(seed); zolRand() & 0xF80; zolSeedRand(++seed))
        ;
    zolSeedRand(seed);
    map->SetTile(0, 0, g_pvTileTypes[2]);
    map->Update();
    EXPECT_EQ(3, map->GetUnitCount(true));
    EXPECT_EQ(5u, map->GetUnits().size());
}

TEST(MapDraw, CoversTheGridAndLeavesTheBottomRowsAlone)
{
    BITMAP* bmp = create_bitmap(640, 480);
    clear_to_color(bmp, makecol(1, 2, 3));
    zolMap empty;
    empty.Update();
    empty.Draw(bmp, 0, 0);

    // Red columns 0..9 show the lit picture, column 10 the one lit from the west (slot 1 + 8),
    // the rest the dark one.
    std::unique_ptr<zolMap> map(MakeFloorMap(20, 14, 10));
    map->Draw(bmp, 0, 0);
    int wrong = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
        {
            BITMAP* pic = g_pvTileTypes[1]->GetBmp(x < 320 ? 0 : x < 352 ? 9 : 1);
            int c = getpixel(pic, x % 32, y % 32);
            if (y >= 448 || c == bitmap_mask_color(pic))
                c = makecol(1, 2, 3);
            wrong += getpixel(bmp, x, y) != c;
        }
    EXPECT_EQ(0, wrong);
    destroy_bitmap(bmp);
}
