#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

#include <allegro.h>
#include <gtest/gtest.h>

#include "Main.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolMap.h"
#include "zolRandom.h"

namespace
{
    const int WIDTH = 20, HEIGHT = 14;

    long ResidentKiB()
    {
        long pages = 0, resident = 0;
        if (FILE* f = fopen("/proc/self/statm", "r"))
        {
            if (fscanf(f, "%ld %ld", &pages, &resident) != 2)
                resident = 0;
            fclose(f);
        }
        return resident * 4;
    }

    struct Soak
    {
        long ticks = 0;
        int matches = 0;
        int peakUnits = 0;
    };

    // One whole match with both sides pressing keys at random and blue, when versusComputer,
    // played by the computer. It ends as a real one does, or after maxTicks.
    void PlayMatch(Soak& soak, unsigned seed, bool versusComputer, int maxTicks, BITMAP* frame)
    {
        memset((void*)key, 0, KEY_MAX);
        zolKeyboardSide red(true), blue(false);
        zolComputerSide computer;
        Match match(&red, versusComputer ? (zolController*)&computer : &blue, WIDTH, HEIGHT);
        zolMap* map = match.GetMap();
        KeyScript redKeys(seed, true), blueKeys(seed ^ 0x5EED, false);
        for (int tick = 1; tick <= maxTicks && !match.IsOver(); tick++)
        {
            redKeys.Press(6);
            if (!versusComputer)
                blueKeys.Press(6);
            match.Tick();
            soak.ticks++;
            int units = map->GetUnitCount(true) + map->GetUnitCount(false);
            soak.peakUnits = std::max(soak.peakUnits, units);
            if (tick % 100 == 0)
            {
                std::string broken = CheckMap(map);
                ASSERT_EQ("", broken) << "match " << soak.matches << ", tick " << tick;
            }
            if (tick % 50 == 0)
            {
                match.EndTest();
                match.Draw(frame, false);
            }
        }
        soak.matches++;
    }
}

// Whole matches at full speed with keys mashed on both sides, the consistency check every 100
// ticks. GLOWFRONT_SOAK_TICKS asks for a longer run than the default.
TEST(Soak, MatchesWithMashedKeysStayConsistent)
{
    const char* asked = getenv("GLOWFRONT_SOAK_TICKS");
    long total = asked ? atol(asked) : 60000;
    BITMAP* frame = create_bitmap(640, 480);
    zolSeedRand(4242);
    ai_svJobs.clear();

    Soak soak;
    long startKiB = ResidentKiB();
    for (unsigned seed = 1; soak.ticks < total && !HasFatalFailure(); seed++)
        PlayMatch(soak, seed, seed % 2 == 0, 8000, frame);
    long endKiB = ResidentKiB();
    destroy_bitmap(frame);

    printf("soak: %ld ticks, %d matches, %d units at peak, resident %ld KiB at start, %ld KiB at "
           "end\n",
           soak.ticks, soak.matches, soak.peakUnits, startKiB, endKiB);
    EXPECT_GT(soak.peakUnits, 100);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Sanitizers keep their own heap, so the count of bytes in use means something only without them;
// there the leak checker does this job.
size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

TEST(Soak, TwentyMatchesInARowLeaveTheHeapAsTheyFoundIt)
{
    BITMAP* frame = create_bitmap(640, 480);
    ai_svJobs.clear();
    Soak soak;
    PlayMatch(soak, 100, true, 3000, frame); // the first match grows the job list and caches
    size_t before = HeapInUse();
    for (unsigned seed = 101; seed < 121; seed++)
        PlayMatch(soak, seed, seed % 2 == 0, 3000, frame);
    size_t jobs = ai_svJobs.size() * 64; // the computer's jobs carry over on purpose
    EXPECT_LE(HeapInUse(), before + jobs + 4096);
    destroy_bitmap(frame);
}
#endif
