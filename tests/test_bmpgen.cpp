#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "zolBmpGen.h"
#include "zolRandom.h"

namespace
{
    int Grey(int v) { return makecol(v, v, v); }
    BITMAP* Plain(int w, int h, int colour)
    {
        BITMAP* bmp = create_bitmap(w, h);
        clear_to_color(bmp, colour);
        return bmp;
    }
}

TEST(BmpGen, LightingKeepsHalfToFullBrightness)
{
    BITMAP* white = Plain(32, 32, Grey(255));
    BITMAP* black = Plain(32, 32, Grey(0));
    BITMAP* dark = zolGenLightOff(white, false, false, false, false);
    BITMAP* lit = zolGenLightOn(white);
    BITMAP* north = zolGenLightOff(white, true, false, false, false);
    BITMAP* blackOn = zolGenLightOn(black);
    BITMAP* blackOff = zolGenLightOff(black, true, true, true, true);
    int wrong = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
        {
            bool centre = (x - 16) * (x - 16) + (y - 16) * (y - 16) <= 12 * 12;
            // The north neighbour's glow, radius 22 about (16, -16), ends at row 6.
            wrong += getpixel(dark, x, y) != Grey(128) || (centre && getpixel(lit, x, y) != Grey(255))
                || (y >= 7 && getpixel(north, x, y) != Grey(128))
                || getr(getpixel(north, x, y)) > getr(getpixel(north, 16, 0))
                || getpixel(blackOn, x, y) != Grey(0) || getpixel(blackOff, x, y) != Grey(0);
        }
    EXPECT_EQ(0, wrong);
    EXPECT_GT(getr(getpixel(north, 16, 0)), 128);
    EXPECT_EQ(Grey(128), getpixel(lit, 0, 0));      // 22.6 from the centre: no glow
    EXPECT_EQ(Grey(176), getpixel(lit, 3, 3));      // 18.4 away: radius 19, value 96
    EXPECT_EQ(Grey(224), getpixel(lit, 30, 16));    // 14 away: radius 15, value 192
    for (BITMAP* bmp : {white, black, dark, lit, north, blackOn, blackOff})
        destroy_bitmap(bmp);
}

TEST(BmpGen, SmoothAveragesOnlyNeighboursInsideThePicture)
{
    BITMAP* one = Plain(1, 1, makecol(10, 20, 30));
    BITMAP* dot = Plain(3, 3, Grey(0));
    putpixel(dot, 1, 1, Grey(255));
    BITMAP* a = zolGenSmooth(one);
    BITMAP* b = zolGenSmooth(dot);
    EXPECT_EQ(makecol(10, 20, 30), getpixel(a, 0, 0));
    // Five points in the middle, four along an edge; a corner does not see the diagonal.
    EXPECT_EQ((std::vector<int>{Grey(51), Grey(63), Grey(0)}),
              (std::vector<int>{getpixel(b, 1, 1), getpixel(b, 1, 0), getpixel(b, 0, 0)}));
    for (BITMAP* bmp : {one, dot, a, b})
        destroy_bitmap(bmp);
}

TEST(BmpGen, NoiseDrawsBlueGreenRedForEveryPixel)
{
    int q[61];
    zolSeedRand(99);
    for (int& v : q)
        v = zolRand();
    zolSeedRand(99);
    BITMAP* flat = zolGenNoise(Grey(70), Grey(70), 5, 4);
    EXPECT_EQ(q[60], zolRand());                    // three draws for each of 20 pixels
    EXPECT_EQ(Grey(70), getpixel(flat, 4, 3));
    zolSeedRand(99);
    BITMAP* ramp = zolGenNoise(Grey(0), Grey(255), 1, 1);
    EXPECT_EQ(makecol(q[2] * 255 / 32767, q[1] * 255 / 32767, q[0] * 255 / 32767),
              getpixel(ramp, 0, 0));
    destroy_bitmap(flat);
    destroy_bitmap(ramp);
}

TEST(BmpGen, CloneIsAnEqualIndependentCopy)
{
    BITMAP* src = Plain(7, 5, Grey(1));
    putpixel(src, 6, 4, Grey(90));
    BITMAP* copy = zolGenClone(src);
    putpixel(src, 0, 0, Grey(255));
    EXPECT_TRUE(copy != src && copy->w == 7 && copy->h == 5);
    EXPECT_TRUE(getpixel(copy, 6, 4) == Grey(90) && getpixel(copy, 0, 0) == Grey(1));
    destroy_bitmap(src);
    destroy_bitmap(copy);
}
