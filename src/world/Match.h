#ifndef MATCH_H
#define MATCH_H

#include <cstdint>
#include <memory>
#include <string>

#include "MatchStats.h"

struct BITMAP;
class zolByteReader;
struct zolByteWriter;
class zolController;
class zolMap;

enum zolOutcome
{
    OUTCOME_NO_WINNER, // both sides still had units (Esc), or neither had any
    OUTCOME_RED_WINS,
    OUTCOME_BLUE_WINS
};

// One match, from the starting map to its outcome. The shell runs ticks against the clock, runs
// the end test once per frame after that frame's ticks, and draws; drawing decides nothing.
class Match
{
public:
    // The starting map, width x height tiles. The controllers are not owned and must outlive the
    // match; red's acts before blue's in every tick.
    Match(zolController* red, zolController* blue, int width, int height);
    // A match on a map made elsewhere, which it then owns: the cursors start in its corners.
    Match(zolController* red, zolController* blue, zolMap* map);
    ~Match();
    Match(const Match&) = delete;
    Match& operator=(const Match&) = delete;

    void Tick();    // one game tick: red's controller, blue's, the map's update
    void EndTest(); // over once more than 1000 ticks have run and a side has no unit
    void Quit() { m_bOver = true; } // Esc: over once this pass's frame is shown
    // One frame: the map, both cursors (one zolFlickerRand() each), the frame rate
    // when asked, and the balance bars. bmp: at least the map's size plus a 32-pixel strip.
    void Draw(BITMAP* bmp, bool showFrameRate);
    // Frames that change nothing: their flicker draws from a source of the match's own rather
    // than the game's. Across two machines, and for a replay on the screen.
    void SetFlickerApart(bool apart) { m_bFlickerApart = apart; }
    // Counts n frames as played and moves the game's random source on as drawing them with the
    // flicker not apart would: two calls for the cursors and one per command on the map, each
    // frame. Costs one pass over the map and some 64 steps, however large n is. For the frames
    // a recording was played with, which its replay does not show.
    void SkipFrames(int n);

    // The match's whole state: its map (Snapshot.h), cursors, ticks, frame counts, flicker and
    // figures. Load takes a saved state up again in place of this one's, controllers kept;
    // false, with why, for bytes that are not one, the match then as it was.
    void Save(zolByteWriter& out);
    bool Load(zolByteReader& in, std::string* why);

    zolOutcome GetOutcome(); // as the map stands; final once the match is over

    bool IsOver() { return m_bOver; }
    int GetTicks() { return m_dwTicks; }
    int GetFrameRate() { return m_dwFrameRate; }
    int GetFramesBeforeTick(); // between the last two ticks
    zolMap* GetMap() { return m_pMap.get(); }
    zolMatchStats& GetStats() { return *m_pStats; }
    int* GetCursor(bool side) { return m_dwvCursors[side]; } // x then y

private:
    std::unique_ptr<zolMap> m_pMap;
    std::unique_ptr<zolMatchStats> m_pStats; // of m_pMap
    zolController* m_pvSides[2];             // by side: 0 blue, 1 red; not owned
    int m_dwvCursors[2][2];
    int m_dwWidth, m_dwHeight; // in tiles
    int m_dwTicks;
    // Frame counts, each held under 2^40 however many frames are skipped: never beyond what the
    // frame rate's arithmetic can take.
    int64_t m_dwFrames; // drawn since the frame rate was last worked out
    int m_dwLastRateTick;
    int m_dwFrameRate; // frames in the last 100 ticks
    int64_t m_dwFramesSinceTick = 0;
    int64_t m_dwFramesBeforeTick = 0;
    bool m_bOver;
    bool m_bFlickerApart = false;
    uint32_t m_dwFlickerState = 1; // the flicker's own source while apart
};

// The starting map of a match, width x height tiles: rock, with a 3 x 3 base and hive for red at
// the top left and for blue at the bottom right. The caller owns it.
zolMap* NewMatchMap(int width, int height);

#endif
