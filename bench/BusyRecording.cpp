// Writes a recording of a busy match for cpu.sh to measure the game's share late in a match:
// hard against hard, headless, until both armies fill most of the map, then a minute and a half of
// the same position played on by the computer against an idle red, recorded from that moment.
//   busyrecording FILE
#include <cerrno>
#include <cstdio>

#include <allegro.h>

#include "MapBook.h"
#include "MatchSession.h"
#include "TileSet.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"

int main(int argc, char** argv)
{
    if (argc != 2 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return fprintf(stderr, "usage: busyrecording FILE\n"), 2;
    set_color_depth(32);
    BuildTilesHeadless();
    zolSeedRand(7);
    MatchSession war(MatchSession::LOCAL, std::make_unique<zolComputer>(LEVEL_HARD, true),
                     std::make_unique<zolComputer>(LEVEL_HARD, false), nullptr, StartMap());
    zolMap* map = war.GetMatch().GetMap();
    // Busy: units on most open tiles, tallied every ten seconds.
    for (int t = 1; t <= 90000; t++)
    {
        war.Step();
        if (t % 1000)
            continue;
        int open = 0, held = 0;
        for (int y = 0; y < map->GetHeight(); y++)
            for (int x = 0; x < map->GetWidth(); x++)
                if (zolTile* tile = map->GetTile(x, y); tile && !tile->IsSolid())
                {
                    open++;
                    held += !tile->GetUnits().empty();
                }
        if (open > 150 && held * 4 > open * 3)
            break;
    }
    zolMatchStart start = CurrentStart(MATCH_VS_COMPUTER, StartMap(), LEVEL_HARD);
    std::unique_ptr<MatchSession> session = NewLocalSession(true, StartMap(), LEVEL_HARD);
    std::string why;
    if (!session->Restore(war.Snapshot(), &why))
        return fprintf(stderr, "busyrecording: %s\n", why.c_str()), 1;
    session->GetMatch().SetFlickerApart(false);
    start.state = session->Snapshot();
    start.firstTick = session->GetMatch().GetTicks();
    zolRecorder recorder;
    if (!recorder.Open(argv[1], &why))
        return fprintf(stderr, "busyrecording: %s\n", why.c_str()), 1;
    session->Record(&recorder, start);
    for (int t = 0; t < 9000; t++)
        session->Step();
    session->FinishRecording();
    printf("%s: from tick %d, %d units\n", argv[1], start.firstTick,
           map->GetUnitCount(true) + map->GetUnitCount(false));
    ReleaseTiles();
    return recorder.Failed() ? 1 : 0;
}
