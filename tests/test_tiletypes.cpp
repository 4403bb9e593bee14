#include <memory>
#include <typeinfo>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolBmpGen.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTTHive.h"
#include "zolTTThorns.h"
#include "zolTTTrainer.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    // Seeds the source with the first seed whose first draw passes (spawn) or fails the hive's
    // one-in-32 test; d gets the draws to come.
    void SeedHive(bool spawn, int (&d)[8])
    {
        unsigned seed = 1;
        for (zolSeedRand(seed); ((zolRand() & 0xF80) == 0) != spawn; zolSeedRand(++seed))
            ;
        zolSeedRand(seed);
        for (int& v : d)
            v = zolRand();
        zolSeedRand(seed);
    }
}

TEST(Hive, SpawnsForTheTilesOwnerBelowTheCap)
{
    std::unique_ptr<zolMap> map(MakeFloorMap(1, 1, 1, 1));
    map->SetTile(0, 0, g_pvTileTypes[2]);
    zolTile* tile = map->GetTile(0, 0);
    int d[8];
    SeedHive(false, d);
    tile->GetType()->Update(tile);
    EXPECT_TRUE(tile->GetUnits().empty());
    EXPECT_EQ(d[1], zolRand());                 // one draw, no spawn

    // The spawn draw, the unit's four, then a red hive's blue and green.
    SeedHive(true, d);
    ASSERT_NE(d[5] % 64, d[6] % 64);            // else the order of the colours would not show
    tile->GetType()->Update(tile);
    EXPECT_EQ(d[7], zolRand());
    ASSERT_EQ(1u, map->GetUnits().size());
    zolUnit* unit = map->GetUnits().back();
    EXPECT_TRUE(unit->GetTile() == tile && tile->GetUnits().back() == unit && unit->GetSide());
    EXPECT_EQ(makecol(255, d[6] % 64, d[5] % 64), unit->GetColor());

    tile->DecHealth(1);                         // captured: blue's now, green drawn before red
    SeedHive(true, d);
    tile->GetType()->Update(tile);
    ASSERT_EQ(2u, map->GetUnits().size());
    EXPECT_FALSE(map->GetUnits().back()->GetSide());
    EXPECT_EQ(makecol(d[6] % 64, d[5] % 64, 255), map->GetUnits().back()->GetColor());

    // With blue's count (refreshed by Update()) at the cap, and red's below it, a blue hive
    // neither spawns nor draws.
    SeedHive(true, d);
    tile->GetType()->Update(tile);
    const int saved = zu_dwMaxUnits;
    zu_dwMaxUnits = 0;
    map->Update();
    zu_dwMaxUnits = 2;
    SeedHive(true, d);
    tile->GetType()->Update(tile);
    EXPECT_EQ(d[0], zolRand());
    zu_dwMaxUnits = 3;
    SeedHive(true, d);
    tile->GetType()->Update(tile);
    EXPECT_EQ(4u, map->GetUnits().size());
    zu_dwMaxUnits = saved;
}

TEST(TileTypes, GroundTrainersAndThorns)
{
    zolTile tile;                               // blue
    zolUnit blue, red;
    red.SetSide(true);
    tile.AddUnit(&blue);
    tile.AddUnit(&red);
    g_pvTileTypes[3]->Update(&tile);
    EXPECT_TRUE(blue.GetExp() == 1 && red.GetExp() == 0);

    // Floor, hive and trainer: +1 on own ground up to the rank's maximum, -1 elsewhere.
    for (int kind = 1; kind <= 3; kind++)
    {
        blue.SetType(1);
        blue.SetHealth(3999);
        red.SetHealth(100);
        g_pvTileTypes[kind]->EffectUnit(&blue, &tile);
        g_pvTileTypes[kind]->EffectUnit(&blue, &tile);
        g_pvTileTypes[kind]->EffectUnit(&red, &tile);
        EXPECT_TRUE(blue.GetHealth() == 4000 && red.GetHealth() == 99) << kind;
    }
    blue.SetHealth(100);                        // own thorns neither hurt nor heal
    g_pvTileTypes[4]->EffectUnit(&blue, &tile);
    g_pvTileTypes[4]->EffectUnit(&red, &tile);
    EXPECT_TRUE(blue.GetHealth() == 100 && red.GetHealth() == 49);
}

TEST(TileSet, FiveKindsEachLitAndUnlitFromItsPicture)
{
    ASSERT_EQ(5u, g_pvTileTypes.size());
    std::vector<zolTileType*>& types = g_pvTileTypes;
    EXPECT_TRUE(typeid(*types[0]) == typeid(zolTileType) && typeid(*types[1]) == typeid(zolTileType));
    EXPECT_TRUE(dynamic_cast<zolTTHive*>(types[2]) && dynamic_cast<zolTTTrainer*>(types[3])
                && dynamic_cast<zolTTThorns*>(types[4]));
    const char* files[5] = {"", "Data/Floor.bmp", "Data/Hive.bmp", "Data/Trainer.bmp",
                            "Data/Thorns.bmp"};
    for (int i = 0; i < 5; i++)
    {
        EXPECT_EQ(i == 0, types[i]->IsSolid());
        EXPECT_EQ(nullptr, types[i]->GetBmp(17));
        // Rock is plain black; the others are shaded from their pictures.
        BITMAP* src = i ? load_bitmap(files[i], nullptr) : create_bitmap(32, 32);
        ASSERT_NE(nullptr, src) << files[i];
        if (!i)
            clear_to_color(src, makecol(0, 0, 0));
        for (int slot = 0, m = -1; slot < 17; slot++, m++)
        {
            BITMAP* pic = types[i]->GetBmp(slot);
            ASSERT_TRUE(pic && pic->w == 32 && pic->h == 32) << i << " " << slot;
            BITMAP* want = slot ? zolGenLightOff(src, m & 1, m & 2, m & 4, m & 8) : zolGenLightOn(src);
            int wrong = 0;
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++)
                    wrong += getpixel(pic, x, y) != (i ? getpixel(want, x, y) : makecol(0, 0, 0));
            EXPECT_EQ(0, wrong) << "kind " << i << " slot " << slot;
            destroy_bitmap(want);
        }
        destroy_bitmap(src);
    }

    // GetUnlit takes the mask's four bits; slots outside are ignored; SetBmp keeps a copy.
    EXPECT_TRUE(types[1]->GetUnlit(16) == types[1]->GetBmp(1) && !types[1]->GetBmp(-1));
    zolTileType type;
    BITMAP* bmp = create_bitmap(32, 32);
    clear_to_color(bmp, makecol(200, 0, 0));
    type.Build(bmp);
    type.SetBmp(17, bmp);
    type.SetBmp(3, bmp);
    destroy_bitmap(bmp);
    EXPECT_EQ(nullptr, type.GetBmp(17));
    EXPECT_EQ(makecol(200, 0, 0), getpixel(type.GetBmp(3), 31, 31));
}
