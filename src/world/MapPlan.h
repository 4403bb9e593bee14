#ifndef MAPPLAN_H
#define MAPPLAN_H

#include <cstddef>
#include <string>
#include <vector>

class zolByteReader;
class zolMap;

// A map as a person writes it, and the world it starts as. The file is plain text: lines that
// start with ';' are comments, and the rest are exactly MAP_HEIGHT rows of exactly MAP_WIDTH
// characters, row 0 (the top) first:
//   #  rock                       f F  floor       h H  hive
//   t T  trainer                  x X  thorns
// lower case red's, upper case blue's. Each side needs a hive. docs/maps.md tells more.

const int MAP_WIDTH = 20;          // tiles
const int MAP_HEIGHT = 14;         // tiles: the screen's 15 rows less the strip
const size_t MAP_FILE_MOST = 4096; // bytes of a map file, comments and line ends included
const size_t MAP_NAME_MOST = 32;   // characters of a map's name carried with it

struct zolMapPlan
{
    std::string name;              // for the strip and recordings: "start", "random:river7", "x"
    std::vector<std::string> rows; // MAP_HEIGHT rows of MAP_WIDTH tile letters, row 0 first
};

// A map file's text into plan's rows (plan's name is left alone). False, with why on one line
// naming the line and the fault ("line 7: 19 characters, not 20"), for text that is not a map.
bool ParseMapText(const std::string& text, zolMapPlan* plan, std::string* why);
// The same rules for rows that came some other way (a recording, the network): "" when they are
// a map, else the fault.
std::string CheckMapRows(const std::vector<std::string>& rows);
// plan as a map file: a comment with its name, then its rows, each ending in a line feed.
std::string MapText(const zolMapPlan& plan);
// plan as recordings and the network carry it: its name (its length, 1 to MAP_NAME_MOST, then
// its text), then its rows without line ends.
std::string MapBytes(const zolMapPlan& plan);
// Those bytes from in into plan: "" when they are a map, else the fault ("cut short", "no name",
// or as CheckMapRows says). The name is made fit to show (PrintableText): it came from outside.
std::string ReadMapBytes(zolByteReader& in, zolMapPlan* plan);

// The world a match starts on: every tile at health 0, rock unlit, each open tile lit when red's.
// The caller owns it. plan must be a map (CheckMapRows).
zolMap* BuildMap(const zolMapPlan& plan);
// The first hive of side in storage order (row by row from the top, each from the left); false
// when side has none.
bool FindFirstHive(zolMap* map, bool side, int* x, int* y);
// True when the map turned half round, (x, y) to (W-1-x, H-1-y), is itself with the sides
// swapped: neither side starts with anything the other lacks.
bool IsFair(const zolMapPlan& plan);

#endif
