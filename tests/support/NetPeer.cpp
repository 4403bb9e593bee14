// One side of a network match without a display, for test_network: plays TICKS ticks as fast as
// the lockstep allows with seeded keys, drawing a frame now and then as the screen would.
//   netpeer host PORT TICKS SEED [FILE|-] [paced] [map=M]
//   netpeer join HOST:PORT TICKS SEED [FILE|-] [paced]
// A host first prints "hosting on port P" (PORT 0: one the system hands out), having read its map
// M (as --map takes it; `start` when not given). Then "playing delay D on MAP" once the start is
// agreed, then "N ticks, fingerprint HEX" (status 0), or "ended at tick N: MESSAGE" when the
// session ended first (status 3). FILE: a recording. paced: at most one tick per 10 ms, as the
// game's clock runs, and at the end "memory grew N KiB", the peak resident memory while playing
// over what it was when play began.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include <allegro.h>

#include "HumanSide.h"
#include "MapBook.h"
#include "Match.h"
#include "MatchSession.h"
#include "Network.h"
#include "Options.h"
#include "TileSet.h"
#include "zolCheck.h"

namespace
{
    using namespace std::chrono;

    // Services the session while it stays in state, for at most seconds.
    void Serve(zolNetSession& net, zolNetSession::State state, int seconds)
    {
        for (auto t0 = steady_clock::now();
             net.Service() == state && steady_clock::now() - t0 < seconds * 1s;)
            std::this_thread::sleep_for(100us);
    }

    // A line of /proc/self/status, in KiB: "VmRSS" now, "VmHWM" the peak.
    long StatusKiB(const std::string& name)
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.compare(0, name.size() + 1, name + ":") == 0)
                return std::stol(line.substr(name.size() + 1));
        return -1;
    }
}

int main(int argc, char** argv)
{
    std::string role = argc >= 5 ? argv[1] : "", host, error;
    int port = atoi(argv[argc >= 5 ? 2 : 0]), ticks = atoi(argv[argc >= 5 ? 3 : 0]);
    std::string file = "-", mapName;
    bool paced = false;
    for (int i = 5; i < argc; i++)
        if (std::string(argv[i]) == "paced")
            paced = true;
        else if (std::string(argv[i]).compare(0, 4, "map=") == 0)
            mapName = argv[i] + 4;
        else
            file = argv[i];
    const char* failed = nullptr;
    zolNetSession net;
    zolRecorder recorder;
    zolMapPlan map = StartMap();
    if ((role != "host" && role != "join") || install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return fprintf(stderr, "usage: netpeer host|join PORT|HOST:PORT TICKS SEED [FILE|-] "
                               "[paced] [map=M]\n"),
               2;
    if (!mapName.empty() && !FindMap(mapName, &map, &error))
        return fprintf(stderr, "%s\n", error.c_str()), 2;
    net.SetMap(map);
    set_color_depth(32);
    if (!BuildTiles(&failed) || atexit(ReleaseTiles) ||
        (file != "-" && !recorder.Open(file, &error)))
        return fprintf(stderr, "%s\n", failed ? failed : error.c_str()), 2;
    if (role == "host"
            ? !net.Host(port, &error)
            : !ParseAddress(argv[2], &host, &port, &error) || !net.Join(host, port, &error))
        return printf("ended at tick 0: %s\n", error.c_str()), 3;
    if (role == "host")
        printf("hosting on port %d\n", net.GetPort()), fflush(stdout);
    // The peak from when play begins: writing 5 to clear_refs starts the kernel's count afresh.
    long startKiB = 0;
    auto measure = [&]
    {
        std::ofstream("/proc/self/clear_refs") << "5";
        startKiB = StatusKiB("VmRSS");
    };
    auto report = [&](int tick)
    {
        printf("ended at tick %d: %s\n", tick, net.GetMessage().c_str());
        if (paced)
            printf("memory grew %ld KiB\n", StatusKiB("VmHWM") - startKiB);
        return 3;
    };
    Serve(net, zolNetSession::WAITING, 20);
    measure();
    if (net.GetState() != zolNetSession::PLAYING)
        return report(0);
    printf("playing delay %d on %s\n", net.GetDelay(), net.GetStart().map.name.c_str());
    fflush(stdout);
    zolMatchStart start = net.GetStart();
    std::mt19937 rng(atoi(argv[4]));
    std::unique_ptr<MatchSession> session =
        NewNetworkSession(net, [&] { return rng() % 8 ? 0u : 1u << rng() % SIDE_KEYS; });
    session->Record(file != "-" ? &recorder : nullptr, start);
    Match& match = session->GetMatch();
    BITMAP* frame = create_bitmap(640, 480);
    clear_bitmap(frame); // its pages in memory before the count begins
    std::atomic<int> owed(0);
    measure();
    auto t0 = steady_clock::now();
    while (match.GetTicks() < ticks && !match.IsOver() && !session->GetSource()->IsOver())
    {
        int due = paced ? (int)((steady_clock::now() - t0) / 10ms) - match.GetTicks() : ticks;
        owed = std::min(due, ticks - match.GetTicks());
        if (!session->RunOwedTicks(owed, owed))
            std::this_thread::sleep_for(100us);
        // Frames draw the flicker, which in a network match must change nothing.
        for (int f = rng() % 16 ? 0 : 3; f > 0; f--)
            match.Draw(frame, false);
    }
    destroy_bitmap(frame);
    uint64_t fingerprint = HashRules(match.GetMap());
    session->FinishRecording(); // kept however the match ended
    if (net.GetState() != zolNetSession::PLAYING)
        return report(match.GetTicks());
    printf("%d ticks, fingerprint %016llx\n", match.GetTicks(), (unsigned long long)fingerprint);
    if (paced)
        printf("memory grew %ld KiB\n", StatusKiB("VmHWM") - startKiB);
    fflush(stdout);
    // The other side may still need our last keys, which ENet resends only while serviced.
    Serve(net, zolNetSession::PLAYING, 1);
}
