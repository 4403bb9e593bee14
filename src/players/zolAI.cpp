#include "zolAI.h"

#include <typeinfo>

#include "Bytes.h"
#include "ComputerPlan.h"
#include "HumanSide.h"
#include "zolCmdGo.h"
#include "zolRandom.h"
#include "zolTileType.h"

std::list<ai_job_s> ai_svJobs;

namespace
{
    const char* const NAMES[LEVELS] = {"easy", "normal", "hard"};
    // Calls between two actions, by level. A newcomer's hands are slow: so are easy's.
    const int PERIOD[LEVELS] = {25, 10, 10};
}

const char* LevelName(int level)
{
    return level >= 0 && level < LEVELS ? NAMES[level] : "";
}

int LevelByName(const std::string& name)
{
    for (int level = 0; level < LEVELS; level++)
        if (name == NAMES[level])
            return level;
    return -1;
}

int NextLevel(int level, int step)
{
    int next = level + step;
    return next < 0 ? 0 : next >= LEVELS ? LEVELS - 1 : next;
}

int ActionPeriod(int level)
{
    return PERIOD[level >= 0 && level < LEVELS ? level : LEVEL_NORMAL];
}

int zolSideView::Arrow(zolTile* tile)
{
    zolCommand* cmd = Mine(tile);
    if (!cmd)
        return -1;
    const std::type_info& type = typeid(*cmd);
    int dir = type == typeid(zolCmdNorth)   ? 0
              : type == typeid(zolCmdEast)  ? 1
              : type == typeid(zolCmdSouth) ? 2
              : type == typeid(zolCmdWest)  ? 3
                                            : -1;
    return dir < 0 ? -1 : Dir(dir);
}

bool zolPlan::HasJob(int x, int y)
{
    int wx = view.X(x), wy = view.Y(y);
    for (const ai_job_s& job : player.GetJobs())
        if (job.x == wx && job.y == wy)
            return true;
    return false;
}

// The computer as first built, now the normal level: what it does as blue is kept to the bit.
namespace
{
    void Survey(zolPlan& p)
    {
        zolSideView& v = p.view;
        for (int y = 0; y < v.Height(); y++)
            for (int x = 0; x < v.Width(); x++)
            {
                zolTile* tile = v.At(x, y);
                if (!v.Own(tile))
                    continue;
                int current = v.Arrow(tile);
                int wanted = -1;
                for (int dir = 0; dir < 4 && wanted < 0; dir++)
                    if (v.Enemy(v.Next(tile, dir)))
                        wanted = dir;
                if (current == wanted)
                    continue;
                if (wanted >= 0)
                    p.Front(ORDER_NORTH + wanted, x, y);
                else if (zolRand() % 5 == 0)
                    p.Back(ORDER_REMOVE, x, y);
            }
    }

    void Dig(zolPlan& p, zolTile* rock, int rx, int ry)
    {
        zolSideView& v = p.view;
        bool own[4];
        for (int dir = 0; dir < 4; dir++)
            own[dir] = v.Own(v.Next(rock, dir));
        if (v.Mine(rock) || !(own[0] || own[1] || own[2] || own[3]))
            return;

        // Away from the own territory; a tile between two own sides along both axes stays.
        int dx = 0, dy = 0;
        if (own[0] != own[2])
            dy = own[0] ? 1 : -1;
        else if (own[1] != own[3])
            dx = own[1] ? -1 : 1;
        else
            return;

        int length = zolRand() % 5 + 1;
        for (int i = 0; i < length; i++)
        {
            int x = rx + i * dx, y = ry + i * dy;
            zolTile* tile = v.At(x, y);
            if (!tile || !tile->IsSolid() || v.Mine(tile))
                return;
            p.Back(ORDER_CLEAR, x, y);
        }
    }

    void RandomAttempt(zolPlan& p)
    {
        zolSideView& v = p.view;
        if (v.Width() <= 0 || v.Height() <= 0)
            return;
        int rx = zolRand() % v.Width();
        int ry = zolRand() % v.Height();
        zolTile* tile = v.At(rx, ry);
        if (!tile || v.Enemy(tile))
            return;
        if (tile->GetType() == g_pvTileTypes[TILE_ROCK])
            Dig(p, tile, rx, ry);
        else if (tile->GetType() == g_pvTileTypes[TILE_FLOOR] && !v.Mine(tile))
        {
            int r = zolRand() % 15;
            if (r <= 2)
                p.Back(ORDER_TRAINER, rx, ry);
            else if (r == 3)
                p.Back(ORDER_HIVE, rx, ry);
        }
    }
}

void ThinkNormal(zolPlan& plan)
{
    if (++plan.refresh > 10)
    {
        plan.refresh = 0;
        Survey(plan);
    }
    else
        RandomAttempt(plan);
}

zolComputer::zolComputer(int level, bool side) : zolComputer(level, side, nullptr) {}

zolComputer::zolComputer(int level, bool side, std::list<ai_job_s>* jobs)
    : m_dwLevel(level), m_bSide(side), m_pvJobs(jobs ? jobs : &m_pvOwnJobs)
{
}

void zolComputer::Reset()
{
    m_pvJobs->clear();
    m_dwMoveTicker = m_dwRefresh = 0;
}

void zolComputer::AddJobBack(int kind, int x, int y, int defer)
{
    m_pvJobs->remove_if([x, y](const ai_job_s& job) { return job.x == x && job.y == y; });
    m_pvJobs->push_back({kind, x, y, defer});
}

void zolComputer::AddJobFront(int kind, int x, int y, int defer)
{
    m_pvJobs->remove_if([x, y](const ai_job_s& job) { return job.x == x && job.y == y; });
    m_pvJobs->push_front({kind, x, y, defer});
}

void zolComputer::Tick(int* cursor, zolMap* map, int width, int height)
{
    m_dwMoveTicker = (m_dwMoveTicker + 1) % PERIOD[m_dwLevel];
    if (m_dwMoveTicker != 0)
        return;

    zolSideView view(map, width, height, m_bSide);
    std::list<ai_job_s>& jobs = *m_pvJobs;
    if (jobs.empty())
    {
        zolPlan plan{view, *this, m_dwRefresh, view.X(cursor[0]), view.Y(cursor[1])};
        if (m_dwLevel == LEVEL_EASY)
            ThinkEasy(plan);
        else if (m_dwLevel == LEVEL_HARD)
            ThinkHard(plan);
        else
            ThinkNormal(plan);
        return;
    }

    ai_job_s job = jobs.front();
    if (job.defer == 1)
    {
        zolTile* tile = map->GetTile(job.x, job.y);
        if (tile && tile->GetCommand(m_bSide))
        {
            jobs.push_back(job);
            jobs.pop_front();
            return;
        }
    }

    // One step toward the job, worked out as the player sees the map so that red's walk is
    // blue's turned half round.
    int cx = view.X(cursor[0]), cy = view.Y(cursor[1]);
    int jx = view.X(job.x), jy = view.Y(job.y);
    if (cx != jx || cy != jy)
    {
        if (cx != jx)
            cx += cx > jx ? -1 : 1;
        else
            cy += cy > jy ? -1 : 1;
        cursor[0] = view.X(cx);
        cursor[1] = view.Y(cy);
        return;
    }

    if (zolTile* tile = map->GetTile(cursor[0], cursor[1]))
    {
        // The levels made later ask what a person's key would: the first one never did, and
        // places on a fresh tile that a person could not.
        bool allowed = m_dwLevel == LEVEL_NORMAL || OrderAllowed(job.kind, tile, m_bSide);
        if (job.kind == ORDER_REMOVE)
        {
            if (tile->IsSolid() || tile->IsLit() == m_bSide)
                tile->SetCommand(m_bSide, nullptr);
        }
        // Nothing queued long ago is checked again: a tile that turned the enemy's refuses it.
        else if (allowed)
            PlaceCommand(tile, job.kind, m_bSide);
    }
    jobs.pop_front();
}

zolComputer& ProgramComputer(int level)
{
    static zolComputer players[LEVELS] = {zolComputer(LEVEL_EASY, false),
                                          zolComputer(LEVEL_NORMAL, false, &ai_svJobs),
                                          zolComputer(LEVEL_HARD, false)};
    return players[level >= 0 && level < LEVELS ? level : LEVEL_NORMAL];
}

void InitAI(zolMap*, int, int, int, int) {}

void DoAI(int* cursor, zolMap* map, int width, int height)
{
    ProgramComputer(LEVEL_NORMAL).Tick(cursor, map, width, height);
}

void AddJobA(int kind, int x, int y, int defer)
{
    ProgramComputer(LEVEL_NORMAL).AddJobBack(kind, x, y, defer);
}

void AddJobFront(int kind, int x, int y, int defer)
{
    ProgramComputer(LEVEL_NORMAL).AddJobFront(kind, x, y, defer);
}

void GetAICounters(int* moveTicker, int* refresh)
{
    zolComputer& normal = ProgramComputer(LEVEL_NORMAL);
    *moveTicker = normal.GetMoveTicker();
    *refresh = normal.GetRefresh();
}

void SetAICounters(int moveTicker, int refresh)
{
    ProgramComputer(LEVEL_NORMAL).SetCounters(moveTicker, refresh);
}

void zolComputer::Save(zolByteWriter& out)
{
    out.Put<uint8_t>((uint8_t)m_dwLevel).Put<uint8_t>(m_bSide);
    out.Put<int32_t>(m_dwMoveTicker).Put<int32_t>(m_dwRefresh);
    out.Put<uint32_t>((uint32_t)m_pvJobs->size());
    for (const ai_job_s& job : *m_pvJobs)
        for (int v : {job.kind, job.x, job.y, job.defer})
            out.Put<int32_t>(v);
}

bool zolComputer::Load(zolByteReader& in)
{
    uint8_t level, side;
    int32_t ticker, refresh;
    uint32_t count;
    if (!in.Get(&level) || !in.Get(&side) || !in.Get(&ticker) || !in.Get(&refresh) ||
        !in.Get(&count) || level != m_dwLevel || side != m_bSide || ticker < 0 ||
        ticker >= ActionPeriod(level) || refresh < 0 || refresh > 10 || count > 4096)
        return false;
    std::list<ai_job_s> jobs;
    for (uint32_t i = 0; i < count; i++)
    {
        ai_job_s job;
        if (!in.Get(&job.kind) || !in.Get(&job.x) || !in.Get(&job.y) || !in.Get(&job.defer) ||
            job.kind < ORDER_THORNS || job.kind > ORDER_REMOVE || job.x < 0 || job.x > 255 ||
            job.y < 0 || job.y > 255 || job.defer < 0 || job.defer > 1)
            return false;
        jobs.push_back(job);
    }
    *m_pvJobs = std::move(jobs);
    SetCounters(ticker, refresh);
    return true;
}
