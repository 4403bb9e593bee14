#ifndef ZOLAI_H
#define ZOLAI_H

#include <list>
#include <string>

#include "Controller.h"

class zolMap;

// One job of the computer player: what to do at one tile.
struct ai_job_s
{
    int kind;  // a zolOrder: what to place at the tile, or ORDER_REMOVE
    int x, y;  // tile, on the map as it is (not as the player sees it)
    int defer; // 1: wait at the back while the tile carries the player's command
};

// How well the computer plays. Every level obeys the same rules with the same cursor; they differ
// in how often they act and what they choose (docs/computer.md).
enum zolLevel
{
    LEVEL_EASY,
    LEVEL_NORMAL, // the computer as first built
    LEVEL_HARD,
    LEVELS
};

const char* LevelName(int level);         // "easy", "normal", "hard"; "" for none
int LevelByName(const std::string& name); // a zolLevel, or -1 for no level's name
int NextLevel(int level, int step);       // step -1 or +1, stopping at either end
int ActionPeriod(int level);              // calls from one action to the next: easy 25, else 10

// A computer player: one side, one level, its waiting jobs (never two for one tile) and two
// counters. It acts on every tenth call (easy: every 25th): it walks the cursor one tile toward
// the first job, carries the job out on arrival, or, with no job waiting, thinks. A level plays
// red as it plays blue with the map turned half round: what it sees at (x, y) it sees as blue at
// (W-1-x, H-1-y), north and south, east and west swapped, its own ground the lit one.
class zolComputer : public zolController
{
public:
    zolComputer(int level, bool side);        // fresh: no job, counters 0
    zolComputer(const zolComputer&) = delete; // the job list may be pointed at
    zolComputer& operator=(const zolComputer&) = delete;

    void Tick(int* cursor, zolMap* map, int width, int height) override;
    void Reset() override; // fresh again
    // Its level, side, counters and jobs. Load refuses another level or side than its own.
    void Save(zolByteWriter& out) override;
    bool Load(zolByteReader& in) override;

    void AddJobBack(int kind, int x, int y, int defer);  // replaces the tile's job, at the back
    void AddJobFront(int kind, int x, int y, int defer); // replaces the tile's job, at the front

    int GetLevel() { return m_dwLevel; }
    bool GetSide() { return m_bSide; }
    std::list<ai_job_s>& GetJobs() { return *m_pvJobs; }
    // The tick divider (0 to 9, easy 0 to 24) and the thinks since the last survey (0 to 10).
    int GetMoveTicker() { return m_dwMoveTicker; }
    int GetRefresh() { return m_dwRefresh; }
    void SetCounters(int moveTicker, int refresh)
    {
        m_dwMoveTicker = moveTicker;
        m_dwRefresh = refresh;
    }

private:
    friend zolComputer& ProgramComputer(int level);
    zolComputer(int level, bool side, std::list<ai_job_s>* jobs); // jobs kept elsewhere

    int m_dwLevel;
    bool m_bSide; // true red, false blue
    std::list<ai_job_s> m_pvOwnJobs;
    std::list<ai_job_s>* m_pvJobs; // m_pvOwnJobs, or the program's list; never null
    int m_dwMoveTicker = 0;        // acts when it comes round to 0
    int m_dwRefresh = 0;
};

// The program's blue computer of each level, the one a match against the computer in the menu
// uses. Its jobs and counters belong to the program and carry over from one match to the next;
// normal's jobs are ai_svJobs.
zolComputer& ProgramComputer(int level);

// The program's blue normal player, by the names it has always had. DoAI is its Tick.
extern std::list<ai_job_s> ai_svJobs;
void InitAI(zolMap* map, int width, int height, int baseX, int baseY); // does nothing
void DoAI(int* cursor, zolMap* map, int width, int height);            // cursor: x then y
void AddJobA(int kind, int x, int y, int defer);                       // its AddJobBack
void AddJobFront(int kind, int x, int y, int defer);
void GetAICounters(int* moveTicker, int* refresh);
void SetAICounters(int moveTicker, int refresh);

// A match's side played by the program's computer of a level, blue; not owned.
class zolComputerSide : public zolController
{
public:
    explicit zolComputerSide(int level = LEVEL_NORMAL) : m_pComputer(&ProgramComputer(level)) {}

    void Tick(int* cursor, zolMap* map, int width, int height) override
    {
        m_pComputer->Tick(cursor, map, width, height);
    }

    void Save(zolByteWriter& out) override { m_pComputer->Save(out); }
    bool Load(zolByteReader& in) override { return m_pComputer->Load(in); }
    void Reset() override { m_pComputer->Reset(); }

    zolComputer* GetComputer() { return m_pComputer; }

private:
    zolComputer* m_pComputer; // the program's; never null
};

#endif
