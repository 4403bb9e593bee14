#include "Match.h"

#include <climits>
#include <cstring>

#include <allegro.h>

#include "Bytes.h"
#include "Controller.h"
#include "Snapshot.h"
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

    const int64_t MOST_FRAMES = int64_t(1) << 40;

    void AddFrames(int64_t& count, int64_t n)
    {
        count = count + n < MOST_FRAMES ? count + n : MOST_FRAMES;
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
    m_pStats = std::make_unique<zolMatchStats>(map);
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
        int64_t rate = m_dwFrames * 100 / (m_dwTicks - m_dwLastRateTick);
        m_dwFrameRate = rate < INT_MAX ? (int)rate : INT_MAX;
        m_dwFrames = 0;
        m_dwLastRateTick = m_dwTicks;
    }
    for (bool side : {true, false})
        m_pvSides[side]->Tick(m_dwvCursors[side], m_pMap.get(), m_dwWidth, m_dwHeight);
    // The figures hear only this match's world, and only while it ticks.
    zolListen(m_pStats.get());
    m_pMap->Update();
    zolStopListening(m_pStats.get());
    m_pStats->AfterTick(m_dwTicks);
}

void Match::EndTest()
{
    // In the first ten seconds an empty side ends nothing: a new map has no units at all.
    bool bothFight = m_pMap->GetUnitCount(true) > 0 && m_pMap->GetUnitCount(false) > 0;
    if (!bothFight && m_dwTicks > 1000)
        m_bOver = true;
}

int Match::GetFramesBeforeTick()
{
    return m_dwFramesBeforeTick < INT_MAX ? (int)m_dwFramesBeforeTick : INT_MAX;
}

void Match::Draw(BITMAP* bmp, bool showFrameRate)
{
    AddFrames(m_dwFrames, 1);
    AddFrames(m_dwFramesSinceTick, 1);
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

void Match::SkipFrames(int n)
{
    if (n <= 0)
        return;
    // As zolMap::Draw and zolTile::DrawUnits draw marks: every command of every tile on the map.
    uint64_t marks = 0;
    for (int y = 0; y < m_dwHeight; y++)
        for (int x = 0; x < m_dwWidth; x++)
            if (zolTile* tile = m_pMap->GetTile(x, y))
                marks += (tile->GetCommand(true) != nullptr) + (tile->GetCommand(false) != nullptr);
    g_dwRandState = zolRandJump(g_dwRandState, (uint64_t)n * (2 + marks));
    AddFrames(m_dwFrames, n);
    AddFrames(m_dwFramesSinceTick, n);
}

void Match::Save(zolByteWriter& out)
{
    for (auto& cursor : m_dwvCursors)
        out.Put<int32_t>(cursor[0]).Put<int32_t>(cursor[1]);
    out.Put<int32_t>(m_dwTicks).Put<int64_t>(m_dwFrames).Put<int32_t>(m_dwLastRateTick);
    out.Put<int32_t>(m_dwFrameRate).Put<int64_t>(m_dwFramesSinceTick);
    out.Put<int64_t>(m_dwFramesBeforeTick).Put<uint8_t>(m_bOver).Put<uint8_t>(m_bFlickerApart);
    out.Put<uint32_t>(m_dwFlickerState);
    zolMatchStats& s = *m_pStats;
    for (bool side : {false, true})
        out.Put<int32_t>(s.GetStart(side))
            .Put<int32_t>(s.GetBorn(side))
            .Put<int32_t>(s.GetLargest(side));
    out.Put<uint32_t>((uint32_t)s.GetArmies().size());
    for (const auto& armies : s.GetArmies())
        out.Put<int32_t>(armies[0]).Put<int32_t>(armies[1]);
    SaveMap(m_pMap.get(), out);
}

bool Match::Load(zolByteReader& in, std::string* why)
{
    int32_t cursors[2][2], ticks, lastRate, rate, start[2], born[2], largest[2];
    int64_t frames, since, before;
    uint8_t over, apart;
    uint32_t flicker, samples;
    bool read = in.Get(&cursors[0][0]) && in.Get(&cursors[0][1]) && in.Get(&cursors[1][0]) &&
                in.Get(&cursors[1][1]) && in.Get(&ticks) && in.Get(&frames) && in.Get(&lastRate) &&
                in.Get(&rate) && in.Get(&since) && in.Get(&before) && in.Get(&over) &&
                in.Get(&apart) && in.Get(&flicker);
    for (int side = 0; side < 2 && read; side++)
        read = in.Get(&start[side]) && in.Get(&born[side]) && in.Get(&largest[side]);
    read = read && in.Get(&samples);
    // A second a sample: more than a day of play is no match of ours.
    if (!read || samples > 24 * 3600)
    {
        *why = "cut short";
        return false;
    }
    std::vector<std::array<int, 2>> armies(samples);
    for (auto& a : armies)
        if (!in.Get(&a[0]) || !in.Get(&a[1]))
        {
            *why = "cut short";
            return false;
        }
    zolMap* map = LoadMap(in, why);
    if (!map)
        return false;
    const int64_t most = int64_t(1) << 40;
    bool sane = ticks >= 0 && lastRate >= 0 && lastRate <= ticks && rate >= 0 && frames >= 0 &&
                frames <= most && since >= 0 && since <= most && before >= 0 && before <= most;
    for (auto& c : cursors)
        sane = sane && c[0] >= 0 && c[0] < map->GetWidth() && c[1] >= 0 && c[1] < map->GetHeight();
    if (!sane)
    {
        delete map;
        *why = "a cursor or a count out of range";
        return false;
    }
    m_pMap.reset(map);
    m_pStats = std::make_unique<zolMatchStats>(map);
    m_pStats->Restore(born, largest, start, std::move(armies));
    m_dwWidth = map->GetWidth();
    m_dwHeight = map->GetHeight();
    memcpy(m_dwvCursors, cursors, sizeof m_dwvCursors);
    m_dwTicks = ticks;
    m_dwFrames = frames;
    m_dwLastRateTick = lastRate;
    m_dwFrameRate = rate;
    m_dwFramesSinceTick = since;
    m_dwFramesBeforeTick = before;
    m_bOver = over;
    m_bFlickerApart = apart;
    m_dwFlickerState = flicker;
    return true;
}

zolOutcome Match::GetOutcome()
{
    bool red = m_pMap->GetUnitCount(true) > 0, blue = m_pMap->GetUnitCount(false) > 0;
    if (red == blue)
        return OUTCOME_NO_WINNER;
    return red ? OUTCOME_RED_WINS : OUTCOME_BLUE_WINS;
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
