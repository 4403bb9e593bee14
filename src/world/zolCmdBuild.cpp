#include "zolCmdBuild.h"

#include <allegro.h>

#include "Pictures.h"
#include "TileSet.h"
#include "zolBmpGen.h"
#include "zolEvents.h"
#include "zolTile.h"
#include "zolUnit.h"

zolCmdBuild::zolCmdBuild(int totalWork, BITMAP** picture, int pictureFile)
    : m_dwTotalWork(totalWork), m_dwWorkLeft(totalWork), m_ppPicture(picture), m_pBuildType(nullptr)
{
    if (!*m_ppPicture && !TilesHeadless())
        *m_ppPicture = zolLoadBuildPicture(PicturePath(pictureFile));
}

void zolCmdBuild::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    // A picture that failed to load is skipped; the progress bar still tells how far the work is.
    if (BITMAP* picture = *m_ppPicture)
        draw_sprite(bmp, picture, x - picture->w / 2, y - picture->h / 2);
    int len = 30 - (m_dwWorkLeft * 30) / m_dwTotalWork;
    rectfill(bmp, x - 15, y + 12, x + 14, y + 14, 0);
    rectfill(bmp, x - 15, y + 12, x - 15 + len, y + 14, c);
}

void zolCmdBuild::Update()
{
    int own = 0;
    for (zolUnit* unit : m_pTile->GetUnits())
        if (unit->GetSide() == m_bSide)
            own++;
    m_dwWorkLeft -= own / 4 > 1 ? own / 4 : 1;
    if (m_dwWorkLeft > 0)
        return;

    // Emptying the slot destroys this command, so only the copies taken here are used.
    zolTile* tile = m_pTile;
    bool side = m_bSide;
    tile->SetType(m_pBuildType);
    tile->SetLit(side);
    tile->SetCommand(side, nullptr);
    zolEmit(zolEvent::BuildDone, tile->GetX(), tile->GetY());
}
