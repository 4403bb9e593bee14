#include "TestSupport.h"

TEST(RandomSource, AJumpOfKStepsLandsWhereKCallsDo)
{
    for (uint32_t seed : {1u, 0xDEADBEEFu})
    {
        zolSeedRand(seed);
        uint64_t called = 0;
        for (uint64_t k : {0, 1, 2, 3, 100, 65535, 65536, 1000003})
        {
            for (; called < k; called++)
                zolRand();
            EXPECT_EQ(g_dwRandState, zolRandJump(seed, k)) << "seed " << seed << ", " << k;
        }
    }
    // The generator runs through all 2^32 states before it repeats: a jump of any multiple of
    // that comes back, and one short of it is one step behind.
    EXPECT_EQ(12345u, zolRandJump(12345, 1ull << 32));
    EXPECT_EQ(12345u, zolRandJump(12345, 3ull << 40));
    EXPECT_EQ(12345u, zolRandJump(zolRandJump(12345, (1ull << 32) - 1), 1));
    EXPECT_NE(12345u, zolRandJump(12345, (1ull << 32) - 1));
}
