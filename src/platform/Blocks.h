#ifndef GLOWFRONT_BLOCKS_H
#define GLOWFRONT_BLOCKS_H

#include "Screen.h"

struct BITMAP;

// The picture as blocks of 32 x 32 pixels, one per tile of the map and twenty more for the strip
// below it. The screen is sent only the blocks that changed since the frame before.
const int BLOCK = 32;
const int BLOCKS_X = PICTURE_W / BLOCK; // 20
const int BLOCKS_Y = PICTURE_H / BLOCK; // 15
const int BLOCKS = BLOCKS_X * BLOCKS_Y;

struct zolBlockRect
{
    int x, y, w, h; // in blocks
};

// Marks changed[y * BLOCKS_X + x] for every block in which the two pictures differ, and clears
// the others; the number marked. Both are memory bitmaps of PICTURE_W x PICTURE_H and one depth.
int FindChangedBlocks(BITMAP* now, BITMAP* before, bool changed[BLOCKS]);
// Rectangles that cover exactly the marked blocks: the runs of each row, a run joined to the one
// above it when both span the same columns. The number written to rects, 0 to BLOCKS / 2.
int MergeBlocks(const bool changed[BLOCKS], zolBlockRect rects[BLOCKS / 2]);
// Copies the rectangle of picture to the same place in large, each pixel a scale x scale square.
// large is a memory bitmap of picture's depth, scale times its width and height.
void EnlargeBlocks(BITMAP* picture, BITMAP* large, int scale, const zolBlockRect& rect);

#endif
