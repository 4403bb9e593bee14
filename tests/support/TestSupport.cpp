#include "TestSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

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
    // Every test process works in a folder of its own, so that two runs at once never share a
    // file: the run folder's pictures and unit cap are seen from there, and what a test writes
    // goes with the folder.
    namespace fs = std::filesystem;
    fs::path origin = fs::current_path();
    char dir[] = "/tmp/glowfront-test-XXXXXX";
    std::error_code e;
    if (!mkdtemp(dir))
        return perror("a folder for the tests"), 1;
    fs::create_directory_symlink(origin / "Data", fs::path(dir) / "Data", e);
    fs::copy_file(origin / "MaxUnits.cfg", fs::path(dir) / "MaxUnits.cfg", e);
    fs::current_path(dir);
    int result = RUN_ALL_TESTS();
    ReleaseTiles();
    fs::current_path(origin);
    fs::remove_all(dir, e);
    return result;
}
