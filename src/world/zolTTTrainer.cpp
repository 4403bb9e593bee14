#include "zolTTTrainer.h"

#include "zolTile.h"
#include "zolUnit.h"

void zolTTTrainer::Update(zolTile* tile)
{
    bool side = tile->IsLit();
    for (zolUnit* unit : tile->GetUnits())
        if (unit->GetSide() == side)
            unit->IncExp();
}
