#include "Scenarios.h"

#include <allegro.h>

#include "Main.h"
#include "zolMap.h"
#include "zolTile.h"

zolMap* NewWarMap()
{
    zolMap* map = new zolMap();
    map->SetSize(20, 14);
    map->FillBlanks(g_pvTileTypes[1]);
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 20; x++)
        {
            if (x % 3 == 1 && y % 3 == 1)
                map->SetTile(x, y, g_pvTileTypes[2]);
            else if (x == 9 || x == 10)
                map->SetTile(x, y, g_pvTileTypes[3]);
            map->SetTileLit(x, y, x < 10);
            map->GetTile(x, y)->SetHealth(8000);
        }
    return map;
}

void KeyScript::Press(int oneIn)
{
    static const int red[13] = {KEY_A, KEY_D, KEY_W, KEY_S, KEY_Y, KEY_J, KEY_H,
                                KEY_G, KEY_T, KEY_B, KEY_N, KEY_M, KEY_U};
    static const int blue[13] = {KEY_LEFT,  KEY_RIGHT, KEY_UP,    KEY_DOWN,  KEY_8_PAD,
                                 KEY_6_PAD, KEY_5_PAD, KEY_4_PAD, KEY_7_PAD, KEY_1_PAD,
                                 KEY_2_PAD, KEY_3_PAD, KEY_9_PAD};
    if (m_rng() % oneIn != 0)
        return;
    const int* table = m_bRed ? red : blue;
    key[table[m_rng() % 13]] = 1;
}
