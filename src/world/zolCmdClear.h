#ifndef ZOLCMDCLEAR_H
#define ZOLCMDCLEAR_H

#include "zolCommand.h"

// Digs a solid tile out: the 100th bounce of its own side's units against the tile turns it into
// the clear type, owned by the Clear's side with health 0, and the Clear removes itself.
class zolCmdClear : public zolCommand
{
public:
    zolCmdClear();

    void Draw(BITMAP* bmp, int x, int y) override; // a cross
    void Collision(bool side) override;            // may destroy this command
    virtual void SetClearType(zolTileType* type) { m_pClearType = type; }

    int GetHitsLeft() { return m_dwHitsLeft; }
    void SetHitsLeft(int hits) { m_dwHitsLeft = hits; } // a saved state taken up again

private:
    int m_dwHitsLeft;          // own-side bounces still needed
    zolTileType* m_pClearType; // what the tile becomes; not owned
};

#endif
