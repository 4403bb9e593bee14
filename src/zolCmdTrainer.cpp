#include "zolCmdTrainer.h"

#include <allegro.h>

#include "zolBmpGen.h"

BITMAP* g_pBmpTrainer = nullptr;

zolCmdTrainer::zolCmdTrainer()
    : m_dwWorkLeft(TOTAL_WORK), m_pTrainerType(nullptr)
{
    if (!g_pBmpTrainer)
        g_pBmpTrainer = zolLoadPicture("Data/BuildTrainer.bmp");
}

void zolCmdTrainer::Draw(BITMAP* bmp, int x, int y)
{
    DrawBuild(bmp, x, y, g_pBmpTrainer, m_dwWorkLeft, TOTAL_WORK);
}

void zolCmdTrainer::Update()
{
    m_dwWorkLeft -= WorkStep();
    if (m_dwWorkLeft <= 0)
        FinishBuild(m_pTrainerType);
}
