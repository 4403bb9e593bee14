#include "zolTile.h"

#include <algorithm>

#include <allegro.h>

#include "zolBmpGen.h"
#include "zolCommand.h"
#include "zolEvents.h"
#include "zolTileType.h"
#include "zolUnit.h"

zolTile::zolTile()
    : m_pType(nullptr), m_bLit(false), m_dwHealth(0), m_pMap(nullptr), m_dwX(-1), m_dwY(-1),
      m_dwLitMask(0), m_pNeighbour{nullptr, nullptr, nullptr, nullptr}, m_dwvDamage{0, 0},
      m_pCommand{nullptr, nullptr}
{
}

zolTile::~zolTile()
{
    delete m_pCommand[0];
    delete m_pCommand[1];
}

void zolTile::Draw(BITMAP* bmp, int x, int y)
{
    if (!m_pType)
        return;
    int slot = m_bLit ? 0 : 1 + (m_dwLitMask & 15);
    BITMAP* picture = m_bLit ? m_pType->GetLit() : m_pType->GetUnlit(m_dwLitMask);
    if (!picture)
        return;
    // Without a mask pixel, a plain copy shows the same as a masked draw, many times faster.
    if (m_pType->IsOpaque(slot, picture))
        zolCopyPicture(bmp, picture, x, y);
    else
        draw_sprite(bmp, picture, x, y);
}

void zolTile::DrawUnits(BITMAP* bmp, int x, int y)
{
    int cx = x + 16, cy = y + 16;
    for (zolUnit* unit : m_pvUnits)
        unit->Draw(bmp, cx, cy);
    if (m_pCommand[0])
        m_pCommand[0]->Draw(bmp, cx, cy + 1);
    if (m_pCommand[1])
        m_pCommand[1]->Draw(bmp, cx, cy - 1);
}

void zolTile::Update()
{
    int tileDamage[2] = {0, 0};
    m_dwvDamage[0] = m_dwvDamage[1] = 0;
    for (zolUnit* unit : m_pvUnits)
    {
        int t = unit->GetType();
        bool s = unit->GetSide();
        m_dwvDamage[s] += zu_dwvDamage[t];
        tileDamage[s] += zu_dwvTileDamage[t];
    }

    // Both sides strike with the totals taken above, before either loses anyone, so one pass
    // can deal both blows. A side with no damage on the tile strikes no one.
    if (m_dwvDamage[0] && m_dwvDamage[1])
    {
        int hit[2] = {std::max(m_dwvDamage[1] / 4, 4), std::max(m_dwvDamage[0] / 4, 4)};
        for (zolUnit* unit : m_pvUnits)
            unit->DecHealth(hit[unit->GetSide()]);
        zolEmit(zolEvent::Blow, m_dwX, m_dwY);
    }

    if (m_pType)
        m_pType->Update(this);

    // Blue's command may finish and change the tile, even destroy red's command: read red's slot
    // only afterwards.
    if (m_pCommand[0])
        m_pCommand[0]->Update();
    if (m_pCommand[1])
        m_pCommand[1]->Update();

    // The owner's units heal first, then the other side's wear the tile down.
    bool owner = m_bLit;
    if (tileDamage[owner])
        IncHealth(tileDamage[owner]);
    if (tileDamage[!owner])
        DecHealth(tileDamage[!owner]);
}

void zolTile::SetLit(bool lit)
{
    // A capture costs the losing owner its command here and the winner's too: both slots empty.
    if (lit != m_bLit && m_pCommand[m_bLit])
    {
        for (int side = 0; side < 2; side++)
        {
            delete m_pCommand[side];
            m_pCommand[side] = nullptr;
        }
    }
    m_bLit = lit;
    for (zolTile* neighbour : m_pNeighbour)
        if (neighbour)
            neighbour->CheckNeighbours();
}

void zolTile::CheckNeighbours()
{
    int mask = 0;
    for (int dir = 0; dir < 4; dir++)
        if (m_pNeighbour[dir] && m_pNeighbour[dir]->IsLit())
            mask |= 1 << dir;
    m_dwLitMask = mask;
}

void zolTile::AddUnit(zolUnit* unit)
{
    m_pvUnits.push_back(unit);
    unit->m_pListTile = this;
    unit->m_itListEntry = std::prev(m_pvUnits.end());
    unit->SetTile(this);
}

std::list<zolUnit*>::iterator zolTile::FindUnit(zolUnit* unit)
{
    if (unit->m_pListTile == this)
        return unit->m_itListEntry;
    return std::find(m_pvUnits.begin(), m_pvUnits.end(), unit);
}

void zolTile::MoveUnit(zolUnit* unit, int dir)
{
    auto it = FindUnit(unit);
    if (it == m_pvUnits.end())
        return;
    zolTile* neighbour = GetNeighbour(dir);
    if (!neighbour)
        return;
    // The list node itself moves over: no allocation, and the unit's place stays known.
    neighbour->m_pvUnits.splice(neighbour->m_pvUnits.end(), m_pvUnits, it);
    unit->m_pListTile = neighbour;
    unit->m_itListEntry = it;
    unit->SetTile(neighbour);
}

void zolTile::RemoveUnit(zolUnit* unit)
{
    auto it = FindUnit(unit);
    if (it == m_pvUnits.end())
        return;
    if (unit->m_pListTile == this && unit->m_itListEntry == it)
        unit->m_pListTile = nullptr;
    m_pvUnits.erase(it);
}

void zolTile::DecHealth(int n)
{
    m_dwHealth -= n;
    if (m_dwHealth <= 0)
    {
        m_dwHealth = 4096;
        SetLit(!m_bLit);
        zolEmit(zolEvent::TileTaken, m_dwX, m_dwY);
    }
}

void zolTile::IncHealth(int n)
{
    m_dwHealth = std::min(m_dwHealth + n, 8192);
}

void zolTile::RestoreCommand(bool side, zolCommand* cmd)
{
    delete m_pCommand[side];
    m_pCommand[side] = cmd;
    if (cmd)
        cmd->SetTile(this);
}

void zolTile::SetCommand(bool side, zolCommand* cmd)
{
    if (!IsSolid() && m_bLit != side)
        return;
    if (m_pCommand[side] && m_pCommand[side] != cmd)
        delete m_pCommand[side];
    m_pCommand[side] = cmd;
    if (cmd)
        cmd->SetTile(this);
}
