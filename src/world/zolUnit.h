#ifndef ZOLUNIT_H
#define ZOLUNIT_H

#include <list>

struct BITMAP;
class zolTile;

// Rule tables by rank (unit type) 0..7.
extern int zu_dwvMaxHealth[8];  // health cap, and the full heal on reaching the rank
extern int zu_dwvDamage[8];     // share of the side's combat total on a tile
extern int zu_dwvTileDamage[8]; // heals own ground, wears the other side's, per tick
extern int zu_dwMaxUnits;       // per-side cap for hives; 1500 unless MaxUnits.cfg says otherwise

// One small creature of one side. Units are never steered: they drift, are pushed by their
// side's arrows, fight on shared tiles and rise in rank on their side's trainers.
class zolUnit
{
public:
    zolUnit(); // draws position and velocity: four zolRand() calls

    void Move();                          // one tick; leaves GetTile() null when the unit dies
    void Draw(BITMAP* bmp, int x, int y); // (x, y): pixel centre of the unit's tile

    void IncHealth(int n) // capped at the rank's maximum
    {
        int cap = zu_dwvMaxHealth[m_dwType];
        m_dwHealth = m_dwHealth + n < cap ? m_dwHealth + n : cap;
    }
    void DecHealth(int n) { m_dwHealth -= n; } // no floor: below 0 dies at the next Move()
    void IncExp();                             // may rise a rank, with a full heal
    void AddVel(float dx, float dy)
    {
        m_fVelX += dx;
        m_fVelY += dy;
    }

    zolTile* GetTile() { return m_pTile; }
    void SetTile(zolTile* tile) { m_pTile = tile; }
    int GetColor() { return m_dwColor; }
    void SetColor(int colour) { m_dwColor = colour; }
    bool GetSide() { return m_bSide; }
    void SetSide(bool side) { m_bSide = side; }
    int GetType() { return m_dwType; }
    void SetType(int type) { m_dwType = type; }
    int GetHealth() { return m_dwHealth; }
    void SetHealth(int health) { m_dwHealth = health; }
    int GetExp() { return m_dwExp; }
    void SetExp(int exp) { m_dwExp = exp; }
    float GetX() { return m_fX; }
    float GetY() { return m_fY; }
    float GetVelX() { return m_fVelX; }
    float GetVelY() { return m_fVelY; }
    void SetPos(float x, float y)
    {
        m_fX = x;
        m_fY = y;
    }
    void SetVel(float vx, float vy)
    {
        m_fVelX = vx;
        m_fVelY = vy;
    }

private:
    friend class zolTile; // keeps the unit's place in its list, below

    int m_dwType;           // rank 0..7
    int m_dwColor;          // a makecol() value
    bool m_bSide;           // true red, false blue
    float m_fX, m_fY;       // -1..+1 across the tile; 1.0 is 16 pixels
    float m_fVelX, m_fVelY; // position units per 100 ticks
    int m_dwHealth;         // dead below 0
    int m_dwExp;            // toward the next rank
    zolTile* m_pTile;       // not owned; null once dead

    // Where the unit stands in a tile's list, so that leaving it costs no search: the tile whose
    // list holds m_itListEntry, or null when the unit is in none.
    zolTile* m_pListTile;
    std::list<zolUnit*>::iterator m_itListEntry;
};

#endif
