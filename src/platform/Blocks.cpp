#include "Blocks.h"

#include <cstdint>
#include <cstring>

#include <allegro.h>

int FindChangedBlocks(BITMAP* now, BITMAP* before, bool changed[BLOCKS])
{
    int depth = bitmap_color_depth(now);
    size_t bytes = depth == 8 ? 1 : depth <= 16 ? 2 : depth == 24 ? 3 : 4; // a pixel's
    size_t blockLine = BLOCK * bytes, line = PICTURE_W * bytes;
    int count = 0;
    for (int by = 0; by < BLOCKS_Y; by++)
    {
        bool* row = changed + by * BLOCKS_X;
        int marked = 0;
        for (int bx = 0; bx < BLOCKS_X; bx++)
            row[bx] = false;
        // Most lines are as they were: one comparison of the whole line settles them.
        for (int y = by * BLOCK; y < (by + 1) * BLOCK && marked < BLOCKS_X; y++)
        {
            const uint8_t* a = now->line[y];
            const uint8_t* b = before->line[y];
            if (memcmp(a, b, line) == 0)
                continue;
            for (int bx = 0; bx < BLOCKS_X; bx++)
                if (!row[bx] && memcmp(a + bx * blockLine, b + bx * blockLine, blockLine) != 0)
                {
                    row[bx] = true;
                    marked++;
                }
        }
        count += marked;
    }
    return count;
}

int MergeBlocks(const bool changed[BLOCKS], zolBlockRect rects[BLOCKS / 2])
{
    // above[x]: the rectangle whose run starts at column x and reaches the row above; -1: none.
    int above[BLOCKS_X], here[BLOCKS_X];
    for (int x = 0; x < BLOCKS_X; x++)
        above[x] = -1;
    int count = 0;
    for (int y = 0; y < BLOCKS_Y; y++)
    {
        const bool* row = changed + y * BLOCKS_X;
        for (int x = 0; x < BLOCKS_X; x++)
            here[x] = -1;
        for (int x = 0; x < BLOCKS_X;)
        {
            if (!row[x])
            {
                x++;
                continue;
            }
            int end = x;
            while (end < BLOCKS_X && row[end])
                end++;
            int r = above[x];
            if (r >= 0 && rects[r].w == end - x)
                rects[r].h++;
            else
                rects[r = count++] = {x, y, end - x, 1};
            here[x] = r;
            x = end;
        }
        for (int x = 0; x < BLOCKS_X; x++)
            above[x] = here[x];
    }
    return count;
}

namespace
{
    // The scale fixed at compile time, so that the copies of a pixel unroll into plain stores.
    template <int SCALE>
    void Enlarge32(BITMAP* picture, BITMAP* large, int x, int y, int w, int h)
    {
        size_t bytes = (size_t)w * SCALE * sizeof(uint32_t);
        for (int sy = y; sy < y + h; sy++)
        {
            const uint32_t* from = (const uint32_t*)picture->line[sy] + x;
            uint32_t* first = (uint32_t*)large->line[sy * SCALE] + x * SCALE;
            uint32_t* to = first;
            for (int i = 0; i < w; i++)
                for (int k = 0; k < SCALE; k++)
                    *to++ = from[i];
            for (int k = 1; k < SCALE; k++)
                memcpy((uint32_t*)large->line[sy * SCALE + k] + x * SCALE, first, bytes);
        }
    }
}

void EnlargeBlocks(BITMAP* picture, BITMAP* large, int scale, const zolBlockRect& rect)
{
    int x = rect.x * BLOCK, y = rect.y * BLOCK, w = rect.w * BLOCK, h = rect.h * BLOCK;
    // The library's own stretch goes pixel by pixel through a general loop, several times
    // slower than this on the game's usual depth.
    bool deep = bitmap_color_depth(picture) == 32;
    if (deep && scale == 2)
        Enlarge32<2>(picture, large, x, y, w, h);
    else if (deep && scale == 3)
        Enlarge32<3>(picture, large, x, y, w, h);
    else if (deep && scale == 4)
        Enlarge32<4>(picture, large, x, y, w, h);
    else
        stretch_blit(picture, large, x, y, w, h, x * scale, y * scale, w * scale, h * scale);
}
