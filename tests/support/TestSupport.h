#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

// What every unit test of the game takes: the library, GoogleTest and the world model. Every test
// executable runs headless: main() in TestSupport.cpp sets up a system without a display and
// 32-bit memory bitmaps once, builds the tile set from Data/, and runs the tests in a fresh
// folder of the process's own (with Data/ and MaxUnits.cfg as in the run folder), so that what
// they write is theirs alone.
#include <allegro.h>
#include <gtest/gtest.h>

#include "Main.h"
#include "Orders.h"
#include "zolCommand.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

// A w x h map of floor tiles, owned by the caller. Columns below redColumns are lit (red), the
// rest unlit (blue); every tile gets the given health.
zolMap* MakeFloorMap(int w, int h, int redColumns, int health = 0);

#endif
