#include "Main.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro.h>

#include "KeyConfig.h"
#include "Keyboard.h"
#include "MapBook.h"
#include "MapChoice.h"
#include "MatchSession.h"
#include "Network.h"
#include "Options.h"
#include "Overlay.h"
#include "Pictures.h"
#include "Recording.h"
#include "Screen.h"
#include "Settings.h"
#include "zolBmpGen.h"
#include "zolDisplay.h"
#include "zolEvents.h"
#include "zolSound.h"
#include "zolUnit.h"

std::atomic<int> g_dwMainTime(0);
BITMAP* g_pRedWins = nullptr;
BITMAP* g_pBlueWins = nullptr;

namespace
{
    // A failure at start-up: the window goes first, so that the message is seen on its own.
    int Fail(const char* text, const char* file = nullptr)
    {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        TellFailure(file ? (std::string(text) + " " + file).c_str() : text);
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
    // text in letters as large as the menu's, 16 x 32 pixels, shadowed, on the mask colour; null
    // when there is no memory for it. The caller destroys it.
    BITMAP* MenuText(const std::string& text)
    {
        int w = 8 * (int)text.size() + 1;
        BITMAP* small = create_bitmap(w, 9);
        BITMAP* big = create_bitmap(2 * w, 4 * 9);
        if (!small || !big)
        {
            // Without memory to spare the entry shows its word alone.
            for (BITMAP* b : {small, big})
                if (b)
                    destroy_bitmap(b);
            return nullptr;
        }
        clear_to_color(small, bitmap_mask_color(small));
        textout_ex(small, font, text.c_str(), 1, 1, makecol(40, 20, 10), -1);
        textout_ex(small, font, text.c_str(), 0, 0, makecol(255, 225, 150), -1);
        stretch_blit(small, big, 0, 0, small->w, small->h, 0, 0, big->w, big->h);
        destroy_bitmap(small);
        return big;
    }

    // The columns of picture that hold its letters: the first and last with a pixel not of the
    // mask colour.
    void LetterColumns(BITMAP* picture, int* first, int* last)
    {
        *first = picture->w;
        *last = -1;
        for (int x = 0; x < picture->w; x++)
            for (int y = 0; y < picture->h; y++)
                if (getpixel(picture, x, y) != bitmap_mask_color(picture))
                {
                    *first = std::min(*first, x);
                    *last = x;
                }
    }

    // The map entry: its word and the map's name beside it, the two together in the middle of a
    // picture as wide as the screen, so that they wave as one. Null without the memory for it.
    BITMAP* MapEntry(BITMAP* word, const std::string& name)
    {
        BITMAP* label = MenuText(name);
        BITMAP* entry = label ? create_bitmap(PICTURE_W, word->h) : nullptr;
        if (entry)
        {
            int first, last;
            LetterColumns(word, &first, &last);
            int left = (PICTURE_W - (last + 1 - first) - 16 - label->w) / 2;
            clear_to_color(entry, bitmap_mask_color(entry));
            draw_sprite(entry, word, left - first, 0);
            draw_sprite(entry, label, left + (last + 1 - first) + 16, (word->h - label->h) / 2);
        }
        if (label)
            destroy_bitmap(label);
        return entry;
    }

    void DrawTitle(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, int selected,
                   const std::string& mapName)
    {
        blit(title, backBuffer, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        BITMAP* mapEntry = MapEntry(menu[MENU_MAP], mapName);
        for (int i = 0; i < MENU_ENTRIES; i++)
        {
            // Six entries at the three-entry menu's start, closer together, all above the hints.
            BITMAP* entry = i == MENU_MAP && mapEntry ? mapEntry : menu[i];
            int x = (PICTURE_W - entry->w) / 2, y = 152 + 50 * i;
            if (i == selected)
                DrawSineSprite(backBuffer, entry, x, y);
            else
                draw_sprite(backBuffer, entry, x, y);
        }
        if (mapEntry)
            destroy_bitmap(mapEntry);
        // In the corner by the title's own line of hints, where a new player reads first.
        textout_right_ex(backBuffer, font, "F1: keys", PICTURE_W - 8, PICTURE_H - 14,
                         makecol(255, 255, 255), makecol(0, 0, 0));
    }

    // The address of the game to join, typed by the player: HOST or HOST:PORT. Esc goes back.
    void JoinFromMenu(BITMAP* backBuffer, zolRecorder* recorder)
    {
        std::string typed, error;
        clear_keybuf();
        ForgetPresses();
        while (true)
        {
            clear_to_color(backBuffer, makecol(0, 0, 0));
            int white = makecol(255, 255, 255), grey = makecol(200, 200, 200);
            textout_centre_ex(backBuffer, font, "Join a network game: the host's address",
                              PICTURE_W / 2, 180, white, -1);
            textout_centre_ex(backBuffer, font, (typed + "_").c_str(), PICTURE_W / 2, 210,
                              makecol(255, 220, 120), -1);
            textout_centre_ex(backBuffer, font, error.c_str(), PICTURE_W / 2, 240,
                              makecol(255, 120, 120), -1);
            textout_centre_ex(backBuffer, font,
                              "name or address, :port if not 47630   Enter: join   Esc: back",
                              PICTURE_W / 2, 270, grey, -1);
            ShowPicture(backBuffer);
            rest(20);
            while (keypressed())
            {
                int k = readkey(), c = k & 0xFF;
                if (k >> 8 == KEY_ESC)
                {
                    TakePress(KEY_ESC);
                    return;
                }
                if (k >> 8 == KEY_BACKSPACE && !typed.empty())
                    typed.pop_back();
                else if (k >> 8 == KEY_ENTER || k >> 8 == KEY_ENTER_PAD)
                {
                    std::string host;
                    int port = NETWORK_PORT;
                    TakePress(k >> 8);
                    if (ParseAddress(typed, &host, &port, &error))
                        return RunNetworkGame(backBuffer, false, host, port, StartMap(), recorder);
                }
                else if (typed.size() < 100 && (isalnum(c) || c == '.' || c == ':' || c == '-'))
                    typed += (char)c;
            }
        }
    }

    // The map of a match about to start from the menu; a map file that has gone bad since it was
    // last read is said on the screen, and its last good reading is played.
    const zolMapPlan& MapForMatch(BITMAP* backBuffer, zolMapChoice& maps)
    {
        std::string problem;
        const zolMapPlan& map = maps.ForMatch(&problem);
        if (!problem.empty())
            ShowMessage(backBuffer, problem);
        return map;
    }

    // Until Exit is chosen. The selection survives each match, so the menu comes back showing
    // the entry that started it. recorder, when not null, records the first match played.
    void RunTitleMenu(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, zolRecorder* recorder,
                      zolMapChoice& maps)
    {
        int selected = 0;
        bool quit = false;
        ForgetPresses();
        while (!quit)
        {
            // A key held counts as much as one tapped between two frames.
            auto pressed = [](int k) { return TakeTap(k) | (key[k] != 0); };
            if (pressed(KEY_ENTER))
            {
                zolEmit(zolEvent::MenuChoice);
                if (selected == 0 || selected == 1)
                    PlayLocalMatch(backBuffer, selected == 0, recorder,
                                   MapForMatch(backBuffer, maps));
                else if (selected == 2)
                    RunNetworkGame(backBuffer, true, "", NETWORK_PORT,
                                   MapForMatch(backBuffer, maps), recorder);
                else if (selected == 3)
                    JoinFromMenu(backBuffer, recorder);
                else if (selected == MENU_MAP)
                {
                    key[KEY_ENTER] = 0;
                    maps.NewSeed();
                }
                else
                    quit = true;
                // Finished, or failed: a match that never began (a join given up) leaves it open.
                if (recorder && !recorder->IsOpen())
                    recorder = nullptr;
                // Back on the title: what was pressed elsewhere is not meant for it.
                ForgetPresses();
            }
            if (pressed(KEY_UP) && selected > 0)
            {
                key[KEY_UP] = 0;
                selected--;
                zolEmit(zolEvent::MenuMove);
            }
            if (pressed(KEY_DOWN) && selected < MENU_ENTRIES - 1)
            {
                key[KEY_DOWN] = 0;
                selected++;
                zolEmit(zolEvent::MenuMove);
            }
            for (int k : {KEY_LEFT, KEY_RIGHT})
                if (pressed(k) && selected == MENU_MAP)
                {
                    key[k] = 0;
                    maps.Step(k == KEY_LEFT ? -1 : 1);
                    zolEmit(zolEvent::MenuMove);
                }
            DrawTitle(backBuffer, title, menu, selected, maps.Label());
            WaitForFrame();
            ShowPicture(backBuffer);
            zolSoundFrame();

            AnswerCommonKeys();
            if (!quit && TakePress(KEY_F1))
            {
                ShowHelp(backBuffer);
                ForgetPresses();
            }
        }
    }
}

namespace
{
    // --verify: the tiles are built headless, for the frames a replay must draw again.
    int VerifyHeadless(const std::string& file)
    {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
            return 2;
        set_color_depth(32);
        const char* failed = nullptr;
        if (!BuildTiles(&failed))
        {
            fprintf(stderr, "glowfront: Couldn't load picture %s\n", failed);
            return 2;
        }
        int status = VerifyRecording(file);
        ReleaseTiles();
        return status;
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
    if (options.action == zolOptions::VERIFY)
        return VerifyHeadless(options.replay);
    if (options.action == zolOptions::LIST_MAPS)
    {
        for (const zolBuiltInMap& builtIn : BuiltInMaps())
            puts(builtIn.plan.name.c_str());
        return 0;
    }
    // A map that cannot be read is said before anything is played.
    zolMapPlan map = StartMap();
    if (!options.map.empty() && !FindMap(options.map, &map, &error))
    {
        fprintf(stderr, "glowfront: %s\n", error.c_str());
        return 2;
    }
    if (options.action == zolOptions::SHOW_MAP)
    {
        fputs(MapText(map).c_str(), stdout);
        return 0;
    }
    // A recording that cannot be written is said before anything is played.
    zolRecorder recorder;
    if (!options.record.empty() && !recorder.Open(options.record, &error))
    {
        fprintf(stderr, "glowfront: %s\n", error.c_str());
        return 2;
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
    SetKeyTables(settings.file, settings.keys);
    if (!OpenScreen(settings))
        return Fail("Couldn't set 640x480 graphics mode. Cannot continure sorry.");
    WatchDisplayConnection();
    SetFrameCap(settings.frameCap);

    zu_dwMaxUnits = ReadMaxUnits(FindSettingsFile("MaxUnits.cfg").c_str());

    BITMAP* backBuffer = create_bitmap(PICTURE_W, PICTURE_H);
    if (!backBuffer)
        return Fail(
            "Couldn't create back-buffer. Something is seriously wrong if you're reading this:(");

    BITMAP* pictures[START_PICTURES];
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
    zolSoundSetVolume(settings.volume);
    zolSoundStart();

    int status = 0;
    zolRecorder* pending = recorder.IsOpen() ? &recorder : nullptr;
    if (options.host || !options.join.empty())
    {
        RunNetworkGame(backBuffer, options.host, options.join, options.port, map, pending);
        pending = nullptr;
    }
    if (options.action == zolOptions::REPLAY)
    {
        if (!ReplayGame(backBuffer, options.replay, &error))
        {
            fprintf(stderr, "glowfront: %s\n", error.c_str());
            status = 2;
        }
    }
    else
    {
        zolMapChoice maps(options.map, map);
        RunTitleMenu(backBuffer, title, menu, pending, maps);
    }
    // A recording that could not be written was said when it failed; the status says it again.
    if (recorder.Failed())
        status = 1;

    zolSoundStop();
    remove_int(MainTimer);
    destroy_bitmap(backBuffer);
    ReleaseStartPictures(pictures);
    ReleaseTiles();
    return status;
}

int ReadMaxUnits(const char* file)
{
    // The library's reader is fed only text that has been checked: some bytes freeze it.
    std::string data;
    if (!UseSettingsFile(file, &data))
        return 1500;
    set_config_data(data.data(), (int)data.size());
    const char* text = get_config_string("Limits", "MaxUnits", nullptr);
    int cap = 1500;
    if (HasEmptyValue(data, "Limits", "MaxUnits"))
        fprintf(stderr, "%s: MaxUnits has no value; the cap stays at %d units a side.\n", file,
                cap);
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

const char* LoadStartPictures(BITMAP* pictures[START_PICTURES])
{
    static const int FILES[START_PICTURES] = {PIC_Title,      PIC_RedWins,   PIC_BlueWins,
                                              PIC_VsComputer, PIC_VsPlayer,  PIC_HostGame,
                                              PIC_JoinGame,   PIC_MapChoice, PIC_Exit};
    for (int i = 0; i < START_PICTURES; i++)
    {
        pictures[i] = zolLoadPicture(PicturePath(FILES[i]));
        if (!pictures[i])
        {
            ReleaseStartPictures(pictures, i);
            return PicturePath(FILES[i]);
        }
    }
    return nullptr;
}

void ReleaseStartPictures(BITMAP* pictures[START_PICTURES], int count)
{
    for (int i = 0; i < count; i++)
    {
        destroy_bitmap(pictures[i]);
        pictures[i] = nullptr;
    }
    g_pRedWins = g_pBlueWins = nullptr;
}
