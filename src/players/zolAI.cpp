#include "zolAI.h"

#include <typeinfo>

#include "Orders.h"
#include "zolCmdGo.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"

std::list<ai_job_s> ai_svJobs;

namespace
{
    // DoAI's counters. They belong to the program like the job list, and live out here only so
    // that a recording can start a replay from them.
    int dwMoveTicker = 0; // the computer acts when it comes round to 0, every tenth call
    int dwRefresh = 0;    // thinks since the last survey
}

namespace
{
    void RemoveJobsAt(int x, int y)
    {
        ai_svJobs.remove_if([x, y](const ai_job_s& job) { return job.x == x && job.y == y; });
    }

    bool IsOwnOpen(zolTile* tile)
    {
        return tile && !tile->IsSolid() && !tile->IsLit();
    }

    // The arrow blue has on the tile as a direction, or -1 for any other command or none.
    int CurrentArrow(zolTile* tile)
    {
        zolCommand* cmd = tile->GetCommand(false);
        if (!cmd)
            return -1;
        const std::type_info& type = typeid(*cmd);
        if (type == typeid(zolCmdNorth))
            return 0;
        if (type == typeid(zolCmdEast))
            return 1;
        if (type == typeid(zolCmdSouth))
            return 2;
        if (type == typeid(zolCmdWest))
            return 3;
        return -1;
    }

    void Survey(zolMap* map, int width, int height)
    {
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
            {
                zolTile* tile = map->GetTile(x, y);
                if (!IsOwnOpen(tile))
                    continue;
                int current = CurrentArrow(tile);
                int wanted = -1;
                for (int dir = 0; dir < 4 && wanted < 0; dir++)
                {
                    zolTile* n = tile->GetNeighbour(dir);
                    if (n && !n->IsSolid() && n->IsLit())
                        wanted = dir;
                }
                if (current == wanted)
                    continue;
                if (wanted >= 0)
                    AddJobFront(ORDER_NORTH + wanted, x, y, 0);
                else if (zolRand() % 5 == 0)
                    AddJobA(ORDER_REMOVE, x, y, 0);
            }
    }

    void Dig(zolMap* map, zolTile* rock, int rx, int ry)
    {
        bool own[4];
        for (int dir = 0; dir < 4; dir++)
            own[dir] = IsOwnOpen(rock->GetNeighbour(dir));
        if (rock->GetCommand(false) || !(own[0] || own[1] || own[2] || own[3]))
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
            zolTile* tile = map->GetTile(x, y);
            if (!tile || !tile->IsSolid() || tile->GetCommand(false))
                return;
            AddJobA(ORDER_CLEAR, x, y, 0);
        }
    }

    void RandomAttempt(zolMap* map, int width, int height)
    {
        if (width <= 0 || height <= 0)
            return;
        int rx = zolRand() % width;
        int ry = zolRand() % height;
        zolTile* tile = map->GetTile(rx, ry);
        if (!tile || tile->IsLit())
            return;
        if (tile->GetType() == g_pvTileTypes[TILE_ROCK])
            Dig(map, tile, rx, ry);
        else if (tile->GetType() == g_pvTileTypes[TILE_FLOOR] && !tile->GetCommand(false))
        {
            int r = zolRand() % 15;
            if (r <= 2)
                AddJobA(ORDER_TRAINER, rx, ry, 0);
            else if (r == 3)
                AddJobA(ORDER_HIVE, rx, ry, 0);
        }
    }

    void CarryOut(const ai_job_s& job, zolTile* tile)
    {
        if (job.kind == ORDER_REMOVE)
        {
            if (tile->IsSolid() || !tile->IsLit())
                tile->SetCommand(false, nullptr);
            return;
        }
        // Nothing queued long ago is checked again: a tile that turned red refuses the command.
        PlaceCommand(tile, job.kind, false);
    }
}

void InitAI(zolMap*, int, int, int, int) {}

void DoAI(int* cursor, zolMap* map, int width, int height)
{
    dwMoveTicker = (dwMoveTicker + 1) % 10;
    if (dwMoveTicker != 0)
        return;

    if (ai_svJobs.empty())
    {
        if (++dwRefresh > 10)
        {
            dwRefresh = 0;
            Survey(map, width, height);
        }
        else
            RandomAttempt(map, width, height);
        return;
    }

    ai_job_s job = ai_svJobs.front();
    if (job.defer == 1)
    {
        zolTile* tile = map->GetTile(job.x, job.y);
        if (tile && tile->GetCommand(false))
        {
            ai_svJobs.push_back(job);
            ai_svJobs.pop_front();
            return;
        }
    }

    int& cx = cursor[0];
    int& cy = cursor[1];
    if (cx > job.x)
    {
        cx--;
        return;
    }
    if (cx < job.x)
    {
        cx++;
        return;
    }
    if (cy > job.y)
    {
        cy--;
        return;
    }
    if (cy < job.y)
    {
        cy++;
        return;
    }

    if (zolTile* tile = map->GetTile(cx, cy))
        CarryOut(job, tile);
    ai_svJobs.pop_front();
}

void AddJobA(int kind, int x, int y, int defer)
{
    RemoveJobsAt(x, y);
    ai_svJobs.push_back({kind, x, y, defer});
}

void AddJobFront(int kind, int x, int y, int defer)
{
    RemoveJobsAt(x, y);
    ai_svJobs.push_front({kind, x, y, defer});
}

void GetAICounters(int* moveTicker, int* refresh)
{
    *moveTicker = dwMoveTicker;
    *refresh = dwRefresh;
}

void SetAICounters(int moveTicker, int refresh)
{
    dwMoveTicker = moveTicker;
    dwRefresh = refresh;
}
