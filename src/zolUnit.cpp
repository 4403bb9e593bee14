#include "zolUnit.h"

#include <cmath>

#include <allegro.h>

#include "zolCommand.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"

int zu_dwvMaxHealth[8]  = {3000, 4000, 6000, 8000, 10000, 12000, 16000, 24000};
int zu_dwvDamage[8]     = {1, 2, 2, 3, 3, 4, 4, 5};
int zu_dwvTileDamage[8] = {2, 1, 1, 1, 1, 1, 2, 3};
int zu_dwMaxUnits       = 1500;

namespace
{
    float RandomUnitSpan()
    {
        return (float)(zolRand() % 20001) / 10000.0f - 1.0f;
    }

    float WanderKick()
    {
        int r = zolRand();
        return (float)(2 * r - 32767) / 32767.0f * 1.25f;
    }
}

zolUnit::zolUnit()
    : m_dwType(0), m_dwColor(0), m_bSide(false)
{
    // Separate statements: the four draws must land in this order.
    m_fX = RandomUnitSpan();
    m_fY = RandomUnitSpan();
    m_fVelX = RandomUnitSpan();
    m_fVelY = RandomUnitSpan();
    m_dwHealth = zu_dwvMaxHealth[0];
    m_dwExp = 0;
    m_pTile = nullptr;
    m_pListTile = nullptr;
}

void zolUnit::Move()
{
    if (!m_pTile)
        return;

    if (fabsf(m_fVelX) > 0.7f || fabsf(m_fVelY) > 0.7f)
    {
        m_fVelX *= 0.995f;
        m_fVelY *= 0.995f;
    }

    if (zolRand() < 256)
    {
        m_fVelX += WanderKick();
        m_fVelY += WanderKick();
    }

    zolTile* tile = m_pTile;

    // Off its own ground a unit is drawn toward every open neighbour of its side.
    if (tile->IsLit() != m_bSide)
    {
        zolTile* n;
        if ((n = tile->GetNeighbour(0)) && !n->IsSolid() && n->IsLit() == m_bSide) m_fVelY -= 0.01f;
        if ((n = tile->GetNeighbour(1)) && !n->IsSolid() && n->IsLit() == m_bSide) m_fVelX += 0.01f;
        if ((n = tile->GetNeighbour(2)) && !n->IsSolid() && n->IsLit() == m_bSide) m_fVelY += 0.01f;
        if ((n = tile->GetNeighbour(3)) && !n->IsSolid() && n->IsLit() == m_bSide) m_fVelX -= 0.01f;
    }

    m_fX += m_fVelX * 0.01f;
    m_fY += m_fVelY * 0.01f;

    // One border a tick: a diagonal exit crosses along x now and along y in a later tick.
    int dir = -1;
    if (m_fX < -1.0f)
        dir = 3;
    else if (m_fX >= 1.0f)
        dir = 1;
    else if (m_fY < -1.0f)
        dir = 0;
    else if (m_fY >= 1.0f)
        dir = 2;
    if (dir >= 0)
    {
        zolTile* next = tile->GetNeighbour(dir);
        float& pos = (dir == 1 || dir == 3) ? m_fX : m_fY;
        float& vel = (dir == 1 || dir == 3) ? m_fVelX : m_fVelY;
        float edge = (dir == 1 || dir == 2) ? 1.0f : -1.0f;
        if (next && !next->IsSolid())
        {
            pos -= 2.0f * edge;
            tile->MoveUnit(this, dir);
            m_pTile = next;
        }
        else
        {
            pos = edge;
            vel = -vel;
            if (next && next->GetCommand(m_bSide))
                next->GetCommand(m_bSide)->Collision(m_bSide);
        }
    }

    if (zolTileType* type = m_pTile->GetType())
        type->EffectUnit(this, m_pTile);

    if (m_dwHealth < 0)
    {
        m_pTile->RemoveUnit(this);
        m_pTile = nullptr;
    }
}

void zolUnit::Draw(BITMAP* bmp, int x, int y)
{
    int px = x + (int)(16.0f * m_fX);
    int py = y + (int)(16.0f * m_fY);
    int c = m_dwColor;
    rectfill(bmp, px - 1, py - 1, px + 1, py + 1, c);
    switch (m_dwType)
    {
    case 1:
        putpixel(bmp, px - 2, py - 2, c);
        break;
    case 2:
        putpixel(bmp, px + 2, py - 2, c);
        putpixel(bmp, px - 2, py - 2, c);
        break;
    case 3:
        putpixel(bmp, px + 2, py + 2, c);
        putpixel(bmp, px + 2, py - 2, c);
        putpixel(bmp, px - 2, py - 2, c);
        break;
    case 4:
        putpixel(bmp, px - 2, py + 2, c);
        putpixel(bmp, px + 2, py + 2, c);
        putpixel(bmp, px + 2, py - 2, c);
        putpixel(bmp, px - 2, py - 2, c);
        break;
    case 5:
        hline(bmp, px - 2, py - 3, px + 2, c);
        hline(bmp, px - 2, py + 3, px + 2, c);
        break;
    case 6:
        vline(bmp, px - 3, py - 2, py + 2, c);
        vline(bmp, px + 3, py - 2, py + 2, c);
        hline(bmp, px - 5, py, px - 4, c);
        hline(bmp, px + 4, py, px + 5, c);
        break;
    case 7:
        hline(bmp, px - 2, py - 3, px + 2, c);
        hline(bmp, px - 2, py + 3, px + 2, c);
        vline(bmp, px - 3, py - 2, py + 2, c);
        vline(bmp, px + 3, py - 2, py + 2, c);
        break;
    }
}

void zolUnit::IncExp()
{
    m_dwExp++;
    if (m_dwType > 6)
        return;
    int needed = (m_dwType <= 4 ? 2000 : 8000) + m_dwType;
    if (m_dwExp >= needed)
    {
        m_dwExp = 0;
        m_dwType++;
        m_dwHealth = zu_dwvMaxHealth[m_dwType];
    }
}
