// Writes a recording that begins from a position far into a match, played headless by two
// computers and then recorded from there, blue the computer against an idle red:
//   positionrecording busy FILE     hard against hard until both armies fill most of the map,
//                                   then a minute and a half: for cpu.sh's late match
//   positionrecording ending FILE   hard red against easy blue until blue is nearly beaten, then
//                                   a second: taken over in the game, a match about to be won,
//                                   for the README's end screen
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
    std::string mode = argc == 3 ? argv[1] : "";
    if ((mode != "busy" && mode != "ending") || install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return fprintf(stderr, "usage: positionrecording busy|ending FILE\n"), 2;
    bool ending = mode == "ending";
    int blueLevel = ending ? LEVEL_EASY : LEVEL_HARD;
    set_color_depth(32);
    BuildTilesHeadless();
    zolSeedRand(7);
    MatchSession war(MatchSession::LOCAL, std::make_unique<zolComputer>(LEVEL_HARD, true),
                     std::make_unique<zolComputer>(blueLevel, false), nullptr, StartMap());
    zolMap* map = war.GetMatch().GetMap();
    // Busy: units on most open tiles, tallied every ten seconds.
    for (int t = 1; t <= 90000; t++)
    {
        war.Step();
        if (ending && t > 2000 && map->GetUnitCount(false) < 12)
            break;
        if (ending || t % 1000)
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
    zolMatchStart start = CurrentStart(MATCH_VS_COMPUTER, StartMap(), blueLevel);
    std::unique_ptr<MatchSession> session = NewLocalSession(true, StartMap(), blueLevel);
    std::string why;
    if (!session->Restore(war.Snapshot(), &why))
        return fprintf(stderr, "positionrecording: %s\n", why.c_str()), 1;
    start.state = session->Snapshot();
    start.firstTick = session->GetMatch().GetTicks();
    zolRecorder recorder;
    if (!recorder.Open(argv[2], &why))
        return fprintf(stderr, "positionrecording: %s\n", why.c_str()), 1;
    session->Record(&recorder, start);
    for (int t = 0; t < (ending ? 100 : 9000); t++)
        session->Step();
    session->FinishRecording();
    printf("%s: from tick %d, %d units\n", argv[2], start.firstTick,
           map->GetUnitCount(true) + map->GetUnitCount(false));
    ReleaseTiles();
    return recorder.Failed() ? 1 : 0;
}
