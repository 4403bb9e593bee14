#include "zolCommand.h"

#include <allegro.h>

#include "zolEvents.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

zolCommand::zolCommand()
    : m_bSide(false), m_pTile(nullptr)
{
}

zolCommand::~zolCommand()
{
}

void zolCommand::Draw(BITMAP*, int, int)
{
}

void zolCommand::Update()
{
}

void zolCommand::Collision(bool)
{
}

int zolCommand::CommandColour()
{
    int v = (zolRand() >> 7) & 63;
    if (m_bSide)
        return makecol(255, (v + 255) / 2, v);
    return makecol(v, (v + 255) / 2, 255);
}

int zolCommand::WorkStep()
{
    int own = 0;
    for (zolUnit* unit : m_pTile->GetUnits())
        if (unit->GetSide() == m_bSide)
            own++;
    return own / 4 > 1 ? own / 4 : 1;
}

void zolCommand::FinishBuild(zolTileType* type)
{
    // Emptying the slot destroys this command, so only the copies taken here are used.
    zolTile* tile = m_pTile;
    bool side = m_bSide;
    tile->SetType(type);
    tile->SetLit(side);
    tile->SetCommand(side, nullptr);
    zolEmit(zolEvent::BuildDone, tile->GetX(), tile->GetY());
}

void zolCommand::DrawBuild(BITMAP* bmp, int x, int y, BITMAP* picture, int workLeft, int total)
{
    int c = CommandColour();
    // A picture that failed to load is skipped; the progress bar still tells how far the work is.
    if (picture)
        draw_sprite(bmp, picture, x - picture->w / 2, y - picture->h / 2);
    int len = 30 - (workLeft * 30) / total;
    rectfill(bmp, x - 15, y + 12, x + 14, y + 14, 0);
    rectfill(bmp, x - 15, y + 12, x - 15 + len, y + 14, c);
}
