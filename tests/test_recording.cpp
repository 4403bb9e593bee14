#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include <allegro.h>
#include <gtest/gtest.h>

#include "HumanSide.h"
#include "Match.h"
#include "Recording.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolRandom.h"

namespace
{
    // Plays a seeded match as the shell does, recording it: scripted keys on the human sides,
    // and now and then a few frames drawn between ticks. Returns the final fingerprint.
    uint64_t RecordMatch(const std::string& file, int kind, unsigned seed, int ticks)
    {
        zolRecorder recorder;
        std::string error;
        EXPECT_TRUE(recorder.Open(file, &error)) << error;
        recorder.Start(CurrentStart(kind));
        zolKeyboardSide red(true), blue(false);
        zolComputerSide computer;
        Match match(&red, kind == MATCH_VS_COMPUTER ? (zolController*)&computer : &blue, 20, 14);
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
            match.Tick();
            zolTickInput input{match.GetFramesBeforeTick(), red.GetLastKeys(),
                               kind == MATCH_VS_COMPUTER ? 0 : blue.GetLastKeys()};
            recorder.Tick(input, t, t % 100 == 0 ? HashRules(match.GetMap()) : 0);
        }
        uint64_t fingerprint = HashRules(match.GetMap());
        recorder.Finish(ticks, fingerprint);
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
