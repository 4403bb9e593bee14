#include "zolCmdClear.h"

#include <allegro.h>

#include "zolEvents.h"
#include "zolTile.h"

zolCmdClear::zolCmdClear() : m_dwHitsLeft(100), m_pClearType(nullptr) {}

void zolCmdClear::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    line(bmp, x - 12, y - 12, x + 12, y + 12, c);
    line(bmp, x + 12, y - 12, x - 12, y + 12, c);
}

void zolCmdClear::Collision(bool side)
{
    if (side != m_bSide)
        return;
    if (--m_dwHitsLeft > 0)
        return;

    // The change of owner may destroy this command with the tile's others, and emptying the slot
    // surely does: from here on only the copies taken now are used.
    zolTile* tile = m_pTile;
    bool own = m_bSide;
    tile->SetType(m_pClearType);
    tile->SetLit(own);
    tile->SetHealth(0);
    tile->SetCommand(own, nullptr);
    zolEmit(zolEvent::RockOpened, tile->GetX(), tile->GetY());
}
