#ifndef MATCHSTATS_H
#define MATCHSTATS_H

#include <array>
#include <vector>

#include "zolEvents.h"

class zolMap;

// What the end of a match tells of it, gathered from the world while the match is played: the
// units each side's hives gave it, those it lost, the largest army it had, and both armies'
// sizes once a second, for a plot. Arrays by side: index 0 blue, 1 red.
class zolMatchStats : public zolEventListener
{
public:
    // map: the match's, read for who owns a hive that spawns and for the armies; not owned.
    // Units already on it count as the sides' first armies, neither born nor lost.
    explicit zolMatchStats(zolMap* map);

    void OnEvent(zolEvent kind, int x, int y) override; // counts a hive's births
    void AfterTick(int tick); // the armies as the tick left them: largest, and every 100th

    int GetBorn(bool side) { return m_dwvBorn[side]; }
    int GetLost(bool side); // units the side had, by birth or at the start, and has no more
    int GetLargest(bool side) { return m_dwvLargest[side]; }
    // Blue's and red's armies after ticks 100, 200, ...: one a second of play.
    const std::vector<std::array<int, 2>>& GetArmies() { return m_vArmies; }

    // A match taken up from a saved moment carries on the figures of what came before it.
    void Restore(const int born[2], const int largest[2], const int start[2],
                 std::vector<std::array<int, 2>> armies);
    int GetStart(bool side) { return m_dwvStart[side]; }

private:
    zolMap* m_pMap;    // not owned
    int m_dwvBorn[2];  // spawned by hives
    int m_dwvStart[2]; // on the map when the match began
    int m_dwvLargest[2];
    std::vector<std::array<int, 2>> m_vArmies;
};

#endif
