#include <algorithm>
#include <filesystem>
#include <fstream>

#include "MapBook.h"
#include "MapChoice.h"
#include "MatchSession.h"
#include "Options.h"
#include "Recording.h"
#include "ReplayShelf.h"
#include "TestSupport.h"

// The one loop every kind of match runs in, as far as it goes without a screen.

TEST(MatchSession, TicksBeyondOnePassStayOwedAndEscEndsWithNoWinner)
{
    std::unique_ptr<MatchSession> session = NewLocalSession(false, StartMap());
    Match& match = session->GetMatch();
    BITMAP* bmp = create_bitmap(640, 480);
    std::atomic<int> clock(60);
    // Passes of at most 25 ticks, a frame after each: ticks run, and ticks still owed after it.
    const int passes[4][2] = {{25, 35}, {25, 10}, {10, 0}, {0, 0}};
    for (auto [ran, owed] : passes)
    {
        EXPECT_EQ(ran, session->RunOwedTicks(clock, 25));
        EXPECT_EQ(owed, clock);
        match.Draw(bmp, false);
    }
    EXPECT_EQ(60, match.GetTicks());
    EXPECT_EQ(0, match.GetFrameRate()) << "until 100 ticks have run";
    clock = 40;
    EXPECT_EQ(40, session->RunOwedTicks(clock, 100));
    EXPECT_EQ(4, match.GetFrameRate()) << "frames in the last 100 ticks";
    EXPECT_FALSE(match.IsOver());
    match.Quit();
    EXPECT_TRUE(match.IsOver());
    EXPECT_EQ(OUTCOME_NO_WINNER, match.GetOutcome());
    destroy_bitmap(bmp);
}

namespace
{
    // A short match against the computer recorded into file; what stderr heard of it.
    std::string RecordInto(zolRecorder& recorder, const std::function<void(int tick)>& during)
    {
        testing::internal::CaptureStderr();
        std::unique_ptr<MatchSession> session = NewLocalSession(true, StartMap());
        session->Record(&recorder, CurrentStart(MATCH_VS_COMPUTER, StartMap()));
        std::atomic<int> clock(0);
        for (int tick = 1; tick <= 300; tick++)
        {
            during(tick);
            clock = 1;
            EXPECT_EQ(1, session->RunOwedTicks(clock, 25)) << "the match goes on at " << tick;
        }
        session->FinishRecording();
        return testing::internal::GetCapturedStderr();
    }
}

TEST(MatchSession, ARecordingThatCannotBeWrittenIsSaidOnceAndTheMatchGoesOn)
{
    zolRecorder full;
    std::string error;
    ASSERT_TRUE(full.Open("/dev/full", &error)) << error;
    EXPECT_EQ("glowfront: cannot write the recording /dev/full: No space left on device\n",
              RecordInto(full, [](int) {}));
    EXPECT_TRUE(full.Failed());

    // A folder removed while the match is played takes the file with it: nothing is left to
    // replay, and the recorder says so rather than finishing as if all were well.
    const std::string folder = "glowfront-gone", file = folder + "/match.rec";
    std::filesystem::create_directory(folder);
    zolRecorder gone;
    ASSERT_TRUE(gone.Open(file, &error)) << error;
    std::string said =
        RecordInto(gone, [&](int tick) { tick == 150 && std::filesystem::remove_all(folder); });
    EXPECT_EQ("glowfront: cannot write the recording glowfront-gone/match.rec: the file was "
              "removed, or its folder, while the match was played\n",
              said);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(MatchSession, ARecordingOfAVersionThatPlaysDifferentlyIsRefusedNamingBoth)
{
    const char* file = "glowfront-version.rec";
    zolRecorder recorder;
    std::string error;
    ASSERT_TRUE(recorder.Open(file, &error)) << error;
    RecordInto(recorder, [](int) {});
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // The version follows the magic and the format: rewrite it as another game's.
    const std::string ours = GameVersion(), theirs = "0.9.\x01\xff";
    size_t at = bytes.find(ours);
    ASSERT_NE(std::string::npos, at);
    bytes.replace(at - 1, ours.size() + 1, std::string(1, (char)theirs.size()) + theirs);
    std::ofstream(file, std::ios::binary) << bytes;
    testing::internal::CaptureStderr();
    EXPECT_EQ(2, VerifyRecording(file));
    EXPECT_EQ(std::string("glowfront: ") + file +
                  ": recorded by Glowfront 0.9.??, which plays differently from this version (" +
                  ours + ")\n",
              testing::internal::GetCapturedStderr());
    std::remove(file);
}

TEST(KeptReplays, EveryMatchIsKeptWholeUnderItsStartTimeTheOldestGoingFirst)
{
    namespace fs = std::filesystem;
    setenv("XDG_DATA_HOME", fs::absolute("data").c_str(), 1);
    const std::string folder = ReplayFolder();
    EXPECT_EQ(fs::absolute("data/glowfront/replays").string(), folder);
    fs::create_directories(folder);
    std::ofstream(folder + "/mine.rec") << "a player's own file, never removed";
    std::vector<std::string> kept;
    testing::internal::CaptureStderr();
    for (int match = 0; match < 3; match++)
    {
        zolRecorder recorder;
        ASSERT_TRUE(KeepNextMatch(recorder, 2));
        std::unique_ptr<MatchSession> session = NewLocalSession(true, StartMap());
        session->Record(&recorder, CurrentStart(MATCH_VS_COMPUTER, StartMap()));
        for (int t = 0; t < 50 * (match + 1); t++)
            session->Step();
        EXPECT_FALSE(fs::exists(recorder.GetPath())) << "only whole under its name";
        session->FinishRecording();
        EXPECT_TRUE(fs::exists(recorder.GetPath()));
        kept.push_back(recorder.GetPath());
        PruneReplays(2);
    }
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    // Begun within one second, they take numbers: the newest first, the oldest gone.
    std::ofstream(kept[1], std::ios::app) << "x";
    std::vector<zolKeptReplay> list = ListReplays();
    ASSERT_EQ(2u, list.size());
    EXPECT_EQ(kept[2], list[0].path);
    EXPECT_EQ(150, list[0].ticks);
    EXPECT_EQ("blue: computer, normal", list[0].sides);
    EXPECT_EQ("damaged at its end", list[1].damaged);
    EXPECT_FALSE(fs::exists(kept[0]));
    EXPECT_TRUE(fs::exists(folder + "/mine.rec"));

    // A folder that cannot be made keeps nothing, says so once a run, and the match is played.
    std::ofstream("plain") << "a file where the folder would go";
    setenv("XDG_DATA_HOME", fs::absolute("plain").c_str(), 1);
    testing::internal::CaptureStderr();
    for (int match = 0; match < 2; match++)
    {
        zolRecorder recorder;
        EXPECT_FALSE(KeepNextMatch(recorder, 2));
    }
    EXPECT_EQ("glowfront: cannot keep replays in " + fs::absolute("plain").string() +
                  "/glowfront/replays: Not a directory; this match is played all the same.\n",
              testing::internal::GetCapturedStderr());
    unsetenv("XDG_DATA_HOME");
}

TEST(MapChoice, AMapFileIsReadForEachMatchAndOneGoneBadKeepsItsLastGoodReading)
{
    zolMapPlan field = BuiltInMaps().at(3).plan, maze = BuiltInMaps().at(4).plan, map;
    std::string why;
    std::ofstream("mine.map") << MapText(field);
    ASSERT_TRUE(FindMap("mine.map", &map, &why)) << why;
    zolMapChoice choice("mine.map", map);
    const std::pair<std::string, const zolMapPlan*> reads[] = {
        {MapText(maze), &maze}, {"; cut short\n", &maze}, {MapText(field), &field}};
    for (auto& [text, played] : reads)
    {
        std::ofstream("mine.map") << text;
        EXPECT_EQ(played->rows, choice.ForMatch(&why).rows);
        EXPECT_EQ(text.size() < 20 ? "mine.map: line 2: the map ends after 0 rows, not 14" : "",
                  why);
    }
}
