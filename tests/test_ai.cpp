#include <gtest/gtest.h>

#include <array>
#include <string>
#include <typeinfo>

#include "Main.h"
#include "TestSupport.h"
#include "zolAI.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"

namespace
{
    using Jobs = std::vector<std::array<int, 4>>;   // kind, x, y, defer

    Jobs Queued()
    {
        Jobs jobs;
        for (const ai_job_s& j : ai_svJobs)
            jobs.push_back({j.kind, j.x, j.y, j.defer});
        return jobs;
    }

    // '#' rock, 'R' red rock, 'r' red floor, 'b' blue floor; blue floor with a blue command: 'h' a
    // hive build, 'n' 'e' 's' 'w' an arrow; 'c' blue rock with a blue Clear. Health 0 everywhere.
    zolMap* MapOf(const std::vector<std::string>& rows)
    {
        zolMap* map = new zolMap();
        map->SetSize((int)rows[0].size(), (int)rows.size());
        map->FillBlanks(g_pvTileTypes[0]);
        const std::string marks = "hcnesw";     // job kinds 3 to 8
        for (int y = 0; y < map->GetHeight(); y++)
            for (int x = 0; x < map->GetWidth(); x++)
            {
                char c = rows[y][x];
                if (c != '#' && c != 'R' && c != 'c')
                    map->SetTile(x, y, g_pvTileTypes[1]);
                map->SetTileLit(x, y, c == 'r' || c == 'R');
                if (marks.find(c) != std::string::npos)
                    map->GetTile(x, y)->SetCommand(false, MakeCommand(3 + (int)marks.find(c), false));
            }
        return map;
    }

    const std::type_info& BlueCmd(zolMap* map, int x, int y)
    {
        zolCommand* cmd = map->GetTile(x, y)->GetCommand(false);
        return cmd ? typeid(*cmd) : typeid(void);
    }

    // Seeds the game's source with the first seed whose next draws, each modulo its bound, give
    // the wanted values.
    void SeedFor(std::initializer_list<std::pair<int, int>> draws)
    {
        for (unsigned seed = 1;; seed++)
        {
            zolSeedRand(seed);
            bool fits = true;
            for (auto [bound, wanted] : draws)
                fits = fits && zolRand() % bound == wanted;
            if (fits)
                return zolSeedRand(seed);
        }
    }
}

class ComputerPlayer : public testing::Test
{
protected:
    // DoAI's counters outlive every test. On the idle map no random attempt can queue a job (its
    // blue floor carries a command, its other tile is red) and a survey always queues one, so the
    // first job marks the call that surveyed: both counters are then at 0.
    void SetUp() override
    {
        m_idle = MapOf({"nr"});
        ai_svJobs.clear();
        for (int call = 0; call < 110 && ai_svJobs.empty(); call++)
            DoAI(m_cursor, m_idle, 2, 1);
        ASSERT_EQ(1u, ai_svJobs.size());
        ai_svJobs.clear();
    }
    void TearDown() override { ai_svJobs.clear(); delete m_idle; }
    void Act(zolMap* map, int actions = 1)
    {
        for (int call = 0; call < 10 * actions; call++)
            DoAI(m_cursor, map, map->GetWidth(), map->GetHeight());
    }

    zolMap* m_idle = nullptr;
    int m_cursor[2] = {0, 0};
};

TEST_F(ComputerPlayer, TenRandomAttemptsThenASurveyAndOnlyEveryTenthCallActs)
{
    for (int call = 1; call <= 110; call++)
    {
        DoAI(m_cursor, m_idle, 2, 1);
        ASSERT_EQ(call == 110 ? Jobs({{6, 0, 0, 0}}) : Jobs(), Queued()) << call;
    }
    m_cursor[0] = 1;
    for (int call = 1; call <= 20; call++)
    {
        DoAI(m_cursor, m_idle, 2, 1);
        EXPECT_EQ(call < 10 ? 1 : 0, m_cursor[0]) << call;
        EXPECT_EQ(call < 20 ? 1u : 0u, ai_svJobs.size()) << call;
    }
    EXPECT_EQ(typeid(zolCmdEast), BlueCmd(m_idle, 0, 0));
}

TEST_F(ComputerPlayer, SurveyPointsArrowsAtRedGroundAndNowAndThenRemovesAStrayOne)
{
    // The stray arrows at (0, 2) and (2, 2) draw in scan order; a multiple of 5 queues removal.
    for (auto [first, second] : {std::pair{0, 0}, {0, 1}, {3, 0}})
    {
        zolMap* map = MapOf({"rr#rr", "nhbrr", "wbebr"});   // (0, 1) points at red already
        Act(m_idle, 10);
        SeedFor({{5, first}, {5, second}});
        Act(map);
        Jobs wanted = {{5, 3, 2, 0}, {6, 2, 1, 0}, {5, 1, 1, 0}};   // (3, 2): north before east
        if (first == 0)
            wanted.push_back({9, 0, 2, 0});
        if (second == 0)
            wanted.push_back({9, 2, 2, 0});
        EXPECT_EQ(wanted, Queued());
        for (int i = 0; i < 100 && !ai_svJobs.empty(); i++)
            Act(map);
        EXPECT_EQ(typeid(zolCmdNorth), BlueCmd(map, 1, 1));     // in place of the build
        EXPECT_EQ(first == 0 ? typeid(void) : typeid(zolCmdWest), BlueCmd(map, 0, 2));
        delete map;
    }
}

TEST_F(ComputerPlayer, WalksTheRowFirstThenTheColumnAndPlacesOnAnyOwnTile)
{
    zolMap* map = MakeFloorMap(20, 14, 0, 0);
    AddJobA(3, 2, 5, 0);
    m_cursor[0] = 19, m_cursor[1] = 13;
    Act(map, 16);
    EXPECT_TRUE(m_cursor[0] == 3 && m_cursor[1] == 13);
    Act(map, 9);
    EXPECT_TRUE(m_cursor[0] == 2 && m_cursor[1] == 5 && BlueCmd(map, 2, 5) == typeid(void));
    Act(map);
    EXPECT_TRUE(ai_svJobs.empty());
    EXPECT_EQ(typeid(zolCmdHive), BlueCmd(map, 2, 5));     // at health 0, where a person could not
    delete map;
}

TEST_F(ComputerPlayer, CarriesJobsOutUncheckedAndDefersOnlyWhileTheTileHasACommand)
{
    zolMap* map = MapOf({"nRrb"});
    AddJobA(6, 0, 0, 1);
    AddJobA(2, 1, 0, 0);    // a trainer build on red rock
    AddJobA(3, 2, 0, 0);    // a hive build on red floor: refused, and destroyed
    m_cursor[0] = 3;
    Act(map);
    EXPECT_EQ(3, m_cursor[0]);
    EXPECT_EQ(Jobs({{2, 1, 0, 0}, {3, 2, 0, 0}, {6, 0, 0, 1}}), Queued());
    Act(map, 5);
    EXPECT_EQ(typeid(zolCmdTrainer), BlueCmd(map, 1, 0));
    EXPECT_EQ(nullptr, map->GetTile(2, 0)->GetCommand(true));
    Act(map);
    EXPECT_EQ(2, m_cursor[0]);
    EXPECT_EQ(Jobs({{6, 0, 0, 1}}), Queued());
    map->GetTile(0, 0)->SetCommand(false, nullptr);
    AddJobA(9, 1, 0, 0);
    Act(map, 3);
    EXPECT_EQ(typeid(zolCmdEast), BlueCmd(map, 0, 0));
    Act(map, 2);
    EXPECT_EQ(typeid(void), BlueCmd(map, 1, 0));        // removal works on any rock
    EXPECT_TRUE(ai_svJobs.empty());
    delete map;
}

TEST_F(ComputerPlayer, ANewJobReplacesAnyJobOnItsTile)
{
    for (auto [kind, x, y, front] : {std::array{2, 1, 1, 0}, {4, 2, 2, 0}, {4, 1, 2, 0}, {5, 1, 1, 1}, {9, 2, 2, 0}, {7, 1, 2, 1}})
        (front ? AddJobFront : AddJobA)(kind, x, y, 0);
    EXPECT_EQ(Jobs({{7, 1, 2, 0}, {5, 1, 1, 0}, {9, 2, 2, 0}}), Queued());
}

TEST_F(ComputerPlayer, DigsAwayFromOwnGroundWhileTheRockLasts)
{
    struct Dig { std::vector<std::string> rows; int x, y, n; std::vector<std::array<int, 2>> tiles; };
    const Dig digs[] = {
        {{"#", "#", "#", "#", "#", "#", "b"}, 0, 5, 5, {{0, 5}, {0, 4}, {0, 3}, {0, 2}, {0, 1}}},
        {{"#", "#", "c", "#", "#", "#", "b"}, 0, 5, 5, {{0, 5}, {0, 4}, {0, 3}}},
        {{"b", "#", "#", "#"}, 0, 1, 2, {{0, 1}, {0, 2}}},
        {{"##b"}, 1, 0, 5, {{1, 0}, {0, 0}}},
        {{"b###"}, 1, 0, 2, {{1, 0}, {2, 0}}},
        {{"##", "#b", "b#"}, 0, 1, 5, {{0, 1}, {0, 0}}},          // along the column first
        {{"#b#", "##b", "#b#"}, 1, 1, 5, {{1, 1}, {0, 1}}},
        {{"b", "#", "b"}, 0, 1, 5, {}},
        {{"r", "#", "b"}, 0, 1, 5, {{0, 1}}},                       // red floor is not own ground
        {{"c", "b"}, 0, 0, 5, {}},
    };
    for (const Dig& dig : digs)
    {
        zolMap* map = MapOf(dig.rows);
        SeedFor({{map->GetWidth(), dig.x}, {map->GetHeight(), dig.y}, {5, dig.n - 1}});
        Act(map);
        Jobs wanted;
        for (auto [x, y] : dig.tiles)
            wanted.push_back({4, x, y, 0});
        EXPECT_EQ(wanted, Queued()) << dig.rows[0] << " at " << dig.x << "," << dig.y;
        ai_svJobs.clear();
        delete map;
    }
}

TEST_F(ComputerPlayer, BuildsTrainersThreeTimesAndHivesOnceInFifteen)
{
    zolMap* floor = MapOf({"b"});
    zolMap* taken = MapOf({"s"});
    zolMap* hive = MapOf({"b"});
    hive->SetTile(0, 0, g_pvTileTypes[2]);
    zolMap* red = MapOf({"r"});
    const std::pair<zolMap*, int> tries[] = {{floor, 0}, {floor, 1}, {floor, 2}, {floor, 3}, {floor, 4},
                                             {floor, 14}, {taken, 0}, {hive, 0}, {red, 0}};
    for (auto [map, r] : tries)
    {
        SeedFor({{1, 0}, {1, 0}, {15, r}});
        Act(map);
        int kind = map != floor || r > 3 ? 0 : r < 3 ? 2 : 3;
        EXPECT_EQ(kind ? Jobs({{kind, 0, 0, 0}}) : Jobs(), Queued()) << r;
        ai_svJobs.clear();
    }
    for (zolMap* map : {floor, taken, hive, red})
        delete map;
}
