#ifndef ZOLTTTHORNS_H
#define ZOLTTTHORNS_H

#include "zolTileType.h"

// Thorns hurt the other side's units by 50 a tick and leave their owner's units alone: neither
// hurt nor healed.
class zolTTThorns : public zolTileType
{
public:
    void EffectUnit(zolUnit* unit, zolTile* tile) override;
};

#endif
