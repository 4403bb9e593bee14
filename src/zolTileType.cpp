#include "zolTileType.h"

#include <allegro.h>

#include "zolBmpGen.h"
#include "zolTile.h"
#include "zolUnit.h"

zolTileType::zolTileType()
    : m_bSolid(false)
{
}

zolTileType::~zolTileType()
{
    for (BITMAP* bmp : m_pvBmps)
        if (bmp)
            destroy_bitmap(bmp);
}

void zolTileType::Build(BITMAP* src)
{
    // Pictures already in kept slots are overwritten, not destroyed: a type is built only once.
    m_pvBmps.resize(17, nullptr);
    m_pvBmps[0] = zolGenLightOn(src);
    for (int m = 0; m < 16; m++)
        m_pvBmps[1 + m] = zolGenLightOff(src, m & 1, m & 2, m & 4, m & 8);
}

void zolTileType::Update(zolTile*)
{
}

void zolTileType::EffectUnit(zolUnit* unit, zolTile* tile)
{
    if (tile->IsLit() == unit->GetSide())
        unit->IncHealth(1);
    else
        unit->DecHealth(1);
}

void zolTileType::SetBmp(int slot, BITMAP* bmp)
{
    if (slot < 0 || slot >= (int)m_pvBmps.size())
        return;
    if (m_pvBmps[slot])
        destroy_bitmap(m_pvBmps[slot]);
    m_pvBmps[slot] = zolGenClone(bmp);
}

BITMAP* zolTileType::GetBmp(int slot)
{
    if (slot < 0 || slot >= (int)m_pvBmps.size())
        return nullptr;
    return m_pvBmps[slot];
}
