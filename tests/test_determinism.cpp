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
    zolMap* map = NewMatchMap(20, 14);
    BITMAP* frame = create_bitmap(640, 480);
    int red[2] = {0, 0}, blue[2] = {19, 13};
    KeyScript keys(7, true);
    for (int tick = 1; tick <= 20000; tick++)
    {
        keys.Press(20);
        DoPlayer1(red, map, 20, 14);
        DoAI(blue, map, 20, 14);
        map->Update();
        // Frames draw from the same random source as the rules, as they do in play.
        if (tick % 7 == 0)
            DrawMatchFrame(frame, map, red, blue, 0, tick);
    }
    ASSERT_EQ("", CheckMap(map));
    EXPECT_EQ(12636151700710393190ull, HashMap(map));
    EXPECT_EQ(15237957950145710260ull, HashFrame(frame));
    destroy_bitmap(frame);
    delete map;
}

TEST(Determinism, SeededWarPlaysOutTheSameEveryBuild)
{
    zolSeedRand(99);
    zolMap* map = NewWarMap();
    BITMAP* frame = create_bitmap(640, 480);
    int red[2] = {5, 5}, blue[2] = {15, 5};
    int peak = 0;
    for (int tick = 1; tick <= 3000; tick++)
    {
        map->Update();
        peak = std::max(peak, map->GetUnitCount(true) + map->GetUnitCount(false));
    }
    DrawMatchFrame(frame, map, red, blue, 0, 3000);
    ASSERT_EQ("", CheckMap(map));
    EXPECT_GT(peak, 1000);
    EXPECT_EQ(32106339952799212ull, HashMap(map));
    EXPECT_EQ(13242728569052694161ull, HashFrame(frame));
    destroy_bitmap(frame);
    delete map;
}
