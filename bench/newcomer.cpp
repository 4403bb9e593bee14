// A newcomer's first matches, scripted: red at the keyboard as someone who has just read the
// README plays it, against a level of the computer, headless and seeded like the arena.
//   newcomer LEVEL [MATCHES [SEED]]
// Prints the arena's lines, red being the newcomer: "match I: red wins at tick T", then
// "red newcomer W, blue LEVEL L, draws D".
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <allegro.h>

#include "HumanSide.h"
#include "MatchSession.h"
#include "TileSet.h"
#include "zolAI.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"

namespace
{
    // The newcomer's plan from the README: heal the base and build two hives and two trainers
    // on it, dig one tunnel toward the enemy with Clear, arrows down it, two trainers more once
    // it is through. One key every third of a second; a new look at the map every three.
    class zolNewcomer : public zolHumanSide
    {
    public:
        zolNewcomer() : zolHumanSide(true) {}

        void Tick(int* cursor, zolMap* map, int width, int height) override
        {
            m_dwKeys = 0;
            if (++m_dwClock % 33 == 0)
                Act(cursor, map);
            zolHumanSide::Tick(cursor, map, width, height);
        }

    protected:
        unsigned TakeKeys() override { return m_dwKeys; }

    private:
        struct Goal
        {
            int x, y, key; // a zolSideKey from SK_NORTH on
        };

        void Act(int* cursor, zolMap* map)
        {
            if (m_vGoals.empty() && m_dwClock - m_dwLastLook >= 300)
                Look(map);
            if (m_vGoals.empty())
                return;
            Goal g = m_vGoals.front();
            if (cursor[0] != g.x)
                m_dwKeys = 1u << (cursor[0] > g.x ? SK_LEFT : SK_RIGHT);
            else if (cursor[1] != g.y)
                m_dwKeys = 1u << (cursor[1] > g.y ? SK_UP : SK_DOWN);
            else
            {
                m_dwKeys = 1u << g.key;
                m_vGoals.erase(m_vGoals.begin());
            }
        }

        void Look(zolMap* map)
        {
            m_dwLastLook = m_dwClock;
            // The tunnel: east along row 2, south down column 10, east along row 11.
            std::vector<std::pair<int, int>> path = {{3, 2}};
            for (int x = 4; x <= 10; x++)
                path.push_back({x, 2});
            for (int y = 3; y <= 11; y++)
                path.push_back({10, y});
            for (int x = 11; x <= 16; x++)
                path.push_back({x, 11});
            bool through = false;
            for (size_t i = 0; i + 1 < path.size(); i++)
            {
                zolTile* here = map->GetTile(path[i].first, path[i].second);
                zolTile* next = map->GetTile(path[i + 1].first, path[i + 1].second);
                if (here->IsSolid() || !here->IsLit())
                {
                    through = !here->IsSolid();
                    break;
                }
                int key = next->GetY() > here->GetY() ? SK_SOUTH : SK_EAST;
                if (here->GetHealth() > 16 && !here->GetCommand(true))
                    m_vGoals.push_back({here->GetX(), here->GetY(), key});
                if (next->IsSolid() && !next->GetCommand(true))
                    m_vGoals.push_back({next->GetX(), next->GetY(), SK_CLEAR});
            }
            // A few builds on healed ground of the base, and two more when the tunnel is through.
            const int builds[6][3] = {{1, 1, SK_HIVE},    {3, 3, SK_HIVE},    {1, 3, SK_TRAINER},
                                      {3, 1, SK_TRAINER}, {5, 2, SK_TRAINER}, {10, 4, SK_TRAINER}};
            for (int b = 0; b < (through ? 6 : 4); b++)
            {
                zolTile* t = map->GetTile(builds[b][0], builds[b][1]);
                if (b >= m_dwBuilt && t->IsLit() && !t->IsSolid() && t->GetHealth() > 16 &&
                    !t->GetCommand(true))
                {
                    m_vGoals.push_back({builds[b][0], builds[b][1], builds[b][2]});
                    m_dwBuilt = b + 1;
                }
            }
        }

        unsigned m_dwKeys = 0;
        int m_dwClock = 0, m_dwLastLook = -1000;
        int m_dwBuilt = 0; // builds ordered so far, in the list's order
        std::vector<Goal> m_vGoals;
    };
}

int main(int argc, char** argv)
{
    int level = argc > 1 ? LevelByName(argv[1]) : -1;
    int matches = argc > 2 ? atoi(argv[2]) : 10;
    unsigned seed = argc > 3 ? (unsigned)strtoul(argv[3], nullptr, 10) : 1;
    if (level < 0 || matches <= 0)
        return fprintf(stderr, "usage: newcomer easy|normal|hard [MATCHES [SEED]]\n"), 2;
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    BuildTilesHeadless();
    int wins[3] = {};
    for (int i = 1; i <= matches; i++)
    {
        zolSeedRand(seed + i - 1);
        MatchSession session(MatchSession::LOCAL, std::make_unique<zolNewcomer>(),
                             std::make_unique<zolComputer>(level, false), nullptr, StartMap());
        Match& match = session.GetMatch();
        while (!match.IsOver() && match.GetTicks() < 180000)
        {
            session.Step();
            match.EndTest();
        }
        zolOutcome o = match.GetOutcome();
        wins[o]++;
        printf("match %d: %s at tick %d\n", i,
               o == OUTCOME_RED_WINS    ? "red wins"
               : o == OUTCOME_BLUE_WINS ? "blue wins"
                                        : "draw",
               match.GetTicks());
        fflush(stdout);
    }
    printf("red newcomer %d, blue %s %d, draws %d\n", wins[OUTCOME_RED_WINS], LevelName(level),
           wins[OUTCOME_BLUE_WINS], wins[OUTCOME_NO_WINNER]);
    ReleaseTiles();
    return 0;
}
