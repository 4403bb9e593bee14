#include "zolCmdThorns.h"

#include "Pictures.h"

BITMAP* g_pBmpThorns = nullptr;

zolCmdThorns::zolCmdThorns() : zolCmdBuild(TOTAL_WORK, &g_pBmpThorns, PIC_BuildThorns) {}
