#include "TestSupport.h"

// Units, tiles and what each kind of tile does.
TEST(Unit, NewUnitDrawsFourTimesAndRisesThroughEveryRankWithAFullHeal)
{
    zolSeedRand(1); // draws 41, 18467, 6334, 26500, 19169: (draw % 20001) / 10000 - 1 each
    zolUnit u;      // position, then velocity
    EXPECT_FLOAT_EQ(-0.9959f, u.GetX());
    EXPECT_FLOAT_EQ(0.8467f, u.GetY());
    EXPECT_FLOAT_EQ(-0.3666f, u.GetVelX());
    EXPECT_FLOAT_EQ(-0.3501f, u.GetVelY());
    EXPECT_EQ(19169, zolRand());
    EXPECT_EQ(3000, u.GetHealth());
    auto gain = [&u](int exp)
    {
        while (exp-- > 0)
            u.IncExp();
    };
    // Experience each rank needs for the next, the last rank's 10000 raising nothing; health by rank.
    const int need[8] = {2000, 2001, 2002, 2003, 2004, 8005, 8006, 10000};
    const int maxHealth[8] = {3000, 4000, 6000, 8000, 10000, 12000, 16000, 24000};
    for (int t = 0; t < 8; t++)
    {
        u.SetHealth(5);
        gain(need[t] - 1);
        EXPECT_EQ(t, u.GetType());
        gain(1);
        u.IncHealth(1);
        EXPECT_EQ(t < 7 ? std::vector<int>({t + 1, 0, maxHealth[t + 1]})
                        : std::vector<int>({7, 10000, 6}),
                  std::vector<int>({u.GetType(), u.GetExp(), u.GetHealth()}));
    }
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
