#include <cerrno>
#include <cstdio>

#include <allegro.h>
#include <benchmark/benchmark.h>

#include "Blocks.h"
#include "Main.h"
#include "MatchSession.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolUnit.h"

// Every case is seeded, so two runs measure the same game. One iteration is one tick or one
// frame; "units" is the number of live units while it was measured.

namespace
{
    int LiveUnits(zolMap* map)
    {
        return map->GetUnitCount(true) + map->GetUnitCount(false);
    }

    // A war at its steady state: about 3000 units spawning, crossing, fighting and dying.
    zolMap* WarAtPeak()
    {
        zolSeedRand(99);
        zu_dwMaxUnits = 1500;
        zolMap* map = NewWarMap();
        for (int tick = 0; tick < 3000; tick++)
            map->Update();
        return map;
    }
}

// The opening of a match against the computer, red idle, 20000 ticks.
static void BM_StartTick(benchmark::State& state)
{
    zolSeedRand(1);
    ai_svJobs.clear();
    zolMap* map = NewMatchMap(20, 14);
    int red[2] = {0, 0}, blue[2] = {19, 13};
    for (auto _ : state)
    {
        DoPlayer1(red, map, 20, 14);
        DoAI(blue, map, 20, 14);
        map->Update();
    }
    state.counters["units"] = LiveUnits(map);
    delete map;
}
BENCHMARK(BM_StartTick)->Iterations(20000)->Unit(benchmark::kMicrosecond);

static void BM_WarTick(benchmark::State& state)
{
    zolMap* map = WarAtPeak();
    for (auto _ : state)
        map->Update();
    state.counters["units"] = LiveUnits(map);
    delete map;
}
BENCHMARK(BM_WarTick)->Iterations(2000)->Unit(benchmark::kMicrosecond);

static void BM_WarFrame(benchmark::State& state)
{
    zolKeyboardSide red(true), blue(false);
    Match match(&red, &blue, WarAtPeak());
    BITMAP* frame = create_bitmap(640, 480);
    for (auto _ : state)
        match.Draw(frame, false);
    state.counters["units"] = LiveUnits(match.GetMap());
    destroy_bitmap(frame);
}
BENCHMARK(BM_WarFrame)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// What finding the changed blocks adds to every frame shown: a war frame against the one
// before it (most blocks differ), and a picture against an equal one, the whole of both read.
static void BM_ChangedBlocks(benchmark::State& state)
{
    zolKeyboardSide red(true), blue(false);
    Match match(&red, &blue, WarAtPeak());
    BITMAP* before = create_bitmap(640, 480);
    BITMAP* now = create_bitmap(640, 480);
    match.Draw(before, false);
    match.Tick();
    match.Draw(now, false);
    if (state.range(0) == 0)
        blit(now, before, 0, 0, 0, 0, 640, 480);
    bool changed[BLOCKS];
    int count = 0;
    for (auto _ : state)
        count = FindChangedBlocks(now, before, changed);
    state.counters["blocks"] = count;
    destroy_bitmap(before);
    destroy_bitmap(now);
}
BENCHMARK(BM_ChangedBlocks)->Arg(1)->Arg(0)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// Watching the end of a 30-minute match against hard, a restless red: a move ten seconds back
// takes up the nearest saved state and plays on to the moment. "states" and "KiB": what the
// saved states of the whole match hold.
static void BM_ReplayJumpBack(benchmark::State& state)
{
    const char* file = "bench-30min.rec";
    zolSeedRand(30);
    for (int l = 0; l < LEVELS; l++)
        ProgramComputer(l).Reset();
    zolRecorder recorder;
    std::string error;
    recorder.Open(file, &error);
    std::unique_ptr<MatchSession> played = NewLocalSession(true, StartMap(), LEVEL_HARD);
    played->Record(&recorder, CurrentStart(MATCH_VS_COMPUTER, StartMap(), LEVEL_HARD));
    KeyScript keys(3, true);
    for (int t = 0; t < 180000; t++)
    {
        keys.Press(40);
        played->Step();
    }
    played->FinishRecording();
    zolRecording recording;
    if (!recording.Load(file, &error))
        return state.SkipWithError(error.c_str());
    std::unique_ptr<MatchSession> replay = NewReplaySession(recording);
    zolReplayControl& control = *replay->GetReplay();
    replay->SeekTo(180000);
    for (auto _ : state)
    {
        state.PauseTiming();
        replay->SeekTo(180000);
        state.ResumeTiming();
        replay->SeekTo(179000 - 357); // between two saved states, as a move back mostly is
    }
    state.counters["states"] = control.GetStates();
    state.counters["KiB"] = (double)control.GetStateBytes() / 1024;
    state.counters["units"] = LiveUnits(replay->GetMatch().GetMap());
    std::remove(file);
}
BENCHMARK(BM_ReplayJumpBack)->Iterations(20)->Unit(benchmark::kMillisecond);

// Start-up's share of picture work: the five tile types from the four source pictures.
static void BM_BuildTiles(benchmark::State& state)
{
    for (auto _ : state)
    {
        ReleaseTiles();
        if (!BuildTiles())
            state.SkipWithError("the tile pictures are missing: run in the run folder");
    }
}
BENCHMARK(BM_BuildTiles)->Iterations(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    install_allegro(SYSTEM_NONE, &errno, atexit);
    set_color_depth(32);
    if (!BuildTiles())
    {
        fprintf(stderr, "Data/ not found: run the benchmark in the run folder\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    ReleaseTiles();
    return 0;
}
