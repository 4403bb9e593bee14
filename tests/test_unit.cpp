#include <algorithm>

#include "TestSupport.h"

namespace
{
    int CountOn(zolTile* t, zolUnit* u)
    {
        return std::count(t->GetUnits().begin(), t->GetUnits().end(), u);
    }

    // A new unit on tile (x, y) after one tick started from the seed. Seed 10101 first draws 256,
    // the smallest draw that brings no wander kick, then 16988.
    zolUnit* Moved(zolMap* map, int x, int y, bool side, float px, float py, float vx, float vy,
                   int hp = 2000, int seed = 10101)
    {
        zolUnit* u = new zolUnit();
        u->SetSide(side);
        u->SetPos(px, py);
        u->SetVel(vx, vy);
        u->SetHealth(hp);
        map->GetTile(x, y)->AddUnit(u);
        map->AddUnit(u);
        zolSeedRand(seed);
        u->Move();
        return u;
    }

    struct Bounces : zolCommand // counts the bounces its tile reports
    {
        int hits = 0;
        explicit Bounces(bool side) { m_bSide = side; }
        void Collision(bool side) override
        {
            hits++;
            EXPECT_EQ(m_bSide, side);
        }
    };
}

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

TEST(UnitMove, OneTickOnASmallMap)
{
    // y 0:  red floor    red rock with red's command    blue thorns
    // y 1:  red floor    red floor with red's command   blue rock with blue's command
    // y 2:  blue floor   red floor                      blue floor
    zolMap* map = MakeFloorMap(3, 3, 2);
    map->SetTile(1, 0, g_pvTileTypes[TILE_ROCK]);
    map->SetTile(2, 1, g_pvTileTypes[TILE_ROCK]);
    map->SetTile(2, 0, g_pvTileTypes[TILE_THORNS]);
    map->SetTileLit(0, 2, false);
    Bounces* cmd[3] = {new Bounces(false), new Bounces(true), new Bounces(true)};
    map->GetTile(2, 1)->SetCommand(false, cmd[0]);
    map->GetTile(1, 0)->SetCommand(true, cmd[1]);
    map->GetTile(1, 1)->SetCommand(true, cmd[2]);

    // Seed 1 draws 41, below 256: a wander kick of (2r - 32767) / 32767 * 1.25 on each axis, r
    // drawn next (18467 gives +0.158963, 6334 gives -0.766739), after the drag to 0.796, -0.199.
    zolUnit* u = Moved(map, 0, 0, true, 0, 0, 0.8f, -0.2f, 2000, 1);
    EXPECT_NEAR(0.954963, u->GetVelX(), 1e-5);
    EXPECT_NEAR(-0.965739, u->GetVelY(), 1e-5);
    EXPECT_EQ(26500, zolRand()) << "three draws";

    // Units that stay on their tile: x, y, red, health before and after, velocity before and
    // after. The drag of 0.995 above 0.7 comes first, then the pull of 0.01 toward open
    // neighbours of the unit's side off its own ground; below 0 health the unit leaves its tile.
    const float stays[][9] = {
        {0, 0, 1, 3000, 3000, 0.7f, -0.7f, 0.7f, -0.7f},         // own ground heals to the cap
        {0, 2, 1, 2000, 1999, 0.1f, -0.71f, 0.1095f, -0.71645f}, // pulled north and east
        {0, 1, 0, 2000, 1999, -0.7f, 0.2f, -0.7f, 0.21f},        // pulled south
        {2, 2, 1, 2000, 1999, 0, 0, -0.01f, 0},                  // and never toward rock
        {2, 0, 1, 2000, 1950, 0, 0, 0, 0},                       // the other side's thorns
        {2, 2, 0, 2000, 2001, 0, 0, 0, 0},
        {2, 0, 0, 2000, 2000, 0, 0, 0, 0}, // own thorns
        {2, 0, 0, 0, 0, 0, 0, 0, 0},
        {2, 0, 0, -1, -1, 0, 0, 0, 0}};
    for (auto& c : stays)
    {
        SCOPED_TRACE(testing::Message() << "staying " << c[0] << c[1] << c[2] << " " << c[3]);
        zolTile* tile = map->GetTile((int)c[0], (int)c[1]);
        u = Moved(map, (int)c[0], (int)c[1], c[2] != 0, 0, 0, c[5], c[6], (int)c[3]);
        bool alive = c[4] >= 0;
        EXPECT_EQ((int)c[4], u->GetHealth());
        EXPECT_EQ(alive ? tile : nullptr, u->GetTile());
        EXPECT_EQ((int)alive, CountOn(tile, u));
        EXPECT_NEAR(c[7], u->GetVelX(), 1e-6);
        EXPECT_NEAR(c[8], u->GetVelY(), 1e-6);
        EXPECT_NEAR(c[7] / 100, u->GetX(), 1e-7); // one step is a hundredth of the velocity
        EXPECT_EQ(16988, zolRand()) << "one draw";
    }

    // Crossing and bouncing: from tile x, y, side, position, velocity, to tile x, y, position, and
    // health (from 2000) after the ground there; a unit that stays bounces, its velocity reversed.
    const float cases[12][12] = {
        {1, 1, 1, -1.25f, 0, 0, 0, 0, 1, 0.75f, 0, 2001},
        {1, 1, 1, 0, 1, 0, 0, 1, 2, 0, -1, 2001},
        {1, 2, 1, 0, -1.25f, 0, 0, 1, 1, 0, 0.75f, 2001},
        {1, 1, 1, -1, 0, 0, 0, 1, 1, -1, 0, 2001},
        {1, 1, 1, 0, -0.998f, 0, -0.5f, 1, 1, 0, -1, 2001},
        {1, 1, 1, 0.998f, 0, 0.5f, 0, 1, 1, 1, 0, 2001},
        {1, 1, 0, 0.998f, 0, 0.5f, 0, 1, 1, 1, 0, 1999},
        {0, 0, 1, -0.998f, 0, -0.5f, 0, 0, 0, -1, 0, 2001},
        {2, 2, 0, 0, 0.998f, 0, 0.5f, 2, 2, 0, 1, 2001},
        {0, 1, 1, 1, 0, 0, 0, 1, 1, -1, 0, 2001},
        {1, 2, 1, 1, 0, 0, 0, 2, 2, -1, 0, 1999},
        // 1.003 -> -0.997; a diagonal exit crosses along x now, along y in a later tick
        {0, 1, 1, 0.998f, 0.998f, 0.5f, 0.5f, 1, 1, -0.997f, 1.003f, 2001}};
    for (auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "from " << c[0] << c[1] << " at " << c[3] << c[4]);
        zolTile* from = map->GetTile((int)c[0], (int)c[1]);
        zolTile* to = map->GetTile((int)c[7], (int)c[8]);
        u = Moved(map, (int)c[0], (int)c[1], c[2] != 0, c[3], c[4], c[5], c[6]);
        float turn = to == from ? -1 : 1;
        EXPECT_EQ(to, u->GetTile());
        EXPECT_EQ(1, CountOn(to, u));
        EXPECT_EQ(to == from, CountOn(from, u));
        EXPECT_NEAR(c[9], u->GetX(), 1e-5);
        EXPECT_NEAR(c[10], u->GetY(), 1e-5);
        EXPECT_EQ(turn * c[5], u->GetVelX());
        EXPECT_EQ(turn * c[6], u->GetVelY());
        EXPECT_EQ((int)c[11], u->GetHealth());
    }
    EXPECT_EQ(1, cmd[0]->hits) << "blue's on blue rock";
    EXPECT_EQ(1, cmd[1]->hits) << "red's on red rock";
    EXPECT_EQ(0, cmd[2]->hits) << "red's on open floor";
    delete map;
}
