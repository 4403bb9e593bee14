#include "zolRandom.h"

#include <cstdint>

namespace
{
    uint32_t s_dwState = 1;
}

int zolRand()
{
    s_dwState = s_dwState * 214013u + 2531011u;
    return (int)((s_dwState >> 16) & 0x7FFF);
}

void zolSeedRand(unsigned int seed)
{
    s_dwState = seed;
}
