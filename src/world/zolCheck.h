#ifndef ZOLCHECK_H
#define ZOLCHECK_H

#include <cstdint>
#include <string>

#include "zolRandom.h"

class zolMap;

// What must hold of a match between two ticks, checked from outside by tests and tools.

// Every broken rule, one line each naming where; empty when the map is consistent. Looks at
// units (alive, listed once by the map and once by their tile), the per-side counts, tile health
// and lit-neighbour masks, command slots and neighbour links.
std::string CheckMap(zolMap* map);

// A fingerprint of the whole game state: every tile's type, owner, health, mask and commands,
// then every unit in list order with the exact bits of its position and velocity.
uint64_t HashMap(zolMap* map);
// The fingerprint of what the rules alone decide: HashMap without the units' colours, which the
// screen's colour depth shapes, and with the random source's state. Two machines, or a game and
// its replay, agree on it exactly when they play the same match. randState: as it stood after
// the tick, for frames drawn since then may have moved it.
uint64_t HashRules(zolMap* map, uint32_t randState = g_dwRandState);

#endif
