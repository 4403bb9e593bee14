#include "Arena.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <allegro.h>

#include "Bytes.h"
#include "MatchSession.h"
#include "Options.h"
#include "TileSet.h"
#include "zolAI.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolUnit.h"

namespace
{
    // A whole number in low..high, the whole text of it.
    bool Number(const std::string& text, long long low, long long high, long long* value)
    {
        char* end;
        errno = 0;
        long long n = strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end || errno || n < low || n > high)
            return false;
        *value = n;
        return true;
    }

    int Refuse(const std::string& why)
    {
        fprintf(stderr, "glowfront: %s\n", why.c_str());
        return 2;
    }
}

zolArenaMatch PlayArenaMatch(int red, int blue, uint32_t seed, const zolMapPlan& map, int maxTicks)
{
    zolSeedRand(seed);
    MatchSession session(MatchSession::LOCAL, std::make_unique<zolComputer>(red, true),
                         std::make_unique<zolComputer>(blue, false), nullptr, map);
    Match& match = session.GetMatch();
    while (!match.IsOver() && match.GetTicks() < maxTicks)
    {
        session.Step();
        match.EndTest();
    }
    return {match.GetOutcome(), match.GetTicks()};
}

int RunArena(const zolOptions& options)
{
    int red = LevelByName(options.arenaRed), blue = LevelByName(options.arenaBlue);
    for (const std::string* name : {&options.arenaRed, &options.arenaBlue})
        if (LevelByName(*name) < 0)
            return Refuse("unknown level \"" + PrintableText(*name, 40) +
                          "\" (easy, normal or hard)");
    long long matches, seed;
    if (!Number(options.matches, 1, 1000000, &matches))
        return Refuse("--matches: \"" + PrintableText(options.matches, 40) +
                      "\" is not a number of matches (1 to 1000000)");
    if (!Number(options.seed, 0, UINT32_MAX, &seed))
        return Refuse("--seed: \"" + PrintableText(options.seed, 40) + "\" is not a seed (0 to " +
                      std::to_string(UINT32_MAX) + ")");

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return Refuse("the library would not start without a display");
    set_color_depth(32); // the units' colours are made even where nothing is drawn
    BuildTilesHeadless();
    std::string error;
    zolMapPlan map = StartMap();
    if (!options.map.empty() && !FindMap(options.map, &map, &error))
    {
        ReleaseTiles();
        return Refuse(error);
    }
    int wins[3] = {}; // by zolOutcome
    for (long long i = 1; i <= matches; i++)
    {
        zolArenaMatch m = PlayArenaMatch(red, blue, (uint32_t)(seed + i - 1), map);
        wins[m.outcome]++;
        const char* said = m.outcome == OUTCOME_RED_WINS    ? "red wins"
                           : m.outcome == OUTCOME_BLUE_WINS ? "blue wins"
                                                            : "draw";
        printf("match %lld: %s at tick %d\n", i, said, m.ticks);
        fflush(stdout);
    }
    printf("red %s %d, blue %s %d, draws %d\n", LevelName(red), wins[OUTCOME_RED_WINS],
           LevelName(blue), wins[OUTCOME_BLUE_WINS], wins[OUTCOME_NO_WINNER]);
    ReleaseTiles();
    return 0;
}
