#ifndef ZOLCMDTHORNS_H
#define ZOLCMDTHORNS_H

#include "zolCmdBuild.h"

// The picture every thorns build shows; null while Data/BuildThorns.bmp cannot be loaded. Lives
// until the program ends.
extern BITMAP* g_pBmpThorns;

// Turns an own tile into thorns after 20000 units of work.
class zolCmdThorns : public zolCmdBuild
{
public:
    zolCmdThorns();

    virtual void SetThornsType(zolTileType* type) { SetBuildType(type); }

    static const int TOTAL_WORK = 20000;
};

#endif
