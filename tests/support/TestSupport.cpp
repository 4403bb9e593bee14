#include "TestSupport.h"

#include <cerrno>
#include <cstdio>

zolMap* MakeFloorMap(int w, int h, int redColumns, int health)
{
    zolMap* map = new zolMap();
    map->SetSize(w, h);
    map->FillBlanks(g_pvTileTypes[TILE_FLOOR]);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
        {
            map->SetTileLit(x, y, x < redColumns);
            map->GetTile(x, y)->SetHealth(health);
        }
    return map;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        fprintf(stderr, "Allegro would not start headless\n");
        return 1;
    }
    set_color_depth(32);
    const char* failed = nullptr;
    if (!BuildTiles(&failed))
    {
        fprintf(stderr, "The tile set could not be built: %s (run the tests in the run folder)\n",
                failed);
        return 1;
    }
    int result = RUN_ALL_TESTS();
    ReleaseTiles();
    return result;
}
