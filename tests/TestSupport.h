#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <allegro.h>

struct BITMAP;
class zolMap;

// Every test executable runs headless: a system without a display, 32-bit memory bitmaps.
// main() in TestSupport.cpp sets this up once and builds the tile set from Data/.

// A w x h map of floor tiles (rock where solid is true), owned by the caller. Columns below
// redColumns are lit (red), the rest unlit (blue); every tile gets the given health.
zolMap* MakeFloorMap(int w, int h, int redColumns, int health = 0);

#endif
