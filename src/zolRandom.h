#ifndef ZOLRANDOM_H
#define ZOLRANDOM_H

// The game's one random source: the classic 15-bit linear congruential generator, so that a
// match plays out the same on every platform. Starts at state 1; nothing in the game reseeds it.
int  zolRand();                         // 0 .. 32767
void zolSeedRand(unsigned int seed);    // restarts the sequence; for tests and tools

#endif
