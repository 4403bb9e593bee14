#ifndef MAPBOOK_H
#define MAPBOOK_H

#include <string>
#include <vector>

#include "MapPlan.h"

// Where a match's map comes from: the maps the game knows by name, a random map named by its
// seed, or a file a player wrote.

struct zolBuiltInMap
{
    zolMapPlan plan;
    std::string about; // what game it makes, in a line: "a river of thorns across the middle"
};

// Every built-in map, `start` first: the map every match started on before there were others.
// Built once, kept until the program ends.
const std::vector<zolBuiltInMap>& BuiltInMaps();
const zolMapPlan& StartMap();

// M of --map: a built-in map's name, "random:SEED", or else a map file's path, whose plan is
// named by the file's name without its folder or ".map". False, with why on one line naming M
// and the fault ("maps/x.map: line 7: 19 characters, not 20"), when M is none of them.
bool FindMap(const std::string& m, zolMapPlan* plan, std::string* why);
// True when FindMap takes m for a file's path: neither a built-in map's name nor "random:...".
bool NamesMapFile(const std::string& m);

#endif
