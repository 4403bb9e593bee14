#ifndef ZOLTTTRAINER_H
#define ZOLTTTRAINER_H

#include "zolTileType.h"

// A trainer gives each unit of its owner's side standing on it one point of experience a tick;
// the other side's units gain nothing.
class zolTTTrainer : public zolTileType
{
public:
    void Update(zolTile* tile) override;
};

#endif
