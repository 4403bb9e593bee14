#include <algorithm>
#include <set>
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
    Pair Pos(zolUnit* u) { return {u->GetX(), u->GetY()}; }
    Pair Vel(zolUnit* u) { return {u->GetVelX(), u->GetVelY()}; }
    int CountOn(zolTile* t, zolUnit* u) { return std::count(t->GetUnits().begin(), t->GetUnits().end(), u); }

    // Seeds the random source with the first seed whose next draws pass the test; returns it.
    template <class Test> unsigned SeedWhere(Test test)
    {
        unsigned seed = 1;
        for (zolSeedRand(seed); !test(); zolSeedRand(++seed)) {}
        zolSeedRand(seed);
        return seed;
    }

    // One tick without a wander kick: the plain motion alone.
    void Step(zolUnit* u)
    {
        SeedWhere([] { return zolRand() >= 256; });
        u->Move();
    }

    zolUnit* Put(zolMap* map, int x, int y, bool side, Pair pos = {}, Pair vel = {})
    {
        zolUnit* u = new zolUnit();
        u->SetSide(side);
        u->SetPos(pos.first, pos.second);
        u->SetVel(vel.first, vel.second);
        map->GetTile(x, y)->AddUnit(u);
        map->AddUnit(u);
        return u;
    }

    struct CountingCommand : zolCommand
    {
        int hits = 0;
        void Collision(bool side) override { hits++; EXPECT_EQ(m_bSide, side); }
    };
}

TEST(Unit, NewUnitDrawsPositionThenVelocityWithFourDraws)
{
    zolSeedRand(2024);
    float v[4];
    for (float& f : v)
        f = (float)(zolRand() % 20001) / 10000.0f - 1.0f;
    int fifth = zolRand();
    zolSeedRand(2024);
    zolUnit u;
    EXPECT_EQ(Pair(v[0], v[1]), Pos(&u));
    EXPECT_EQ(Pair(v[2], v[3]), Vel(&u));
    EXPECT_EQ(fifth, zolRand());
    EXPECT_EQ(3000, u.GetHealth());
}

TEST(UnitMove, DragAboveSevenTenthsAndAWanderKickOnADrawBelow256)
{
    zolMap* map = MakeFloorMap(3, 3, 3);
    const float drag[4][3] = {{0.8f, 0, 0.995f}, {0.7f, 0.7f, 1}, {0.1f, -0.71f, 0.995f}, {-0.7f, 0.2f, 1}};
    for (auto& c : drag)
    {
        zolUnit* u = Put(map, 1, 1, true, {}, {c[0], c[1]});
        Step(u);
        EXPECT_EQ(Pair(c[0] * c[2], c[1] * c[2]), Vel(u));
    }
    zolUnit* u = Put(map, 1, 1, true, {}, {0.1f, -0.2f});
    unsigned seed = SeedWhere([] { return zolRand() < 256; });
    zolRand();
    int rx = zolRand(), ry = zolRand(), next = zolRand();
    zolSeedRand(seed);
    u->Move();
    Pair vel(0.1f + (float)(2 * rx - 32767) / 32767.0f * 1.25f,
             -0.2f + (float)(2 * ry - 32767) / 32767.0f * 1.25f);
    EXPECT_EQ(vel, Vel(u));
    EXPECT_EQ(Pair(vel.first * 0.01f, vel.second * 0.01f), Pos(u));
    EXPECT_EQ(next, zolRand());
    u->SetVel(0.1f, -0.2f);
    SeedWhere([] { return zolRand() == 256; });     // 256 itself is calm
    u->Move();
    EXPECT_EQ(Pair(0.1f, -0.2f), Vel(u));
    delete map;
}

TEST(UnitMove, OffOwnGroundPulledTowardEachOpenNeighbourOfItsSide)
{
    // Red neighbours (N 1, E 2, S 4, W 8) of a red unit; the south one rock; the centre red too.
    const struct { int lit; bool rock, own; Pair pull; } cases[] = {
        {3, false, false, {0.01f, -0.01f}}, {12, false, false, {-0.01f, 0.01f}},
        {15, true, false, {0, -0.01f}},     {15, false, true, {0, 0}}};
    const int at[4][2] = {{1, 0}, {2, 1}, {1, 2}, {0, 1}};
    for (auto& c : cases)
    {
        zolMap* map = MakeFloorMap(3, 3, 0);
        for (int dir = 0; dir < 4; dir++)
            map->SetTileLit(at[dir][0], at[dir][1], c.lit >> dir & 1);
        map->SetTile(1, 2, g_pvTileTypes[c.rock ? 0 : 1]);
        map->SetTileLit(1, 1, c.own);
        zolUnit* u = Put(map, 1, 1, true);
        Step(u);
        EXPECT_EQ(c.pull, Vel(u)) << c.lit;
        delete map;
    }
}

TEST(UnitMove, CrossesIntoOpenTilesAndBouncesOffRockAndEdge)
{
    // Red floor; rock north of the centre holding red's command, rock east of it holding blue's.
    zolMap* map = MakeFloorMap(3, 3, 3);
    CountingCommand* cmd[2] = {new CountingCommand(), new CountingCommand()};
    for (int side = 0; side < 2; side++)
    {
        zolTile* rock = map->GetTile(2 - side, 1 - side);
        rock->SetType(g_pvTileTypes[0]);
        cmd[side]->SetSide(side);
        rock->SetCommand(side, cmd[side]);
    }
    // from tile x, y, side, position, velocity, to tile x, y, position; a unit that stays bounces
    const float cases[11][11] = {
        {0, 1, 1, 0.998f, 0, 0.5f, 0, 1, 1, 0.998f + 0.5f * 0.01f - 2, 0},   // 1.003 -> -0.997
        {1, 1, 1, -1.25f, 0, 0, 0, 0, 1, 0.75f, 0},   {1, 1, 1, 0, 1, 0, 0, 1, 2, 0, -1},
        {1, 2, 1, 0, -1.25f, 0, 0, 1, 1, 0, 0.75f},   {1, 1, 1, -1, 0, 0, 0, 1, 1, -1, 0},
        {1, 1, 1, 0, -0.998f, 0, -0.5f, 1, 1, 0, -1}, {1, 1, 1, 0.998f, 0, 0.5f, 0, 1, 1, 1, 0},
        {1, 1, 0, 0.998f, 0, 0.5f, 0, 1, 1, 1, 0},    {0, 0, 1, -0.998f, 0, -0.5f, 0, 0, 0, -1, 0},
        {2, 2, 1, 0, 0.998f, 0, 0.5f, 2, 2, 0, 1},    {0, 2, 1, 1, 0, 0, 0, 1, 2, -1, 0}};
    for (auto& c : cases)
    {
        zolTile* from = map->GetTile((int)c[0], (int)c[1]);
        zolTile* to = map->GetTile((int)c[7], (int)c[8]);
        zolUnit* u = Put(map, (int)c[0], (int)c[1], c[2] != 0, {c[3], c[4]}, {c[5], c[6]});
        Step(u);
        EXPECT_EQ(to, u->GetTile());
        EXPECT_EQ(std::make_pair(1, to == from), std::make_pair(CountOn(to, u), CountOn(from, u) == 1));
        EXPECT_EQ(Pair(c[9], c[10]), Pos(u));
        EXPECT_EQ(to == from ? Pair(-c[5], -c[6]) : Pair(c[5], c[6]), Vel(u));
    }
    EXPECT_NEAR(-0.997f, map->GetTile(1, 1)->GetUnits().front()->GetX(), 1e-6f);
    EXPECT_EQ(1, cmd[1]->hits);                     // red's north bounce
    EXPECT_EQ(1, cmd[0]->hits);                     // blue's east bounce, not red's
    zolUnit* d = Put(map, 0, 1, true, {0.998f, 0.998f}, {0.5f, 0.5f});
    Step(d);
    EXPECT_EQ(map->GetTile(1, 1), d->GetTile());   // a diagonal exit: x first,
    Step(d);
    EXPECT_EQ(map->GetTile(1, 2), d->GetTile());   // y in the next tick
    delete map;
}

TEST(UnitMove, GroundHealsOrHurtsAndBelowZeroTheUnitLeavesItsTile)
{
    zolMap* map = MakeFloorMap(3, 1, 1);            // red floor, blue floor, blue thorns
    map->SetTile(2, 0, g_pvTileTypes[4]);
    // tile x, side, health before, after
    const int cases[8][4] = {{0, 1, 2000, 2001}, {0, 1, 3000, 3000}, {1, 1, 2000, 1999}, {1, 0, 2000, 2001},
                             {2, 1, 2000, 1950}, {2, 0, 2000, 2000}, {2, 0, 0, 0}, {2, 0, -1, -1}};
    zolUnit* u = nullptr;
    for (auto& c : cases)
    {
        u = Put(map, c[0], 0, c[1] != 0);
        u->SetHealth(c[2]);
        u->Move();
        EXPECT_EQ(c[3], u->GetHealth()) << c[0] << " " << c[1] << " " << c[2];
        EXPECT_EQ(c[3] >= 0 ? map->GetTile(c[0], 0) : nullptr, u->GetTile());
    }
    EXPECT_EQ(0, CountOn(map->GetTile(2, 0), u));
    zolSeedRand(5);
    int first = zolRand();
    zolSeedRand(5);
    u->Move();                                      // dead: draws nothing
    EXPECT_EQ(first, zolRand());
    delete map;
}

TEST(Unit, ExperienceRaisesEveryRankWithAFullHeal)
{
    const int need[7] = {2000, 2001, 2002, 2003, 2004, 8005, 8006};
    const int maxHealth[8] = {3000, 4000, 6000, 8000, 10000, 12000, 16000, 24000};
    zolUnit u;
    for (int t = 0; t < 7; t++)
    {
        u.SetHealth(5);
        for (int i = 1; i < need[t]; i++)
            u.IncExp();
        EXPECT_EQ(t, u.GetType());
        u.IncExp();
        u.IncHealth(1);
        EXPECT_EQ(std::vector<int>({t + 1, 0, maxHealth[t + 1]}),
                  std::vector<int>({u.GetType(), u.GetExp(), u.GetHealth()}));
    }
    for (int i = 0; i < 10000; i++)
        u.IncExp();
    EXPECT_EQ(std::vector<int>({7, 10000}), std::vector<int>({u.GetType(), u.GetExp()}));
}

TEST(UnitDraw, EachRankShowsItsMarkAroundATruncatedCentre)
{
    using Pixels = std::set<std::pair<int, int>>;
    const Pixels square{{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    std::vector<Pixels> want = {{}, {{-2, -2}}, {{2, -2}, {-2, -2}}, {{2, 2}, {2, -2}, {-2, -2}},
                                {{-2, 2}, {2, 2}, {2, -2}, {-2, -2}}, {}, {{-5, 0}, {-4, 0}, {4, 0}, {5, 0}}, {}};
    for (int i = -2; i <= 2; i++)
    {
        want[5].insert({{i, -3}, {i, 3}});
        want[6].insert({{-3, i}, {3, i}});
        want[7].insert({{i, -3}, {i, 3}, {-3, i}, {3, i}});
    }
    BITMAP* bmp = create_bitmap(64, 64);
    zolUnit u;
    u.SetColor(makecol(255, 140, 20));
    auto lit = [&](int type, float x, float y) {
        clear_bitmap(bmp);
        u.SetType(type);
        u.SetPos(x, y);
        u.Draw(bmp, 32, 32);
        Pixels seen;
        for (int i = 0; i < 64 * 64; i++)
            if (int c = getpixel(bmp, i % 64, i / 64))
                seen.insert({c == u.GetColor() ? i % 64 - 32 : 99, i / 64 - 32});
        return seen;
    };
    for (int r = 0; r < 8; r++)
    {
        want[r].insert(square.begin(), square.end());
        EXPECT_EQ(want[r], lit(r, 0, 0)) << "rank " << r;
    }
    // 16 * 0.99 is 15.84: the offset truncates toward zero on both sides, to (15, -15).
    Pixels shifted;
    for (auto& p : square)
        shifted.insert({p.first + 15, p.second - 15});
    EXPECT_EQ(shifted, lit(0, 0.99f, -0.99f));
    destroy_bitmap(bmp);
}
