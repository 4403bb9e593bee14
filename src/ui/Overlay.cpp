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

    const char* const LEGEND[] = {
        "Lit ground is red's, dark ground blue's; black is rock.",
        "Units are dots in their side's colour; more marks, higher rank.",
        "A bar under a build shows how far its work has come.",
        "The flickering squares are the two cursors.",
        "The bars at the bottom compare the two armies.",
        "Orders need your own ground with health above 16;",
        "Clear goes on rock. A refused order flashes the cursor.",
    };

    // Keypad keys read as the keypad's digits, whatever Num Lock says; letters as on the keys.
    const char* KeyName(int scancode)
    {
        static char name[16];
        if (scancode >= KEY_0_PAD && scancode <= KEY_9_PAD)
            snprintf(name, sizeof name, "Keypad %d", scancode - KEY_0_PAD);
        else if (scancode >= KEY_A && scancode <= KEY_Z)
            snprintf(name, sizeof name, "%c", 'A' + scancode - KEY_A);
        else
            return scancode_to_name(scancode);
        return name;
    }

    void Text(BITMAP* bmp, int x, int y, int colour, const char* text)
    {
        textout_ex(bmp, font, text, x, y, colour, -1);
    }

    // The library's 8-pixel font made `scale` times larger, centred on cx.
    void BigText(BITMAP* bmp, int cx, int y, int colour, int scale, const char* text)
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
    return true;
}

int WaitForKey(BITMAP* picture, std::initializer_list<int> keys)
{
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
    int grey = makecol(200, 200, 200);
    rectfill(bmp, 40, 24, PICTURE_W - 41, PICTURE_H - 25, makecol(16, 16, 24));
    rect(bmp, 40, 24, PICTURE_W - 41, PICTURE_H - 25, grey);
    BigText(bmp, PICTURE_W / 2, 34, white, 2, "KEYS");
    Text(bmp, 90, 64, grey, "Order");
    Text(bmp, 300, 64, red, "Red (player 1)");
    Text(bmp, 450, 64, blue, "Blue (player 2)");
    for (int k = 0; k < SIDE_KEYS; k++)
    {
        int y = 84 + 14 * k;
        Text(bmp, 90, y, white, ACTIONS[k]);
        Text(bmp, 300, y, red, KeyName(g_dwvRedKeys[k]));
        Text(bmp, 450, y, blue, KeyName(g_dwvBlueKeys[k]));
    }
    int y = 84 + 14 * SIDE_KEYS + 10;
    Text(bmp, 90, y, grey, "P pause  F1 this help  F3 sound  F11 full screen  Esc leave");
    for (const char* line : LEGEND)
        Text(bmp, 90, y += 16, white, line);
    textout_centre_ex(bmp, font, "F1 or Esc: back", PICTURE_W / 2, PICTURE_H - 44, grey, -1);
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
        BigText(picture, PICTURE_W / 2, PICTURE_H / 2 - 40, white, 4, "PAUSED");
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
