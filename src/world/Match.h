#ifndef MATCH_H
#define MATCH_H

#include <cstdint>
#include <memory>

struct BITMAP;
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
    // Moves the game's random source as `frames` frames drawn with the flicker not apart would,
    // without drawing them: a replay's frames that were seen only when it was played. Needs no
    // picture, so a replay verifies headless.
    void SkipFrames(int frames);

    zolOutcome GetOutcome(); // as the map stands; final once the match is over

    bool IsOver() { return m_bOver; }
    int GetTicks() { return m_dwTicks; }
    int GetFrameRate() { return m_dwFrameRate; }
    int GetFramesBeforeTick() { return m_dwFramesBeforeTick; } // between the last two ticks
    zolMap* GetMap() { return m_pMap.get(); }
    int* GetCursor(bool side) { return m_dwvCursors[side]; } // x then y

private:
    std::unique_ptr<zolMap> m_pMap;
    zolController* m_pvSides[2]; // by side: 0 blue, 1 red; not owned
    int m_dwvCursors[2][2];
    int m_dwWidth, m_dwHeight; // in tiles
    int m_dwTicks;
    int m_dwFrames; // drawn since the frame rate was last worked out
    int m_dwLastRateTick;
    int m_dwFrameRate; // frames in the last 100 ticks
    int m_dwFramesSinceTick = 0;
    int m_dwFramesBeforeTick = 0;
    bool m_bOver;
    bool m_bFlickerApart = false;
    uint32_t m_dwFlickerState = 1; // the flicker's own source while apart
};

// The starting map of a match, width x height tiles: rock, with a 3 x 3 base and hive for red at
// the top left and for blue at the bottom right. The caller owns it.
zolMap* NewMatchMap(int width, int height);

#endif
