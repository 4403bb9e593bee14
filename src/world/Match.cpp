#include "Match.h"

#include <cstring>

#include <allegro.h>

#include "Controller.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"

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

    void DrawCursor(BITMAP* bmp, const int* cursor, bool side)
    {
        int x = cursor[0] * 32, y = cursor[1] * 32;
        int v = (zolFlickerRand() >> 7) & 255;
        rect(bmp, x, y, x + 31, y + 31, side ? makecol(255, v, v) : makecol(v, v, 255));
    }
}

Match::Match(zolController* red, zolController* blue, int width, int height)
    : Match(red, blue, NewMatchMap(width, height))
{
}

Match::Match(zolController* red, zolController* blue, zolMap* map)
    : m_pMap(map), m_pvSides{blue, red}, m_dwWidth(map->GetWidth()), m_dwHeight(map->GetHeight()),
      m_dwTicks(0), m_dwFrames(0), m_dwLastRateTick(0), m_dwFrameRate(0), m_bOver(false)
{
    m_dwvCursors[1][0] = m_dwvCursors[1][1] = 0;
    m_dwvCursors[0][0] = m_dwWidth - 1;
    m_dwvCursors[0][1] = m_dwHeight - 1;
}

Match::~Match() = default;

void Match::Tick()
{
    m_dwFramesBeforeTick = m_dwFramesSinceTick;
    m_dwFramesSinceTick = 0;
    m_dwTicks++;
    if (m_dwTicks - m_dwLastRateTick > 99)
    {
        m_dwFrameRate = m_dwFrames * 100 / (m_dwTicks - m_dwLastRateTick);
        m_dwFrames = 0;
        m_dwLastRateTick = m_dwTicks;
    }
    for (bool side : {true, false})
        m_pvSides[side]->Tick(m_dwvCursors[side], m_pMap.get(), m_dwWidth, m_dwHeight);
    m_pMap->Update();
}

void Match::EndTest()
{
    // In the first ten seconds an empty side ends nothing: a new map has no units at all.
    bool bothFight = m_pMap->GetUnitCount(true) > 0 && m_pMap->GetUnitCount(false) > 0;
    if (!bothFight && m_dwTicks > 1000)
        m_bOver = true;
}

void Match::Draw(BITMAP* bmp, bool showFrameRate)
{
    m_dwFrames++;
    m_dwFramesSinceTick++;
    ClearFrame(bmp);
    g_pFlickerState = m_bFlickerApart ? &m_dwFlickerState : nullptr;
    m_pMap->Draw(bmp, 0, 0);
    DrawCursor(bmp, m_dwvCursors[1], true);
    DrawCursor(bmp, m_dwvCursors[0], false);
    g_pFlickerState = nullptr;
    if (showFrameRate)
        textprintf_ex(bmp, font, 4, 4, makecol(255, 255, 0), 0, "FPS: %d", m_dwFrameRate);

    int red = m_pMap->GetUnitCount(true), blue = m_pMap->GetUnitCount(false);
    if (red <= 0 || blue <= 0)
        return;
    int most = red > blue ? red : blue;
    int w = bmp->w, h = bmp->h;
    rectfill(bmp, 0, h - 12, (w - 1) * red / most, h - 9, makecol(255, 128, 0));
    rectfill(bmp, 0, h - 8, (w - 1) * blue / most, h - 5, makecol(0, 128, 255));
}

zolOutcome Match::GetOutcome()
{
    bool red = m_pMap->GetUnitCount(true) > 0, blue = m_pMap->GetUnitCount(false) > 0;
    if (red == blue)
        return OUTCOME_NO_WINNER;
    return red ? OUTCOME_RED_WINS : OUTCOME_BLUE_WINS;
}

void Match::SkipFrames(int frames)
{
    // A frame draws once from the game's source for each command's flickering mark and once for
    // each cursor, and for nothing else: skipped, it draws the same without a picture.
    int draws = 2;
    for (int y = 0; y < m_dwHeight; y++)
        for (int x = 0; x < m_dwWidth; x++)
            if (zolTile* tile = m_pMap->GetTile(x, y))
                draws += (tile->GetCommand(false) != nullptr) + (tile->GetCommand(true) != nullptr);
    for (long n = (long)draws * (frames > 0 ? frames : 0); n > 0; n--)
        zolRand();
}

zolMap* NewMatchMap(int width, int height)
{
    zolMap* map = new zolMap();
    map->SetSize(width, height);
    map->FillBlanks(g_pvTileTypes[TILE_ROCK]);
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 3; c++)
        {
            map->SetTile(1 + c, 1 + r, g_pvTileTypes[TILE_FLOOR]);
            map->SetTileLit(1 + c, 1 + r, true);
            map->SetTile(width - 4 + c, height - 4 + r, g_pvTileTypes[TILE_FLOOR]);
            map->SetTileLit(width - 4 + c, height - 4 + r, false);
        }
    map->SetTile(2, 2, g_pvTileTypes[TILE_HIVE]);
    map->SetTile(width - 3, height - 3, g_pvTileTypes[TILE_HIVE]);
    return map;
}
