#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolCommand.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    using Pair = std::pair<float, float>;
    std::pair<Pair, Pair> Motion(zolUnit* u)
    {
        return {{u->GetVelX(), u->GetVelY()}, {u->GetX(), u->GetY()}};
    }
    int CountOn(zolTile* t, zolUnit* u)
    {
        return std::count(t->GetUnits().begin(), t->GetUnits().end(), u);
    }

    // A new unit on tile (x, y) after one tick started from the seed. Seed 10101 first draws 256,
    // the smallest draw that brings no wander kick, then 16988.
    zolUnit* Moved(zolMap* map, int x, int y, bool side, Pair pos, Pair vel, int hp = 2000,
                   int seed = 10101)
    {
        zolUnit* u = new zolUnit();
        u->SetSide(side);
        u->SetPos(pos.first, pos.second);
        u->SetVel(vel.first, vel.second);
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
    auto span = [] { return (float)(zolRand() % 20001) / 10000.0f - 1.0f; };
    zolSeedRand(2024);
    std::vector<float> want = {span(), span(), span(), span(), (float)zolRand(), 3000};
    zolSeedRand(2024);
    zolUnit u; // position, then velocity
    EXPECT_EQ(want, std::vector<float>({u.GetX(), u.GetY(), u.GetVelX(), u.GetVelY(),
                                        (float)zolRand(), (float)u.GetHealth()}));
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
    map->SetTile(1, 0, g_pvTileTypes[0]);
    map->SetTile(2, 1, g_pvTileTypes[0]);
    map->SetTile(2, 0, g_pvTileTypes[4]);
    map->SetTileLit(0, 2, false);
    Bounces* cmd[3] = {new Bounces(false), new Bounces(true), new Bounces(true)};
    map->GetTile(2, 1)->SetCommand(false, cmd[0]);
    map->GetTile(1, 0)->SetCommand(true, cmd[1]);
    map->GetTile(1, 1)->SetCommand(true, cmd[2]);

    // Units that stay on their tile: x, y, side, kick (the seed 1 draws 41, then 18467 and 6334 for
    // the kick, and 26500), health before and after, velocity before and after. Kick, drag above 0.7
    // and the pull toward open neighbours of the unit's side off its own ground come before the
    // step; below 0 health the unit leaves its tile.
    auto kick = [](int r) { return (2 * r - 32767) / 32767.0f * 1.25f; };
    const struct
    {
        int x, y, side, kick, health, after;
        Pair vel, want;
    } stays[] = {
        {0,
         0,
         1,
         1,
         2000,
         2001,
         {0.8f, -0.2f},
         {0.8f * 0.995f + kick(18467), -0.2f * 0.995f + kick(6334)}},
        {0, 0, 1, 0, 3000, 3000, {0.7f, -0.7f}, {0.7f, -0.7f}},
        {0, 2, 1, 0, 2000, 1999, {0.1f, -0.71f}, {0.1f * 0.995f + 0.01f, -0.71f * 0.995f - 0.01f}},
        {0, 1, 0, 0, 2000, 1999, {-0.7f, 0.2f}, {-0.7f, 0.2f + 0.01f}},
        {2, 2, 1, 0, 2000, 1999, {}, {-0.01f, 0}},
        {2, 0, 1, 0, 2000, 1950, {}, {}},
        {2, 2, 0, 0, 2000, 2001, {}, {}},
        {2, 0, 0, 0, 2000, 2000, {}, {}},
        {2, 0, 0, 0, 0, 0, {}, {}},
        {2, 0, 0, 0, -1, -1, {}, {}}};
    for (auto& c : stays)
    {
        zolTile* tile = map->GetTile(c.x, c.y);
        zolUnit* u = Moved(map, c.x, c.y, c.side, {}, c.vel, c.health, c.kick ? 1 : 10101);
        bool alive = c.after >= 0;
        EXPECT_EQ(
            std::make_tuple(
                std::make_pair(c.want, Pair(c.want.first * 0.01f, c.want.second * 0.01f)), c.after,
                alive ? tile : nullptr, (int)alive, c.kick ? 26500 : 16988),
            std::make_tuple(Motion(u), u->GetHealth(), u->GetTile(), CountOn(tile, u), zolRand()))
            << c.x << c.y << c.side;
    }

    // Crossing and bouncing: from tile x, y, side, position, velocity, to tile x, y, position, and
    // health (from 2000) after the ground there; a unit that stays bounces.
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
        {0, 1, 1, 0.998f, 0.998f, 0.5f, 0.5f, 1, 1, 0.998f + 0.5f * 0.01f - 2,
         0.998f + 0.5f * 0.01f, 2001}};
    for (auto& c : cases)
    {
        zolTile* from = map->GetTile((int)c[0], (int)c[1]);
        zolTile* to = map->GetTile((int)c[7], (int)c[8]);
        zolUnit* u = Moved(map, (int)c[0], (int)c[1], c[2] != 0, {c[3], c[4]}, {c[5], c[6]});
        Pair vel = to == from ? Pair(-c[5], -c[6]) : Pair(c[5], c[6]);
        EXPECT_EQ(std::make_tuple(to, 1, (int)(to == from), std::make_pair(vel, Pair(c[9], c[10])),
                                  (int)c[11]),
                  std::make_tuple(u->GetTile(), CountOn(to, u), CountOn(from, u), Motion(u),
                                  u->GetHealth()));
    }
    EXPECT_EQ(std::vector<int>({1, 1, 0}),
              std::vector<int>({cmd[0]->hits, cmd[1]->hits, cmd[2]->hits}));
    delete map;
}

TEST(UnitDraw, EachRankShowsItsMarkAroundATruncatedCentre)
{
    const std::vector<std::string> want = {// ranks 0 to 7, 11 x 7 pixels around each centre
                                           "........... ........... ........... ........... "
                                           "........... ...#####... ........... ...#####...",
                                           "........... ...#....... ...#...#... ...#...#... "
                                           "...#...#... ........... ..#.....#.. ..#.....#..",
                                           "....###.... ....###.... ....###.... ....###.... "
                                           "....###.... ....###.... ..#.###.#.. ..#.###.#..",
                                           "....###.... ....###.... ....###.... ....###.... "
                                           "....###.... ....###.... ###.###.### ..#.###.#..",
                                           "....###.... ....###.... ....###.... ....###.... "
                                           "....###.... ....###.... ..#.###.#.. ..#.###.#..",
                                           "........... ........... ........... .......#... "
                                           "...#...#... ........... ..#.....#.. ..#.....#..",
                                           "........... ........... ........... ........... "
                                           "........... ...#####... ........... ...#####..."};
    BITMAP* bmp = create_bitmap(95, 7);
    clear_bitmap(bmp);
    zolUnit u;
    u.SetColor(makecol(255, 140, 20));
    u.SetPos(0.99f, -0.99f); // 16 * 0.99 is 15.84: the centre moves by (15, -15)
    for (int r = 0; r < 8; r++)
    {
        u.SetType(r);
        u.Draw(bmp, 12 * r - 10, 18);
    }
    std::vector<std::string> seen(7);
    for (int i = 0; i < 95 * 7; i++)
        seen[i / 95] += getpixel(bmp, i % 95, i / 95) == u.GetColor() ? '#'
                        : i % 95 % 12 == 11                           ? ' '
                                                                      : '.';
    EXPECT_EQ(want, seen);
    destroy_bitmap(bmp);
}
