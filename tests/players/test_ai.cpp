#include <cstring>
#include <map>

#include "TestSupport.h"
#include "zolAI.h"
#include "zolCmdGo.h"

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

namespace
{
    // '#' rock, 'r' red floor, 'b' blue floor; blue floor with a blue command: 'h' a hive build,
    // 'n' 'e' 'w' arrows. Health 0 everywhere.
    Map MapOf(const std::vector<std::string>& rows)
    {
        const std::map<char, int> orders = {
            {'h', ORDER_HIVE}, {'n', ORDER_NORTH}, {'e', ORDER_EAST}, {'w', ORDER_WEST}};
        Map map(new zolMap());
        map->SetSize((int)rows[0].size(), (int)rows.size());
        for (int i = 0; i < map->GetWidth() * map->GetHeight(); i++)
        {
            int x = i % map->GetWidth(), y = i / map->GetWidth();
            char c = rows[y][x];
            map->SetTile(x, y, g_pvTileTypes[c == '#' ? TILE_ROCK : TILE_FLOOR]);
            map->SetTileLit(x, y, c == 'r');
            if (orders.count(c))
                PlaceCommand(map->GetTile(x, y), orders.at(c), false);
        }
        return map;
    }

    const std::type_info& BlueCmd(const Map& map, int x, int y)
    {
        zolCommand* cmd = map->GetTile(x, y)->GetCommand(false);
        return cmd ? typeid(*cmd) : typeid(void);
    }
}

// DoAI's counters outlive every match. On the idle map no random attempt can queue a job (its blue
// floor carries a command, its other tile is red) and a survey always queues one, so the first job
// marks the call that surveyed: both counters are then at 0.
TEST(ComputerPlayer, ThinksOnEveryTenthCallTenRandomAttemptsThenASurveyThatPointsArrowsAtRed)
{
    Map idle = MapOf({"nr"});
    int cursor[2] = {0, 0};
    auto calls = [&cursor](const Map& map, int n)
    {
        for (int call = 0; call < n; call++)
            DoAI(cursor, map.get(), map->GetWidth(), map->GetHeight());
    };
    ai_svJobs.clear();
    for (int call = 0; call < 110 && ai_svJobs.empty(); call++)
        calls(idle, 1);
    ASSERT_EQ(1u, ai_svJobs.size());
    ai_svJobs.clear();
    zolSeedRand(9);
    calls(idle, 100);
    EXPECT_TRUE(ai_svJobs.empty());
    EXPECT_EQ(25411, zolRand()) << "seed 9's 21st: each attempt on idle draws a tile, no more";
    Map map = MapOf({"rr#rr", "nhbrr", "wbebr"}); // (0, 1) points at red already
    zolSeedRand(2); // the stray arrows at (0, 2) and (2, 2) draw 45 and 29216, in scan order
    calls(map, 9);
    ASSERT_TRUE(ai_svJobs.empty()) << "nine calls in ten do nothing";
    calls(map, 1);
    // Arrows go to the front, so the last found comes first; (3, 2) points north, not east. A
    // draw that is a multiple of 5 queues the removal of a stray arrow.
    EXPECT_EQ(Jobs({{ORDER_NORTH, 3, 2, 0},
                    {ORDER_EAST, 2, 1, 0},
                    {ORDER_NORTH, 1, 1, 0},
                    {ORDER_REMOVE, 0, 2, 0}}),
              ai_svJobs);
    calls(map, 200);
    EXPECT_EQ(typeid(zolCmdNorth), BlueCmd(map, 1, 1)) << "in place of the build";
    EXPECT_EQ(typeid(void), BlueCmd(map, 0, 2)) << "the stray arrow";
}
