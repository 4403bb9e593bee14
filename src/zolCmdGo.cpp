#include "zolCmdGo.h"

#include <allegro.h>

#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    void PushSide(zolTile* tile, bool side, float dx, float dy)
    {
        for (zolUnit* unit : tile->GetUnits())
            if (unit->GetSide() == side)
                unit->AddVel(dx, dy);
    }
}

// Each figure is the north arrow turned about (x, y), drawn primitive by primitive in the same
// order with the end points in the same order.

void zolCmdNorth::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    hline(bmp, x - 6, y + 12, x + 6, c);
    vline(bmp, x - 6, y + 12, y - 6, c);
    vline(bmp, x + 6, y + 12, y - 6, c);
    hline(bmp, x - 9, y - 6, x - 6, c);
    hline(bmp, x + 6, y - 6, x + 9, c);
    line(bmp, x, y - 12, x - 9, y - 6, c);
    line(bmp, x, y - 12, x + 9, y - 6, c);
}

void zolCmdNorth::Update()
{
    PushSide(m_pTile, m_bSide, 0.0f, -0.01f);
}

void zolCmdEast::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    vline(bmp, x - 12, y + 6, y - 6, c);
    hline(bmp, x - 12, y + 6, x + 6, c);
    hline(bmp, x - 12, y - 6, x + 6, c);
    vline(bmp, x + 6, y + 9, y + 6, c);
    vline(bmp, x + 6, y - 6, y - 9, c);
    line(bmp, x + 12, y, x + 6, y + 9, c);
    line(bmp, x + 12, y, x + 6, y - 9, c);
}

void zolCmdEast::Update()
{
    PushSide(m_pTile, m_bSide, 0.01f, 0.0f);
}

void zolCmdSouth::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    hline(bmp, x - 6, y - 12, x + 6, c);
    vline(bmp, x - 6, y - 12, y + 6, c);
    vline(bmp, x + 6, y - 12, y + 6, c);
    hline(bmp, x - 9, y + 6, x - 6, c);
    hline(bmp, x + 6, y + 6, x + 9, c);
    line(bmp, x, y + 12, x - 9, y + 6, c);
    line(bmp, x, y + 12, x + 9, y + 6, c);
}

void zolCmdSouth::Update()
{
    PushSide(m_pTile, m_bSide, 0.0f, 0.01f);
}

void zolCmdWest::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    vline(bmp, x + 12, y - 6, y + 6, c);
    hline(bmp, x + 12, y - 6, x - 6, c);
    hline(bmp, x + 12, y + 6, x - 6, c);
    vline(bmp, x - 6, y - 9, y - 6, c);
    vline(bmp, x - 6, y + 6, y + 9, c);
    line(bmp, x - 12, y, x - 6, y - 9, c);
    line(bmp, x - 12, y, x - 6, y + 9, c);
}

void zolCmdWest::Update()
{
    PushSide(m_pTile, m_bSide, -0.01f, 0.0f);
}
