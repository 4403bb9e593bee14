#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <typeindex>

#include "MapBook.h"
#include "Scenarios.h"
#include "TestSupport.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolCmdClear.h"
#include "zolCmdHive.h"
#include "zolCmdTrainer.h"
#include "zolSoundMixer.h"

// Whole seeded matches. The computer's counters live as long as the program: the match pinned
// against it sets them as the program starts them.
namespace
{
    uint64_t HashFrame(BITMAP* bmp)
    {
        uint64_t hash = 14695981039346656037ull;
        for (int y = 0; y < bmp->h; y++)
            for (int x = 0; x < bmp->w; x++)
                hash = (hash ^ (uint32_t)getpixel(bmp, x, y)) * 1099511628211ull;
        return hash;
    }
}

// The fingerprints were taken from the straightforward first version of the game. Any change made
// for speed must leave them as they are: the same rules, computed differently. The built-in map
// `start` is that version's map, and plays the same.
TEST(Determinism, SeededMatchAgainstTheComputerPlaysOutTheSameEveryBuild)
{
    for (zolMap* map : {NewMatchMap(20, 14), BuildMap(StartMap())})
    {
        zolSeedRand(2026);
        ai_svJobs.clear();
        SetAICounters(0, 0); // as the program starts
        zolKeyboardSide red(true);
        zolComputerSide blue;
        Match match(&red, &blue, map);
        BITMAP* frame = create_bitmap(640, 480);
        KeyScript keys(7, true);
        for (int tick = 1; tick <= 20000; tick++)
        {
            keys.Press(20);
            match.Tick();
            // Frames draw from the same random source as the rules, as they do in play.
            if (tick % 7 == 0)
                match.Draw(frame, false);
        }
        ASSERT_EQ("", CheckMap(match.GetMap()));
        EXPECT_EQ(12636151700710393190ull, HashMap(match.GetMap()));
        EXPECT_EQ(15237957950145710260ull, HashFrame(frame));
        destroy_bitmap(frame);
    }
}

// Heard all along by the sound's mixer, which must change nothing.
TEST(Determinism, SeededWarPlaysOutTheSameEveryBuildWhileHeard)
{
    zolSeedRand(99);
    zolSoundMixer mixer(6);
    zolListen(&mixer);
    zolKeyboardSide red(true), blue(false);
    Match match(&red, &blue, NewWarMap());
    zolMap* map = match.GetMap();
    BITMAP* frame = create_bitmap(640, 480);
    match.GetCursor(true)[0] = match.GetCursor(true)[1] = match.GetCursor(false)[1] = 5;
    match.GetCursor(false)[0] = 15;
    int peak = 0, cues = 0;
    for (int tick = 1; tick <= 3000; tick++)
    {
        map->Update();
        peak = std::max(peak, map->GetUnitCount(true) + map->GetUnitCount(false));
        cues += (int)mixer.Frame(tick * 10).size();
    }
    zolStopListening(&mixer);
    match.Draw(frame, false);
    EXPECT_GT(cues, 20); // the war was heard
    ASSERT_EQ("", CheckMap(map));
    EXPECT_GT(peak, 1000);
    EXPECT_EQ(32106339952799212ull, HashMap(map));
    EXPECT_EQ(13242728569052694161ull, HashFrame(frame));
    destroy_bitmap(frame);
}

namespace
{
    long ResidentKiB()
    {
        long pages = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> pages >> resident;
        return resident * 4; // pages of 4 KiB
    }

    // What the soak saw over its matches; by side, 0 blue and 1 red.
    struct Soak
    {
        long ticks = 0;
        int matches = 0, peakUnits = 0, fights = 0;
        int dug[2] = {}, built[2] = {}, captured[2] = {};
        std::set<std::type_index> computerOrders;

        // A look at every tile against the last one (was: kind * 2 + owner, -1 before the first):
        // rock dug out, floor built on, open ground that changed sides, tiles where both sides
        // struck, and the computer's commands.
        void Look(zolMap* map, std::vector<int>& was, bool versusComputer)
        {
            auto& types = g_pvTileTypes;
            for (int i = 0; i < 20 * 14; i++)
            {
                zolTile* tile = map->GetTile(i % 20, i / 20);
                int kind = std::find(types.begin(), types.end(), tile->GetType()) - types.begin();
                int side = tile->IsLit(), before = was[i] / 2;
                dug[side] += before == TILE_ROCK && kind != TILE_ROCK;
                built[side] += before == TILE_FLOOR && (kind == TILE_HIVE || kind == TILE_TRAINER);
                captured[side] += was[i] >= 0 && before != TILE_ROCK && was[i] % 2 != side;
                was[i] = kind * 2 + side;
                fights += tile->GetDamage(true) > 0 && tile->GetDamage(false) > 0;
                if (zolCommand* cmd = tile->GetCommand(false); cmd && versusComputer)
                    computerOrders.insert(typeid(*cmd));
            }
        }

        // One whole match, on the starting map unless given another, both sides pressing keys at
        // random and blue, when versusComputer, played by the computer; checked every 100 ticks,
        // drawn and tested for its end every 50. It ends as a real one does, or after maxTicks.
        void Play(unsigned seed, bool versusComputer, int maxTicks, zolMap* map = nullptr)
        {
            memset((void*)key, 0, KEY_MAX);
            zolKeyboardSide red(true), blue(false);
            zolComputerSide computer;
            Match match(&red, versusComputer ? (zolController*)&computer : &blue,
                        map ? map : NewMatchMap(20, 14));
            map = match.GetMap();
            BITMAP* frame = create_bitmap(640, 480);
            std::vector<int> was(20 * 14, -1);
            KeyScript redKeys(seed, true), blueKeys(seed ^ 0x5EED, false);
            for (int tick = 1; tick <= maxTicks && !match.IsOver(); tick++, ticks++)
            {
                redKeys.Press(6);
                if (!versusComputer)
                    blueKeys.Press(6);
                match.Tick();
                peakUnits = std::max(peakUnits, map->GetUnitCount(true) + map->GetUnitCount(false));
                if (tick % 100 == 0)
                {
                    ASSERT_EQ("", CheckMap(map)) << "match " << matches << ", tick " << tick;
                    Look(map, was, versusComputer);
                }
                if (tick % 50 == 0)
                {
                    match.EndTest();
                    match.Draw(frame, false);
                }
            }
            destroy_bitmap(frame);
            matches++;
        }
    };
}

// Whole matches at full speed with keys mashed on both sides, blue played by the computer in
// every other one. GLOWFRONT_SOAK_TICKS asks for a longer run than the default.
TEST(Soak, MatchesWithMashedKeysStayConsistentAndBothSidesDig)
{
    const char* asked = getenv("GLOWFRONT_SOAK_TICKS");
    zolSeedRand(4242);
    ai_svJobs.clear();
    Soak soak;
    long startKiB = ResidentKiB();
    for (unsigned seed = 1; soak.ticks < (asked ? atol(asked) : 60000) && !HasFatalFailure();
         seed++)
        soak.Play(seed, seed % 2 == 0, 8000);
    printf("soak: %ld ticks, %d matches, %d units at peak, resident %ld KiB at start, %ld at end\n",
           soak.ticks, soak.matches, soak.peakUnits, startKiB, ResidentKiB());
    EXPECT_GT(soak.peakUnits, 100);
    EXPECT_GT(soak.dug[0], 0) << "blue";
    EXPECT_GT(soak.dug[1], 0) << "red";
}

// The bases joined by a corridor of blue floor, blue played by the computer, a low unit cap.
TEST(Soak, UnitsFightAndCaptureWhileTheComputerDigsBuildsAndPointsArrows)
{
    const int savedCap = zu_dwMaxUnits;
    zu_dwMaxUnits = 100; // keeps a long match quick
    zolSeedRand(5);
    zolMap* map = NewMatchMap(20, 14);
    for (int i = 0; i < 21; i++)
        map->SetTile(i < 14 ? 4 + i : 17, i < 14 ? 2 : i - 11, g_pvTileTypes[TILE_FLOOR]);
    Soak soak;
    soak.Play(11, true, 100000, map);
    zu_dwMaxUnits = savedCap;
    EXPECT_GT(soak.fights, 0);
    EXPECT_GT(soak.captured[0], 0) << "by blue";
    EXPECT_GT(soak.captured[1], 0) << "by red";
    EXPECT_GT(soak.dug[0], 30) << "by blue";
    EXPECT_GT(soak.built[0], 10) << "by blue";
    // It never places thorns: a fourth kind of command is an arrow.
    auto& orders = soak.computerOrders;
    EXPECT_EQ(1u, orders.count(typeid(zolCmdClear)));
    EXPECT_EQ(1u, orders.count(typeid(zolCmdTrainer)));
    EXPECT_EQ(1u, orders.count(typeid(zolCmdHive)));
    EXPECT_LT(3u, orders.size()) << "no arrow";
}
