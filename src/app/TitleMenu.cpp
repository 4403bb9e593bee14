#include "TitleMenu.h"

#include <algorithm>
#include <cctype>
#include <string>

#include <allegro.h>

#include "Hud.h"
#include "Keyboard.h"
#include "Main.h"
#include "MapChoice.h"
#include "Network.h"
#include "Options.h"
#include "Overlay.h"
#include "Recording.h"
#include "ReplayShelf.h"
#include "Screen.h"
#include "zolEvents.h"
#include "zolSound.h"

namespace
{
    // Seven entries from where three once began, closer together, all above the title's hints.
    int EntryX(BITMAP* entry)
    {
        return (PICTURE_W - entry->w) / 2;
    }
    int EntryY(int entry)
    {
        return 150 + 41 * entry;
    }

    // The column after an entry's letters, where its value is written: out of its waving band.
    int AfterLetters(BITMAP* entry)
    {
        int last = 0;
        for (int x = 0; x < entry->w; x++)
            for (int y = 0; y < entry->h; y++)
                if (getpixel(entry, x, y) != bitmap_mask_color(entry))
                    last = x;
        return EntryX(entry) + last + 10;
    }

    // What the still title shows besides its picture: the entries' values.
    struct Values
    {
        int level;
        std::string map;
        bool operator!=(const Values& o) const { return level != o.level || map != o.map; }
    };

    // All of a title frame that stands still: the title, every entry but the selected one, the
    // values of the level's and the map's entries, and the hint.
    void DrawStillTitle(BITMAP* bmp, BITMAP* title, BITMAP** menu, int selected, const Values& v)
    {
        blit(title, bmp, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        for (int i = 0; i < MENU_ENTRIES; i++)
            if (i != selected)
                draw_sprite(bmp, menu[i], EntryX(menu[i]), EntryY(i));
        // The arrows say which way Left and Right go.
        std::string level = std::string(v.level > 0 ? "< " : "  ") + LevelName(v.level) +
                            (v.level < LEVELS - 1 ? " >" : "");
        const std::pair<int, std::string> values[] = {{MENU_VS_COMPUTER, level}, {MENU_MAP, v.map}};
        for (const auto& [entry, text] : values)
            textout_ex(bmp, font, text.c_str(), AfterLetters(menu[entry]),
                       EntryY(entry) + menu[entry]->h / 2 - 4, makecol(255, 220, 120), -1);
        // In the corner by the title's own line of hints, where a new player reads first.
        textout_right_ex(bmp, font, "F1: keys", PICTURE_W - 8, PICTURE_H - 14,
                         makecol(255, 255, 255), makecol(0, 0, 0));
    }

    // The selected entry waving over the still title. From one frame to the next only its band
    // changes, its columns from 12 pixels above it to 12 below: unless whole, backBuffer is
    // taken to hold the title's last frame and only the band is drawn again.
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
                    // The host's map is played: the joiner's choice does not count.
                    if (ParseAddress(typed, &host, &port, &error))
                        return RunNetworkGame(backBuffer, false, host, port, StartMap(), recorder);
                }
                else if (typed.size() < 100 && (isalnum(c) || c == '.' || c == ':' || c == '-'))
                    typed += (char)c;
            }
        }
    }

    // The kept replays, newest first; Up and Down choose, Enter watches, Esc goes back. A
    // damaged one is shown as such and cannot be chosen. After a replay the list comes back,
    // read afresh: taking over may have kept a new match.
    void WatchFromMenu(BITMAP* backBuffer)
    {
        const int ROWS = 20, TOP = 96;
        int chosen = 0;
        std::vector<zolKeptReplay> list = ListReplays();
        ForgetPresses();
        while (true)
        {
            int white = makecol(255, 255, 255), grey = makecol(150, 150, 160);
            clear_to_color(backBuffer, makecol(12, 12, 18));
            DrawBigText(backBuffer, PICTURE_W / 2, 24, white, 3, "REPLAYS");
            // Columns of the font's 8 pixels: when, then map, then who played.
            auto columns = [](std::string when, std::string map, const std::string& who)
            {
                when.resize(21, ' ');
                map = map.substr(0, 12);
                map.resize(14, ' ');
                return when + map + who;
            };
            textout_ex(backBuffer, font, columns("when", "map", "who played").c_str(), 40, 76, grey,
                       -1);
            textout_right_ex(backBuffer, font, "length", PICTURE_W - 40, 76, grey, -1);
            if (list.empty())
                textout_centre_ex(backBuffer, font, "No match has been kept yet.", PICTURE_W / 2,
                                  TOP + 40, white, -1);
            int first = std::max(0, std::min(chosen - ROWS / 2, (int)list.size() - ROWS));
            for (int i = first; i < (int)list.size() && i < first + ROWS; i++)
            {
                const zolKeptReplay& r = list[i];
                int y = TOP + 16 * (i - first), ink = r.damaged.empty() ? white : grey;
                if (i == chosen)
                    rectfill(backBuffer, 32, y - 4, PICTURE_W - 33, y + 11, makecol(60, 50, 30));
                // A damaged one says why where its map and sides would be.
                std::string line =
                    r.damaged.empty()
                        ? columns(r.when, r.map, r.sides).substr(0, 62)
                        : columns(r.when, "", "").substr(0, 21) +
                              (r.damaged.compare(0, 7, "damaged") ? "damaged: " : "") + r.damaged;
                textout_ex(backBuffer, font, line.substr(0, 70).c_str(), 40, y, ink, -1);
                if (r.damaged.empty())
                    textout_right_ex(backBuffer, font, MatchClock(r.ticks).c_str(), PICTURE_W - 40,
                                     y, ink, -1);
            }
            textout_centre_ex(backBuffer, font, "Up/Down: choose   Enter: watch   Esc: back",
                              PICTURE_W / 2, PICTURE_H - 30, grey, -1);
            ShowPicture(backBuffer);
            zolSoundFrame();
            WaitForFrame();
            AnswerCommonKeys();
            if (TakePress(KEY_ESC))
                return;
            if (TakePress(KEY_UP) && chosen > 0)
                chosen--;
            if (TakePress(KEY_DOWN) && chosen + 1 < (int)list.size())
                chosen++;
            if (TakePress(KEY_ENTER) && chosen < (int)list.size() && list[chosen].damaged.empty())
            {
                std::string error;
                if (!ReplayGame(backBuffer, list[chosen].path, &error))
                    ShowMessage(backBuffer, error);
                list = ListReplays();
                chosen = std::min(chosen, std::max(0, (int)list.size() - 1));
                ForgetPresses();
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
}

void RunTitleMenu(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, zolRecorder* recorder,
                  int level, zolMapChoice& maps)
{
    int selected = 0;
    bool quit = false;
    ForgetPresses();
    // Null where memory ran out: then backBuffer is drawn whole every frame.
    BITMAP* still = create_bitmap(PICTURE_W, PICTURE_H);
    int stillFor = -1;  // the selection still was drawn for
    Values stillValues; // and the values
    bool whole = true;  // backBuffer may hold something else than the title's last frame
    while (!quit)
    {
        // A key held counts as much as one tapped between two frames.
        auto pressed = [](int k) { return TakeTap(k) | (key[k] != 0); };
        if (pressed(KEY_ENTER))
        {
            whole = true;
            zolEmit(zolEvent::MenuChoice);
            switch (selected)
            {
            case MENU_VS_COMPUTER:
            case MENU_VS_PLAYER:
                PlayLocalMatch(backBuffer, selected == MENU_VS_COMPUTER, recorder,
                               MapForMatch(backBuffer, maps), level);
                break;
            case MENU_HOST:
                RunNetworkGame(backBuffer, true, "", NETWORK_PORT, MapForMatch(backBuffer, maps),
                               recorder);
                break;
            case MENU_JOIN: JoinFromMenu(backBuffer, recorder); break;
            case MENU_MAP:
                key[KEY_ENTER] = 0;
                maps.NewSeed();
                break;
            case MENU_WATCH: WatchFromMenu(backBuffer); break;
            default: quit = true;
            }
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
            if (pressed(k))
            {
                key[k] = 0;
                int step = k == KEY_LEFT ? -1 : 1;
                if (selected == MENU_VS_COMPUTER && NextLevel(level, step) != level)
                    level = NextLevel(level, step);
                else if (selected == MENU_MAP)
                    maps.Step(step);
                else
                    continue;
                zolEmit(zolEvent::MenuMove);
            }
        Values values{level, maps.Label()};
        if (!still)
            DrawStillTitle(backBuffer, title, menu, selected, values);
        else if (stillFor != selected || stillValues != values)
        {
            DrawStillTitle(still, title, menu, selected, values);
            stillFor = selected;
            stillValues = values;
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
