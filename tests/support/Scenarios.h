#ifndef SCENARIOS_H
#define SCENARIOS_H

#include <random>

class zolMap;

// Matches shared by the soak and the benchmark.

// An open 20 x 14 floor map at war: columns 0-9 red, 10-19 blue, every tile at health 8000, a
// hive wherever x and y are both 1 mod 3, trainers along the front (columns 9 and 10).
zolMap* NewWarMap();

// Presses keys the way a restless player might: about one tick in oneIn, one key of a side's table
// (HumanSide.h) is written into key[]. Seeded, and apart from the game's own random source.
class KeyScript
{
public:
    KeyScript(unsigned seed, bool red) : m_rng(seed), m_bRed(red) {}
    void Press(int oneIn);

private:
    std::mt19937 m_rng;
    bool m_bRed;
};

#endif
