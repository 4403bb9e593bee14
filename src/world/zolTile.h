#ifndef ZOLTILE_H
#define ZOLTILE_H

#include <list>

#include "zolTileType.h"

struct BITMAP;
class zolMap;
class zolUnit;
class zolCommand;

// One cell of the map: its kind, its owner (lit is red, unlit blue), its health, its four
// neighbours, the units standing on it and one command slot per side. Each tick it settles the
// fight between the units on it, lets its type and commands act, and lets the units heal or wear
// it; worn to nothing, it changes owner. Arrays by side: index 0 blue, 1 red.
class zolTile
{
public:
    zolTile();
    ~zolTile(); // destroys the commands in its slots, not the units
    zolTile(const zolTile&) = delete;
    zolTile& operator=(const zolTile&) = delete;

    void Draw(BITMAP* bmp, int x, int y);      // (x, y): the tile's top-left pixel
    void DrawUnits(BITMAP* bmp, int x, int y); // units, then blue's and red's command marks
    void Update();

    void SetType(zolTileType* type) { m_pType = type; }
    void SetLit(bool lit);  // may destroy both commands, see the .cpp
    void CheckNeighbours(); // recounts the lit-neighbour mask
    // dir clamped to 0..3 (0 N, 1 E, 2 S, 3 W)
    void SetNeighbour(int dir, zolTile* tile) { m_pNeighbour[ClampDir(dir)] = tile; }
    zolTile* GetNeighbour(int dir) { return m_pNeighbour[ClampDir(dir)]; }

    void AddUnit(zolUnit* unit);           // also points the unit at this tile
    void MoveUnit(zolUnit* unit, int dir); // hands the unit to the neighbour; no solidity test
    void RemoveUnit(zolUnit* unit);        // leaves the unit's own tile pointer alone

    bool IsSolid() { return !m_pType || m_pType->IsSolid(); } // no type: solid
    bool IsLit() { return m_bLit; }
    void DecHealth(int n); // at 0 or below: 4096 and a change of owner
    void IncHealth(int n); // capped at 8192
    void SetHealth(int n) { m_dwHealth = n; }
    int GetHealth() { return m_dwHealth; }

    // Accepted only on a solid tile or the side's own; a refused command stays its creator's.
    // The tile owns an accepted command and destroys the one it replaces; null empties the slot.
    void SetCommand(bool side, zolCommand* cmd);
    zolCommand* GetCommand(bool side) { return m_pCommand[side]; }

    zolTileType* GetType() { return m_pType; }
    zolMap* GetMap() { return m_pMap; }
    void SetMap(zolMap* map) { m_pMap = map; }
    void SetPos(int x, int y)
    {
        m_dwX = x;
        m_dwY = y;
    }
    int GetX() { return m_dwX; } // column on the map; -1 off any map
    int GetY() { return m_dwY; }
    int GetLitMask() { return m_dwLitMask; }
    std::list<zolUnit*>& GetUnits() { return m_pvUnits; }
    int GetDamage(bool side) { return m_dwvDamage[side]; }

    // For a saved state taken up again (Snapshot.h) and nothing else: the last tick's damage
    // totals, and a command put in its slot as it stood, taken over without the test SetCommand
    // makes (a Clear may outlive its rock on the other side's ground).
    void RestoreDamage(int blue, int red)
    {
        m_dwvDamage[0] = blue;
        m_dwvDamage[1] = red;
    }
    void RestoreCommand(bool side, zolCommand* cmd);

private:
    static int ClampDir(int dir) { return dir < 0 ? 0 : dir > 3 ? 3 : dir; }
    std::list<zolUnit*>::iterator FindUnit(zolUnit* unit); // end() when not listed here

    zolTileType* m_pType; // shared, not owned; null: solid and not drawn
    bool m_bLit;          // owner: true red, false blue
    int m_dwHealth;
    zolMap* m_pMap;                // the map holding the tile; not owned
    int m_dwX, m_dwY;              // its cell on that map, told by the events it makes
    int m_dwLitMask;               // lit neighbours: N 1, E 2, S 4, W 8
    zolTile* m_pNeighbour[4];      // not owned; null at the grid's edge or an empty cell
    std::list<zolUnit*> m_pvUnits; // not owned: the map's list owns the units
    int m_dwvDamage[2];            // combat damage summed per side by the last Update()
    zolCommand* m_pCommand[2];     // owned; null when the side has none here
};

#endif
