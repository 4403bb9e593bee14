#ifndef RECORDING_H
#define RECORDING_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zolAI.h"

class Match;

// What decides a match besides the rules: how it starts and what each side did in each tick.
// The format is described in docs/recording.md.

enum zolMatchKind
{
    MATCH_VS_COMPUTER, // red at the keyboard, blue the computer
    MATCH_VS_PLAYER,   // both at one keyboard
    MATCH_NETWORK      // one on each of two machines: frames change nothing
};

struct zolMatchStart
{
    int kind = MATCH_VS_COMPUTER;
    int maxUnits = 1500;
    uint32_t randState = 1;
    int aiMoveTicker = 0, aiRefresh = 0; // the computer's counters
    std::vector<ai_job_s> aiJobs;        // and its waiting jobs
    std::string gameVersion;
};

// The start as the program stands now, and the program set to a recorded start.
zolMatchStart CurrentStart(int kind);
void ApplyStart(const zolMatchStart& start);

// One tick: the frames drawn since the tick before it, and the keys each human side had down
// (a mask of 1 << zolSideKey; 0 for the computer).
struct zolTickInput
{
    int frames = 0;
    unsigned red = 0, blue = 0;
};

// Writes a recording as the match is played. Flushed every 100 ticks, so a crash loses at most
// the last second.
class zolRecorder
{
public:
    ~zolRecorder(); // closes the file as it stands

    // Creates or empties the file; false, with a line saying why, when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    void Start(const zolMatchStart& start);
    // After each tick of the match; every 100th carries the state's fingerprint.
    void Tick(const zolTickInput& input, Match& match);
    // The last tick and the fingerprint after it, then closes. Frames drawn since that tick
    // may have moved the random source: the fingerprint takes its state as the tick left it.
    void Finish(Match& match);

    bool IsOpen() { return m_pFile != nullptr; }

private:
    void Put(const void* bytes, size_t size);

    FILE* m_pFile = nullptr; // owned
    uint32_t m_dwRandAfterTick = 0;
};

// A recording read whole and checked before anything of it is used.
class zolRecording
{
public:
    struct Entry
    {
        zolTickInput input;
        bool checked = false; // a fingerprint follows this tick
        uint64_t fingerprint = 0;
    };

    // False, with one line saying why, for a file that is missing, cut short, damaged, of
    // another kind or from a newer version of the game. Damaged includes a tick claiming more
    // than a million frames before it, and a fingerprint missing from a 100th tick (or found on
    // another): a recording that loads costs in proportion to its ticks.
    bool Load(const std::string& path, std::string* error);

    const zolMatchStart& GetStart() { return m_start; }
    const std::vector<Entry>& GetTicks() { return m_vTicks; }
    uint64_t GetFinalFingerprint() { return m_dwFinal; }

private:
    zolMatchStart m_start;
    std::vector<Entry> m_vTicks; // by tick, from tick 1
    uint64_t m_dwFinal = 0;
};

// Replays a recording without a display, as fast as it can, skipping its frames rather than
// drawing them: 0 when every fingerprint agrees ("replay ok: TICKS ticks, fingerprint HEX"), 1
// at the first that differs ("replay differs at tick N"), 2 when the file cannot be read. Needs
// the tile set built.
int VerifyRecording(const std::string& path);

#endif
