#include "zolCmdTrainer.h"

#include <allegro.h>

BITMAP* g_pBmpTrainer = nullptr;

zolCmdTrainer::zolCmdTrainer()
    : m_dwWorkLeft(TOTAL_WORK), m_pTrainerType(nullptr)
{
    if (!g_pBmpTrainer)
        g_pBmpTrainer = load_bitmap("Data/BuildTrainer.bmp", nullptr);
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
