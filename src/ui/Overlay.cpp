#include "Overlay.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include <allegro.h>

#include "HumanSide.h"
#include "Keyboard.h"
#include "Screen.h"
#include "zolSound.h"

namespace
{
    const char* const ACTIONS[SIDE_KEYS] = {
        "Cursor left",   "Cursor right", "Cursor up",    "Cursor down",  "North arrow",
        "East arrow",    "South arrow",  "West arrow",   "Clear (rock)", "Build thorns",
        "Build trainer", "Build hive",   "Remove order",
    };

    const char* const GOAL = "A side with no units left after the first ten seconds has lost.";
    const char* const HOW[] = {
        "1. Dig toward the enemy: put Clear on rock, your units dig it out.",
        "2. Build hives and trainers on your own ground once it is healed.",
        "3. Point arrows down the tunnel to send your army through it.",
    };

    const char* const LEGEND[] = {
        "Lit ground is red's, dark ground blue's; black is rock.",
        "Units are dots in their side's colour; more marks, higher rank.",
        "Builds show in their side's colour, a bar telling how far they are.",
        "The flickering squares are the two cursors.",
        "Under the map: the clock, the armies over their bars, your tile.",
        "Orders need your own ground with health above 16; Clear needs rock.",
        "A refused order says why beside your cursor.",
    };

    void Text(BITMAP* bmp, int x, int y, int colour, const char* text)
    {
        textout_ex(bmp, font, text, x, y, colour, -1);
    }

}

bool AnswerCommonKeys()
{
    if (TakePress(KEY_F11))
        ToggleFullscreen();
    if (TakePress(KEY_F3))
        zolSoundToggleMute();
    if (!TakeFocusLost())
        return false;
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    ForgetPresses();
    return true;
}

int WaitForKey(BITMAP* picture, std::initializer_list<int> keys)
{
    ForgetPresses();
    // The window gets the whole picture as a screen of the shell opens and as it closes, so
    // that neither rests on what the blocks sent before it left there.
    InvalidateScreen();
    ShowPicture(picture);
    while (true)
    {
        if (TakePress(KEY_F11))
        {
            ToggleFullscreen();
            ShowPicture(picture);
        }
        for (int k : keys)
            if (TakePress(k))
            {
                InvalidateScreen();
                return k;
            }
        rest(10);
    }
}

void DimPicture(BITMAP* bmp)
{
    if (is_memory_bitmap(bmp) && bitmap_color_depth(bmp) == 32)
    {
        for (int y = 0; y < bmp->h; y++)
        {
            uint32_t* line = (uint32_t*)bmp->line[y];
            for (int x = 0; x < bmp->w; x++)
                line[x] = (line[x] >> 1) & 0x7F7F7F;
        }
        return;
    }
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
        {
            int c = getpixel(bmp, x, y);
            putpixel(bmp, x, y, makecol(getr(c) / 2, getg(c) / 2, getb(c) / 2));
        }
}

void DrawHelp(BITMAP* bmp)
{
    int white = makecol(255, 255, 255), red = makecol(255, 140, 60), blue = makecol(90, 170, 255);
    int grey = makecol(200, 200, 200), gold = makecol(255, 220, 120);
    rectfill(bmp, 40, 20, PICTURE_W - 41, PICTURE_H - 21, makecol(16, 16, 24));
    rect(bmp, 40, 20, PICTURE_W - 41, PICTURE_H - 21, grey);
    DrawBigText(bmp, PICTURE_W / 2, 30, white, 2, "HOW TO WIN");
    Text(bmp, 60, 54, gold, GOAL);
    for (int i = 0; i < 3; i++)
        Text(bmp, 60, 70 + 12 * i, white, HOW[i]);
    Text(bmp, 90, 112, grey, "Keys");
    Text(bmp, 300, 112, red, "Red (player 1)");
    Text(bmp, 450, 112, blue, "Blue (player 2)");
    for (int k = 0; k < SIDE_KEYS; k++)
    {
        int y = 126 + 11 * k;
        Text(bmp, 90, y, white, ACTIONS[k]);
        Text(bmp, 300, y, red, KeyName(g_dwvRedKeys[k]).c_str());
        Text(bmp, 450, y, blue, KeyName(g_dwvBlueKeys[k]).c_str());
    }
    int y = 126 + 11 * SIDE_KEYS + 6;
    Text(bmp, 60, y, grey, "P pause  F1 this help  F3 sound  F11 full screen  Esc leave");
    for (const char* line : LEGEND)
        Text(bmp, 60, y += 13, white, line);
    textout_centre_ex(bmp, font, "F1 or Esc: back", PICTURE_W / 2, PICTURE_H - 38, grey, -1);
}

void ShowHelp(BITMAP* frame)
{
    BITMAP* picture = create_bitmap(PICTURE_W, PICTURE_H);
    if (!picture)
        return;
    blit(frame, picture, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
    DimPicture(picture);
    DrawHelp(picture);
    WaitForKey(picture, {KEY_F1, KEY_ESC});
    destroy_bitmap(picture);
}

bool ShowPaused(BITMAP* frame)
{
    BITMAP* picture = create_bitmap(PICTURE_W, PICTURE_H);
    if (!picture)
        return true;
    int white = makecol(255, 255, 255), grey = makecol(200, 200, 200);
    while (true)
    {
        blit(frame, picture, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
        DimPicture(picture);
        DrawBigText(picture, PICTURE_W / 2, PICTURE_H / 2 - 40, white, 4, "PAUSED");
        textout_centre_ex(picture, font, "P: play on   F1: keys   Esc: leave the match",
                          PICTURE_W / 2, PICTURE_H / 2 + 10, grey, -1);
        int k = WaitForKey(picture, {KEY_P, KEY_ESC, KEY_F1});
        if (k != KEY_F1)
        {
            destroy_bitmap(picture);
            return k == KEY_P;
        }
        ShowHelp(frame);
    }
}

void DrawBigText(BITMAP* bmp, int cx, int y, int colour, int scale, const char* text)
{
    BITMAP* small = create_bitmap(text_length(font, text), text_height(font));
    if (!small)
        return;
    clear_to_color(small, bitmap_mask_color(small));
    textout_ex(small, font, text, 0, 0, colour, -1);
    int w = small->w * scale, h = small->h * scale;
    masked_stretch_blit(small, bmp, 0, 0, small->w, small->h, cx - w / 2, y, w, h);
    destroy_bitmap(small);
}
