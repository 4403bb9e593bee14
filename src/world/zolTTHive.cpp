#include "zolTTHive.h"

#include <allegro.h>

#include "zolEvents.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

void zolTTHive::Update(zolTile* tile)
{
    bool side = tile->IsLit();
    zolMap* map = tile->GetMap();
    if (map->GetUnitCount(side) >= zu_dwMaxUnits)
        return;
    if (zolRand() & 0xF80)
        return;

    zolUnit* unit = new zolUnit();
    int colour;
    if (side)
    {
        int b = zolRand() % 64;
        int g = zolRand() % 64;
        colour = makecol(255, g, b);
    }
    else
    {
        int g = zolRand() % 64;
        int r = zolRand() % 64;
        colour = makecol(r, g, 255);
    }
    unit->SetColor(colour);
    unit->SetSide(side);
    unit->SetType(0);
    tile->AddUnit(unit);
    map->AddUnit(unit);
    zolEmit(zolEvent::UnitBorn, tile->GetX(), tile->GetY());
}
