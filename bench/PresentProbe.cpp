// What showing a picture costs with the library alone, as the game once showed every frame: one
// still 640 x 480 picture stretched whole to a window of SCALE times its size, paced to the
// screen's refresh (60 a second where it is unknown), until the process is ended.
//
//   presentprobe SCALE [PICTURE.bmp | --idle]
//
// cpu.sh measures it beside the game, so that the game's share of a core reads as a ratio that
// holds on any machine. Without a picture, a pattern of the game's size stands in for one. With
// --idle it shows nothing at all, but keeps the keyboard, the mouse and a 10 ms timer as the
// game does: what the library's own threads cost, the least the game can use.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <allegro.h>

namespace
{
    volatile int g_dwTicks = 0;

    void Tick()
    {
        g_dwTicks++;
    }
}

int main(int argc, char** argv)
{
    int scale = argc >= 2 ? atoi(argv[1]) : 0;
    bool idle = argc == 3 && !strcmp(argv[2], "--idle");
    if (argc > 3 || scale < 1 || scale > 4)
    {
        fputs("usage: presentprobe SCALE [PICTURE.bmp | --idle]   (SCALE 1 to 4)\n", stderr);
        return 2;
    }
    if (allegro_init() != 0)
        return 1;
    set_color_depth(32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640 * scale, 480 * scale, 0, 0) != 0)
    {
        fprintf(stderr, "presentprobe: no %d x %d window: %s\n", 640 * scale, 480 * scale,
                allegro_error);
        return 1;
    }
    set_window_title(idle ? "presentprobe idle" : "presentprobe");
    BITMAP* picture = nullptr; // none: idle
    if (idle)
    {
        install_keyboard();
        install_mouse();
        install_timer();
        install_int(Tick, 10);
    }
    else if (argc == 3)
    {
        picture = load_bitmap(argv[2], nullptr);
        if (!picture || picture->w != 640 || picture->h != 480)
        {
            fprintf(stderr, "presentprobe: no 640 x 480 picture in %s\n", argv[2]);
            return 1;
        }
    }
    else
    {
        picture = create_bitmap(640, 480);
        for (int y = 0; y < 480; y++)
            for (int x = 0; x < 640; x++)
                putpixel(picture, x, y, makecol(x / 3, y / 2, (x ^ y) & 255));
    }

    int rate = get_refresh_rate() > 0 ? get_refresh_rate() : 60;
    auto period = std::chrono::microseconds(1000000 / rate);
    auto next = std::chrono::steady_clock::now();
    while (true)
    {
        if (picture)
            stretch_blit(picture, screen, 0, 0, 640, 480, 0, 0, 640 * scale, 480 * scale);
        next += period;
        std::this_thread::sleep_until(next);
    }
}
