#include "TileSet.h"

#include <allegro.h>

#include "Pictures.h"
#include "zolBmpGen.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolTTHive.h"
#include "zolTTThorns.h"
#include "zolTTTrainer.h"
#include "zolTileType.h"

std::vector<zolTileType*> g_pvTileTypes;

namespace
{
    bool bHeadless = false;
}

namespace
{
    // The picture each kind is lit from, by zolTileKind; rock has none and is plain black.
    const int SOURCES[TILE_KINDS] = {-1, PIC_Floor, PIC_Hive, PIC_Trainer, PIC_Thorns};

    BITMAP* TileSource(int kind)
    {
        if (SOURCES[kind] < 0)
        {
            BITMAP* rock = create_bitmap(32, 32);
            if (rock)
                clear_to_color(rock, makecol(0, 0, 0));
            return rock;
        }
        BITMAP* src =
            zolLoadPicture(PicturePath(SOURCES[kind]), TILE_PICTURE_SIZE, TILE_PICTURE_SIZE);
        if (src && (src->w != 32 || src->h != 32))
        {
            // Tiles are drawn 32 x 32 from their corner: another size is scaled to fit the grid.
            BITMAP* scaled = create_bitmap(32, 32);
            if (scaled)
                stretch_blit(src, scaled, 0, 0, src->w, src->h, 0, 0, 32, 32);
            destroy_bitmap(src);
            src = scaled;
        }
        return src;
    }

    zolTileType* NewTileType(int kind)
    {
        switch (kind)
        {
        case TILE_HIVE: return new zolTTHive();
        case TILE_TRAINER: return new zolTTTrainer();
        case TILE_THORNS: return new zolTTThorns();
        default: return new zolTileType();
        }
    }
}

bool BuildTiles(const char** failedFile)
{
    for (int kind = 0; kind < TILE_KINDS; kind++)
    {
        BITMAP* src = TileSource(kind);
        if (!src)
        {
            if (failedFile)
                *failedFile = kind == TILE_ROCK ? "(rock picture)" : PicturePath(SOURCES[kind]);
            ReleaseTiles();
            return false;
        }
        zolTileType* type = NewTileType(kind);
        type->Build(src);
        type->SetSolid(kind == TILE_ROCK);
        g_pvTileTypes.push_back(type);
        destroy_bitmap(src);
    }
    return true;
}

void BuildTilesHeadless()
{
    ReleaseTiles();
    for (int kind = 0; kind < TILE_KINDS; kind++)
    {
        zolTileType* type = NewTileType(kind);
        type->SetSolid(kind == TILE_ROCK);
        g_pvTileTypes.push_back(type);
    }
    bHeadless = true;
}

bool TilesHeadless()
{
    return bHeadless;
}

void ReleaseTiles()
{
    bHeadless = false;
    for (zolTileType* type : g_pvTileTypes)
        delete type;
    g_pvTileTypes.clear();
    for (BITMAP** picture : {&g_pBmpTrainer, &g_pBmpHive, &g_pBmpThorns})
    {
        if (*picture)
            destroy_bitmap(*picture);
        *picture = nullptr;
    }
}
