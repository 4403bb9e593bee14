#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "zolBmpGen.h"

static int Grey(int v)
{
    return makecol(v, v, v);
}

static BITMAP* Plain(int w, int h, int colour)
{
    BITMAP* bmp = create_bitmap(w, h);
    clear_to_color(bmp, colour);
    return bmp;
}

TEST(BmpGen, LightingKeepsHalfToFullBrightnessOfEachChannel)
{
    BITMAP* white = Plain(32, 32, Grey(255));
    BITMAP* tint = Plain(1, 1, makecol(200, 100, 50));
    BITMAP* lit = zolGenLightOn(white);
    BITMAP* dim = zolGenLightOff(tint, false, false, false, false);
    // Centre glow, radius 22: none 22.6 away, light 96 at 18.4, 192 at 14, full within 12.
    EXPECT_EQ((std::vector<int>{Grey(128), Grey(176), Grey(224), Grey(255), Grey(255),
                                makecol(100, 50, 25)}),
              (std::vector<int>{getpixel(lit, 0, 0), getpixel(lit, 3, 3), getpixel(lit, 30, 16),
                                getpixel(lit, 16, 4), getpixel(lit, 16, 16), getpixel(dim, 0, 0)}));
    // A neighbour's glow, radius 22 about its cell's centre, lights the 7 rows or columns nearest
    // it from the north or west (16 away), only 6 from the east or south (17 away); dir 4: no glow.
    const int reach[5] = {7, 6, 6, 7, 0};
    int wrong = 0;
    for (int dir = 0; dir < 5; dir++)
    {
        BITMAP* side = zolGenLightOff(white, dir == 0, dir == 1, dir == 2, dir == 3);
        for (int depth = 0; depth < 32; depth++)
            for (int along = 0; along < 32; along++)
            {
                int x = dir % 2 ? (dir == 1 ? 31 - depth : depth) : along;
                int y = dir % 2 ? along : (dir == 2 ? 31 - depth : depth);
                int c = getpixel(side, x, y);
                wrong += depth >= reach[dir] ? c != Grey(128) : along == 16 && c == Grey(128);
            }
        destroy_bitmap(side);
    }
    EXPECT_EQ(0, wrong);
    for (BITMAP* bmp : {white, tint, lit, dim})
        destroy_bitmap(bmp);
}

TEST(BmpGen, SmoothAveragesOnlyNeighboursInsideThePicture)
{
    BITMAP* dot = Plain(3, 3, Grey(0));
    putpixel(dot, 1, 1, makecol(255, 100, 50));
    BITMAP* smooth = zolGenSmooth(dot);
    // Five points in the middle, four along an edge; a corner does not see the diagonal.
    EXPECT_EQ(
        (std::vector<int>{makecol(51, 20, 10), makecol(63, 25, 12), Grey(0)}),
        (std::vector<int>{getpixel(smooth, 1, 1), getpixel(smooth, 1, 0), getpixel(smooth, 0, 0)}));
    destroy_bitmap(dot);
    destroy_bitmap(smooth);
}
