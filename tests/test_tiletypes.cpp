#include <algorithm>
#include <memory>
#include <typeinfo>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolBmpGen.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

// Seeds the source with the first seed whose first draw has the given bits of the hive's
// one-in-32 test (none: a spawn), lets the tile's kind act once and returns how many draws that
// took; d gets the first eight draws.
static int RunHive(zolTile* tile, int bits, int (&d)[8])
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

TEST(Hive, SpawnsForTheTilesOwnerBelowTheCap)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(1, 1, 0));
    map->SetTile(0, 0, g_pvTileTypes[2]);
    zolTile* tile = map->GetTile(0, 0);
    int d[8];
    for (int bit = 0x80; bit <= 0x800; bit <<= 1)
        EXPECT_EQ(1, RunHive(tile, bit, d)) << bit; // any one of them: no spawn, one draw
    // The spawn draw, the unit's four, then a red hive's blue and green, a blue one's green and red
    // (the seed found draws two different values there, so their order shows).
    for (bool red : {false, true, true})
    {
        tile->SetLit(red);
        ASSERT_EQ(7, RunHive(tile, 0, d));
        zolUnit* unit = tile->GetUnits().back(); // and the map's, as its count below shows
        EXPECT_EQ(std::make_pair(red, red ? makecol(255, d[6] % 64, d[5] % 64)
                                          : makecol(d[6] % 64, d[5] % 64, 255)),
                  std::make_pair(unit->GetSide(), unit->GetColor()));
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

TEST(TileTypes, TrainersTrainAndThornsSpareTheOwnersSide)
{
    zolTile tile;
    zolUnit blue, red;
    red.SetSide(true);
    for (zolUnit* unit : {&blue, &red})
        unit->SetHealth(100), tile.AddUnit(unit);
    for (bool lit : {false, true}) // a tick under each owner
    {
        tile.SetLit(lit);
        g_pvTileTypes[3]->Update(&tile);
        g_pvTileTypes[4]->EffectUnit(&blue, &tile);
        g_pvTileTypes[4]->EffectUnit(&red, &tile);
    }
    EXPECT_EQ((std::vector<int>{1, 1, 50, 50}),
              (std::vector<int>{blue.GetExp(), red.GetExp(), blue.GetHealth(), red.GetHealth()}));
}

TEST(TileSet, FiveKindsEachWithSeventeenPicturesShadedFromItsSource)
{
    ASSERT_EQ(5u, g_pvTileTypes.size());
    const char* files[5] = {"", "Data/Floor.bmp", "Data/Hive.bmp", "Data/Trainer.bmp",
                            "Data/Thorns.bmp"};
    for (int i = 0; i < 5; i++)
    {
        zolTileType* type = g_pvTileTypes[i];
        // Rock and floor are plain kinds; the other three show what they are by what they do.
        EXPECT_TRUE(type->IsSolid() == !i && !type->GetBmp(17)) << i;
        EXPECT_TRUE(i > 1 || typeid(*type) == typeid(zolTileType)) << i;
        // Rock is shaded from plain black, here the noise between black and black.
        BITMAP* src = i ? load_bitmap(files[i], nullptr) : zolGenNoise(0, 0, 32, 32);
        for (int slot = 0, m = -1; slot < 17; slot++, m++)
        {
            BITMAP* pic = type->GetBmp(slot);
            ASSERT_TRUE(pic && pic->w == 32 && pic->h == 32) << i << " " << slot;
            // Slot 1 + m: lit neighbours north 1, east 2, south 4, west 8.
            BITMAP* want =
                slot ? zolGenLightOff(src, m & 1, m & 2, m & 4, m & 8) : zolGenLightOn(src);
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++)
                    ASSERT_EQ(getpixel(want, x, y), getpixel(pic, x, y))
                        << "kind " << i << " slot " << slot;
            destroy_bitmap(want);
        }
        destroy_bitmap(src);
    }
}
