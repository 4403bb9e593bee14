#include <gtest/gtest.h>

#include "zolRandom.h"

TEST(Random, StartsFromTheClassicSequenceAndReseedsToIt)
{
    // The first values of the 15-bit LCG from state 1, as every build must give them.
    zolSeedRand(1);
    const int expected[5] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(value, zolRand());
    zolSeedRand(1);
    EXPECT_EQ(41, zolRand());
}

TEST(Random, StaysWithinFifteenBits)
{
    zolSeedRand(12345);
    int low = 32767, high = 0;
    for (int i = 0; i < 100000; i++)
    {
        int r = zolRand();
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_EQ(0, low);
    EXPECT_EQ(32767, high);
}
