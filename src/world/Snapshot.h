#ifndef SNAPSHOT_H
#define SNAPSHOT_H

#include <string>

class zolByteReader;
struct zolByteWriter;
class zolMap;

// A map's whole state in bytes, to take up again exactly where it was: every tile's kind, owner,
// health and last damage totals, the commands in its slots with the work they have left, and
// every unit (side, rank, colour, position and velocity to the bit, health, experience) in the
// map's order and in each tile's. Played on from a map taken up again, a match goes exactly as
// it would have gone from the map saved. The tile types must be built.

void SaveMap(zolMap* map, zolByteWriter& out);
// The map saved by SaveMap, owned by the caller; null, with why, for bytes that are not one
// (cut short, a kind or an order out of range, a unit on no tile or on two). Draws nothing from
// the random source.
zolMap* LoadMap(zolByteReader& in, std::string* why);

#endif
