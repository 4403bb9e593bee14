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
#include "TitleMenu.h"
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
        RunTitleMenu(backBuffer, title, menu, pending, level, maps);
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
    static const int FILES[START_PICTURES] = {
        PIC_Title,    PIC_RedWins,  PIC_BlueWins,  PIC_VsComputer,  PIC_VsPlayer,
        PIC_HostGame, PIC_JoinGame, PIC_MapChoice, PIC_WatchReplay, PIC_Exit};
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
