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
    // Which computer plays, in a match against it: the program's of this level (zolLevel), on
    // this side. Recordings before format 2 knew only blue normal.
    int level = LEVEL_NORMAL;
    bool computerSide = false;
    // The map, whole, so that a recording replays and a joiner plays without its file.
    zolMapPlan map = StartMap();
    // A match taken up from a saved moment (MatchSession::Snapshot), at this many ticks; empty
    // for one played from its first tick. Format 2 onward.
    std::string state;
    int firstTick = 0;
};

// The start of a match on map as the program stands now, the program's computer of level
// (zolLevel) carrying the counters and jobs, and the program set to a recorded start (whose map
// is the session's to build).
zolMatchStart CurrentStart(int kind, const zolMapPlan& map, int level = LEVEL_NORMAL);
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
    // whole: the recording is written as path.part and takes path's name only once Finish has
    // written it whole, so that no file under that name is ever half a recording.
    bool Open(const std::string& path, std::string* error, bool whole = false);
    void Start(const zolMatchStart& start);
    // After each tick of the match; every 100th carries the state's fingerprint.
    void Tick(const zolTickInput& input, Match& match);
    // The last tick and the fingerprint after it, then closes. Frames drawn since that tick
    // may have moved the random source: the fingerprint takes its state as the tick left it.
    // False when the recording could not be written whole: GetError() says why.
    bool Finish(Match& match);

    bool IsOpen() { return m_pFile != nullptr; }
    bool Failed() { return !m_sError.empty(); }
    const std::string& GetPath() { return m_sFinal.empty() ? m_sPath : m_sFinal; }
    // "cannot write the recording FILE: why", for one line; empty while all is well.
    const std::string& GetError() { return m_sError; }

private:
    void Put(const void* bytes, size_t size);
    void Fail(const char* why); // keeps the first failure and closes the file

    FILE* m_pFile = nullptr; // owned
    std::string m_sPath;     // the file written
    std::string m_sFinal;    // the name it takes once whole; empty: it has it already
    bool m_bFinished = false;
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
    // The match has been taken back or forward to a saved state: the next tick fed is the one
    // after the match's. first: the match's ticks when the recording began.
    void SeekTo(Match& match, int first);
    int Remaining() { return (int)(m_recording.GetTicks().size() - m_dwNext); }

private:
    const zolRecording& m_recording; // not owned
    zolScriptedSide* m_pvSides[2];   // by side; not owned
    size_t m_dwNext = 0;             // the entry of the next tick
    int m_dwDiffersAt = 0;
};

#endif
