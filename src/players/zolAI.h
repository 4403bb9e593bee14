#ifndef ZOLAI_H
#define ZOLAI_H

#include <list>

#include "Controller.h"

class zolMap;

// One job of the computer player: what to do at one tile.
struct ai_job_s
{
    int kind;  // a zolOrder: what to place at the tile, or ORDER_REMOVE
    int x, y;  // tile
    int defer; // 1: wait at the back while the tile carries a blue command
};

// The jobs waiting, never two for one tile. Like DoAI's counters it belongs to the program and
// carries over from one match to the next.
extern std::list<ai_job_s> ai_svJobs;

// The computer plays blue with the blue cursor. It acts on every tenth call of DoAI: it walks the
// cursor one tile toward the first job, carries the job out on arrival, or, with no job waiting,
// thinks: ten random attempts to dig or build, then a survey that points arrows at red ground.
void InitAI(zolMap* map, int width, int height, int baseX, int baseY); // does nothing
void DoAI(int* cursor, zolMap* map, int width, int height);            // cursor: x then y
void AddJobA(int kind, int x, int y, int defer);     // replaces the tile's job, at the back
void AddJobFront(int kind, int x, int y, int defer); // replaces the tile's job, at the front

// DoAI's two counters, for a recording to carry: the tick divider (0 to 9) and the thinks since
// the last survey (0 to 10).
void GetAICounters(int* moveTicker, int* refresh);
void SetAICounters(int moveTicker, int refresh);

// The computer as a match's blue side. Its jobs and counters belong to the program, not to this
// object, so they carry over from one match to the next.
class zolComputerSide : public zolController
{
public:
    void Tick(int* cursor, zolMap* map, int width, int height) override
    {
        DoAI(cursor, map, width, height);
    }
};

#endif
