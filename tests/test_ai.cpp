#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "Main.h"
#include "Orders.h"
#include "zolAI.h"
#include "zolCmdGo.h"
#include "zolCmdTrainer.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"

using Jobs = std::list<ai_job_s>;
using Map = std::unique_ptr<zolMap>;
bool operator==(const ai_job_s& a, const ai_job_s& b)
{
    return !memcmp(&a, &b, sizeof a);
}
void PrintTo(const ai_job_s& j, std::ostream* os)
{
    *os << j.kind << "@" << j.x << "," << j.y << (j.defer ? "d" : "");
}

// '#' rock, 'R' red rock, 'r' red floor, 'b' blue floor, 'H' a blue hive; blue floor with a blue
// command of a job's kind: 't' trainer, 'h' hive, 'n' 'e' 's' 'w' arrows; 'c' blue rock with a
// blue Clear. Health 0 everywhere.
static Map MapOf(const std::vector<std::string>& rows)
{
    Map map(new zolMap());
    map->SetSize((int)rows[0].size(), (int)rows.size());
    for (int y = 0; y < map->GetHeight(); y++)
        for (int x = 0; x < map->GetWidth(); x++)
        {
            char c = rows[y][x];
            map->SetTile(x, y,
                         g_pvTileTypes[c == '#' || c == 'R' || c == 'c' ? 0
                                       : c == 'H'                       ? 2
                                                                        : 1]);
            map->SetTileLit(x, y, c == 'r' || c == 'R');
            // Any other mark finds no kind: MakeCommand(-1) is null and empties the empty slot.
            map->GetTile(x, y)->SetCommand(
                false, MakeCommand((int)std::string("__thcnesw").find(c), false));
        }
    return map;
}

static const std::type_info& BlueCmd(const Map& map, int x, int y)
{
    zolCommand* cmd = map->GetTile(x, y)->GetCommand(false);
    return cmd ? typeid(*cmd) : typeid(void);
}

// Seeds the game's source with the first seed whose next draws, each modulo its bound, give the
// wanted values.
static void SeedFor(std::initializer_list<std::pair<int, int>> draws)
{
    unsigned seed = 0;
    do
        zolSeedRand(++seed);
    while (!std::all_of(draws.begin(), draws.end(),
                        [](auto d) { return zolRand() % d.first == d.second; }));
    zolSeedRand(seed);
}

struct ComputerPlayer : testing::Test
{
    // DoAI's counters outlive every test. On the idle map no random attempt can queue a job (its
    // blue floor carries a command, its other tile is red) and a survey always queues one, so the
    // first job marks the call that surveyed: both counters are then at 0.
    void SetUp() override
    {
        ai_svJobs.clear();
        for (int call = 0; call < 110 && ai_svJobs.empty(); call++)
            DoAI(cursor, idle.get(), 2, 1);
        ASSERT_EQ(1u, ai_svJobs.size());
        ai_svJobs.clear();
    }
    void Act(const Map& map, int actions = 1)
    {
        for (int call = 0; call < 10 * actions; call++)
            DoAI(cursor, map.get(), map->GetWidth(), map->GetHeight());
    }

    Map idle = MapOf({"nr"});
    int cursor[2] = {0, 0};
};

TEST_F(ComputerPlayer, ThinksOnEveryTenthCallTenRandomAttemptsThenASurveyThatPointsArrowsAtRed)
{
    zolSeedRand(9);
    for (int draw = 0; draw < 20; draw++)
        zolRand();
    const int next = zolRand();
    zolSeedRand(9);
    Act(idle, 10);
    EXPECT_TRUE(ai_svJobs.empty() && zolRand() == next)
        << "an attempt on idle draws a tile and nothing else";
    Map map = MapOf({"rr#rr", "nhbrr", "wbebr"}); // (0, 1) points at red already
    SeedFor({{5, 0}, {5, 1}}); // the stray arrows at (0, 2) and (2, 2) draw in scan order
    for (int call = 1; call < 10; call++)
        DoAI(cursor, map.get(), 5, 3);
    ASSERT_TRUE(ai_svJobs.empty()) << "nine calls in ten do nothing";
    DoAI(cursor, map.get(), 5, 3);
    // Arrows go to the front, so the last found comes first; (3, 2) points north, not east. A
    // draw that is a multiple of 5 queues the removal of a stray arrow.
    EXPECT_EQ(Jobs({{5, 3, 2, 0}, {6, 2, 1, 0}, {5, 1, 1, 0}, {9, 0, 2, 0}}), ai_svJobs);
    for (int i = 0; i < 100 && !ai_svJobs.empty(); i++)
        Act(map);
    // North in place of the build, and the stray arrow gone.
    EXPECT_TRUE(BlueCmd(map, 1, 1) == typeid(zolCmdNorth) && BlueCmd(map, 0, 2) == typeid(void));
}

TEST_F(ComputerPlayer, KeepsOneJobATileWalksTheRowFirstAndCarriesJobsOutUncheckedOrDefers)
{
    Map map = MapOf({"bbbb", "brnR"});
    // A new job replaces the one on its tile: the trainer on red rock and the hive on red floor
    // (refused there, and destroyed) go to the back, the deferred arrow to the front.
    for (auto [kind, x, defer, front] :
         {std::array{9, 2, 0, 0}, {5, 1, 0, 0}, {2, 3, 0, 0}, {3, 1, 0, 0}, {6, 2, 1, 1}})
        (front ? AddJobFront : AddJobA)(kind, x, 1, defer);
    Act(map); // (2, 1) carries a command: the arrow waits at the back, the cursor at (0, 0)
    EXPECT_EQ(Jobs({{2, 3, 1, 0}, {3, 1, 1, 0}, {6, 2, 1, 1}}), ai_svJobs);
    for (auto [x, y] :
         {std::pair{1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 1}, {2, 1}, {1, 1}, {1, 1}, {1, 1}})
    {
        Act(map);
        EXPECT_TRUE(cursor[0] == x && cursor[1] == y) << x << "," << y;
    }
    EXPECT_EQ(typeid(zolCmdTrainer), BlueCmd(map, 3, 1));
    map->GetTile(2, 1)->SetCommand(false, nullptr);
    AddJobA(9, 3, 1, 0); // removal works on any rock
    Act(map, 4);
    EXPECT_TRUE(BlueCmd(map, 2, 1) == typeid(zolCmdEast) && BlueCmd(map, 3, 1) == typeid(void) &&
                ai_svJobs.empty());
}

TEST_F(ComputerPlayer, ARandomAttemptDigsAwayFromOwnGroundOrBuildsOnFreeOwnFloor)
{
    // The map, the tile drawn, the draw after it (modulo 5 on rock, 15 on floor) and the jobs.
    struct Try
    {
        std::vector<std::string> rows;
        int x, y, draw;
        Jobs jobs;
    };
    const Try tries[] = {
        {{"#", "#", "#", "#", "#", "#", "b"},
         0,
         5,
         4,
         {{4, 0, 5, 0}, {4, 0, 4, 0}, {4, 0, 3, 0}, {4, 0, 2, 0}, {4, 0, 1, 0}}},
        {{"#", "#", "c", "#", "#", "#", "b"}, 0, 5, 4, {{4, 0, 5, 0}, {4, 0, 4, 0}, {4, 0, 3, 0}}},
        {{"c", "b"}, 0, 0, 4, {}},
        {{"b", "#", "#", "#"}, 0, 1, 1, {{4, 0, 1, 0}, {4, 0, 2, 0}}},
        {{"##b"}, 1, 0, 4, {{4, 1, 0, 0}, {4, 0, 0, 0}}},
        {{"b###"}, 1, 0, 1, {{4, 1, 0, 0}, {4, 2, 0, 0}}},
        {{"b", "#", "b"}, 0, 1, 4, {}},
        // Along the column first; red floor is not own ground.
        {{"##", "#b", "b#"}, 0, 1, 4, {{4, 0, 1, 0}, {4, 0, 0, 0}}},
        {{"r", "#", "b"}, 0, 1, 4, {{4, 0, 1, 0}}},
        {{"#b#", "##b", "#b#"}, 1, 1, 4, {{4, 1, 1, 0}, {4, 0, 1, 0}}},
        {{"b"}, 0, 0, 0, {{2, 0, 0, 0}}},
        {{"b"}, 0, 0, 2, {{2, 0, 0, 0}}},
        {{"b"}, 0, 0, 3, {{3, 0, 0, 0}}},
        {{"b"}, 0, 0, 4, {}},
        {{"b"}, 0, 0, 14, {}},
        {{"s"}, 0, 0, 0, {}},
        {{"H"}, 0, 0, 0, {}},
        {{"r"}, 0, 0, 0, {}},
    };
    for (const Try& t : tries)
    {
        Map map = MapOf(t.rows);
        SeedFor({{map->GetWidth(), t.x},
                 {map->GetHeight(), t.y},
                 {t.rows[t.y][t.x] == '#' ? 5 : 15, t.draw}});
        Act(map);
        EXPECT_EQ(t.jobs, ai_svJobs)
            << t.rows[0] << " at " << t.x << "," << t.y << ", draw " << t.draw;
        SetUp(); // each try the first think after a survey
    }
}
