#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "Orders.h"
#include "TestSupport.h"
#include "zolCommand.h"
#include "zolEvents.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolSoundMixer.h"
#include "zolSynth.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    using Heard = std::tuple<zolEvent, int, int>; // kind and cell, or a cue's kind, voice and pan

    struct Recorder : zolEventListener
    {
        void OnEvent(zolEvent kind, int x, int y) override { heard.emplace_back(kind, x, y); }
        std::vector<Heard> heard;
    };

    // Notes the events, each of kind at column x, and starts a frame at ms: what it starts.
    std::vector<Heard> Frame(zolSoundMixer& mixer, int ms,
                             const std::vector<std::pair<zolEvent, int>>& events)
    {
        for (auto [kind, x] : events)
            mixer.OnEvent(kind, x, 0);
        std::vector<Heard> started;
        for (const zolSoundCue& cue : mixer.Frame(ms))
            started.emplace_back(cue.kind, cue.voice, cue.pan);
        return started;
    }
}

TEST(SoundSamples, EachIsItsLengthStartsAndEndsAtRestAndPeaksBelowFullScale)
{
    // Kind, length in samples at 22050 Hz, and a checksum that pins the bytes on every build.
    const std::tuple<zolEvent, unsigned long, uint32_t> cases[] = {
        {zolEvent::UnitBorn, 2425, 1708747556u},   {zolEvent::Blow, 1984, 1138039864u},
        {zolEvent::TileTaken, 6615, 4133129811u},  {zolEvent::BuildDone, 9922, 2696768184u},
        {zolEvent::RockOpened, 8379, 1336762313u}, {zolEvent::MenuMove, 1102, 2728586285u},
        {zolEvent::MenuChoice, 4410, 2495002040u}, {zolEvent::RedWins, 39690, 3361924355u},
        {zolEvent::BlueWins, 39690, 575874276u},
    };
    double quietest = 1e9, loudest = 0.0;
    for (auto [kind, length, checksum] : cases)
    {
        SAMPLE* spl = zolMakeSound(kind);
        ASSERT_NE(nullptr, spl);
        EXPECT_EQ(22050, spl->freq);
        ASSERT_EQ(length, spl->len) << (int)kind;
        const unsigned short* data = (const unsigned short*)spl->data;
        EXPECT_EQ(0x8000, data[0]) << (int)kind;
        EXPECT_EQ(0x8000, data[length - 1]) << (int)kind;
        uint32_t hash = 2166136261u;
        int peak = 0, edge = 0;
        double energy = 0.0;
        for (unsigned long i = 0; i < length; i++)
        {
            int v = data[i] - 0x8000;
            hash = (hash ^ data[i]) * 16777619u;
            peak = std::max(peak, std::abs(v));
            energy += (double)v * v;
            if (i < 22 || i >= length - 22) // the first and last millisecond
                edge = std::max(edge, std::abs(v));
        }
        EXPECT_LT(peak, 32767 * 55 / 100) << (int)kind;
        EXPECT_GT(peak, 32767 * 20 / 100) << (int)kind;
        EXPECT_LT(edge, peak / 10) << (int)kind; // fading in and out: no click
        EXPECT_EQ(checksum, hash) << (int)kind;
        quietest = std::min(quietest, energy / length);
        loudest = std::max(loudest, energy / length);
        destroy_sample(spl);
    }
    EXPECT_LT(std::sqrt(loudest / quietest), 2.5); // about 8 dB from the softest to the loudest
}

TEST(SoundMixer, EachKindStartsAFewTimesASecondHoweverManyEventsCome)
{
    // Kind, events every 10 ms for a second, starts in that second.
    const std::tuple<zolEvent, int, int> cases[] = {
        {zolEvent::Blow, 300, 4},    {zolEvent::Blow, 1, 4},       {zolEvent::UnitBorn, 50, 5},
        {zolEvent::TileTaken, 3, 5}, {zolEvent::BuildDone, 1, 4},  {zolEvent::RockOpened, 1, 4},
        {zolEvent::MenuMove, 1, 17}, {zolEvent::MenuChoice, 1, 7}, {zolEvent::RedWins, 1, 1},
    };
    for (auto [kind, count, starts] : cases)
    {
        zolSoundMixer mixer(6);
        size_t started = 0;
        for (int ms = 0; ms < 1000; ms += 10)
            started +=
                Frame(mixer, ms, std::vector<std::pair<zolEvent, int>>(count, {kind, 4})).size();
        EXPECT_EQ(starts, (int)started) << (int)kind << " x" << count;
    }
}

TEST(SoundMixer, AFramesEventsOfAKindPlayOnceAtTheirMeanColumn)
{
    // Columns of the frame's events, and the pan of the one cue.
    const std::vector<std::vector<int>> columns = {{0}, {19}, {10}, {-1}, {40}, {0, 19}, {3, 3, 9}};
    const int pans[] = {0, 255, 134, 128, 255, 127, 66};
    for (size_t i = 0; i < columns.size(); i++)
    {
        zolSoundMixer mixer(6);
        for (int x : columns[i])
            mixer.OnEvent(zolEvent::TileTaken, x, 5);
        EXPECT_EQ((std::vector<Heard>{{zolEvent::TileTaken, 0, pans[i]}}), Frame(mixer, 0, {}))
            << i;
    }
}

TEST(SoundMixer, WhenVoicesRunOutTheLouderSoundTakesTheQuietestsVoice)
{
    using E = zolEvent;
    zolSoundMixer mixer(2);
    // Louder first within a frame; then each louder kind takes the quietest busy voice.
    EXPECT_EQ((std::vector<Heard>{{E::UnitBorn, 0, 0}, {E::Blow, 1, 255}}),
              Frame(mixer, 0, {{E::Blow, 19}, {E::UnitBorn, 0}}));
    EXPECT_EQ((std::vector<Heard>{{E::TileTaken, 1, 0}}), Frame(mixer, 10, {{E::TileTaken, 0}}));
    EXPECT_EQ((std::vector<Heard>{{E::BuildDone, 0, 0}}), Frame(mixer, 20, {{E::BuildDone, 0}}));
    EXPECT_EQ((std::vector<Heard>{}), Frame(mixer, 30, {{E::RockOpened, 0}, {E::Blow, 0}}));
    // The owner change's 300 ms are over at 310: its voice is free again.
    EXPECT_EQ((std::vector<Heard>{{E::RockOpened, 1, 0}}), Frame(mixer, 310, {{E::RockOpened, 0}}));
    EXPECT_EQ((std::vector<Heard>{{E::RedWins, 1, 0}}),
              Frame(mixer, 320, {{E::RedWins, 0}, {E::Blow, 0}}));
    // Muting cuts off what plays: unmuted, the quietest kind finds a voice at once.
    mixer.SetMuted(true);
    EXPECT_EQ((std::vector<Heard>{}), Frame(mixer, 330, {{E::MenuMove, 0}}));
    mixer.SetMuted(false);
    EXPECT_EQ((std::vector<Heard>{{E::Blow, 0, 0}}), Frame(mixer, 340, {{E::Blow, 0}}));
}

TEST(WorldEvents, EachTellsWhatHappenedOnWhichTile)
{
    Recorder recorder;
    zolListen(&recorder);
    zolMap* map = MakeFloorMap(6, 4, 3, 8000); // columns 0-2 red
    zolUnit units[2];
    units[1].SetSide(true);
    for (zolUnit& unit : units)
        map->GetTile(1, 1)->AddUnit(&unit);
    map->GetTile(1, 1)->Update();
    map->GetTile(4, 2)->DecHealth(8000);
    PlaceCommand(map->GetTile(0, 3), ORDER_THORNS, true); // thorns: 20000 ticks alone
    for (int tick = 0; tick < 20000; tick++)
        map->GetTile(0, 3)->Update();
    map->SetTile(5, 0, g_pvTileTypes[TILE_ROCK]);
    PlaceCommand(map->GetTile(5, 0), ORDER_CLEAR, false);
    for (int hit = 0; hit < 100; hit++)
        map->GetTile(5, 0)->GetCommand(false)->Collision(false);
    EXPECT_EQ((std::vector<Heard>{{zolEvent::Blow, 1, 1},
                                  {zolEvent::TileTaken, 4, 2},
                                  {zolEvent::BuildDone, 0, 3},
                                  {zolEvent::RockOpened, 5, 0}}),
              recorder.heard);

    recorder.heard.clear();
    map->SetTile(2, 1, g_pvTileTypes[TILE_HIVE]);
    zolSeedRand(5);
    for (int tick = 0; tick < 300; tick++)
        map->GetTile(2, 1)->Update();
    EXPECT_GT(map->GetUnits().size(), 3u);
    EXPECT_EQ(std::vector<Heard>(map->GetUnits().size(), Heard{zolEvent::UnitBorn, 2, 1}),
              recorder.heard);
    zolStopListening(&recorder);
    delete map;
}
