#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolCommand.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    struct Probe : zolCommand           // tells the test when a tile destroys it
    {
        explicit Probe(bool* gone) : m_pGone(gone) {}
        ~Probe() override { *m_pGone = true; }
        bool* m_pGone;
    };

    void Put(zolTile& tile, zolUnit* units, int n, bool side, int rank, int health)
    {
        for (zolUnit* unit = units; unit < units + n; unit++)
        {
            unit->SetSide(side);
            unit->SetType(rank);
            unit->SetHealth(health);
            tile.AddUnit(unit);
        }
    }
}

TEST(TileUpdate, FightsHealsWearsAndCaptures)
{
    // Eight red rank-7 units (damage 40) hit the blue one for 10; its damage 1 still hits each red
    // unit for the minimum 4, though the blow struck in the same tick kills it.
    zolTile fight;
    fight.SetType(g_pvTileTypes[1]);
    zolUnit red[8], blue[1];
    Put(fight, red, 8, true, 7, 20000);
    Put(fight, blue, 1, false, 0, 5);
    fight.Update();
    EXPECT_EQ((std::vector<int>{-5, 19996, 19996}),
              (std::vector<int>{blue[0].GetHealth(), red[0].GetHealth(), red[7].GetHealth()}));

    for (bool owner : {true, false})
    {
        // Tile damage 2 + 2 against 5 x 1: 8190 + 4 stops at the cap 8192, then - 5.
        zolTile tile;
        tile.SetType(g_pvTileTypes[1]);
        tile.SetLit(owner);
        tile.SetHealth(8190);
        zolUnit own[2], other[5];
        Put(tile, own, 2, owner, 0, 3000);
        Put(tile, other, 5, !owner, 1, 4000);
        tile.Update();
        EXPECT_EQ(8187, tile.GetHealth()) << owner;
    }

    zolTile tile;                               // new: blue with health 0
    tile.SetType(g_pvTileTypes[1]);
    zolUnit raider[1];
    Put(tile, raider, 1, true, 0, 3000);
    tile.Update();
    EXPECT_TRUE(tile.IsLit() && tile.GetHealth() == 4096);
    tile.DecHealth(4095);
    EXPECT_TRUE(tile.IsLit());
    tile.DecHealth(1);
    EXPECT_TRUE(!tile.IsLit() && tile.GetHealth() == 4096);
}

TEST(TileCommands, AcceptedOnOwnOrSolidGroundAndDestroyedWithTheOwnersOne)
{
    bool gone[5] = {};
    zolTile floor, rock;
    floor.SetType(g_pvTileTypes[1]);            // blue
    rock.SetType(g_pvTileTypes[0]);
    Probe* refused = new Probe(&gone[0]);
    floor.SetCommand(true, refused);
    EXPECT_EQ(nullptr, floor.GetCommand(true));
    if (!floor.GetCommand(true))
        delete refused;                         // refused: still ours

    Probe* first = new Probe(&gone[1]);
    rock.SetCommand(false, first);
    rock.SetCommand(false, first);              // the same command again is kept
    EXPECT_FALSE(gone[1]);
    rock.SetCommand(false, new Probe(&gone[2]));
    EXPECT_TRUE(gone[1]);
    rock.SetCommand(true, new Probe(&gone[3]));
    EXPECT_EQ(&rock, rock.GetCommand(true)->GetTile());
    rock.SetLit(false);                         // no change of owner
    EXPECT_FALSE(gone[2] || gone[3]);
    rock.SetLit(true);                          // blue loses its command here, and red its own
    EXPECT_TRUE(gone[2] && gone[3] && !rock.GetCommand(false) && !rock.GetCommand(true));

    rock.SetLit(false);
    rock.SetCommand(true, new Probe(&gone[4]));
    rock.SetLit(true);                          // blue had none: red's stays
    EXPECT_FALSE(gone[4]);
    rock.SetCommand(true, nullptr);
    EXPECT_TRUE(gone[4]);
}
