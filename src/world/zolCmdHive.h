#ifndef ZOLCMDHIVE_H
#define ZOLCMDHIVE_H

#include "zolCmdBuild.h"

// The picture every hive build shows; null while Data/BuildHive.bmp cannot be loaded. Lives
// until the program ends.
extern BITMAP* g_pBmpHive;

// Turns an own tile into a hive after 160000 units of work.
class zolCmdHive : public zolCmdBuild
{
public:
    zolCmdHive();

    virtual void SetHiveType(zolTileType* type) { SetBuildType(type); }

    static const int TOTAL_WORK = 160000;
};

#endif
