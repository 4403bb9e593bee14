#ifndef RANDOMMAP_H
#define RANDOMMAP_H

#include <cstddef>
#include <string>

#include "MapPlan.h"

// Random maps, each named by its seed. A seed gives the same map on every machine and every
// build: the map is made from the seed's text alone, in integer arithmetic, by a generator of its
// own (never the game's random source, which a map must not move). Every random map is fair as
// the built-in ones are, and each side has a hive.

const size_t MAP_SEED_MOST = 12; // characters

// 1 to MAP_SEED_MOST letters or digits; upper and lower case are different seeds.
bool IsMapSeed(const std::string& seed);
// The map of seed (IsMapSeed), named "random:SEED".
zolMapPlan RandomMap(const std::string& seed);

#endif
