#include "zolCmdTrainer.h"

#include "Pictures.h"

BITMAP* g_pBmpTrainer = nullptr;

zolCmdTrainer::zolCmdTrainer() : zolCmdBuild(TOTAL_WORK, &g_pBmpTrainer, PIC_BuildTrainer) {}
