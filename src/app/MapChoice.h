#ifndef MAPCHOICE_H
#define MAPCHOICE_H

#include <cstdint>
#include <string>
#include <vector>

#include "MapPlan.h"

// The title menu's map entry. Left and Right go through the choices and stop at the ends: the
// map file of --map first when there is one, then the built-in maps, then a random map, whose
// seed Enter changes. Every match started from the menu is on the map chosen here.
class zolMapChoice
{
public:
    // m: --map's value, found as map (FindMap); empty for none, which chooses `start`.
    zolMapChoice(const std::string& m, const zolMapPlan& map);

    void Step(int by);   // -1 Left, +1 Right
    void NewSeed();      // a random map of a new seed, which the entry then shows
    std::string Label(); // "< river >", "start >", "< random:k3x9q2": where Left and Right go
    // The map of the next match. A file is read again, so that a map being written can be tried
    // at once; one that has gone bad stays as it was last read, and problem (otherwise emptied)
    // says why in one line naming the file and the fault.
    const zolMapPlan& ForMatch(std::string* problem);

private:
    std::vector<zolMapPlan> m_vChoices; // the file's first when there is one; random last
    size_t m_dwAt = 0;                  // the choice shown
    std::string m_sFile;                // the path of the file's choice; empty: none
    uint64_t m_dwSeedState;             // for new seeds: never the game's random source
};

#endif
