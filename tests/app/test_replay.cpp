#include <chrono>

#include "MatchSession.h"
#include "Scenarios.h"
#include "TestSupport.h"
#include "zolAI.h"
#include "zolCheck.h"

// A recording watched: its saved states, and moves back and forward in it.
namespace
{
    const char* const FILE_NAME = "watched.rec";

    // A seeded match against hard, recorded through the game's loop, with a restless red and a
    // few frames now and then.
    void RecordLongMatch(int ticks)
    {
        zolSeedRand(606);
        for (int l = 0; l < LEVELS; l++)
            ProgramComputer(l).Reset();
        zolRecorder recorder;
        std::string error;
        ASSERT_TRUE(recorder.Open(FILE_NAME, &error)) << error;
        std::unique_ptr<MatchSession> session = NewLocalSession(true, StartMap(), LEVEL_HARD);
        session->Record(&recorder, CurrentStart(MATCH_VS_COMPUTER, StartMap(), LEVEL_HARD));
        BITMAP* frame = create_bitmap(640, 480);
        KeyScript keys(17, true);
        for (int t = 0; t < ticks; t++)
        {
            if (t % 5 == 0)
                session->GetMatch().Draw(frame, false);
            keys.Press(10);
            ASSERT_TRUE(session->Step());
        }
        session->FinishRecording();
        destroy_bitmap(frame);
    }
}

TEST(Replay, EverySavedStatePlaysOnExactlyAsTheRecordingAndSeeksComeBackToOneMoment)
{
    RecordLongMatch(12000);
    zolRecording recording;
    std::string error;
    ASSERT_TRUE(recording.Load(FILE_NAME, &error)) << error;
    std::unique_ptr<MatchSession> session = NewReplaySession(recording);
    zolReplayControl& replay = *session->GetReplay();
    auto* source = static_cast<zolReplaySource*>(session->GetSource());
    Match& match = session->GetMatch();
    EXPECT_EQ(12000, replay.GetLast());
    EXPECT_EQ(12000, session->SeekTo(99999)) << "clamped to the end";
    EXPECT_EQ(13, replay.GetStates()) << "at ticks 0, 1000, ... 12000";
    EXPECT_EQ(0, source->DiffersAt());
    uint64_t end = HashRules(match.GetMap());
    EXPECT_EQ(recording.GetFinalFingerprint(), end);

    // Each state taken up again plays on through every fingerprint to the recording's end.
    for (int at = 0; at < 12000; at += zolReplayControl::EVERY)
    {
        ASSERT_EQ(at, session->SeekTo(at));
        while (session->Step())
        {
        }
        EXPECT_EQ(0, source->DiffersAt()) << "from " << at;
        EXPECT_EQ(end, HashRules(match.GetMap())) << "from " << at;
    }

    // Forward, back, and to the same moment from either side: the same state.
    session->SeekTo(4321);
    uint64_t there = HashRules(match.GetMap());
    std::string state = session->Snapshot();
    session->SeekTo(9000);
    session->SeekTo(1500);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(4321, session->SeekTo(4321));
    double back = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(there, HashRules(match.GetMap()));
    EXPECT_EQ(state, session->Snapshot()) << "every part of the state, the computer's too";
    printf("a move within the last ten seconds: %.1f ms; %d states in %zu KiB\n", back * 1000,
           replay.GetStates(), replay.GetStateBytes() / 1024);
    std::remove(FILE_NAME);
}

TEST(Replay, TakingOverPlaysOnFromThatMomentAndItsOwnRecordingReplaysFromThere)
{
    RecordLongMatch(3000);
    zolRecording recording;
    std::string error;
    ASSERT_TRUE(recording.Load(FILE_NAME, &error)) << error;
    std::unique_ptr<MatchSession> replay = NewReplaySession(recording);
    replay->SeekTo(2345);
    uint64_t there = HashRules(replay->GetMatch().GetMap());

    zolMatchStart start;
    std::unique_ptr<MatchSession> session =
        NewTakeOverSession(*replay, recording.GetStart(), &start, &error);
    ASSERT_TRUE(session) << error;
    Match& match = session->GetMatch();
    EXPECT_EQ(2345, match.GetTicks());
    EXPECT_EQ(there, HashRules(match.GetMap()));
    EXPECT_EQ(LEVEL_HARD, session->GetComputer(false)->GetLevel()) << "the level recorded";
    EXPECT_TRUE(session->GetHuman(true)) << "red is the person's";

    const char* taken = "taken.rec";
    zolRecorder recorder;
    ASSERT_TRUE(recorder.Open(taken, &error)) << error;
    session->Record(&recorder, start);
    BITMAP* frame = create_bitmap(640, 480);
    KeyScript keys(5, true);
    for (int t = 0; t < 1000; t++)
    {
        if (t % 3 == 0)
            match.Draw(frame, false);
        keys.Press(6);
        session->Step();
    }
    uint64_t played = HashRules(match.GetMap());
    session->FinishRecording();
    destroy_bitmap(frame);
    // Watched on the screen, its frames drawn between ticks change nothing.
    zolRecording again;
    ASSERT_TRUE(again.Load(taken, &error)) << error;
    std::unique_ptr<MatchSession> watched = NewReplaySession(again);
    frame = create_bitmap(640, 480);
    while (watched->Step())
        watched->GetMatch().Draw(frame, false);
    destroy_bitmap(frame);
    EXPECT_EQ(0, static_cast<zolReplaySource*>(watched->GetSource())->DiffersAt());
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, VerifyRecording(taken));
    char expected[80];
    snprintf(expected, sizeof expected, "replay ok: 3345 ticks, fingerprint %016llx\n",
             (unsigned long long)played);
    EXPECT_EQ(expected, testing::internal::GetCapturedStdout());
    std::remove(taken);
    std::remove(FILE_NAME);
}
