#ifndef HUD_H
#define HUD_H

#include <string>

struct BITMAP;
class zolMap;

// What the match shows over the world's frame, without changing it: the strip under the map
// (the clock, the map, who plays each side, the armies, the tile under each player's cursor),
// a refused order's reason beside its cursor, the builds in their side's colour and a mark while
// the sound is off. Arrays by side: index 0 blue, 1 red.
struct zolStripView
{
    zolMap* map = nullptr;      // the match's; not owned
    int ticks = 0;              // played, 100 a second
    std::string mapName;        // shown when not empty
    std::string sides[2];       // "red: keys WASD", "blue: computer, normal"
    const int* cursors[2] = {}; // x then y of each side a person plays here; null for others
    std::string refusals[2];    // why that side's last order was refused, while it is shown
    bool muted = false;
    // A replay: where it stands (ticks) between its first and last tick, its pace (1 to 8, or
    // paused), and the tick from which it differs from the game (0: none).
    bool replay = false;
    int first = 0, last = 0, speed = 1, differsAt = 0;
    bool paused = false;
};

// The strip, in the 32 pixel rows under the map; the world's balance bars there are left as
// they are. Then the refusals beside their cursors and the builds in their side's colour.
void DrawMatchStrip(BITMAP* bmp, const zolStripView& view);
// The tile at (x, y) as a player at the cursor would want to know it, for side: "floor 4096:
// yours", "hive 12: heal it first", "rock: Clear digs it".
std::string DescribeTile(zolMap* map, int x, int y, bool side);
// "m:ss" of ticks at 100 a second.
std::string MatchClock(int ticks);

#endif
