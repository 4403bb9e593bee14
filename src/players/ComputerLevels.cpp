#include <algorithm>
#include <vector>

#include "ComputerPlan.h"
#include "zolRandom.h"
#include "zolUnit.h"

namespace
{
    const int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};
    const int FAR = 1 << 20;

    // The map as hard reads it at one think, by seen cell y * w + x.
    struct Reading
    {
        zolSideView& v;
        int w, h;
        std::vector<zolTile*> tile;
        std::vector<int> kind;         // zolTileKind
        std::vector<int> mine, theirs; // units' combat damage summed, by side seen
        std::vector<int> toFront;      // steps over own open ground to the front; FAR: none
        std::vector<int> toEnemy;      // steps over anything to the enemy's open ground

        explicit Reading(zolSideView& view)
            : v(view), w(view.Width()), h(view.Height()), tile(w * h), kind(w * h), mine(w * h),
              theirs(w * h), toFront(w * h, FAR), toEnemy(w * h, FAR)
        {
            std::vector<int> front, enemy;
            for (int i = 0; i < w * h; i++)
            {
                zolTile* t = tile[i] = v.At(i % w, i / w);
                kind[i] = std::find(g_pvTileTypes.begin(), g_pvTileTypes.end(), t->GetType()) -
                          g_pvTileTypes.begin();
                for (zolUnit* u : t->GetUnits())
                    (u->GetSide() == v.Side() ? mine : theirs)[i] += zu_dwvDamage[u->GetType()];
                if (v.Enemy(t))
                    enemy.push_back(i);
            }
            for (int i = 0; i < w * h; i++)
                if (Own(i) && Touches(i, [&](int n) { return v.Enemy(tile[n]); }))
                    front.push_back(i);
            Spread(front, toFront, [&](int n) { return Own(n); });
            Spread(enemy, toEnemy, [](int) { return true; });
        }

        bool Own(int i) { return v.Own(tile[i]); }
        bool Enemy(int i) { return v.Enemy(tile[i]); }
        int Neighbour(int i, int dir)
        {
            int x = i % w + DX[dir], y = i / w + DY[dir];
            return x < 0 || y < 0 || x >= w || y >= h ? -1 : y * w + x;
        }
        template <class Test>
        bool Touches(int i, Test test)
        {
            for (int dir = 0; dir < 4; dir++)
            {
                int n = Neighbour(i, dir);
                if (n >= 0 && test(n))
                    return true;
            }
            return false;
        }
        // Breadth first from the starts, into cells that pass.
        template <class Pass>
        void Spread(const std::vector<int>& starts, std::vector<int>& dist, Pass pass)
        {
            std::vector<int> queue = starts;
            for (int i : starts)
                dist[i] = 0;
            for (size_t q = 0; q < queue.size(); q++)
                for (int dir = 0; dir < 4; dir++)
                {
                    int n = Neighbour(queue[q], dir);
                    if (n >= 0 && dist[n] == FAR && pass(n))
                    {
                        dist[n] = dist[queue[q]] + 1;
                        queue.push_back(n);
                    }
                }
        }
        // The strength around a cell for one side: on it and on that side's neighbours.
        int Around(int i, bool own)
        {
            std::vector<int>& s = own ? mine : theirs;
            int sum = s[i];
            for (int dir = 0; dir < 4; dir++)
            {
                int n = Neighbour(i, dir);
                if (n >= 0 && (own ? Own(n) : Enemy(n)))
                    sum += s[n];
            }
            return sum;
        }
        bool Building(int i)
        {
            zolCommand* cmd = v.Mine(tile[i]);
            return cmd && v.Arrow(tile[i]) < 0;
        }
    };

    struct Job
    {
        int rank; // lower first
        int order, cell;
    };

    void Queue(zolPlan& p, Reading& r, std::vector<Job>& jobs, size_t most)
    {
        std::stable_sort(jobs.begin(), jobs.end(),
                         [](const Job& a, const Job& b) { return a.rank < b.rank; });
        if (jobs.size() > most)
            jobs.resize(most);
        // The cursor's walk is the dearest part of a job: the nearest next, each time.
        int x = p.cursorX, y = p.cursorY;
        while (!jobs.empty())
        {
            size_t best = 0;
            int bestSteps = FAR;
            for (size_t j = 0; j < jobs.size(); j++)
            {
                int steps = abs(jobs[j].cell % r.w - x) + abs(jobs[j].cell / r.w - y);
                if (steps < bestSteps)
                {
                    best = j;
                    bestSteps = steps;
                }
            }
            x = jobs[best].cell % r.w;
            y = jobs[best].cell / r.w;
            p.Back(jobs[best].order, x, y);
            jobs.erase(jobs.begin() + best);
        }
    }
}

void ThinkHard(zolPlan& plan)
{
    Reading r(plan.view);
    const int n = r.w * r.h;
    std::vector<Job> jobs;
    int hives = 0, clears = 0, builds = 0, ground = 0;
    for (int i = 0; i < n; i++)
    {
        hives += r.Own(i) && r.kind[i] == TILE_HIVE;
        ground += r.Own(i);
        if (r.Building(i))
            (r.kind[i] == TILE_ROCK ? clears : builds)++;
    }
    int mineCount = r.v.Map()->GetUnitCount(r.v.Side());
    int theirCount = r.v.Map()->GetUnitCount(!r.v.Side());
    bool attack = mineCount * 4 >= theirCount * 5 || mineCount >= 1400;

    // Where the army goes: across the front where we are strongest against the least, or,
    // before the armies meet, to the face of the tunnel nearest the enemy.
    int target = -1, targetDir = -1, gate = -1;
    double best = -1;
    for (int i = 0; i < n; i++)
    {
        if (r.toFront[i] != 0)
            continue;
        for (int dir = 0; dir < 4; dir++)
        {
            int e = r.Neighbour(i, dir);
            if (e < 0 || !r.Enemy(e))
                continue;
            double ratio = (r.Around(i, true) + 1.0) / (r.Around(e, false) + 1.0);
            if (ratio > best)
            {
                best = ratio;
                target = e;
                gate = i;
                targetDir = dir;
            }
        }
    }
    if (gate < 0)
    {
        for (int i = 0; i < n; i++)
            if (r.kind[i] == TILE_ROCK && r.Touches(i, [&](int k) { return r.Own(k); }) &&
                (target < 0 || r.toEnemy[i] < r.toEnemy[target]))
                target = i;
        if (target >= 0)
        {
            if (!r.v.Mine(r.tile[target]))
                jobs.push_back({0, ORDER_CLEAR, target});
            for (int dir = 0; dir < 4; dir++)
            {
                int k = r.Neighbour(target, dir);
                if (k >= 0 && r.Own(k) && (gate < 0 || r.toEnemy[k] > r.toEnemy[gate]))
                {
                    gate = k;
                    targetDir = (dir + 2) % 4;
                }
            }
        }
    }

    // The road: from every hive over our ground to the gate, each tile's arrow along it.
    std::vector<int> road(n, -1); // the direction to go on, -1 off the road
    if (gate >= 0)
    {
        std::vector<int> toGate(n, FAR);
        r.Spread({gate}, toGate, [&](int k) { return r.Own(k); });
        road[gate] = targetDir;
        for (int i = 0; i < n && attack; i++)
        {
            if (!r.Own(i) || r.kind[i] != TILE_HIVE || toGate[i] == FAR)
                continue;
            for (int k = i; k != gate && road[k] < 0;)
                for (int dir = 0; dir < 4; dir++)
                {
                    int m = r.Neighbour(k, dir);
                    if (m >= 0 && toGate[m] == toGate[k] - 1)
                    {
                        road[k] = dir;
                        k = m;
                        break;
                    }
                }
        }
    }
    bool push = r.Enemy(target) && attack && best > 1.0;

    // Builds go where the crowd stands: its feet do the work.
    std::vector<int> sites;
    for (int i = 0; i < n; i++)
        if (r.Own(i) && r.kind[i] == TILE_FLOOR && road[i] < 0 && r.toFront[i] > 0 &&
            !r.Building(i) && r.v.Arrow(r.tile[i]) < 0 && r.tile[i]->GetHealth() > 16)
            sites.push_back(i);
    std::stable_sort(sites.begin(), sites.end(),
                     [&](int a, int b) { return r.mine[a] > r.mine[b]; });
    for (size_t k = 0; k < sites.size() && builds < 4; k++, builds++)
    {
        bool hive = hives < 12 && r.toFront[sites[k]] > 2;
        jobs.push_back({2, hive ? ORDER_HIVE : ORDER_TRAINER, sites[k]});
        hives += hive;
    }

    for (int i = 0; i < n; i++)
    {
        if (!r.Own(i))
            continue;
        zolTile* t = r.tile[i];
        bool healthy = t->GetHealth() > 16;
        int arrow = r.v.Arrow(t);
        int wanted = road[i];
        if (i == gate && r.Enemy(target) && !push)
            wanted = -1; // gather, and wait to be stronger
        if (wanted >= 0)
        {
            if (arrow != wanted && healthy)
                jobs.push_back({0, ORDER_NORTH + wanted, i});
            continue;
        }
        if (r.toFront[i] == 0)
        {
            // An arrow into a stronger enemy feeds it; thorns greet whoever comes in.
            if (arrow >= 0)
                jobs.push_back({0, ORDER_REMOVE, i});
            else if (r.kind[i] != TILE_THORNS && r.kind[i] != TILE_HIVE && !r.Building(i) &&
                     healthy)
                jobs.push_back({1, ORDER_THORNS, i});
            continue;
        }
        if (arrow >= 0)
            jobs.push_back({1, ORDER_REMOVE, i});
    }

    // Room to build on: a little more rock opened beside a crowd.
    std::vector<int> rock;
    for (int i = 0; i < n; i++)
        if (r.kind[i] == TILE_ROCK && i != target && !r.v.Mine(r.tile[i]) &&
            r.Touches(i, [&](int k) { return r.Own(k) && r.mine[k] > 20; }))
            rock.push_back(i);
    if (clears < 2 && !rock.empty() && mineCount > ground * 25)
        jobs.push_back({3, ORDER_CLEAR, rock[zolRand() % rock.size()]});

    Queue(plan, r, jobs, 8);
}

// Easy plays as a newcomer does: it waits for a crowd before it digs, builds seldom, and meets the
// enemy with a single arrow now and then rather than at every breach.
void ThinkEasy(zolPlan& plan)
{
    zolSideView& v = plan.view;
    int w = v.Width(), h = v.Height();
    if (w <= 0 || h <= 0)
        return;
    if (++plan.refresh > 10)
    {
        plan.refresh = 0;
        std::vector<std::pair<int, int>> breaches; // cell, direction
        for (int i = 0; i < w * h; i++)
        {
            zolTile* t = v.At(i % w, i / w);
            for (int dir = 0; dir < 4 && v.Own(t) && !v.Mine(t); dir++)
                if (v.Enemy(v.Next(t, dir)))
                {
                    breaches.push_back({i, dir});
                    break;
                }
        }
        if (!breaches.empty())
        {
            auto [i, dir] = breaches[zolRand() % breaches.size()];
            plan.Back(ORDER_NORTH + dir, i % w, i / w);
        }
        return;
    }
    int x = zolRand() % w, y = zolRand() % h;
    zolTile* t = v.At(x, y);
    if (t->GetType() == g_pvTileTypes[TILE_ROCK])
    {
        bool beside = false;
        for (int dir = 0; dir < 4; dir++)
            beside = beside || v.Own(v.Next(t, dir));
        if (beside && !v.Mine(t) && v.Map()->GetUnitCount(v.Side()) >= 30)
            plan.Back(ORDER_CLEAR, x, y);
    }
    else if (v.Own(t) && t->GetType() == g_pvTileTypes[TILE_FLOOR] && !v.Mine(t))
    {
        int roll = zolRand() % 40;
        if (roll < 2)
            plan.Back(ORDER_TRAINER, x, y);
        else if (roll == 2)
            plan.Back(ORDER_HIVE, x, y);
    }
}
