#include "zolCmdHive.h"

#include <allegro.h>

#include "zolBmpGen.h"

BITMAP* g_pBmpHive = nullptr;

zolCmdHive::zolCmdHive()
    : m_dwWorkLeft(TOTAL_WORK), m_pHiveType(nullptr)
{
    if (!g_pBmpHive)
        g_pBmpHive = zolLoadPicture("Data/BuildHive.bmp");
}

void zolCmdHive::Draw(BITMAP* bmp, int x, int y)
{
    DrawBuild(bmp, x, y, g_pBmpHive, m_dwWorkLeft, TOTAL_WORK);
}

void zolCmdHive::Update()
{
    m_dwWorkLeft -= WorkStep();
    if (m_dwWorkLeft <= 0)
        FinishBuild(m_pHiveType);
}
