#include "Main.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro.h>

#include "Arena.h"
#include "Bytes.h"
#include "KeyConfig.h"
#include "Keyboard.h"
#include "MatchSession.h"
#include "Network.h"
#include "Options.h"
#include "Overlay.h"
#include "Pictures.h"
#include "Recording.h"
#include "Screen.h"
#include "Settings.h"
#include "zolAI.h"
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
    // Read once, so that a tick of the timer thread cannot tear the wave.
    int time = g_dwMainTime;
    // The library's masked blit of a column one pixel wide costs more in setting up than in
    // copying: a column that lies wholly inside a 32-bit memory bitmap is copied here instead.
    bool direct = is_memory_bitmap(dest) && is_memory_bitmap(sprite) &&
                  bitmap_color_depth(dest) == 32 && bitmap_color_depth(sprite) == 32;
    uint32_t mask = bitmap_mask_color(sprite);
    for (int c = 0; c < sprite->w; c++)
    {
        int phase = time + 5 * c;
        int dy = (int)(sin(phase * (double)0.02f) * 12);
        int dx = x + c, top = y + dy;
        if (direct && dx >= dest->cl && dx < dest->cr && top >= dest->ct &&
            top + sprite->h <= dest->cb)
        {
            for (int r = 0; r < sprite->h; r++)
            {
                uint32_t pixel = ((const uint32_t*)sprite->line[r])[c];
                if (pixel != mask)
                    ((uint32_t*)dest->line[top + r])[dx] = pixel;
            }
        }
        else
            masked_blit(sprite, dest, c, 0, dx, top, 1, sprite->h);
    }
}

namespace
{
    // Five entries at the three-entry menu's start, closer together, all above the hints.
    int EntryX(BITMAP* entry)
    {
        return (PICTURE_W - entry->w) / 2;
    }
    int EntryY(int entry)
    {
        return 152 + 60 * entry;
    }

    // All of a title frame that stands still: the title, every entry but the selected one, the
    // computer's level and the hint.
    void DrawStillTitle(BITMAP* bmp, BITMAP* title, BITMAP** menu, int selected, int level)
    {
        blit(title, bmp, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        for (int i = 0; i < MENU_ENTRIES; i++)
            if (i != selected)
                draw_sprite(bmp, menu[i], EntryX(menu[i]), EntryY(i));
        // The level beside its entry, out of the entry's waving band; the arrows say which way
        // Left and Right go.
        std::string shown = std::string(level > 0 ? "< " : "  ") + LevelName(level) +
                            (level < LEVELS - 1 ? " >" : "  ");
        int x = (PICTURE_W + menu[0]->w) / 2 + 8, y = EntryY(0) + menu[0]->h / 2 - 4;
        textout_ex(bmp, font, shown.c_str(), x, y, makecol(255, 220, 120), -1);
        // In the corner by the title's own line of hints, where a new player reads first.
        textout_right_ex(bmp, font, "F1: keys", PICTURE_W - 8, PICTURE_H - 14,
                         makecol(255, 255, 255), makecol(0, 0, 0));
    }

    // The selected entry waving over the still title. From one frame to the next only its band
    // changes, its columns from 12 pixels above it to 12 below, which reaches no other entry:
    // unless whole, backBuffer is taken to hold the title's last frame and only the band is
    // drawn again.
    void DrawTitle(BITMAP* backBuffer, BITMAP* still, BITMAP* entry, int selected, bool whole)
    {
        int x = EntryX(entry), y = EntryY(selected);
        if (whole)
            blit(still, backBuffer, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        else
            blit(still, backBuffer, x, y - 12, x, y - 12, entry->w, entry->h + 24);
        DrawSineSprite(backBuffer, entry, x, y);
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
                        return RunNetworkGame(backBuffer, false, host, port, recorder);
                }
                else if (typed.size() < 100 && (isalnum(c) || c == '.' || c == ':' || c == '-'))
                    typed += (char)c;
            }
        }
    }

    // Until Exit is chosen. The selection survives each match, so the menu comes back showing
    // the entry that started it. recorder, when not null, records the first match played.
    void RunTitleMenu(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, zolRecorder* recorder,
                      int level)
    {
        int selected = 0;
        bool quit = false;
        ForgetPresses();
        // Null where memory ran out: then backBuffer is drawn whole every frame.
        BITMAP* still = create_bitmap(PICTURE_W, PICTURE_H);
        int stillFor = -1, stillLevel = -1; // the selection and level still was drawn for
        bool whole = true; // backBuffer may hold something else than the title's last frame
        while (!quit)
        {
            // A key held counts as much as one tapped between two frames.
            auto pressed = [](int k) { return TakeTap(k) | (key[k] != 0); };
            if (pressed(KEY_ENTER))
            {
                whole = true;
                zolEmit(zolEvent::MenuChoice);
                if (selected == 0 || selected == 1)
                    PlayLocalMatch(backBuffer, selected == 0, recorder, level);
                else if (selected == 2)
                    RunNetworkGame(backBuffer, true, "", NETWORK_PORT, recorder);
                else if (selected == 3)
                    JoinFromMenu(backBuffer, recorder);
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
                if (pressed(k) && selected == 0)
                {
                    key[k] = 0;
                    int next = NextLevel(level, k == KEY_LEFT ? -1 : 1);
                    if (next != level)
                        zolEmit(zolEvent::MenuMove);
                    level = next;
                }
            if (!still)
                DrawStillTitle(backBuffer, title, menu, selected, level);
            else if (stillFor != selected || stillLevel != level)
            {
                DrawStillTitle(still, title, menu, selected, level);
                stillFor = selected;
                stillLevel = level;
                whole = true;
            }
            DrawTitle(backBuffer, still ? still : backBuffer, menu[selected], selected, whole);
            whole = false;
            WaitForFrame();
            ShowPicture(backBuffer);
            zolSoundFrame();

            AnswerCommonKeys();
            if (!quit && TakePress(KEY_F1))
            {
                ShowHelp(backBuffer);
                ForgetPresses();
                whole = true;
            }
        }
        if (still)
            destroy_bitmap(still);
    }
}

namespace
{
    // --verify: no display and no picture; the frames a replay saw are skipped, not drawn.
    int VerifyHeadless(const std::string& file)
    {
        if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
            return 2;
        set_color_depth(32);
        BuildTilesHeadless();
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
    int level = LevelByName(options.level);
    if (level < 0)
    {
        fprintf(stderr, "glowfront: --level: unknown level \"%s\" (easy, normal or hard)\n",
                PrintableText(options.level, 40).c_str());
        return 2;
    }
    if (options.action == zolOptions::VERIFY)
        return VerifyHeadless(options.replay);
    if (options.action == zolOptions::ARENA)
        return RunArena(options);
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
    KeepReplays(settings.keep);
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
        RunNetworkGame(backBuffer, options.host, options.join, options.port, pending);
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
        RunTitleMenu(backBuffer, title, menu, pending, level);
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
    static const int FILES[START_PICTURES] = {PIC_Title,      PIC_RedWins,  PIC_BlueWins,
                                              PIC_VsComputer, PIC_VsPlayer, PIC_HostGame,
                                              PIC_JoinGame,   PIC_Exit};
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
