#include <cstring>
#include <map>
#include <sstream>
#include <typeindex>

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

namespace
{
    // A 20 x 14 map as blue sees it: '#' rock, 'b' blue floor, 'f' blue floor not yet healed,
    // 'r' red floor, 'g' red floor not yet healed, 'H' 'h' blue and red hives, 'T' 't' trainers, 'X' blue thorns; a digit
    // stands that many blue units (rank 3) on blue floor, a letter from 'A' to 'E' that many red
    // ones on red floor. With turned, the same map turned half round with the sides swapped.
    Map Scene(const std::vector<std::string>& rows, bool turned)
    {
        Map map(new zolMap());
        int w = (int)rows[0].size(), h = (int)rows.size();
        map->SetSize(w, h);
        map->FillBlanks(g_pvTileTypes[TILE_ROCK]);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++)
            {
                char c = rows[y][x];
                int kind = c == '#'               ? TILE_ROCK
                           : c == 'H' || c == 'h' ? TILE_HIVE
                           : c == 'T' || c == 't' ? TILE_TRAINER
                           : c == 'X'             ? TILE_THORNS
                                                  : TILE_FLOOR;
                bool red = c == 'r' || c == 'g' || c == 'h' || c == 't' || (c >= 'A' && c <= 'E');
                int tx = turned ? w - 1 - x : x, ty = turned ? h - 1 - y : y;
                map->SetTile(tx, ty, g_pvTileTypes[kind]);
                zolTile* tile = map->GetTile(tx, ty);
                if (kind != TILE_ROCK)
                    map->SetTileLit(tx, ty, red != turned);
                tile->SetHealth(c == 'f' || c == 'g' ? 0 : 3000);
                int units = c >= '1' && c <= '9' ? c - '0' : c >= 'A' && c <= 'E' ? c - 'A' + 1 : 0;
                for (int u = 0; u < units * 4; u++)
                {
                    zolUnit* unit = new zolUnit();
                    unit->SetSide(red != turned);
                    unit->SetType(3);
                    unit->SetPos(0, 0);
                    unit->SetVel(0, 0);
                    tile->AddUnit(unit);
                    map->AddUnit(unit);
                }
            }
        // The side counts come from an update; with the cap at 0 no hive draws a number.
        const int savedCap = zu_dwMaxUnits;
        zu_dwMaxUnits = 0;
        zolSeedRand(1);
        map->Update();
        zu_dwMaxUnits = savedCap;
        return map;
    }

    // Every command on the map as blue would see it: "x,y:side order" lines, arrows by direction.
    std::string Commands(zolMap* map, bool turned)
    {
        const std::type_index arrows[] = {typeid(zolCmdNorth), typeid(zolCmdEast),
                                          typeid(zolCmdSouth), typeid(zolCmdWest)};
        std::ostringstream out;
        int w = map->GetWidth(), h = map->GetHeight();
        for (int i = 0; i < w * h * 2; i++)
        {
            int x = i / 2 % w, y = i / 2 / w, side = i % 2;
            zolTile* tile = map->GetTile(turned ? w - 1 - x : x, turned ? h - 1 - y : y);
            if (zolCommand* cmd = tile->GetCommand(side != turned))
            {
                int dir = std::find(arrows, arrows + 4, std::type_index(typeid(*cmd))) - arrows;
                out << x << "," << y << ":" << side << " "
                    << (dir < 4 ? "arrow " + std::to_string(turned ? (dir + 2) % 4 : dir)
                                : typeid(*cmd).name())
                    << "\n";
            }
        }
        return out.str();
    }

    // A job on the turned map as blue would see it.
    ai_job_s Seen(ai_job_s job, int w, int h)
    {
        if (job.kind >= ORDER_NORTH && job.kind <= ORDER_WEST)
            job.kind = ORDER_NORTH + (job.kind - ORDER_NORTH + 2) % 4;
        return {job.kind, w - 1 - job.x, h - 1 - job.y, job.defer};
    }
}

// A level plays red as it plays blue on the map turned half round. Blue's decisions on a map and
// red's on the turned map, from the same random state, must be the same turned, call by call:
// the jobs, the cursor and, at the end, every command placed. The map is not updated between the
// calls, for the world itself is not symmetric in its update order.
TEST(ComputerLevels, EachLevelPlaysRedAsItPlaysBlueTurnedHalfRound)
{
    const std::vector<std::vector<std::string>> scenes = {
        // The opening: both bases, partly healed, nothing dug.
        {"####################", "#gEg################", "#rhD################",
         "#gCr################", "####################", "####################",
         "####################", "####################", "####################",
         "####################", "################f9f#", "################9Hb#",
         "################f8b#", "####################"},
        // Later: a tunnel from blue's side has met red's ground, blue far stronger at the front.
        {"####################", "#rrr################", "#rhrrr##############",
         "#rtrrrA#############", "#####rBB#######b####", "######rC9bbbbbbb####",
         "#######r99####f#####", "#######rb9####b#####", "##########bb##b#####",
         "###########b##bbbb##", "###########bbTbbbbb#", "############bbb8bHb#",
         "#############X##b5b#", "####################"}};
    for (int level = 0; level < LEVELS; level++)
        for (size_t s = 0; s < scenes.size(); s++)
        {
            SCOPED_TRACE(testing::Message() << LevelName(level) << ", scene " << s);
            Map maps[2] = {Scene(scenes[s], false), Scene(scenes[s], true)};
            zolComputer players[2] = {zolComputer(level, false), zolComputer(level, true)};
            int cursors[2][2] = {{17, 11}, {2, 2}}; // each on its own hive
            int w = maps[0]->GetWidth(), h = maps[0]->GetHeight();
            uint32_t rand[2];
            size_t mostJobs = 0;
            bool same = true;
            for (int call = 1; call <= 4000 && same; call++)
            {
                for (int t = 0; t < 2; t++)
                {
                    zolSeedRand(call * 7919);
                    players[t].Tick(cursors[t], maps[t].get(), w, h);
                    rand[t] = g_dwRandState;
                }
                Jobs seen;
                for (const ai_job_s& job : players[1].GetJobs())
                    seen.push_back(Seen(job, w, h));
                same = rand[0] == rand[1] && cursors[0][0] == w - 1 - cursors[1][0] &&
                       cursors[0][1] == h - 1 - cursors[1][1] && players[0].GetJobs() == seen;
                EXPECT_TRUE(same) << "call " << call;
                EXPECT_EQ(players[0].GetJobs(), seen) << "call " << call;
                mostJobs = std::max(mostJobs, seen.size());
            }
            std::string placed = Commands(maps[0].get(), false);
            EXPECT_EQ(placed, Commands(maps[1].get(), true));
            EXPECT_GT(mostJobs, 0u);
            EXPECT_GT(std::count(placed.begin(), placed.end(), '\n'), 1) << placed;
        }
}
