#include "Recording.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include <allegro.h>

#include "Bytes.h"
#include "HumanSide.h"
#include "Match.h"
#include "Options.h"
#include "Orders.h"
#include "Screen.h"
#include "zolCheck.h"
#include "zolFileCheck.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolUnit.h"

namespace
{
    const char MAGIC[8] = {'G', 'L', 'O', 'W', 'R', 'E', 'C', '\n'};
    const uint16_t FORMAT = 2;          // 1 is still read: blue normal played it on `start`
    const size_t MOST_BYTES = 64 << 20; // some days of play
    const size_t MOST_JOBS = 4096;
    const uint32_t MOST_FRAMES = 1000000; // before one tick
    const uint8_t FINISH = 0xFF;
    const unsigned ALL_KEYS = (1u << SIDE_KEYS) - 1;

    enum : uint8_t
    {
        FRAMES_MORE = 3,     // frames: 0 to 2 in the flags, else a number follows
        RED_KEYS = 1 << 2,   // red's keys follow
        BLUE_KEYS = 1 << 3,  // blue's keys follow
        FINGERPRINT = 1 << 4 // the state's fingerprint after the tick follows
    };

    bool Fail(std::string* error, const std::string& why)
    {
        *error = why;
        return false;
    }
}

zolMatchStart CurrentStart(int kind, const zolMapPlan& map, int level)
{
    zolMatchStart start;
    start.map = map;
    zolComputer& computer = ProgramComputer(level);
    start.kind = kind;
    start.maxUnits = zu_dwMaxUnits;
    start.randState = g_dwRandState;
    start.aiMoveTicker = computer.GetMoveTicker();
    start.aiRefresh = computer.GetRefresh();
    start.aiJobs.assign(computer.GetJobs().begin(), computer.GetJobs().end());
    start.gameVersion = GameVersion();
    start.level = computer.GetLevel();
    start.computerSide = computer.GetSide();
    return start;
}

void ApplyStart(const zolMatchStart& start)
{
    zu_dwMaxUnits = start.maxUnits;
    g_dwRandState = start.randState;
    zolComputer& computer = ProgramComputer(start.level);
    computer.SetCounters(start.aiMoveTicker, start.aiRefresh);
    computer.GetJobs().assign(start.aiJobs.begin(), start.aiJobs.end());
}

zolRecorder::~zolRecorder()
{
    if (m_pFile)
        fclose(m_pFile);
    // A recording meant to be written whole that never was leaves nothing behind.
    if (!m_sFinal.empty() && !m_bFinished)
        remove(m_sPath.c_str());
}

bool zolRecorder::Open(const std::string& path, std::string* error, bool whole)
{
    m_sPath = whole ? path + ".part" : path;
    m_sFinal = whole ? path : "";
    m_pFile = fopen(m_sPath.c_str(), "wb");
    if (!m_pFile)
        return ::Fail(error, "cannot write the recording " + m_sPath + ": " + strerror(errno));
    struct stat st;
    m_dwInode = fstat(fileno(m_pFile), &st) == 0 ? (unsigned long)st.st_ino : 0;
    return true;
}

void zolRecorder::Fail(const char* why)
{
    if (m_sError.empty())
        m_sError = "cannot write the recording " + m_sPath + ": " + why;
    if (m_pFile)
        fclose(m_pFile);
    m_pFile = nullptr;
}

void zolRecorder::Put(const void* bytes, size_t size)
{
    if (m_pFile && fwrite(bytes, 1, size, m_pFile) != size)
        Fail(strerror(errno));
}

void zolRecorder::Start(const zolMatchStart& start)
{
    zolByteWriter out;
    out.bytes.assign(MAGIC, sizeof MAGIC);
    out.Put<uint16_t>(FORMAT).Text(start.gameVersion).Put<int32_t>(start.maxUnits);
    out.Put<uint8_t>((uint8_t)start.kind).Put<uint32_t>(start.randState);
    out.Put<uint8_t>((uint8_t)start.aiMoveTicker).Put<uint8_t>((uint8_t)start.aiRefresh);
    out.Put<uint32_t>((uint32_t)start.aiJobs.size());
    for (const ai_job_s& job : start.aiJobs)
        for (int v : {job.kind, job.x, job.y, job.defer})
            out.Put<int32_t>(v);
    // Format 2: which computer played, the map, and the moment a match taken over began from.
    out.Put<uint8_t>((uint8_t)start.level).Put<uint8_t>(start.computerSide ? 1 : 0);
    out.bytes += MapBytes(start.map);
    out.Put<int32_t>(start.firstTick).Put<uint32_t>((uint32_t)start.state.size());
    out.bytes += start.state;
    Put(out.bytes.data(), out.bytes.size());
    if (m_pFile && fflush(m_pFile) != 0)
        Fail(strerror(errno));
}

void zolRecorder::Tick(const zolTickInput& input, Match& match)
{
    m_dwRandAfterTick = g_dwRandState;
    int tick = match.GetTicks();
    bool more = input.frames >= FRAMES_MORE, checked = tick % 100 == 0;
    uint8_t flags = more ? (uint8_t)FRAMES_MORE : (uint8_t)input.frames;
    flags |= (input.red ? (int)RED_KEYS : 0) | (input.blue ? (int)BLUE_KEYS : 0) |
             (checked ? (int)FINGERPRINT : 0);
    zolByteWriter out;
    out.Put(flags);
    if (more)
        out.Count((uint32_t)input.frames);
    if (input.red)
        out.Put<uint16_t>((uint16_t)input.red);
    if (input.blue)
        out.Put<uint16_t>((uint16_t)input.blue);
    if (checked)
        out.Put<uint64_t>(HashRules(match.GetMap()));
    Put(out.bytes.data(), out.bytes.size());
    if (checked && m_pFile && fflush(m_pFile) != 0)
        Fail(strerror(errno));
}

bool zolRecorder::Finish(Match& match)
{
    m_bFinished = true;
    zolByteWriter out;
    out.Put(FINISH).Put<uint32_t>((uint32_t)match.GetTicks());
    out.Put<uint64_t>(HashRules(match.GetMap(), m_dwRandAfterTick));
    Put(out.bytes.data(), out.bytes.size());
    if (!m_pFile)
        return !Failed();
    FILE* file = m_pFile;
    m_pFile = nullptr;
    // The last bytes reach the disk only now, so a full disk may say so here first.
    if (fclose(file) != 0)
        Fail(strerror(errno));
    // A file whose folder was removed while it was written takes its bytes with it, quietly.
    struct stat st;
    if (!Failed() && (stat(m_sPath.c_str(), &st) != 0 || (unsigned long)st.st_ino != m_dwInode))
        Fail("the file was removed, or its folder, while the match was played");
    if (!m_sFinal.empty() && !Failed() && rename(m_sPath.c_str(), m_sFinal.c_str()) != 0)
        Fail(strerror(errno));
    if (!m_sFinal.empty() && Failed())
        remove(m_sPath.c_str());
    return !Failed();
}

bool zolRecording::Load(const std::string& path, std::string* error)
{
    // Only a regular file of a sane size: a FIFO or a device never blocks or floods the reader.
    std::string bytes, why;
    if (!ReadRegularFile(path.c_str(), MOST_BYTES, &bytes, &why))
        return Fail(error, path + ": " + why);
    zolByteReader in(bytes.data(), bytes.size());
    const std::string cut = path + ": the recording is cut short";
    char magic[sizeof MAGIC];
    if (!in.Take(magic, sizeof magic) || memcmp(magic, MAGIC, sizeof magic) != 0)
        return Fail(error, path + ": not a Glowfront recording");
    uint16_t format;
    if (!in.Get(&format))
        return Fail(error, cut);
    if (format > FORMAT)
        return Fail(error, path + ": made by a newer version of Glowfront (recording format " +
                               std::to_string(format) + ")");
    if (format < 1)
        return Fail(error, path + ": damaged (format " + std::to_string(format) + ")");

    zolMatchStart& s = m_start;
    uint8_t kind, ticker, refresh;
    uint32_t jobs;
    int32_t cap;
    if (!in.Text(&s.gameVersion))
        return Fail(error, cut);
    // Another version may play the same keys to another end: its recordings are not ours.
    if (!PlaysLike(s.gameVersion))
        return Fail(error, path + ": recorded by Glowfront " + PrintableText(s.gameVersion, 12) +
                               ", which plays differently from this version (" + GameVersion() +
                               ")");
    if (!in.Get(&cap) || !in.Get(&kind) || !in.Get(&s.randState) || !in.Get(&ticker) ||
        !in.Get(&refresh) || !in.Get(&jobs))
        return Fail(error, cut);
    if (kind > MATCH_NETWORK || refresh > 10 || jobs > MOST_JOBS)
        return Fail(error, path + ": damaged (the start of the match is out of range)");
    s.kind = kind;
    s.maxUnits = cap;
    s.aiMoveTicker = ticker;
    s.aiRefresh = refresh;
    s.aiJobs.resize(jobs);
    for (ai_job_s& job : s.aiJobs)
    {
        if (!in.Get(&job.kind) || !in.Get(&job.x) || !in.Get(&job.y) || !in.Get(&job.defer))
            return Fail(error, cut);
        // The computer only ever queues orders for tiles of the map.
        if (job.kind < ORDER_THORNS || job.kind > ORDER_REMOVE || job.x < 0 ||
            job.x >= PICTURE_W / 32 || job.y < 0 || job.y >= PICTURE_H / 32 - 1 ||
            (job.defer != 0 && job.defer != 1))
            return Fail(error, path + ": damaged (the start of the match is out of range)");
    }
    uint8_t level = LEVEL_NORMAL, computerSide = 0;
    if (format >= 2 && (!in.Get(&level) || !in.Get(&computerSide)))
        return Fail(error, cut);
    if (level >= LEVELS || computerSide > 1 || ticker >= ActionPeriod(level))
        return Fail(error, path + ": damaged (the start of the match is out of range)");
    s.level = level;
    s.computerSide = computerSide;
    std::string fault = format >= 2 ? ReadMapBytes(in, &s.map) : "";
    if (fault == "cut short")
        return Fail(error, cut);
    if (!fault.empty())
        return Fail(error, path + ": damaged (its map: " + fault + ")");
    uint32_t stateBytes = 0;
    if (format >= 2 && (!in.Get(&s.firstTick) || !in.Get(&stateBytes)))
        return Fail(error, cut);
    if (s.firstTick < 0 || s.firstTick > 100000000 || stateBytes > MOST_BYTES ||
        (stateBytes == 0) != (s.firstTick == 0))
        return Fail(error, path + ": damaged (the start of the match is out of range)");
    s.state.resize(stateBytes);
    if (stateBytes && !in.Take(&s.state[0], stateBytes))
        return Fail(error, cut);

    const std::string damaged = path + ": damaged at tick ";
    while (true)
    {
        uint8_t flags;
        if (!in.Get(&flags))
            return Fail(error, cut);
        if (flags == FINISH)
            break;
        size_t tick = s.firstTick + m_vTicks.size() + 1;
        if (flags & 0xE0)
            return Fail(error, damaged + std::to_string(tick));
        Entry e;
        uint32_t frames = flags & FRAMES_MORE;
        uint16_t red = 0, blue = 0;
        if ((frames == FRAMES_MORE && !in.Count(&frames)) ||
            ((flags & RED_KEYS) && !in.Get(&red)) || ((flags & BLUE_KEYS) && !in.Get(&blue)) ||
            ((flags & FINGERPRINT) && !in.Get(&e.fingerprint)))
            return Fail(error, cut);
        // Frames draw a handful of numbers each: a million between two ticks is no recording.
        if (frames > MOST_FRAMES || red > ALL_KEYS || blue > ALL_KEYS)
            return Fail(error, damaged + std::to_string(tick));
        // Every 100th tick carries the state's fingerprint, and no other: without them a file
        // could run on for days unchecked.
        if ((tick % 100 == 0) != ((flags & FINGERPRINT) != 0))
            return Fail(error, damaged + std::to_string(tick) +
                                   (tick % 100 == 0 ? " (its fingerprint is missing)"
                                                    : " (a fingerprint out of place)"));
        e.input = {(int)frames, red, blue};
        e.checked = flags & FINGERPRINT;
        m_vTicks.push_back(e);
    }
    uint32_t ticks;
    if (!in.Get(&ticks) || !in.Get(&m_dwFinal))
        return Fail(error, cut);
    if (ticks != m_start.firstTick + m_vTicks.size() || !in.Done())
        return Fail(error, path + ": damaged at its end");
    return true;
}

zolReplaySource::zolReplaySource(const zolRecording& recording, zolScriptedSide* red,
                                 zolScriptedSide* blue)
    : m_recording(recording), m_pvSides{blue, red}
{
}

void zolReplaySource::SeekTo(Match& match, int first)
{
    int next = match.GetTicks() - first;
    m_dwNext = next < 0 ? 0 : std::min((size_t)next, m_recording.GetTicks().size());
}

bool zolReplaySource::Prepare(Match& match)
{
    if (IsOver())
        return false;
    const zolTickInput& input = m_recording.GetTicks()[m_dwNext].input;
    match.SkipFrames(input.frames);
    for (bool side : {true, false})
        if (m_pvSides[side])
            m_pvSides[side]->SetKeys(side ? input.red : input.blue);
    return true;
}

void zolReplaySource::Finish(Match& match)
{
    const zolRecording::Entry& entry = m_recording.GetTicks()[m_dwNext++];
    bool differs = entry.checked && HashRules(match.GetMap()) != entry.fingerprint;
    if (IsOver())
        differs = differs || HashRules(match.GetMap()) != m_recording.GetFinalFingerprint();
    if (differs && !m_dwDiffersAt)
        m_dwDiffersAt = match.GetTicks();
}
