#include <cstdint>

#include <allegro.h>
#include <gtest/gtest.h>

#include "Main.h"
#include "Scenarios.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolUnit.h"

// These fingerprints were taken from the straightforward first version of the game. Any change
// made for speed must leave them as they are: the same rules, computed differently.
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

TEST(Determinism, SeededMatchAgainstTheComputerPlaysOutTheSameEveryBuild)
{
    zolSeedRand(2026);
    ai_svJobs.clear();
    zolKeyboardSide red(true);
    zolComputerSide blue;
    Match match(&red, &blue, 20, 14);
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

TEST(Determinism, SeededWarPlaysOutTheSameEveryBuild)
{
    zolSeedRand(99);
    zolKeyboardSide red(true), blue(false);
    Match match(&red, &blue, NewWarMap());
    zolMap* map = match.GetMap();
    BITMAP* frame = create_bitmap(640, 480);
    match.GetCursor(true)[0] = match.GetCursor(true)[1] = match.GetCursor(false)[1] = 5;
    match.GetCursor(false)[0] = 15;
    int peak = 0;
    for (int tick = 1; tick <= 3000; tick++)
    {
        map->Update();
        peak = std::max(peak, map->GetUnitCount(true) + map->GetUnitCount(false));
    }
    match.Draw(frame, false);
    ASSERT_EQ("", CheckMap(map));
    EXPECT_GT(peak, 1000);
    EXPECT_EQ(32106339952799212ull, HashMap(map));
    EXPECT_EQ(13242728569052694161ull, HashFrame(frame));
    destroy_bitmap(frame);
}
