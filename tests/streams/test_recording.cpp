#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include <allegro.h>
#include <gtest/gtest.h>

#include "HumanSide.h"
#include "Match.h"
#include "MatchSession.h"
#include "Recording.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolRandom.h"

namespace
{
    // Plays a seeded match through the loop the game plays with, recording it: scripted keys
    // on the human sides, and now and then a few frames drawn between ticks. Returns the final
    // fingerprint.
    uint64_t RecordMatch(const std::string& file, int kind, unsigned seed, int ticks)
    {
        zolRecorder recorder;
        std::string error;
        EXPECT_TRUE(recorder.Open(file, &error)) << error;
        zolMatchStart start = CurrentStart(kind);
        std::unique_ptr<MatchSession> session = NewLocalSession(kind == MATCH_VS_COMPUTER);
        session->Record(&recorder, start);
        Match& match = session->GetMatch();
        BITMAP* frame = create_bitmap(640, 480);
        KeyScript redKeys(seed, true), blueKeys(seed + 1, false);
        std::mt19937 frames(seed);
        for (int t = 1; t <= ticks; t++)
        {
            for (int f = frames() % 4; f > 0; f--)
                match.Draw(frame, false);
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

TEST(Recording, SeededMatchesReplayToTheSameFingerprint)
{
    const char* file = "glowfront-test.rec";
    for (int kind : {MATCH_VS_COMPUTER, MATCH_VS_PLAYER})
    {
        zolSeedRand(77 + kind);
        uint64_t played = RecordMatch(file, kind, 5 + kind, 3000);
        zolSeedRand(1234); // the recording carries the start: nothing of now may matter
        ai_svJobs.clear();
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, VerifyRecording(file)) << "kind " << kind;
        char expected[80];
        snprintf(expected, sizeof expected, "replay ok: 3000 ticks, fingerprint %016llx\n",
                 (unsigned long long)played);
        EXPECT_EQ(expected, testing::internal::GetCapturedStdout());
    }
    std::remove(file);
}

TEST(Recording, AnyDamagedFileIsReadSafelyAndNamedInOneLine)
{
    const char* file = "glowfront-fuzz.rec";
    zolSeedRand(5);
    RecordMatch(file, MATCH_VS_PLAYER, 9, 400);
    std::ifstream in(file, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto verify = [&](const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int status = VerifyRecording(file);
        std::string said =
            testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        EXPECT_EQ(1, std::count(said.begin(), said.end(), '\n')) << said;
        return std::make_pair(status, said);
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
        auto [status, said] = verify(bytes);
        EXPECT_EQ(2, status) << said;
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
        int status = verify(bytes).first;
        EXPECT_TRUE(status >= 0 && status <= 2) << "mutation " << i;
    }
    std::remove(file);
}
