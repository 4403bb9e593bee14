#include "Hud.h"

#include <algorithm>
#include <cstdio>

#include <allegro.h>

#include "Screen.h"
#include "zolCmdBuild.h"
#include "zolMap.h"
#include "zolTile.h"
#include "zolTileType.h"

namespace
{
    const int STRIP_Y = PICTURE_H - 32; // the first row under the map
    const int LINE_1 = STRIP_Y + 1, LINE_2 = STRIP_Y + 10;

    int RedInk()
    {
        return makecol(255, 150, 70);
    }
    int BlueInk()
    {
        return makecol(110, 180, 255);
    }
    int Ink(bool side)
    {
        return side ? RedInk() : BlueInk();
    }

    const char* KindName(zolTileType* type)
    {
        static const char* const NAMES[TILE_KINDS] = {"rock", "floor", "hive", "trainer", "thorns"};
        for (int k = 0; k < TILE_KINDS && k < (int)g_pvTileTypes.size(); k++)
            if (g_pvTileTypes[k] == type)
                return NAMES[k];
        return "?";
    }

    // The build picture in its side's colour: each pixel keeps its brightness, the mask stays
    // clear. Drawn over the world's own mark, with the progress bar again on top.
    void DrawBuild(BITMAP* bmp, zolCmdBuild* build, int cx, int cy)
    {
        bool side = build->GetSide();
        if (BITMAP* picture = build->GetPicture())
        {
            int mask = bitmap_mask_color(picture), x0 = cx - picture->w / 2,
                y0 = cy - picture->h / 2;
            for (int y = 0; y < picture->h; y++)
                for (int x = 0; x < picture->w; x++)
                {
                    int c = getpixel(picture, x, y);
                    if (c == mask)
                        continue;
                    int t = 96 + (getr(c) + getg(c) + getb(c)) / 3 * 159 / 255;
                    putpixel(bmp, x0 + x, y0 + y,
                             side ? makecol(t, t * 150 / 255, t / 8)
                                  : makecol(t / 8, t * 160 / 255, t));
                }
        }
        int total = build->GetTotalWork();
        int len = 30 - (int)((long long)build->GetWorkLeft() * 30 / total);
        rectfill(bmp, cx - 15, cy + 12, cx + 14, cy + 14, 0);
        rectfill(bmp, cx - 15, cy + 12, cx - 15 + len, cy + 14, Ink(side));
    }

    // A refused order's reason in a box beside the cursor, and the cursor framed in yellow, a
    // colour its own flicker never takes.
    void DrawRefusal(BITMAP* bmp, const int* cursor, const std::string& why)
    {
        int yellow = makecol(255, 230, 0), tx = cursor[0] * 32, ty = cursor[1] * 32;
        for (int i = 1; i <= 2; i++)
            rect(bmp, tx - i, ty - i, tx + 31 + i, ty + 31 + i, yellow);
        int w = text_length(font, why.c_str()) + 8, h = 14;
        int x = tx + 36 + w <= PICTURE_W ? tx + 36 : tx - 4 - w;
        int y = std::clamp(ty + 9, 0, STRIP_Y - h);
        rectfill(bmp, x, y, x + w - 1, y + h - 1, makecol(0, 0, 0));
        rect(bmp, x, y, x + w - 1, y + h - 1, yellow);
        textout_ex(bmp, font, why.c_str(), x + 4, y + 3, yellow, -1);
    }

    // Where a replay stands: a line from its first tick to its last, filled to now, its pace
    // beside it; a banner once it differs from the game; at its end, how to go on.
    void DrawReplay(BITMAP* bmp, const zolStripView& view)
    {
        int white = makecol(255, 255, 255), grey = makecol(110, 110, 120);
        int x0 = 140, x1 = 500, y = LINE_2 + 2,
            span = view.last > view.first ? view.last - view.first : 1;
        int now = x0 + (int)((long long)(view.ticks - view.first) * (x1 - x0) / span);
        rectfill(bmp, x0, y, x1, y + 3, grey);
        rectfill(bmp, x0, y, now, y + 3, white);
        rectfill(bmp, now - 1, y - 2, now + 1, y + 5, white);
        std::string pace = view.paused ? "paused" : std::to_string(view.speed) + "x";
        textout_ex(bmp, font, pace.c_str(), x1 + 8, LINE_2, white, -1);
        if (view.differsAt)
        {
            std::string text = "this recording differs from the game from tick " +
                               std::to_string(view.differsAt) + " on";
            int w = text_length(font, text.c_str()) + 16;
            rectfill(bmp, (PICTURE_W - w) / 2, 20, (PICTURE_W + w) / 2, 36, makecol(120, 0, 0));
            textout_centre_ex(bmp, font, text.c_str(), PICTURE_W / 2, 24, white, -1);
        }
        if (view.ticks >= view.last)
        {
            const char* text = "end of replay   Esc: back   Left: 10 s back";
            int w = text_length(font, text) + 24;
            rectfill(bmp, (PICTURE_W - w) / 2, 200, (PICTURE_W + w) / 2, 230, makecol(0, 0, 0));
            rect(bmp, (PICTURE_W - w) / 2, 200, (PICTURE_W + w) / 2, 230, white);
            textout_centre_ex(bmp, font, text, PICTURE_W / 2, 211, white, -1);
        }
    }

    // A small speaker struck through, its top-left at (x, y): the sound is off.
    void DrawMuted(BITMAP* bmp, int x, int y)
    {
        int grey = makecol(200, 200, 200), red = makecol(255, 70, 70);
        rectfill(bmp, x, y + 2, x + 2, y + 5, grey);
        triangle(bmp, x + 2, y + 3, x + 6, y - 1, x + 6, y + 8, grey);
        line(bmp, x + 9, y + 1, x + 14, y + 6, red);
        line(bmp, x + 9, y + 6, x + 14, y + 1, red);
    }
}

std::string MatchClock(int ticks)
{
    int seconds = ticks / 100;
    char text[32];
    snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

std::string DescribeTile(zolMap* map, int x, int y, bool side)
{
    zolTile* tile = map ? map->GetTile(x, y) : nullptr;
    if (!tile)
        return "";
    if (tile->IsSolid())
        return "rock: Clear digs it";
    std::string what =
        std::string(KindName(tile->GetType())) + " " + std::to_string(tile->GetHealth()) + ": ";
    if (tile->IsLit() != side)
        return what + "not yours";
    return what + (tile->GetHealth() > 16 ? "yours" : "heal it first");
}

void DrawMatchStrip(BITMAP* bmp, const zolStripView& view)
{
    int white = makecol(255, 255, 255), grey = makecol(170, 170, 170);
    std::string clock = MatchClock(view.ticks);
    textout_ex(bmp, font, clock.c_str(), 4, LINE_1, white, -1);
    int x = 4 + 8 * ((int)clock.size() + 2);
    if (!view.mapName.empty())
    {
        textout_ex(bmp, font, view.mapName.c_str(), x, LINE_1, grey, -1);
        x += 8 * ((int)view.mapName.size() + 3);
    }
    for (bool side : {true, false})
    {
        textout_ex(bmp, font, view.sides[side].c_str(), x, LINE_1, Ink(side), -1);
        x += 8 * ((int)view.sides[side].size() + 3);
    }
    if (view.muted)
        DrawMuted(bmp, PICTURE_W - 20, LINE_1);

    // Each army's size beside its bar, and what the tile under each player's cursor is.
    if (view.map)
    {
        std::string red = "red " + std::to_string(view.map->GetUnitCount(true));
        std::string blue = "blue " + std::to_string(view.map->GetUnitCount(false));
        if (view.cursors[1])
            red += "  " + DescribeTile(view.map, view.cursors[1][0], view.cursors[1][1], true);
        if (view.cursors[0])
            blue =
                DescribeTile(view.map, view.cursors[0][0], view.cursors[0][1], false) + "  " + blue;
        textout_ex(bmp, font, red.c_str(), 4, LINE_2, RedInk(), -1);
        textout_right_ex(bmp, font, blue.c_str(), PICTURE_W - 4, LINE_2, BlueInk(), -1);

        for (int ty = 0; ty < view.map->GetHeight(); ty++)
            for (int tx = 0; tx < view.map->GetWidth(); tx++)
            {
                zolTile* tile = view.map->GetTile(tx, ty);
                for (bool side : {false, true})
                    if (auto* build =
                            dynamic_cast<zolCmdBuild*>(tile ? tile->GetCommand(side) : nullptr))
                        DrawBuild(bmp, build, tx * 32 + 16, ty * 32 + 16 + (side ? -1 : 1));
            }
    }
    for (bool side : {true, false})
        if (view.cursors[side] && !view.refusals[side].empty())
            DrawRefusal(bmp, view.cursors[side], view.refusals[side]);
    if (view.replay)
        DrawReplay(bmp, view);
}
