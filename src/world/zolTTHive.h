#ifndef ZOLTTHIVE_H
#define ZOLTTHIVE_H

#include "zolTileType.h"

// A hive spawns units for whichever side owns its tile, about once every 32 ticks, while that
// side is below the unit cap.
class zolTTHive : public zolTileType
{
public:
    void Update(zolTile* tile) override;
};

#endif
