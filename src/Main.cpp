#include "Main.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro.h>

#include "Options.h"
#include "Overlay.h"
#include "Pictures.h"
#include "Screen.h"
#include "Settings.h"
#include "zolBmpGen.h"
#include "zolUnit.h"

std::atomic<int> g_dwMainTime(0);
BITMAP* g_pRedWins = nullptr;
BITMAP* g_pBlueWins = nullptr;

namespace
{
    // A failure at start-up: the message needs the text mode back to be seen on every platform.
    int Fail(const char* text, const char* file = nullptr)
    {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        if (file)
            allegro_message("%s %s\n", text, file);
        else
            allegro_message("%s\n", text);
        return -1;
    }
}

void MainTimer()
{
    g_dwMainTime++;
}

void DrawSineSprite(BITMAP* dest, BITMAP* sprite, int x, int y)
{
    for (int c = 0; c < sprite->w; c++)
    {
        int phase = g_dwMainTime + 5 * c;
        int dy = (int)(sin(phase * (double)0.02f) * 12);
        masked_blit(sprite, dest, c, 0, x + c, y + dy, 1, sprite->h);
    }
}

namespace
{
    void DrawTitle(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, int selected)
    {
        blit(title, backBuffer, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        for (int i = 0; i < 3; i++)
        {
            int x = (PICTURE_W - menu[i]->w) / 2, y = 160 + 80 * i;
            if (i == selected)
                DrawSineSprite(backBuffer, menu[i], x, y);
            else
                draw_sprite(backBuffer, menu[i], x, y);
        }
        // In the corner by the title's own line of hints, where a new player reads first.
        textout_right_ex(backBuffer, font, "F1: keys", PICTURE_W - 8, PICTURE_H - 14,
                         makecol(255, 255, 255), makecol(0, 0, 0));
    }

    // Until Exit is chosen. The selection survives each match, so the menu comes back showing
    // the entry that started it.
    void RunTitleMenu(BITMAP* backBuffer, BITMAP* title, BITMAP** menu)
    {
        int selected = 0;
        bool quit = false;
        while (!quit)
        {
            if (key[KEY_ENTER])
            {
                if (selected == 0)
                    RunGame(backBuffer, true);
                else if (selected == 1)
                    RunGame(backBuffer, false);
                else
                    quit = true;
            }
            if (key[KEY_UP] && selected > 0)
            {
                key[KEY_UP] = 0;
                selected--;
            }
            if (key[KEY_DOWN] && selected < 2)
            {
                key[KEY_DOWN] = 0;
                selected++;
            }
            DrawTitle(backBuffer, title, menu, selected);
            WaitForFrame();
            ShowPicture(backBuffer);

            if (TakePress(KEY_F11))
                ToggleFullscreen();
            if (TakeFocusLost())
                for (int k = 0; k < KEY_MAX; k++)
                    key[k] = 0;
            if (!quit && TakePress(KEY_F1))
                ShowHelp(backBuffer);
        }
    }
}

int GameMain(int argc, char** argv)
{
    zolOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error))
    {
        fprintf(stderr, "glowfront: %s\n%s", error.c_str(), UsageText());
        return 2;
    }
    if (options.action == zolOptions::HELP)
    {
        fputs(UsageText(), stdout);
        return 0;
    }
    if (options.action == zolOptions::VERSION)
    {
        printf("glowfront %s\n", GameVersion());
        return 0;
    }

    // Without a display the library finds no system at all, and every later call of it would
    // crash: the message has to go to the terminal.
    if (allegro_init() != 0)
    {
        fputs("Couldn't set 640x480 graphics mode. Cannot continure sorry.\n"
              "(No display was found: is DISPLAY set?)\n",
              stderr);
        return -1;
    }

    zolSettings settings = ReadSettings(FindSettingsFile("glowfront.cfg"));
    if (!OpenScreen(settings))
        return Fail("Couldn't set 640x480 graphics mode. Cannot continure sorry.");
    SetFrameCap(settings.frameCap);

    zu_dwMaxUnits = ReadMaxUnits(FindSettingsFile("MaxUnits.cfg").c_str());

    BITMAP* backBuffer = create_bitmap(PICTURE_W, PICTURE_H);
    if (!backBuffer)
        return Fail(
            "Couldn't create back-buffer. Something is seriously wrong if you're reading this:(");

    BITMAP* pictures[6];
    if (const char* failed = LoadStartPictures(pictures))
    {
        destroy_bitmap(backBuffer);
        return Fail("Couldn't load picture", failed);
    }
    BITMAP* title = pictures[0];
    g_pRedWins = pictures[1];
    g_pBlueWins = pictures[2];
    BITMAP** menu = pictures + 3;

    install_keyboard();
    WatchPresses();
    install_mouse();
    install_timer();

    const char* failedFile = nullptr;
    if (!BuildTiles(&failedFile))
    {
        destroy_bitmap(backBuffer);
        ReleaseStartPictures(pictures);
        return Fail("Couldn't load picture", failedFile);
    }

    install_int(MainTimer, 10);

    RunTitleMenu(backBuffer, title, menu);

    remove_int(MainTimer);
    destroy_bitmap(backBuffer);
    ReleaseStartPictures(pictures);
    ReleaseTiles();
    return 0;
}

int ReadMaxUnits(const char* file)
{
    set_config_file(file);
    const char* text = get_config_string("Limits", "MaxUnits", nullptr);
    int cap = 1500;
    if (text)
    {
        // The library's own reader would take "lots" for 0 and wrap a huge number around, and
        // either would quietly stop every hive.
        char* end;
        errno = 0;
        long value = strtol(text, &end, 10);
        while (isspace((unsigned char)*end))
            end++;
        if (end == text || *end || errno == ERANGE || value < INT_MIN || value > INT_MAX)
            fprintf(
                stderr,
                "%s: MaxUnits = \"%s\" is not a whole number; the cap stays at %d units a side.\n",
                file, text, cap);
        else
        {
            cap = (int)value;
            if (cap <= 0)
                fprintf(stderr, "%s: MaxUnits = %d: no hive will ever spawn a unit.\n", file, cap);
        }
    }
    set_config_file("");
    return cap;
}

const char* LoadStartPictures(BITMAP* pictures[6])
{
    // In the order the pictures are kept: the title, the two wins, the menu's entries.
    for (int i = 0; i < 6; i++)
    {
        pictures[i] = zolLoadPicture(PicturePath(PIC_Title + i));
        if (!pictures[i])
        {
            ReleaseStartPictures(pictures, i);
            return PicturePath(PIC_Title + i);
        }
    }
    return nullptr;
}

void ReleaseStartPictures(BITMAP* pictures[6], int count)
{
    for (int i = 0; i < count; i++)
    {
        destroy_bitmap(pictures[i]);
        pictures[i] = nullptr;
    }
    g_pRedWins = g_pBlueWins = nullptr;
}
