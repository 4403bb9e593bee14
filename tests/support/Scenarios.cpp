#include "Scenarios.h"

#include <allegro.h>

#include "Main.h"
#include "zolMap.h"
#include "zolTile.h"

zolMap* NewWarMap()
{
    zolMap* map = new zolMap();
    map->SetSize(20, 14);
    map->FillBlanks(g_pvTileTypes[TILE_FLOOR]);
    for (int y = 0; y < 14; y++)
        for (int x = 0; x < 20; x++)
        {
            if (x % 3 == 1 && y % 3 == 1)
                map->SetTile(x, y, g_pvTileTypes[TILE_HIVE]);
            else if (x == 9 || x == 10)
                map->SetTile(x, y, g_pvTileTypes[TILE_TRAINER]);
            map->SetTileLit(x, y, x < 10);
            map->GetTile(x, y)->SetHealth(8000);
        }
    return map;
}

void KeyScript::Press(int oneIn)
{
    if (m_rng() % oneIn != 0)
        return;
    const int* table = m_bRed ? g_dwvRedKeys : g_dwvBlueKeys;
    key[table[m_rng() % SIDE_KEYS]] = 1;
}
