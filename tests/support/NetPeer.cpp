// One side of a network match without a display, for test_network: plays TICKS ticks as fast as
// the lockstep allows with seeded keys, drawing a frame now and then as the screen would.
//   netpeer host PORT TICKS SEED [FILE]   |   netpeer join HOST:PORT TICKS SEED [FILE]
// Prints "playing delay D" once the start is agreed, then "N ticks, fingerprint HEX" (status 0),
// or "ended at tick N: MESSAGE" when the session ended first (status 3). FILE: a recording.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include <allegro.h>

#include "HumanSide.h"
#include "Match.h"
#include "MatchSession.h"
#include "Network.h"
#include "Options.h"
#include "TileSet.h"
#include "zolCheck.h"

namespace
{
    // Services the session while it stays in state, for at most seconds.
    void Serve(zolNetSession& net, zolNetSession::State state, int seconds)
    {
        using namespace std::chrono;
        for (auto t0 = steady_clock::now();
             net.Service() == state && steady_clock::now() - t0 < seconds * 1s;)
            std::this_thread::sleep_for(100us);
    }
}

int main(int argc, char** argv)
{
    std::string role = argc >= 5 ? argv[1] : "", host, error;
    int port = atoi(argv[argc >= 5 ? 2 : 0]), ticks = atoi(argv[argc >= 5 ? 3 : 0]);
    const char* failed = nullptr;
    zolNetSession net;
    zolRecorder recorder;
    if ((role != "host" && role != "join") || install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return fprintf(stderr, "usage: netpeer host|join PORT|HOST:PORT TICKS SEED [FILE]\n"), 2;
    set_color_depth(32);
    if (!BuildTiles(&failed) || atexit(ReleaseTiles) ||
        (argc > 5 && !recorder.Open(argv[5], &error)))
        return fprintf(stderr, "%s\n", failed ? failed : error.c_str()), 2;
    if (role == "host"
            ? !net.Host(port, &error)
            : !ParseAddress(argv[2], &host, &port, &error) || !net.Join(host, port, &error))
        return printf("ended at tick 0: %s\n", error.c_str()), 3;
    Serve(net, zolNetSession::WAITING, 20);
    if (net.GetState() != zolNetSession::PLAYING)
        return printf("ended at tick 0: %s\n", net.GetMessage().c_str()), 3;
    printf("playing delay %d\n", net.GetDelay());
    fflush(stdout);
    zolMatchStart start = net.GetStart();
    std::mt19937 rng(atoi(argv[4]));
    std::unique_ptr<MatchSession> session =
        NewNetworkSession(net, [&] { return rng() % 8 ? 0u : 1u << rng() % SIDE_KEYS; });
    session->Record(argc > 5 ? &recorder : nullptr, start);
    Match& match = session->GetMatch();
    BITMAP* frame = create_bitmap(640, 480);
    std::atomic<int> owed(0);
    while (match.GetTicks() < ticks && !match.IsOver() && !session->GetSource()->IsOver())
    {
        owed = ticks - match.GetTicks();
        if (!session->RunOwedTicks(owed, owed))
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        // Frames draw the flicker, which in a network match must change nothing.
        for (int f = rng() % 16 ? 0 : 3; f > 0; f--)
            match.Draw(frame, false);
    }
    destroy_bitmap(frame);
    uint64_t fingerprint = HashRules(match.GetMap());
    session->FinishRecording(); // kept however the match ended
    if (net.GetState() != zolNetSession::PLAYING)
        return printf("ended at tick %d: %s\n", match.GetTicks(), net.GetMessage().c_str()), 3;
    printf("%d ticks, fingerprint %016llx\n", match.GetTicks(), (unsigned long long)fingerprint);
    fflush(stdout);
    // The other side may still need our last keys, which ENet resends only while serviced.
    Serve(net, zolNetSession::PLAYING, 1);
}
