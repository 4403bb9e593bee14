#ifndef TILESET_H
#define TILESET_H

// Builds the five tile types into g_pvTileTypes (by zolTileKind) from the tile sources in Data/,
// a source of another size scaled to 32 x 32; false, with nothing built, when a picture cannot
// be loaded (failedFile then names it). Called once at start-up, before the clock runs.
bool BuildTiles(const char** failedFile = nullptr);
// The five types without a picture, for matches that are never drawn (the arena, --verify):
// drawing a tile of them is a bug, and builds placed meanwhile load no picture either.
void BuildTilesHeadless();
bool TilesHeadless(); // the set was built without pictures
// Destroys the types and the three build pictures; the start of a new tile set.
void ReleaseTiles();

#endif
