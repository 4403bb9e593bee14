#include "zolCmdGo.h"

#include <allegro.h>

#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    // The north arrow as seven strokes from (x, y): a shaft open at the top and a head.
    const int NORTH_STROKES[7][4] = {
        {-6, 12, 6, 12}, {-6, 12, -6, -6}, {6, 12, 6, -6},  {-9, -6, -6, -6},
        {6, -6, 9, -6},  {0, -12, -9, -6}, {0, -12, 9, -6},
    };

    // How each direction maps a north offset (dx, dy): x' = a dx + b dy, y' = c dx + d dy. East
    // and west mirror across a diagonal rather than turn, which keeps each line's end points,
    // and so its pixels, as the arrows have always been drawn.
    const int TURNS[4][4] = {{1, 0, 0, 1}, {0, -1, -1, 0}, {1, 0, 0, -1}, {0, 1, 1, 0}};

    const float PUSH[4][2] = {{0.0f, -0.01f}, {0.01f, 0.0f}, {0.0f, 0.01f}, {-0.01f, 0.0f}};
}

void zolCmdGo::Draw(BITMAP* bmp, int x, int y)
{
    int c = CommandColour();
    const int* t = TURNS[m_dwDirection];
    for (const int* s : NORTH_STROKES)
    {
        int x1 = x + t[0] * s[0] + t[1] * s[1], y1 = y + t[2] * s[0] + t[3] * s[1];
        int x2 = x + t[0] * s[2] + t[1] * s[3], y2 = y + t[2] * s[2] + t[3] * s[3];
        if (y1 == y2)
            hline(bmp, x1, y1, x2, c);
        else if (x1 == x2)
            vline(bmp, x1, y1, y2, c);
        else
            line(bmp, x1, y1, x2, y2, c);
    }
}

void zolCmdGo::Update()
{
    const float* push = PUSH[m_dwDirection];
    for (zolUnit* unit : m_pTile->GetUnits())
        if (unit->GetSide() == m_bSide)
            unit->AddVel(push[0], push[1]);
}
