#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include <allegro.h>
#include <gtest/gtest.h>

#include "HumanSide.h"
#include "MapBook.h"
#include "Match.h"
#include "MatchSession.h"
#include "Options.h"
#include "Orders.h"
#include "Recording.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolRandom.h"

namespace
{
    // What --verify says of file, on stdout and stderr, after its status; the same of bytes
    // written into it first; and what it says of a good one.
    std::string Verified(const std::string& file)
    {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int status = VerifyRecording(file);
        std::string said = testing::internal::GetCapturedStdout();
        return std::to_string(status) + " " + said + testing::internal::GetCapturedStderr();
    }
    std::string Verified(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
        return Verified(file);
    }
    std::string Bytes(const char* file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::string Ok(int ticks, uint64_t fingerprint)
    {
        char text[80];
        snprintf(text, sizeof text, "0 replay ok: %d ticks, fingerprint %016llx\n", ticks,
                 (unsigned long long)fingerprint);
        return text;
    }

    // Plays a seeded match through the loop the game plays in, recording it: scripted keys on
    // the human sides, and now and then a few frames drawn between ticks, or else `skipped`
    // frames skipped before every tick. Returns the final fingerprint.
    uint64_t RecordMatch(const std::string& file, int kind, unsigned seed, int ticks,
                         int level = LEVEL_NORMAL, int skipped = 0,
                         const zolMapPlan& map = StartMap())
    {
        zolRecorder recorder;
        std::string error;
        EXPECT_TRUE(recorder.Open(file, &error)) << error;
        zolMatchStart start = CurrentStart(kind, map, level);
        std::unique_ptr<MatchSession> session =
            NewLocalSession(kind == MATCH_VS_COMPUTER, map, level);
        session->Record(&recorder, start);
        Match& match = session->GetMatch();
        BITMAP* frame = create_bitmap(640, 480);
        KeyScript redKeys(seed, true), blueKeys(seed + 1, false);
        std::mt19937 frames(seed);
        for (int t = 1; t <= ticks; t++)
        {
            for (int f = skipped ? 0 : frames() % 4; f > 0; f--)
                match.Draw(frame, false);
            match.SkipFrames(skipped);
            redKeys.Press(8);
            if (kind != MATCH_VS_COMPUTER)
                blueKeys.Press(8);
            EXPECT_TRUE(session->Step());
        }
        uint64_t fingerprint = HashRules(match.GetMap());
        session->FinishRecording();
        EXPECT_FALSE(recorder.Failed()) << recorder.GetError();
        destroy_bitmap(frame);
        return fingerprint;
    }
}

// Against each level of the computer, and between two people. The second match against a level
// starts from the jobs and counters the first left, so each level is played twice; the last is on
// a map file, gone as soon as it was read, for the recording holds the map.
TEST(Recording, SeededMatchesReplayToTheSameFingerprint)
{
    const char* file = "glowfront-test.rec";
    std::ofstream("my maze.map") << MapText(BuiltInMaps().at(4).plan);
    zolMapPlan maze;
    std::string why;
    ASSERT_TRUE(FindMap("my maze.map", &maze, &why)) << why;
    std::remove("my maze.map");
    const int matches[][3] = {
        {MATCH_VS_COMPUTER, LEVEL_NORMAL}, {MATCH_VS_PLAYER, LEVEL_NORMAL},
        {MATCH_VS_COMPUTER, LEVEL_EASY},   {MATCH_VS_COMPUTER, LEVEL_HARD},
        {MATCH_VS_COMPUTER, LEVEL_EASY},   {MATCH_VS_COMPUTER, LEVEL_HARD, 1}}; // 1: on the maze
    for (auto [kind, level, onMaze] : matches)
    {
        zolSeedRand(77 + kind + 3 * level);
        uint64_t played =
            RecordMatch(file, kind, 5 + kind, 3000, level, 0, onMaze ? maze : StartMap());
        zolSeedRand(1234); // the recording carries the start: nothing of now may matter
        for (int l = 0; l < LEVELS; l++)
            ProgramComputer(l).Reset();
        EXPECT_EQ(Ok(3000, played), Verified(file)) << "kind " << kind << ", level " << level;
    }
    zolRecording recording;
    ASSERT_TRUE(recording.Load(file, &why)) << why;
    EXPECT_EQ("my maze", recording.GetStart().map.name);
    std::remove(file);
}

// Format 2 added the computer's level and side after its jobs; a recording of format 1, made
// before there were levels, was blue normal's and still replays as such.
TEST(Recording, TheComputersLevelAndSideFollowItsJobsAndFormatOneReadsAsBlueNormal)
{
    const char* file = "glowfront-levels.rec";
    zolSeedRand(8);
    ProgramComputer(LEVEL_HARD).Reset();
    ProgramComputer(LEVEL_HARD).AddJobBack(ORDER_CLEAR, 15, 9, 0);
    RecordMatch(file, MATCH_VS_COMPUTER, 3, 600, LEVEL_HARD);
    const std::string hard = Bytes(file);
    // magic, format, version, cap, kind, seed, two counters, the job count, one job of 16 bytes
    const size_t at = 8 + 2 + 1 + strlen(GameVersion()) + 4 + 1 + 4 + 1 + 1 + 4 + 16;
    ASSERT_EQ(2, hard[8]);
    EXPECT_EQ(std::string("\x02\x00", 2), hard.substr(at, 2)) << "hard, blue";
    zolRecording recording;
    std::string error;
    ASSERT_TRUE(recording.Load(file, &error)) << error;
    EXPECT_EQ(LEVEL_HARD, recording.GetStart().level);
    EXPECT_FALSE(recording.GetStart().computerSide);
    ASSERT_EQ(1u, recording.GetStart().aiJobs.size());
    EXPECT_EQ(15, recording.GetStart().aiJobs[0].x);

    for (const char* damage : {"\x03\x00", "\x01\x02"}) // no such level; no such side
    {
        std::string bytes = hard;
        bytes.replace(at, 2, damage, 2);
        EXPECT_NE(std::string::npos, Verified(file, bytes).find("out of range")) << damage[0] + 0;
    }

    ai_svJobs.clear();
    zolSeedRand(8);
    RecordMatch(file, MATCH_VS_COMPUTER, 3, 600);
    std::string old = Bytes(file);
    old[8] = 1;
    old.erase(at - 16, 2 + 6 + 280 + 8); // no job, level, map or moment taken over from
    EXPECT_EQ(0, Verified(file, old).find("0 replay ok: 600 ticks")) << "read as blue normal";
    zolRecording older;
    ASSERT_TRUE(older.Load(file, &error)) << error;
    EXPECT_EQ(LEVEL_NORMAL, older.GetStart().level);
    std::remove(file);
}

TEST(Recording, AnyDamagedFileIsReadSafelyAndNamedInOneLine)
{
    const char* file = "glowfront-fuzz.rec";
    zolSeedRand(5);
    RecordMatch(file, MATCH_VS_PLAYER, 9, 400);
    const std::string good = Bytes(file);
    auto verify = [&](const std::string& bytes)
    {
        std::string said = Verified(file, bytes);
        EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
        return said;
    };
    std::string newer = good;
    newer[8] = 3; // the format's number
    const std::pair<std::string, const char*> named[] = {
        {"", "not a Glowfront recording"},  {"GIF89a", "not a Glowfront recording"},
        {good.substr(0, 30), "cut short"},  {good.substr(0, good.size() - 1), "cut short"},
        {newer, "made by a newer version"}, {good + "x", "damaged at its end"},
    };
    for (const auto& [bytes, why] : named)
    {
        std::string said = verify(bytes);
        EXPECT_EQ(0u, said.find("2 ")) << said;
        EXPECT_NE(std::string::npos, said.find(why)) << said;
    }
    // Seeded damage: a few bytes changed, or the file cut anywhere. Each is refused (2), differs
    // (1) or, where the damage touched nothing that matters, still agrees (0).
    std::mt19937 rng(2026);
    for (int i = 0; i < 300; i++)
    {
        std::string bytes = good;
        if (i % 3 == 0)
            bytes.resize(rng() % bytes.size());
        else
            for (int n = 1 + rng() % 3; n > 0; n--)
                bytes[rng() % bytes.size()] = (char)rng();
        std::string said = verify(bytes);
        EXPECT_TRUE(said[0] >= '0' && said[0] <= '2' && said[1] == ' ') << "mutation " << i;
    }
    std::remove(file);
}

TEST(Recording, ClaimedFramesAndMissingFingerprintsCostNoMoreThanTheTicks)
{
    using namespace std::chrono;
    const char* file = "glowfront-frames.rec";
    // A million frames before each of 300 ticks: skipped, not drawn, they verify at once.
    zolSeedRand(3);
    ai_svJobs.clear();
    uint64_t played = RecordMatch(file, MATCH_VS_PLAYER, 4, 300, LEVEL_NORMAL, 1000000);
    auto t0 = steady_clock::now();
    EXPECT_EQ(Ok(300, played), Verified(file));
    EXPECT_LT(duration<double>(steady_clock::now() - t0).count(), 1.0);

    // Two million idle ticks without a fingerprint, 2,000,000 (0x1E8480) at the end, are damaged
    // at the first that lacks one.
    std::string good = Bytes(file);
    size_t header = 36 + strlen(GameVersion()) + 6 + 280; // no jobs for the computer; on start
    ASSERT_EQ("\xC0\x84\x3D", good.substr(header + 1, 3)) << "the first tick: a million frames";
    std::ofstream(file, std::ios::binary) << good.substr(0, header) << std::string(2000000, '\0')
                                          << "\xFF\x80\x84\x1E" << std::string(9, '\0');
    t0 = steady_clock::now();
    EXPECT_EQ(std::string("2 glowfront: ") + file +
                  ": damaged at tick 100 (its fingerprint is missing)\n",
              Verified(file));
    EXPECT_LT(duration<double>(steady_clock::now() - t0).count(), 1.0);
    std::remove(file);
}
