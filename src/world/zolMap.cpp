#include "zolMap.h"

#include <algorithm>

#include <allegro.h>

#include "zolTile.h"
#include "zolUnit.h"

zolMap::zolMap() : m_dwWidth(0), m_dwHeight(0), m_dwvUnitCount{0, 0} {}

zolMap::~zolMap()
{
    for (zolUnit* unit : m_pvUnits)
        delete unit;
    for (zolTile* tile : m_pvTiles)
        delete tile;
}

void zolMap::SetSize(int w, int h)
{
    std::vector<zolTile*> old = m_pvTiles;
    m_pvTiles.assign((size_t)w * h, nullptr);
    int rows = std::min(m_dwHeight, h), cols = std::min(m_dwWidth, w);
    for (int y = 0; y < rows; y++)
        for (int x = 0; x < cols; x++)
            m_pvTiles[y * w + x] = old[y * m_dwWidth + x];
    m_dwWidth = w;
    m_dwHeight = h;
}

void zolMap::SetTile(int x, int y, zolTile* tile)
{
    if (x < 0 || x >= m_dwWidth || y < 0 || y >= m_dwHeight)
        return;
    zolTile*& cell = m_pvTiles[y * m_dwWidth + x];
    if (cell == tile)
        return;
    delete cell;
    cell = tile;

    // A null tile empties the cell: the neighbours then lose their link to it.
    zolTile* around[4] = {GetTile(x, y - 1), GetTile(x + 1, y), GetTile(x, y + 1),
                          GetTile(x - 1, y)};
    if (tile)
    {
        tile->SetMap(this);
        tile->SetPos(x, y);
        for (int dir = 0; dir < 4; dir++)
            tile->SetNeighbour(dir, around[dir]);
    }
    for (int dir = 0; dir < 4; dir++)
    {
        if (!around[dir])
            continue;
        around[dir]->SetNeighbour((dir + 2) % 4, tile);
        around[dir]->CheckNeighbours();
    }
    if (tile)
        tile->CheckNeighbours();
}

void zolMap::SetTile(int x, int y, zolTileType* type)
{
    if (x < 0 || x >= m_dwWidth || y < 0 || y >= m_dwHeight)
        return;
    if (zolTile* tile = GetTile(x, y))
    {
        tile->SetType(type);
        return;
    }
    zolTile* tile = new zolTile();
    tile->SetType(type);
    SetTile(x, y, tile);
}

void zolMap::SetTileLit(int x, int y, bool lit)
{
    if (zolTile* tile = GetTile(x, y))
        tile->SetLit(lit);
}

void zolMap::FillBlanks(zolTileType* type)
{
    for (int y = 0; y < m_dwHeight; y++)
        for (int x = 0; x < m_dwWidth; x++)
            if (!GetTile(x, y))
                SetTile(x, y, type);
}

void zolMap::Update()
{
    for (zolTile* tile : m_pvTiles)
        if (tile)
            tile->Update();

    m_dwvUnitCount[0] = m_dwvUnitCount[1] = 0;
    for (auto it = m_pvUnits.begin(); it != m_pvUnits.end();)
    {
        zolUnit* unit = *it;
        unit->Move();
        if (!unit->GetTile())
        {
            it = m_pvUnits.erase(it);
            delete unit;
            continue;
        }
        m_dwvUnitCount[unit->GetSide()]++;
        ++it;
    }
}

void zolMap::Draw(BITMAP* bmp, int x0, int y0)
{
    int cx0 = std::max((-x0) / 32 - 1, 0), cy0 = std::max((-y0) / 32 - 1, 0);
    int cx1 = std::min((bmp->w - x0 - 1) / 32, m_dwWidth - 1);
    int cy1 = std::min((bmp->h - y0 - 1) / 32, m_dwHeight - 1);
    for (int y = cy0; y <= cy1; y++)
        for (int x = cx0; x <= cx1; x++)
            if (zolTile* tile = GetTile(x, y))
                tile->Draw(bmp, x0 + 32 * x, y0 + 32 * y);
    // Every picture first, so that no neighbour's picture covers a unit or mark reaching over.
    for (int y = cy0; y <= cy1; y++)
        for (int x = cx0; x <= cx1; x++)
            if (zolTile* tile = GetTile(x, y))
                tile->DrawUnits(bmp, x0 + 32 * x, y0 + 32 * y);
}

void zolMap::AddUnit(zolUnit* unit)
{
    m_pvUnits.push_back(unit);
}

void zolMap::RemoveUnit(zolUnit* unit)
{
    auto it = std::find(m_pvUnits.begin(), m_pvUnits.end(), unit);
    if (it != m_pvUnits.end())
        m_pvUnits.erase(it);
}
