#include "zolCmdHive.h"

#include "Pictures.h"

BITMAP* g_pBmpHive = nullptr;

zolCmdHive::zolCmdHive() : zolCmdBuild(TOTAL_WORK, &g_pBmpHive, PIC_BuildHive) {}
