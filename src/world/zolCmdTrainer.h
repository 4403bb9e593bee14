#ifndef ZOLCMDTRAINER_H
#define ZOLCMDTRAINER_H

#include "zolCmdBuild.h"

// The picture every trainer build shows; null while Data/BuildTrainer.bmp cannot be loaded. Lives
// until the program ends.
extern BITMAP* g_pBmpTrainer;

// Turns an own tile into a trainer after 40000 units of work.
class zolCmdTrainer : public zolCmdBuild
{
public:
    zolCmdTrainer();

    virtual void SetTrainerType(zolTileType* type) { SetBuildType(type); }

    static const int TOTAL_WORK = 40000;
};

#endif
