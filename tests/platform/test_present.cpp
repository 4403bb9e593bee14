#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>
#include <set>

#include <allegro.h>
#include <gtest/gtest.h>

#include "Screen.h"
#include "Settings.h"

// The screen is sent only the blocks of 32 x 32 pixels that changed, yet after every frame it
// must show the whole last picture, each pixel a square of the scale's size, centred on black.
// Runs on a virtual display: windows at scales 1 to 3 and full screen on a 2560 x 1600 one, full
// screen alone on 1920 x 1080 and 1024 x 768 ones (see tests/CMakeLists.txt).

namespace
{
    const uint32_t BLACK = 0;

    int g_dwScale = 0; // of the mode set last

    // The largest whole factor that fits the desktop, which a full-screen mode takes whole.
    int FullScreenScale()
    {
        if (SCREEN_W == 2560 && SCREEN_H == 1600)
            return 3;
        if (SCREEN_W == 1920 && SCREEN_H == 1080)
            return 2;
        if (SCREEN_W == 1024 && SCREEN_H == 768)
            return 1;
        ADD_FAILURE() << "no full-screen scale known for " << SCREEN_W << " x " << SCREEN_H;
        return 1;
    }

    void Open(int scale, bool fullscreen)
    {
        static bool installed = install_allegro(SYSTEM_AUTODETECT, &errno, atexit) == 0;
        ASSERT_TRUE(installed) << "no display";
        zolSettings settings;
        settings.scale = scale;
        settings.fullscreen = fullscreen;
        ASSERT_TRUE(OpenScreen(settings));
        ASSERT_EQ(32, bitmap_color_depth(screen)) << "the checks read 32-bit pixels";
        ASSERT_EQ(!fullscreen, (bool)is_windowed_mode()) << allegro_error;
        g_dwScale = fullscreen ? FullScreenScale() : scale;
        // A window is the picture's size at its scale.
        ASSERT_TRUE(fullscreen || (SCREEN_W == PICTURE_W * scale && SCREEN_H == PICTURE_H * scale))
            << SCREEN_W << " x " << SCREEN_H;
    }

    uint32_t& Pixel(BITMAP* bmp, int x, int y)
    {
        return ((uint32_t*)bmp->line[y])[x];
    }

    // Pixels of the screen, read back from it, that are not what the picture enlarged and
    // centred on black makes them.
    long Wrong(BITMAP* picture)
    {
        static BITMAP* shot = nullptr;
        if (shot && (shot->w != SCREEN_W || shot->h != SCREEN_H))
        {
            destroy_bitmap(shot);
            shot = nullptr;
        }
        if (!shot)
            shot = create_bitmap_ex(32, SCREEN_W, SCREEN_H);
        blit(screen, shot, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        int s = g_dwScale, left = (SCREEN_W - PICTURE_W * s) / 2,
            top = (SCREEN_H - PICTURE_H * s) / 2;
        long wrong = 0;
        for (int y = 0; y < SCREEN_H; y++)
            for (int x = 0; x < SCREEN_W; x++)
            {
                int px = x - left, py = y - top;
                bool inside = px >= 0 && py >= 0 && px < PICTURE_W * s && py < PICTURE_H * s;
                uint32_t want = inside ? Pixel(picture, px / s, py / s) : BLACK;
                wrong += (Pixel(shot, x, y) & 0xFFFFFF) != want;
            }
        return wrong;
    }

    void Noise(BITMAP* picture, std::mt19937& random)
    {
        for (int y = 0; y < PICTURE_H; y++)
            for (int x = 0; x < PICTURE_W; x++)
                Pixel(picture, x, y) = random() & 0xFFFFFF;
    }

    // Flips bits of every pixel in the rectangle, so that each one surely changes; adds the
    // blocks it touches, numbered row by row, to blocks.
    void Flip(BITMAP* picture, int x, int y, int w, int h, uint32_t bits, std::set<int>* blocks)
    {
        for (int py = y; py < y + h; py++)
            for (int px = x; px < x + w; px++)
            {
                Pixel(picture, px, py) ^= bits;
                blocks->insert(py / 32 * 20 + px / 32);
            }
    }

    // One seeded frame: one in ten changes nothing, one in ten every pixel; the others flip a few
    // pixels or a rectangle anywhere, block edges included.
    std::set<int> ChangeFrame(BITMAP* picture, std::mt19937& random)
    {
        std::set<int> blocks;
        uint32_t bits = 1 + random() % 0xFFFFFF;
        int kind = random() % 10;
        if (kind == 1)
            Flip(picture, 0, 0, PICTURE_W, PICTURE_H, bits, &blocks);
        else if (kind >= 2 && kind <= 5)
        {
            // Apart: a pixel flipped twice would be as it was.
            std::set<std::pair<int, int>> pixels;
            for (int n = 1 + random() % 8; n > 0; n--)
                pixels.insert({(int)(random() % PICTURE_W), (int)(random() % PICTURE_H)});
            for (auto [x, y] : pixels)
                Flip(picture, x, y, 1, 1, bits, &blocks);
        }
        else if (kind >= 6)
        {
            int x = random() % PICTURE_W, y = random() % PICTURE_H;
            int w = 1 + random() % std::min(200, PICTURE_W - x);
            int h = 1 + random() % std::min(200, PICTURE_H - y);
            Flip(picture, x, y, w, h, bits, &blocks);
        }
        return blocks;
    }

    // Three hundred seeded frames, the screen checked after each.
    void PlayFrames(unsigned seed)
    {
        std::mt19937 random(seed);
        BITMAP* picture = create_bitmap_ex(32, PICTURE_W, PICTURE_H);
        Noise(picture, random);
        ShowPicture(picture);
        ASSERT_EQ(0, Wrong(picture));
        for (int frame = 0; frame < 300; frame++)
        {
            std::set<int> changed = ChangeFrame(picture, random);
            ShowPicture(picture);
            ASSERT_EQ((int)changed.size(), LastPresented().blocks) << "frame " << frame;
            ASSERT_EQ(0, Wrong(picture)) << "frame " << frame;
        }
        destroy_bitmap(picture);
    }
}

TEST(PresentWindow, EveryFrameAtScalesOneToThreeShowsThePictureWhole)
{
    for (int scale = 1; scale <= 3; scale++)
    {
        SCOPED_TRACE(scale);
        Open(scale, false);
        PlayFrames(100 + scale);
    }
}

TEST(PresentFullScreen, EveryFrameShowsThePictureWholeAndCentred)
{
    Open(0, true);
    PlayFrames(7);
}

// A mode change clears the screen, so the same picture must be sent again whole; so must it
// whenever the shell says the screen may be spoilt.
TEST(PresentWindow, ModeChangesAndInvalidationSendThePictureWhole)
{
    Open(2, false);
    std::mt19937 random(3);
    BITMAP* picture = create_bitmap_ex(32, PICTURE_W, PICTURE_H);
    Noise(picture, random);
    auto sentWhole = [&](const char* after)
    {
        ShowPicture(picture);
        EXPECT_EQ(300, LastPresented().blocks) << after;
        EXPECT_EQ(0, Wrong(picture)) << after;
    };
    ShowPicture(picture);
    ShowPicture(picture);
    EXPECT_EQ(0, LastPresented().blocks);

    ASSERT_TRUE(ToggleFullscreen());
    ASSERT_FALSE(is_windowed_mode());
    g_dwScale = FullScreenScale();
    sentWhole("to full screen");
    ASSERT_TRUE(ToggleFullscreen());
    g_dwScale = 2;
    sentWhole("back to the window");
    rectfill(screen, 100, 100, 300, 200, makecol(255, 0, 0));
    InvalidateScreen();
    sentWhole("spoilt");
    destroy_bitmap(picture);
}

// Rows of changed blocks go as runs; a run goes on down the rows below while they change the
// same columns.
TEST(PresentWindow, ChangedBlocksGoAsFewRectangles)
{
    Open(1, false);
    BITMAP* picture = create_bitmap_ex(32, PICTURE_W, PICTURE_H);
    clear_bitmap(picture);
    ShowPicture(picture);
    std::set<int> blocks;
    auto sent = [&]
    {
        ShowPicture(picture);
        zolPresented p = LastPresented();
        return std::make_pair(p.blocks, p.rects);
    };

    EXPECT_EQ(std::make_pair(0, 0), sent());
    Flip(picture, 0, 0, PICTURE_W, PICTURE_H, 1, &blocks);
    EXPECT_EQ(std::make_pair(300, 1), sent());
    Flip(picture, 4 * 32, 5 * 32 + 31, 3 * 32, 33, 1, &blocks); // 3 x 2 blocks, at their edges
    EXPECT_EQ(std::make_pair(6, 1), sent());
    Flip(picture, 32, 64, 4 * 32, 1, 1, &blocks); // four blocks in a row, one under the first
    Flip(picture, 32, 96, 1, 1, 1, &blocks);
    EXPECT_EQ(std::make_pair(5, 2), sent());
    Flip(picture, 0, 14 * 32, 1, 1, 1, &blocks); // the strip's ends, the corners of the picture
    Flip(picture, PICTURE_W - 1, PICTURE_H - 1, 1, 1, 1, &blocks);
    Flip(picture, PICTURE_W - 1, 0, 1, 1, 1, &blocks);
    EXPECT_EQ(std::make_pair(3, 3), sent());
    EXPECT_EQ(0, Wrong(picture));
    destroy_bitmap(picture);
}
