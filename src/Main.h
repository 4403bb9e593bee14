#ifndef MAIN_H
#define MAIN_H

#include <atomic>
#include <vector>

struct BITMAP;
class zolMap;
class zolTileType;
class zolCommand;
class zolTile;

// The game clock: MainTimer adds 1 every 10 ms on the library's timer thread; a match sets it to
// 0 and takes 1 per tick, so it holds the ticks still owed. The title's wave reads it.
extern std::atomic<int> g_dwMainTime;

extern BITMAP* g_pRedWins;                      // shown when red wins; loaded at start-up
extern BITMAP* g_pBlueWins;                     // shown when blue wins
extern std::vector<zolTileType*> g_pvTileTypes; // 0 rock, 1 floor, 2 hive, 3 trainer, 4 thorns

// A side's cursor in tiles. The controllers take it as a pointer to x, followed by y.
struct cursor_s
{
    int x;
    int y;
};

// Start-up, the title menu and shutdown; the process's exit status.
int  GameMain();
void MainTimer();
// Draws sprite with its top-left at (x, y), each column shifted by up to 12 pixels along a sine
// wave that travels with g_dwMainTime.
void DrawSineSprite(BITMAP* dest, BITMAP* sprite, int x, int y);

// The unit cap from the configuration file: 1500 when the file, section or key is missing, or
// (with a message on stderr) when the value is not a whole number that fits an int.
int ReadMaxUnits(const char* file);
// Title, RedWins, BlueWins and the three menu entries from Data/. Null on success; otherwise the
// file that failed, with nothing left loaded. ReleaseStartPictures destroys the first count.
const char* LoadStartPictures(BITMAP* pictures[6]);
void ReleaseStartPictures(BITMAP* pictures[6], int count = 6);

// Builds the five tile types into g_pvTileTypes from Data/; false, with nothing built, when a
// picture cannot be loaded (failedFile then names it). ReleaseTiles destroys them again.
bool BuildTiles(const char** failedFile = nullptr);
void ReleaseTiles();

// One match, from the starting map to the winner's picture. backBuffer: SCREEN_W x SCREEN_H.
void RunGame(BITMAP* backBuffer, bool versusComputer);
// The starting map of a match, width x height tiles: rock, with a 3 x 3 base and hive for red at
// the top left and for blue at the bottom right. The caller owns it.
zolMap* NewMatchMap(int width, int height);
// One frame of a match into bmp: map, cursors, the F2 frame rate and the balance bars. True when
// the end test calls the match over: more than 1000 ticks played and a side without units.
bool DrawMatchFrame(BITMAP* bmp, zolMap* map, const int* redCursor, const int* blueCursor,
                    int frameRate, int ticks);

// One tick of a human side: red with W A S D and the keys around H, blue with the arrows and
// the keypad. cursor: x then y, kept within width x height.
void DoPlayer1(int* cursor, zolMap* map, int width, int height);
void DoPlayer2(int* cursor, zolMap* map, int width, int height);

// A new command of side, ready for a tile, by job kind: 1 thorns, 2 trainer, 3 hive, 4 clear
// (each with its target type), 5 + d an arrow in direction d (0 N, 1 E, 2 S, 3 W); null for any
// other kind. The caller owns it until a tile accepts it.
zolCommand* MakeCommand(int kind, bool side);
// Hands a new command of kind to the tile for side; a command the tile refuses is destroyed
// here, so nothing is left over either way.
void PlaceCommand(zolTile* tile, int kind, bool side);

#endif
