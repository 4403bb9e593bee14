#include "zolTileType.h"

#include <allegro.h>

#include "zolBmpGen.h"
#include "zolTile.h"
#include "zolUnit.h"

zolTileType::zolTileType() : m_bSolid(false) {}

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
    for (int slot = 0; slot < 17; slot++)
        CheckOpaque(slot);
}

void zolTileType::Update(zolTile*) {}

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
    CheckOpaque(slot);
}

BITMAP* zolTileType::GetBmp(int slot)
{
    if (slot < 0 || slot >= (int)m_pvBmps.size())
        return nullptr;
    return m_pvBmps[slot];
}

bool zolTileType::IsOpaque(int slot, BITMAP* picture)
{
    return slot >= 0 && slot < (int)m_pvBmps.size() && m_pvBmps[slot] == picture &&
           m_pvOpaque[slot];
}

void zolTileType::CheckOpaque(int slot)
{
    m_pvOpaque.resize(m_pvBmps.size(), false);
    BITMAP* picture = m_pvBmps[slot];
    bool opaque = picture != nullptr;
    if (picture)
    {
        int mask = bitmap_mask_color(picture);
        for (int y = 0; y < picture->h && opaque; y++)
            for (int x = 0; x < picture->w && opaque; x++)
                opaque = getpixel(picture, x, y) != mask;
    }
    m_pvOpaque[slot] = opaque;
}
