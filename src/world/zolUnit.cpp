#include "zolUnit.h"

#include <cmath>
#include <cstdint>

#include <allegro.h>

#include "zolCommand.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"

int zu_dwvMaxHealth[8] = {3000, 4000, 6000, 8000, 10000, 12000, 16000, 24000};
int zu_dwvDamage[8] = {1, 2, 2, 3, 3, 4, 4, 5};
int zu_dwvTileDamage[8] = {2, 1, 1, 1, 1, 1, 2, 3};
int zu_dwMaxUnits = 1500;

namespace
{
    float RandomUnitSpan()
    {
        return (float)(zolRand() % 20001) / 10000.0f - 1.0f;
    }

    // The pixels a unit of each rank covers, as offsets from its centre: a 3 x 3 body and the
    // rank's mark of dots and bars.
    struct Stamp
    {
        int count = 0;
        int dx[32], dy[32];

        void Dot(int x, int y)
        {
            dx[count] = x;
            dy[count] = y;
            count++;
        }
        void HBar(int x1, int x2, int y)
        {
            for (int x = x1; x <= x2; x++)
                Dot(x, y);
        }
        void VBar(int x, int y1, int y2)
        {
            for (int y = y1; y <= y2; y++)
                Dot(x, y);
        }
    };

    const Stamp* RankStamps()
    {
        static Stamp stamps[8];
        static bool made = false;
        if (made)
            return stamps;
        for (Stamp& s : stamps)
            for (int y = -1; y <= 1; y++)
                s.HBar(-1, 1, y);
        stamps[1].Dot(-2, -2);
        stamps[2].Dot(2, -2);
        stamps[2].Dot(-2, -2);
        stamps[3].Dot(2, 2);
        stamps[3].Dot(2, -2);
        stamps[3].Dot(-2, -2);
        stamps[4].Dot(-2, 2);
        stamps[4].Dot(2, 2);
        stamps[4].Dot(2, -2);
        stamps[4].Dot(-2, -2);
        stamps[5].HBar(-2, 2, -3);
        stamps[5].HBar(-2, 2, 3);
        stamps[6].VBar(-3, -2, 2);
        stamps[6].VBar(3, -2, 2);
        stamps[6].HBar(-5, -4, 0);
        stamps[6].HBar(4, 5, 0);
        stamps[7].HBar(-2, 2, -3);
        stamps[7].HBar(-2, 2, 3);
        stamps[7].VBar(-3, -2, 2);
        stamps[7].VBar(3, -2, 2);
        made = true;
        return stamps;
    }

    template <typename Pixel>
    void StampPixels(BITMAP* bmp, int px, int py, int colour, const Stamp& stamp)
    {
        Pixel c = (Pixel)colour;
        Pixel* rows[7];
        for (int r = 0; r < 7; r++)
            rows[r] = (Pixel*)bmp->line[py - 3 + r] + px;
        const int count = stamp.count;
        for (int i = 0; i < count; i++)
            rows[3 + stamp.dy[i]][stamp.dx[i]] = c;
    }

    float WanderKick()
    {
        int r = zolRand();
        return (float)(2 * r - 32767) / 32767.0f * 1.25f;
    }
}

zolUnit::zolUnit() : m_dwType(0), m_dwColor(0), m_bSide(false)
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
        if ((n = tile->GetNeighbour(0)) && !n->IsSolid() && n->IsLit() == m_bSide)
            m_fVelY -= 0.01f;
        if ((n = tile->GetNeighbour(1)) && !n->IsSolid() && n->IsLit() == m_bSide)
            m_fVelX += 0.01f;
        if ((n = tile->GetNeighbour(2)) && !n->IsSolid() && n->IsLit() == m_bSide)
            m_fVelY += 0.01f;
        if ((n = tile->GetNeighbour(3)) && !n->IsSolid() && n->IsLit() == m_bSide)
            m_fVelX -= 0.01f;
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
    const Stamp& stamp = RankStamps()[m_dwType & 7];

    // Wholly inside a memory bitmap's clip the pixels are written straight into its lines; the
    // library's clipped putpixel would set exactly the same ones.
    bool inside = is_memory_bitmap(bmp) && px - 5 >= bmp->cl && px + 5 < bmp->cr &&
                  py - 3 >= bmp->ct && py + 3 < bmp->cb;
    int depth = bitmap_color_depth(bmp);
    if (inside && depth == 32)
        StampPixels<uint32_t>(bmp, px, py, m_dwColor, stamp);
    else if (inside && (depth == 16 || depth == 15))
        StampPixels<uint16_t>(bmp, px, py, m_dwColor, stamp);
    else
        for (int i = 0; i < stamp.count; i++)
            putpixel(bmp, px + stamp.dx[i], py + stamp.dy[i], m_dwColor);
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
