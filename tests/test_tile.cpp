#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "zolCommand.h"
#include "zolTile.h"
#include "zolUnit.h"

struct Probe : zolCommand // tells the test when a tile destroys it
{
    explicit Probe(bool* gone) : m_pGone(gone) {}
    ~Probe() override { *m_pGone = true; }
    bool* m_pGone;
};

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
    bool gone[4] = {};
    zolTile tile;
    tile.SetType(g_pvTileTypes[1]); // blue floor
    Probe* red = new Probe(&gone[0]);
    tile.SetCommand(true, red);
    tile.SetCommand(false, new Probe(&gone[1]));
    EXPECT_TRUE(!tile.GetCommand(true) && tile.GetCommand(false) && !gone[0]);

    tile.SetType(g_pvTileTypes[0]);              // rock takes either side's
    tile.SetCommand(false, new Probe(&gone[2])); // and destroys the one it replaces
    tile.SetCommand(true, red);                  // refused before, so still ours to place here
    tile.SetLit(false);                          // no change of owner: nothing dies
    EXPECT_TRUE(gone[1] && !gone[2] && !gone[0] && red->GetTile() == &tile);
    tile.SetLit(true); // blue loses its command here, and red its own
    EXPECT_TRUE(gone[2] && gone[0] && !tile.GetCommand(false) && !tile.GetCommand(true));

    tile.SetLit(false);
    tile.SetCommand(true, new Probe(&gone[3]));
    tile.SetLit(true); // blue had none: red's stays
    EXPECT_FALSE(gone[3]);
    tile.SetCommand(true, nullptr);
    EXPECT_TRUE(gone[3]);
}
