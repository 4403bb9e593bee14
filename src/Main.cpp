#include "Main.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <allegro.h>

#include "zolAI.h"
#include "zolBmpGen.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolDisplay.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTTHive.h"
#include "zolTTThorns.h"
#include "zolTTTrainer.h"
#include "zolTile.h"
#include "zolTileType.h"
#include "zolUnit.h"

std::atomic<int> g_dwMainTime(0);
BITMAP* g_pRedWins = nullptr;
BITMAP* g_pBlueWins = nullptr;
std::vector<zolTileType*> g_pvTileTypes;

namespace
{
    // A match runs at most this many ticks before it draws and looks at Esc again. Ticks beyond
    // it stay owed on the clock, so the game still keeps one tick per 10 ms when it can.
    const int MAX_TICKS_PER_PASS = 25;

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

// ---------------------------------------------------------------------------------------------
// Start-up and the title menu

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

int GameMain()
{
    // Without a display the library finds no system at all, and every later call of it would
    // crash: the message has to go to the terminal.
    if (allegro_init() != 0)
    {
        fputs("Couldn't set 640x480 graphics mode. Cannot continure sorry.\n"
              "(No display was found: is DISPLAY set?)\n", stderr);
        return -1;
    }

    static const int depths[4] = {32, 16, 24, 15};
    bool modeSet = false;
    for (int depth : depths)
    {
        set_color_depth(depth);
        if (set_gfx_mode(GFX_AUTODETECT, 640, 480, 0, 0) == 0)
        {
            modeSet = true;
            break;
        }
    }
    if (!modeSet)
        return Fail("Couldn't set 640x480 graphics mode. Cannot continure sorry.");
    WatchDisplayConnection();

    zu_dwMaxUnits = ReadMaxUnits("MaxUnits.cfg");

    BITMAP* backBuffer = create_bitmap(SCREEN_W, SCREEN_H);
    if (!backBuffer)
        return Fail("Couldn't create back-buffer. Something is seriously wrong if you're reading this:(");

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

        blit(title, backBuffer, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        for (int i = 0; i < 3; i++)
        {
            int x = (SCREEN_W - menu[i]->w) / 2, y = 160 + 80 * i;
            if (i == selected)
                DrawSineSprite(backBuffer, menu[i], x, y);
            else
                draw_sprite(backBuffer, menu[i], x, y);
        }
        vsync();
        blit(backBuffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    }

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
            fprintf(stderr, "%s: MaxUnits = \"%s\" is not a whole number; the cap stays at %d units a side.\n",
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
    static const char* files[6] = {"Data/Title.bmp", "Data/RedWins.bmp", "Data/BlueWins.bmp",
                                   "Data/VsComputer.bmp", "Data/VsPlayer.bmp", "Data/Exit.bmp"};
    for (int i = 0; i < 6; i++)
    {
        pictures[i] = zolLoadPicture(files[i]);
        if (!pictures[i])
        {
            ReleaseStartPictures(pictures, i);
            return files[i];
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

// ---------------------------------------------------------------------------------------------
// The tile set

bool BuildTiles(const char** failedFile)
{
    struct Kind
    {
        const char* file;       // null: plain black rock
        zolTileType* (*make)();
    };
    static const Kind kinds[5] = {
        {nullptr,            [] { return new zolTileType(); }},
        {"Data/Floor.bmp",   [] { return new zolTileType(); }},
        {"Data/Hive.bmp",    []() -> zolTileType* { return new zolTTHive(); }},
        {"Data/Trainer.bmp", []() -> zolTileType* { return new zolTTTrainer(); }},
        {"Data/Thorns.bmp",  []() -> zolTileType* { return new zolTTThorns(); }},
    };

    for (int i = 0; i < 5; i++)
    {
        BITMAP* src;
        if (!kinds[i].file)
        {
            src = create_bitmap(32, 32);
            if (src)
                clear_to_color(src, makecol(0, 0, 0));
        }
        else
            src = zolLoadPicture(kinds[i].file, TILE_PICTURE_SIZE, TILE_PICTURE_SIZE);
        if (src && (src->w != 32 || src->h != 32))
        {
            // Tiles are drawn 32 x 32 from their corner: another size is scaled to fit the grid.
            BITMAP* scaled = create_bitmap(32, 32);
            if (scaled)
                stretch_blit(src, scaled, 0, 0, src->w, src->h, 0, 0, 32, 32);
            destroy_bitmap(src);
            src = scaled;
        }
        if (!src)
        {
            if (failedFile)
                *failedFile = kinds[i].file ? kinds[i].file : "(rock picture)";
            ReleaseTiles();
            return false;
        }

        zolTileType* type = kinds[i].make();
        type->Build(src);
        type->SetSolid(i == 0);
        g_pvTileTypes.push_back(type);
        destroy_bitmap(src);
    }
    return true;
}

void ReleaseTiles()
{
    for (zolTileType* type : g_pvTileTypes)
        delete type;
    g_pvTileTypes.clear();
    BITMAP** shared[3] = {&g_pBmpTrainer, &g_pBmpHive, &g_pBmpThorns};
    for (BITMAP** picture : shared)
    {
        if (*picture)
            destroy_bitmap(*picture);
        *picture = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// The match

zolMap* NewMatchMap(int width, int height)
{
    zolMap* map = new zolMap();
    map->SetSize(width, height);
    map->FillBlanks(g_pvTileTypes[0]);
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++)
        {
            map->SetTile(1 + c, 1 + r, g_pvTileTypes[1]);
            map->SetTileLit(1 + c, 1 + r, true);
            map->SetTile(width - 4 + c, height - 4 + r, g_pvTileTypes[1]);
            map->SetTileLit(width - 4 + c, height - 4 + r, false);
        }
    map->SetTile(2, 2, g_pvTileTypes[2]);
    map->SetTile(width - 3, height - 3, g_pvTileTypes[2]);
    return map;
}

namespace
{
    // The library clears pixel by pixel; the lines of a memory bitmap clear many times faster as
    // bytes, to the same zeros within the same clip.
    void ClearFrame(BITMAP* bmp)
    {
        if (!is_memory_bitmap(bmp))
        {
            clear_bitmap(bmp);
            return;
        }
        int bytes = (bitmap_color_depth(bmp) + 7) / 8;
        for (int y = bmp->ct; y < bmp->cb; y++)
            memset(bmp->line[y] + bmp->cl * bytes, 0, (size_t)(bmp->cr - bmp->cl) * bytes);
    }
}

bool DrawMatchFrame(BITMAP* bmp, zolMap* map, const int* redCursor, const int* blueCursor,
                    int frameRate, int ticks)
{
    ClearFrame(bmp);
    map->Draw(bmp, 0, 0);

    int x = redCursor[0] * 32, y = redCursor[1] * 32;
    int v = (zolRand() >> 7) & 255;
    rect(bmp, x, y, x + 31, y + 31, makecol(255, v, v));
    x = blueCursor[0] * 32;
    y = blueCursor[1] * 32;
    v = (zolRand() >> 7) & 255;
    rect(bmp, x, y, x + 31, y + 31, makecol(v, v, 255));

    if (key[KEY_F2])
        textprintf_ex(bmp, font, 4, 4, makecol(255, 255, 0), 0, "FPS: %d", frameRate);

    int red = map->GetUnitCount(true), blue = map->GetUnitCount(false);
    if (red > 0 && blue > 0)
    {
        int most = red > blue ? red : blue;
        int w = bmp->w, h = bmp->h;
        rectfill(bmp, 0, h - 12, (w - 1) * red / most, h - 9, makecol(255, 128, 0));
        rectfill(bmp, 0, h - 8, (w - 1) * blue / most, h - 5, makecol(0, 128, 255));
        return false;
    }
    return ticks > 1000;
}

void RunGame(BITMAP* backBuffer, bool versusComputer)
{
    int width = SCREEN_W / 32, height = SCREEN_H / 32 - 1;
    zolMap* map = NewMatchMap(width, height);
    InitAI(map, width, height, width - 3, height - 3);

    int red[2] = {0, 0};
    cursor_s blue = {width - 1, height - 1};
    bool quit = false;
    int ticks = 0, frames = 0, lastRateTick = 0, frameRate = 0;
    g_dwMainTime = 0;

    while (true)
    {
        if (key[KEY_ESC])
            quit = true;

        for (int run = 0; g_dwMainTime > 0 && run < MAX_TICKS_PER_PASS; run++)
        {
            ticks++;
            g_dwMainTime--;
            if (ticks - lastRateTick > 99)
            {
                frameRate = frames * 100 / (ticks - lastRateTick);
                frames = 0;
                lastRateTick = ticks;
            }
            DoPlayer1(red, map, width, height);
            if (versusComputer)
                DoAI(&blue.x, map, width, height);
            else
                DoPlayer2(&blue.x, map, width, height);
            map->Update();
        }

        frames++;
        if (DrawMatchFrame(backBuffer, map, red, &blue.x, frameRate, ticks))
            quit = true;
        blit(backBuffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        if (quit)
            break;
    }

    int redUnits = map->GetUnitCount(true), blueUnits = map->GetUnitCount(false);
    BITMAP* winner = nullptr;
    if (redUnits > 0 && blueUnits <= 0)
        winner = g_pRedWins;
    else if (redUnits <= 0 && blueUnits > 0)
        winner = g_pBlueWins;
    // The waits only poll the keyboard: resting between looks keeps them off the processor.
    if (winner)
    {
        blit(winner, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        while (!key[KEY_ESC])
            rest(10);
    }
    while (key[KEY_ESC])
        rest(10);

    delete map;
}

// ---------------------------------------------------------------------------------------------
// The human sides

zolCommand* MakeCommand(int kind, bool side)
{
    zolCommand* cmd;
    switch (kind)
    {
    case 1: { auto* c = new zolCmdThorns();  c->SetSide(side); c->SetThornsType(g_pvTileTypes[4]);  return c; }
    case 2: { auto* c = new zolCmdTrainer(); c->SetSide(side); c->SetTrainerType(g_pvTileTypes[3]); return c; }
    case 3: { auto* c = new zolCmdHive();    c->SetSide(side); c->SetHiveType(g_pvTileTypes[2]);    return c; }
    case 4: { auto* c = new zolCmdClear();   c->SetSide(side); c->SetClearType(g_pvTileTypes[1]);   return c; }
    case 5: cmd = new zolCmdNorth(); break;
    case 6: cmd = new zolCmdEast();  break;
    case 7: cmd = new zolCmdSouth(); break;
    case 8: cmd = new zolCmdWest();  break;
    default: return nullptr;
    }
    cmd->SetSide(side);
    return cmd;
}

void PlaceCommand(zolTile* tile, int kind, bool side)
{
    zolCommand* cmd = MakeCommand(kind, side);
    if (!cmd)
        return;
    tile->SetCommand(side, cmd);
    if (tile->GetCommand(side) != cmd)
        delete cmd;
}

namespace
{
    struct KeyTable
    {
        int left, right, up, down;
        int north, east, south, west, clear, thorns, trainer, hive, remove;
    };

    const KeyTable RED_KEYS = {KEY_A, KEY_D, KEY_W, KEY_S,
                               KEY_Y, KEY_J, KEY_H, KEY_G, KEY_T, KEY_B, KEY_N, KEY_M, KEY_U};
    const KeyTable BLUE_KEYS = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN,
                                KEY_8_PAD, KEY_6_PAD, KEY_5_PAD, KEY_4_PAD, KEY_7_PAD,
                                KEY_1_PAD, KEY_2_PAD, KEY_3_PAD, KEY_9_PAD};

    // A press is spent as soon as it is read, whether or not its action is allowed.
    bool TakeKey(int scancode)
    {
        if (!key[scancode])
            return false;
        key[scancode] = 0;
        return true;
    }

    // A blocked move leaves its key set, so a held key acts as soon as the move is possible.
    void MoveCursor(int scancode, bool allowed, int& coordinate, int step)
    {
        if (key[scancode] && allowed)
        {
            key[scancode] = 0;
            coordinate += step;
        }
    }

    enum Action { NORTH, EAST, SOUTH, WEST, CLEAR, THORNS, TRAINER, HIVE, REMOVE };
    // The job kinds MakeCommand knows, by action; Remove places nothing.
    const int ACTION_KINDS[REMOVE] = {5, 6, 7, 8, 4, 1, 2, 3};

    void DoPlayer(const KeyTable& keys, bool side, int* cursor, zolMap* map, int width, int height)
    {
        int& x = cursor[0];
        int& y = cursor[1];
        MoveCursor(keys.left, x > 0, x, -1);
        MoveCursor(keys.right, x < width - 1, x, +1);
        MoveCursor(keys.up, y > 0, y, -1);
        MoveCursor(keys.down, y < height - 1, y, +1);

        // In this order, each seeing what the earlier did: East and West in one tick leave West.
        const int actionKeys[9] = {keys.north, keys.east, keys.south, keys.west, keys.clear,
                                   keys.thorns, keys.trainer, keys.hive, keys.remove};
        for (int action = NORTH; action <= REMOVE; action++)
        {
            if (!TakeKey(actionKeys[action]))
                continue;
            zolTile* tile = map->GetTile(x, y);
            if (!tile)
                continue;
            if (action == REMOVE)
            {
                if (tile->IsSolid() || tile->IsLit() == side)
                    tile->SetCommand(side, nullptr);
                continue;
            }
            bool allowed = action == CLEAR
                ? tile->IsSolid()
                : !tile->IsSolid() && tile->IsLit() == side && tile->GetHealth() > 16;
            if (allowed)
                PlaceCommand(tile, ACTION_KINDS[action], side);
        }
    }
}

void DoPlayer1(int* cursor, zolMap* map, int width, int height)
{
    DoPlayer(RED_KEYS, true, cursor, map, width, height);
}

void DoPlayer2(int* cursor, zolMap* map, int width, int height)
{
    DoPlayer(BLUE_KEYS, false, cursor, map, width, height);
}
