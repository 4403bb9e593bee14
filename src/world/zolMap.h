#ifndef ZOLMAP_H
#define ZOLMAP_H

#include <list>
#include <vector>

struct BITMAP;
class zolTile;
class zolTileType;
class zolUnit;

// The world of one match: a grid of tiles, row-major, and the list of every live unit of both
// sides in the order they were added. The map owns both its tiles and its units. Every cell
// operation ignores coordinates outside the grid.
class zolMap final
{
public:
    zolMap();  // 0 x 0, no units
    ~zolMap(); // destroys the units, then the tiles with their commands
    zolMap(const zolMap&) = delete;
    zolMap& operator=(const zolMap&) = delete;

    void SetSize(int w, int h); // keeps the overlap; creates, destroys and relinks nothing
    void SetTile(int x, int y,
                 zolTile* tile); // takes tile over, destroys the old one, links neighbours
    void SetTile(int x, int y,
                 zolTileType* type); // retypes the tile there, or creates an unlit one
    void SetTileLit(int x, int y, bool lit);
    void FillBlanks(zolTileType* type); // a new tile of type in every empty cell

    void Update(); // one tick: tiles in row order, then units; recounts sides
    void Draw(BITMAP* bmp, int x, int y); // (x, y): pixel of cell (0, 0)'s top-left corner

    virtual void AddUnit(zolUnit* unit); // appends; the map owns the unit from here
    virtual void
    RemoveUnit(zolUnit* unit); // unlists the first entry equal to unit; does not destroy it

    zolTile* GetTile(int x, int y)
    {
        if (x < 0 || x >= m_dwWidth || y < 0 || y >= m_dwHeight)
            return nullptr;
        return m_pvTiles[y * m_dwWidth + x];
    }
    int GetUnitCount(bool side) { return m_dwvUnitCount[side]; }
    // For a saved state taken up again: the counts as the last Update() left them.
    void RestoreUnitCounts(int blue, int red)
    {
        m_dwvUnitCount[0] = blue;
        m_dwvUnitCount[1] = red;
    }
    int GetWidth() { return m_dwWidth; }
    int GetHeight() { return m_dwHeight; }
    std::list<zolUnit*>& GetUnits() { return m_pvUnits; }

private:
    int m_dwWidth, m_dwHeight;       // in tiles
    std::vector<zolTile*> m_pvTiles; // cell (x, y) at y * m_dwWidth + x; null: empty cell
    std::list<zolUnit*> m_pvUnits;   // owned; every live unit
    int m_dwvUnitCount[2];           // live units per side after the last Update()
};

#endif
