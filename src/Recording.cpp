#include "Recording.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <allegro.h>

#include "HumanSide.h"
#include "Match.h"
#include "Options.h"
#include "Screen.h"
#include "zolCheck.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolUnit.h"

namespace
{
    const char MAGIC[8] = {'G', 'L', 'O', 'W', 'R', 'E', 'C', '\n'};
    const uint16_t FORMAT = 1;
    const long MOST_BYTES = 64L << 20; // some days of play
    const size_t MOST_JOBS = 4096;
    const uint8_t FINISH = 0xFF;
    const unsigned ALL_KEYS = (1u << SIDE_KEYS) - 1;

    enum : uint8_t
    {
        FRAMES_MORE = 3,     // frames: 0 to 2 in the flags, else a number follows
        RED_KEYS = 1 << 2,   // red's keys follow
        BLUE_KEYS = 1 << 3,  // blue's keys follow
        FINGERPRINT = 1 << 4 // the state's fingerprint after the tick follows
    };

    // Reads little-endian numbers from a buffer, never past its end.
    struct Reader
    {
        const std::vector<uint8_t>& bytes;
        size_t at = 0;

        bool Take(void* into, size_t size)
        {
            if (bytes.size() - at < size)
                return false;
            memcpy(into, bytes.data() + at, size);
            at += size;
            return true;
        }
        template <class T>
        bool Number(T* value)
        {
            uint8_t raw[sizeof(T)];
            if (!Take(raw, sizeof raw))
                return false;
            uint64_t v = 0;
            for (size_t i = sizeof raw; i-- > 0;)
                v = v << 8 | raw[i];
            *value = (T)v;
            return true;
        }
        bool Count(uint32_t* value) // seven bits a byte, at most five bytes
        {
            *value = 0;
            for (int shift = 0; shift < 35; shift += 7)
            {
                uint8_t b;
                if (!Number(&b))
                    return false;
                *value |= (uint32_t)(b & 0x7F) << shift;
                if (!(b & 0x80))
                    return true;
            }
            return false;
        }
    };

    template <class T>
    void PutNumber(std::vector<uint8_t>& out, T value)
    {
        for (size_t i = 0; i < sizeof(T); i++)
            out.push_back((uint8_t)((uint64_t)value >> (8 * i)));
    }

    void PutCount(std::vector<uint8_t>& out, uint32_t value)
    {
        while (value >= 0x80)
        {
            out.push_back((uint8_t)(value | 0x80));
            value >>= 7;
        }
        out.push_back((uint8_t)value);
    }

    bool Fail(std::string* error, const std::string& why)
    {
        *error = why;
        return false;
    }

    // The whole file, if it is a regular one of a sane size: a FIFO or a device never blocks
    // or floods the reader.
    bool ReadWhole(const std::string& path, std::vector<uint8_t>* bytes, std::string* error)
    {
        int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return Fail(error, path + ": " + strerror(errno));
        struct stat st;
        bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        bool sane = regular && st.st_size <= MOST_BYTES;
        if (sane)
        {
            bytes->resize((size_t)st.st_size);
            sane = read(fd, bytes->data(), bytes->size()) == (ssize_t)bytes->size();
        }
        close(fd);
        if (!regular)
            return Fail(error, path + ": not a regular file");
        return sane || Fail(error, path + ": too large to be a recording, or unreadable");
    }
}

zolMatchStart CurrentStart(int kind)
{
    zolMatchStart start;
    start.kind = kind;
    start.maxUnits = zu_dwMaxUnits;
    start.randState = g_dwRandState;
    GetAICounters(&start.aiMoveTicker, &start.aiRefresh);
    start.aiJobs.assign(ai_svJobs.begin(), ai_svJobs.end());
    start.gameVersion = GameVersion();
    return start;
}

void ApplyStart(const zolMatchStart& start)
{
    zu_dwMaxUnits = start.maxUnits;
    g_dwRandState = start.randState;
    SetAICounters(start.aiMoveTicker, start.aiRefresh);
    ai_svJobs.assign(start.aiJobs.begin(), start.aiJobs.end());
    g_bFlickerApart = start.kind == MATCH_NETWORK;
}

zolRecorder::~zolRecorder()
{
    if (m_pFile)
        fclose(m_pFile);
}

bool zolRecorder::Open(const std::string& path, std::string* error)
{
    m_pFile = fopen(path.c_str(), "wb");
    if (!m_pFile)
        return Fail(error, "cannot write the recording " + path + ": " + strerror(errno));
    return true;
}

void zolRecorder::Put(const void* bytes, size_t size)
{
    if (m_pFile)
        fwrite(bytes, 1, size, m_pFile);
}

void zolRecorder::Start(const zolMatchStart& start)
{
    std::vector<uint8_t> out(MAGIC, MAGIC + sizeof MAGIC);
    PutNumber<uint16_t>(out, FORMAT);
    std::string version = start.gameVersion.substr(0, 255);
    out.push_back((uint8_t)version.size());
    out.insert(out.end(), version.begin(), version.end());
    PutNumber<int32_t>(out, start.maxUnits);
    out.push_back((uint8_t)start.kind);
    PutNumber<uint32_t>(out, start.randState);
    out.push_back((uint8_t)start.aiMoveTicker);
    out.push_back((uint8_t)start.aiRefresh);
    PutNumber<uint32_t>(out, (uint32_t)start.aiJobs.size());
    for (const ai_job_s& job : start.aiJobs)
        for (int v : {job.kind, job.x, job.y, job.defer})
            PutNumber<int32_t>(out, v);
    Put(out.data(), out.size());
    if (m_pFile)
        fflush(m_pFile);
}

void zolRecorder::Tick(const zolTickInput& input, int tick, uint64_t fingerprint)
{
    std::vector<uint8_t> out(1);
    uint8_t& flags = out[0];
    flags = input.frames < FRAMES_MORE ? (uint8_t)input.frames : (uint8_t)FRAMES_MORE;
    if (input.frames >= FRAMES_MORE)
        PutCount(out, (uint32_t)input.frames);
    if (input.red)
    {
        out[0] |= RED_KEYS;
        PutNumber<uint16_t>(out, (uint16_t)input.red);
    }
    if (input.blue)
    {
        out[0] |= BLUE_KEYS;
        PutNumber<uint16_t>(out, (uint16_t)input.blue);
    }
    if (tick % 100 == 0)
    {
        out[0] |= FINGERPRINT;
        PutNumber<uint64_t>(out, fingerprint);
    }
    Put(out.data(), out.size());
    if (tick % 100 == 0 && m_pFile)
        fflush(m_pFile);
}

void zolRecorder::Finish(int ticks, uint64_t fingerprint)
{
    std::vector<uint8_t> out(1, FINISH);
    PutNumber<uint32_t>(out, (uint32_t)ticks);
    PutNumber<uint64_t>(out, fingerprint);
    Put(out.data(), out.size());
    if (m_pFile)
        fclose(m_pFile);
    m_pFile = nullptr;
}

bool zolRecording::Load(const std::string& path, std::string* error)
{
    std::vector<uint8_t> bytes;
    if (!ReadWhole(path, &bytes, error))
        return false;
    Reader in{bytes};
    const std::string cut = path + ": the recording is cut short";
    char magic[sizeof MAGIC];
    if (!in.Take(magic, sizeof magic) || memcmp(magic, MAGIC, sizeof magic) != 0)
        return Fail(error, path + ": not a Glowfront recording");
    uint16_t format;
    if (!in.Number(&format))
        return Fail(error, cut);
    if (format > FORMAT)
        return Fail(error, path + ": made by a newer version of Glowfront (recording format " +
                               std::to_string(format) + ")");
    if (format != FORMAT)
        return Fail(error, path + ": damaged (format " + std::to_string(format) + ")");

    zolMatchStart& s = m_start;
    uint8_t length, kind, ticker, refresh;
    uint32_t jobs;
    int32_t cap;
    if (!in.Number(&length))
        return Fail(error, cut);
    s.gameVersion.resize(length);
    if (!in.Take(&s.gameVersion[0], length) || !in.Number(&cap) || !in.Number(&kind) ||
        !in.Number(&s.randState) || !in.Number(&ticker) || !in.Number(&refresh) ||
        !in.Number(&jobs))
        return Fail(error, cut);
    if (kind > MATCH_NETWORK || ticker > 9 || refresh > 10 || jobs > MOST_JOBS)
        return Fail(error, path + ": damaged (the start of the match is out of range)");
    s.kind = kind;
    s.maxUnits = cap;
    s.aiMoveTicker = ticker;
    s.aiRefresh = refresh;
    s.aiJobs.resize(jobs);
    for (ai_job_s& job : s.aiJobs)
        if (!in.Number(&job.kind) || !in.Number(&job.x) || !in.Number(&job.y) ||
            !in.Number(&job.defer))
            return Fail(error, cut);

    const std::string damaged = path + ": damaged at tick ";
    while (true)
    {
        uint8_t flags;
        if (!in.Number(&flags))
            return Fail(error, cut);
        if (flags == FINISH)
            break;
        size_t tick = m_vTicks.size() + 1;
        if (flags & 0xE0)
            return Fail(error, damaged + std::to_string(tick));
        Entry e;
        uint32_t frames = flags & FRAMES_MORE;
        uint16_t red = 0, blue = 0;
        if ((frames == FRAMES_MORE && !in.Count(&frames)) ||
            ((flags & RED_KEYS) && !in.Number(&red)) ||
            ((flags & BLUE_KEYS) && !in.Number(&blue)) ||
            ((flags & FINGERPRINT) && !in.Number(&e.fingerprint)))
            return Fail(error, cut);
        // Frames draw a handful of numbers each: a million between two ticks is no recording.
        if (frames > 1000000 || red > ALL_KEYS || blue > ALL_KEYS)
            return Fail(error, damaged + std::to_string(tick));
        e.input = {(int)frames, red, blue};
        e.checked = flags & FINGERPRINT;
        m_vTicks.push_back(e);
    }
    uint32_t ticks;
    if (!in.Number(&ticks) || !in.Number(&m_dwFinal))
        return Fail(error, cut);
    if (ticks != m_vTicks.size() || in.at != bytes.size())
        return Fail(error, path + ": damaged at its end");
    return true;
}

int VerifyRecording(const std::string& path)
{
    zolRecording recording;
    std::string error;
    if (!recording.Load(path, &error))
    {
        fprintf(stderr, "glowfront: %s\n", error.c_str());
        return 2;
    }
    const zolMatchStart& start = recording.GetStart();
    ApplyStart(start);
    zolScriptedSide red(true), blue(false);
    zolComputerSide computer;
    zolController* blueSide = start.kind == MATCH_VS_COMPUTER ? (zolController*)&computer : &blue;
    Match match(&red, blueSide, PICTURE_W / 32, PICTURE_H / 32 - 1);
    BITMAP* frame = create_bitmap(PICTURE_W, PICTURE_H);
    int result = 0, tick = 0;
    for (const zolRecording::Entry& e : recording.GetTicks())
    {
        for (int f = 0; f < e.input.frames; f++)
            match.Draw(frame, false);
        red.SetKeys(e.input.red);
        blue.SetKeys(e.input.blue);
        match.Tick();
        tick++;
        if (e.checked && HashRules(match.GetMap()) != e.fingerprint)
            break;
    }
    uint64_t fingerprint = HashRules(match.GetMap());
    if (tick < (int)recording.GetTicks().size() || fingerprint != recording.GetFinalFingerprint())
    {
        printf("replay differs at tick %d\n", tick);
        result = 1;
    }
    else
        printf("replay ok: %d ticks, fingerprint %016llx\n", tick, (unsigned long long)fingerprint);
    destroy_bitmap(frame);
    g_bFlickerApart = false;
    return result;
}
