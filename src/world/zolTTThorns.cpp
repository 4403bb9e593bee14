#include "zolTTThorns.h"

#include "zolTile.h"
#include "zolUnit.h"

void zolTTThorns::EffectUnit(zolUnit* unit, zolTile* tile)
{
    if (tile->IsLit() != unit->GetSide())
        unit->DecHealth(50);
}
