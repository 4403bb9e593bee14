#include "zolCmdThorns.h"

#include <allegro.h>

#include "zolBmpGen.h"

BITMAP* g_pBmpThorns = nullptr;

zolCmdThorns::zolCmdThorns()
    : m_dwWorkLeft(TOTAL_WORK), m_pThornsType(nullptr)
{
    if (!g_pBmpThorns)
        g_pBmpThorns = zolLoadPicture("Data/BuildThorns.bmp");
}

void zolCmdThorns::Draw(BITMAP* bmp, int x, int y)
{
    DrawBuild(bmp, x, y, g_pBmpThorns, m_dwWorkLeft, TOTAL_WORK);
}

void zolCmdThorns::Update()
{
    m_dwWorkLeft -= WorkStep();
    if (m_dwWorkLeft <= 0)
        FinishBuild(m_pThornsType);
}
