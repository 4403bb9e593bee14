// Reads the frame rate the game shows with F2 held, from a screenshot of its top-left corner.
//
//   readfps SHOT.bmp SCALE
//
// SHOT.bmp holds the window's top-left pixels; SCALE is the game's window factor. Each candidate
// text "FPS: n" is drawn with the library's own font, as the game draws it, and the one that
// matches the shot is printed; nothing, and status 1, when none does.

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <allegro.h>

namespace
{
    // True when every pixel of the text's yellow shows in the shot, and no other pixel does.
    bool Matches(BITMAP* shot, BITMAP* text, int scale)
    {
        for (int y = 0; y < text->h; y++)
            for (int x = 0; x < text->w; x++)
            {
                int sx = (4 + x) * scale, sy = (4 + y) * scale;
                if (sx >= shot->w || sy >= shot->h)
                    return false;
                int c = getpixel(shot, sx, sy);
                bool yellow = getr(c) > 200 && getg(c) > 200 && getb(c) < 60;
                if (yellow != (getpixel(text, x, y) != 0))
                    return false;
            }
        return true;
    }
}

int main(int argc, char** argv)
{
    if (argc != 3 || install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 2;
    set_color_depth(32);
    BITMAP* shot = load_bitmap(argv[1], nullptr);
    int scale = atoi(argv[2]);
    if (!shot || scale < 1)
        return 2;
    BITMAP* text = create_bitmap(80, 8);
    for (int rate = 0; rate <= 20000; rate++)
    {
        clear_bitmap(text);
        textprintf_ex(text, font, 0, 0, makecol(255, 255, 0), 0, "FPS: %d", rate);
        if (Matches(shot, text, scale))
        {
            printf("%d\n", rate);
            return 0;
        }
    }
    return 1;
}
END_OF_MAIN()
