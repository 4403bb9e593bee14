#ifndef ZOLCOMMAND_H
#define ZOLCOMMAND_H

struct BITMAP;
class zolTile;
class zolTileType;

// A standing order one side leaves on one tile. A controller creates it, sets its side, and
// hands it to a tile's SetCommand; an accepted command belongs to the tile from then on.
// Update() and Collision() need the tile: they are never called before it is placed.
class zolCommand
{
public:
    zolCommand(); // blue, on no tile
    virtual ~zolCommand();

    virtual void Draw(BITMAP* bmp, int x, int y); // (x, y): the mark's centre; base: nothing
    virtual void Update();                        // once per tick; base: nothing
    virtual void Collision(bool side); // a unit of side bounced off the tile; base: nothing
    virtual void SetSide(bool side) { m_bSide = side; }
    virtual void SetTile(zolTile* tile) { m_pTile = tile; }
    virtual bool GetSide() { return m_bSide; }
    virtual zolTile* GetTile() { return m_pTile; }

protected:
    int CommandColour(); // the side's flickering colour: one zolRand() per call

    bool m_bSide;     // true red, false blue
    zolTile* m_pTile; // the tile whose slot holds this; not owned
};

#endif
