#ifndef MAIN_H
#define MAIN_H

#include <atomic>
#include <vector>

#include "HumanSide.h"
#include "Match.h"
#include "Play.h"
#include "TileSet.h"
#include "zolTileType.h"

struct BITMAP;
class zolTileType;

// The game clock: MainTimer adds 1 every 10 ms on the library's timer thread; a match sets it to
// 0 and takes 1 per tick, so it holds the ticks still owed. The title's wave reads it.
extern std::atomic<int> g_dwMainTime;

extern BITMAP* g_pRedWins;  // shown when red wins; loaded at start-up
extern BITMAP* g_pBlueWins; // shown when blue wins

// The command line, start-up, the title menu and shutdown; the process's exit status.
int GameMain(int argc, char** argv);
void MainTimer();
// Draws sprite with its top-left at (x, y), each column shifted by up to 12 pixels along a sine
// wave that travels with g_dwMainTime.
void DrawSineSprite(BITMAP* dest, BITMAP* sprite, int x, int y);

// The unit cap from the configuration file: 1500 when the file, section or key is missing, or
// (with a message on stderr) when the value is not a whole number that fits an int.
int ReadMaxUnits(const char* file);
// Title, RedWins, BlueWins and the menu's entries from Data/, in that order, the entries as the
// menu shows them. Null on success; otherwise the file that failed, with nothing left loaded.
// ReleaseStartPictures destroys the first count.
enum zolMenuEntry
{
    MENU_VS_COMPUTER, // Left and Right change the computer's level, shown beside it
    MENU_VS_PLAYER,
    MENU_HOST,
    MENU_JOIN,
    MENU_MAP, // Left and Right choose the map, shown beside it; Enter a new random one
    MENU_WATCH,
    MENU_EXIT,
    MENU_ENTRIES
};
const int START_PICTURES = 3 + MENU_ENTRIES;
const char* LoadStartPictures(BITMAP* pictures[START_PICTURES]);
void ReleaseStartPictures(BITMAP* pictures[START_PICTURES], int count = START_PICTURES);

#endif
