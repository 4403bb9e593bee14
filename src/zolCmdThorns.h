#ifndef ZOLCMDTHORNS_H
#define ZOLCMDTHORNS_H

#include "zolCommand.h"

// The picture every thorns build shows, loaded by the first construction that finds it missing;
// null while Data/BuildThorns.bmp cannot be loaded. Lives until the program ends.
extern BITMAP* g_pBmpThorns;

// Turns an own tile into thorns after 20000 units of work. Each tick the work
// shrinks by max(1, n / 4), n the units of the build's side on the tile; enemies neither help
// nor hinder. Done, the tile takes the type, stays the builder's, and the build removes itself.
class zolCmdThorns : public zolCommand
{
public:
    zolCmdThorns();

    void Draw(BITMAP* bmp, int x, int y) override;      // the picture and a progress bar
    void Update() override;                             // may destroy this command
    virtual void SetThornsType(zolTileType* type)   { m_pThornsType = type; }

    int GetWorkLeft()               { return m_dwWorkLeft; }

    static const int TOTAL_WORK = 20000;

private:
    int          m_dwWorkLeft;
    zolTileType* m_pThornsType;       // what the tile becomes; not owned
};

#endif
