#ifndef RECORDING_H
#define RECORDING_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "HumanSide.h"
#include "MapBook.h"
#include "TickSource.h"
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

    // The map, whole, so that a recording replays and a joiner plays without its file.
    zolMapPlan map = StartMap();
};

// The start of a match on map as the program stands now, and the program set to a recorded start
// (whose map is the session's to build).
zolMatchStart CurrentStart(int kind, const zolMapPlan& map);
void ApplyStart(const zolMatchStart& start);

// Writes a recording as the match is played. Flushed every 100 ticks, so a crash loses at most
// the last second. A write that fails closes the file and is kept as the recorder's error: the
// match it records goes on without it.
class zolRecorder
{
public:
    zolRecorder() = default;
    ~zolRecorder(); // closes the file as it stands
    zolRecorder(const zolRecorder&) = delete;
    zolRecorder& operator=(const zolRecorder&) = delete;

    // Creates or empties the file; false, with a line saying why, when it cannot be written.
    bool Open(const std::string& path, std::string* error);
    void Start(const zolMatchStart& start);
    // After each tick of the match; every 100th carries the state's fingerprint.
    void Tick(const zolTickInput& input, Match& match);
    // The last tick and the fingerprint after it, then closes. Frames drawn since that tick
    // may have moved the random source: the fingerprint takes its state as the tick left it.
    // False when the recording could not be written whole: GetError() says why.
    bool Finish(Match& match);

    bool IsOpen() { return m_pFile != nullptr; }
    bool Failed() { return !m_sError.empty(); }
    // "cannot write the recording FILE: why", for one line; empty while all is well.
    const std::string& GetError() { return m_sError; }

private:
    void Put(const void* bytes, size_t size);
    void Fail(const char* why); // keeps the first failure and closes the file

    FILE* m_pFile = nullptr; // owned
    std::string m_sPath;
    unsigned long m_dwInode = 0; // of the file as opened, to tell it was removed from under us
    uint32_t m_dwRandAfterTick = 0;
    std::string m_sError;
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

    const zolMatchStart& GetStart() const { return m_start; }
    const std::vector<Entry>& GetTicks() const { return m_vTicks; }
    uint64_t GetFinalFingerprint() const { return m_dwFinal; }

private:
    zolMatchStart m_start;
    std::vector<Entry> m_vTicks; // by tick, from tick 1
    uint64_t m_dwFinal = 0;
};

// Feeds a recording's ticks to a match: before each, the frames its player saw, skipped, and the
// keys its human sides had down; after each, the fingerprint where the recording has one.
class zolReplaySource : public zolTickSource
{
public:
    // red and blue: the match's human sides, or null for a side the computer plays.
    zolReplaySource(const zolRecording& recording, zolScriptedSide* red, zolScriptedSide* blue);

    bool Prepare(Match& match) override;
    void Finish(Match& match) override;
    bool IsOver() override { return m_dwNext >= m_recording.GetTicks().size(); }

    // The first tick after which the state differs from the recording's; 0 while none has.
    int DiffersAt() { return m_dwDiffersAt; }

private:
    const zolRecording& m_recording; // not owned
    zolScriptedSide* m_pvSides[2];   // by side; not owned
    size_t m_dwNext = 0;             // the entry of the next tick
    int m_dwDiffersAt = 0;
};

#endif
