#ifndef ZOLRANDOM_H
#define ZOLRANDOM_H

#include <cstdint>

// The game's one random source: the classic 15-bit linear congruential generator, so that a
// match plays out the same on every platform. Starts at state 1; nothing in the game reseeds it.
// Inline because every unit draws from it every tick.

inline uint32_t g_dwRandState = 1;

inline int zolRand() // 0 .. 32767
{
    g_dwRandState = g_dwRandState * 214013u + 2531011u;
    return (int)((g_dwRandState >> 16) & 0x7FFF);
}

inline void zolSeedRand(unsigned int seed) // restarts the sequence; for tests and tools
{
    g_dwRandState = seed;
}

// The state that k steps of the generator lead to from state, in one step per bit of k: a step
// is x -> 214013 x + 2531011 (mod 2^32), and the doubled step of such a map is another.
inline uint32_t zolRandJump(uint32_t state, uint64_t k)
{
    uint32_t mul = 214013u, add = 2531011u; // 1, 2, 4, 8 ... steps
    for (; k; k >>= 1)
    {
        if (k & 1)
            state = state * mul + add;
        add = add * mul + add;
        mul *= mul;
    }
    return state;
}

// The flicker of the cursors and the commands' marks. On one machine it draws from the game's
// source, as frames always have, so the frames drawn between ticks are part of what decides a
// match. A match whose frames must change nothing (across two machines, each drawing its own, or
// a replay on the screen) points this at a state of its own while it draws; null: the game's.
inline uint32_t* g_pFlickerState = nullptr;

inline int zolFlickerRand() // 0 .. 32767
{
    if (!g_pFlickerState)
        return zolRand();
    *g_pFlickerState = *g_pFlickerState * 214013u + 2531011u;
    return (int)((*g_pFlickerState >> 16) & 0x7FFF);
}

#endif
