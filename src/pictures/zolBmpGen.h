#ifndef ZOLBMPGEN_H
#define ZOLBMPGEN_H

#include "zolFileCheck.h"

struct BITMAP;

// A picture from a BMP file of at most maxWidth x maxHeight pixels, in the current colour depth;
// null when the file is missing, fails CheckPicture (the reason goes to stderr, once a run for
// each file) or cannot be read. The file is read once, and only if regular. The caller owns it.
BITMAP* zolLoadPicture(const char* file, int maxWidth = SCREEN_PICTURE_WIDTH,
                       int maxHeight = SCREEN_PICTURE_HEIGHT);
// A build's picture, up to TILE_PICTURE_SIZE square, scaled down to fit its 32 x 32 tile when
// larger: its shape and its mask colour kept. Null as for zolLoadPicture.
BITMAP* zolLoadBuildPicture(const char* file);

// blit of all of src with its top-left at (x, y). Between memory bitmaps of one depth, with src
// wholly inside dest's clip, the lines are copied directly, sparing the library's per-line calls.
void zolCopyPicture(BITMAP* dest, BITMAP* src, int x, int y);

// Picture generators. Each returns a new bitmap of the source's size (zolGenNoise: of the size
// asked for) that the caller owns and destroys, or null when the library cannot create one.
// Sources are only read.

// Random colours between two colours: three zolRand() calls per pixel, blue then green then red.
BITMAP* zolGenNoise(int colour1, int colour2, int width, int height);
BITMAP* zolGenSmooth(BITMAP* src); // five-point box filter
BITMAP* zolGenClone(BITMAP* src);  // exact copy

// Lighting: every pixel keeps 128/255 to 255/255 of its brightness. LightOn glows from the
// picture's centre (a red tile); LightOff glows in from each side whose flag is set (a blue tile
// with lit neighbours). All geometry comes from the source's width.
BITMAP* zolGenLightOn(BITMAP* src);
BITMAP* zolGenLightOff(BITMAP* src, bool north, bool east, bool south, bool west);

#endif
