#ifndef ZOLTILETYPE_H
#define ZOLTILETYPE_H

#include <vector>

struct BITMAP;
class zolTile;
class zolUnit;

// The five entries of g_pvTileTypes, by index.
enum zolTileKind
{
    TILE_ROCK, // solid, black: dug out by Clear
    TILE_FLOOR,
    TILE_HIVE,
    TILE_TRAINER,
    TILE_THORNS,
    TILE_KINDS
};

class zolTileType;
// The five tile types by zolTileKind, built once by BuildTiles (TileSet.h) and kept until the
// program ends; every tile of a kind points at its entry.
extern std::vector<zolTileType*> g_pvTileTypes;

// The shared description of one kind of tile: its seventeen pictures, whether units can enter,
// and what it does each tick to its tiles and to the units standing on them. Every tile of a
// kind points at the same type; the five types live from BuildTiles() to the end of the program.
class zolTileType
{
public:
    zolTileType();
    virtual ~zolTileType(); // destroys the pictures in the slots
    zolTileType(const zolTileType&) = delete;
    zolTileType& operator=(const zolTileType&) = delete;

    virtual void Build(BITMAP* src);    // 17 pictures lit by the generators; src stays the caller's
    virtual void Update(zolTile* tile); // once per tick for every tile of this type; base: nothing
    virtual void EffectUnit(zolUnit* unit, zolTile* tile); // once per tick per unit on such a tile

    // Unchecked: both need a built type.
    virtual BITMAP* GetLit() { return m_pvBmps[0]; }
    virtual BITMAP* GetUnlit(int mask) { return m_pvBmps[1 + (mask & 15)]; }

    virtual void SetBmp(int slot, BITMAP* bmp); // stores a copy; the caller keeps bmp
    virtual void SetSolid(bool solid) { m_bSolid = solid; }
    virtual BITMAP* GetBmp(int slot); // null outside the slots
    virtual bool IsSolid() { return m_bSolid; }

    // True when picture is the one in slot and holds no pixel of the mask colour, so that
    // copying it shows the same as drawing it masked.
    bool IsOpaque(int slot, BITMAP* picture);

private:
    void CheckOpaque(int slot);

    std::vector<BITMAP*> m_pvBmps; // slot 0 lit; slot 1 + m unlit for lit-neighbour mask m
    std::vector<bool> m_pvOpaque;  // by slot, as IsOpaque() tells
    bool m_bSolid;
};

#endif
