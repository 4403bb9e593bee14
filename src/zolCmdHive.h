#ifndef ZOLCMDHIVE_H
#define ZOLCMDHIVE_H

#include "zolCommand.h"

// The picture every hive build shows, loaded by the first construction that finds it missing;
// null while Data/BuildHive.bmp cannot be loaded. Lives until the program ends.
extern BITMAP* g_pBmpHive;

// Turns an own tile into a hive after 160000 units of work. Each tick the work
// shrinks by max(1, n / 4), n the units of the build's side on the tile; enemies neither help
// nor hinder. Done, the tile takes the type, stays the builder's, and the build removes itself.
class zolCmdHive : public zolCommand
{
public:
    zolCmdHive();

    void Draw(BITMAP* bmp, int x, int y) override;      // the picture and a progress bar
    void Update() override;                             // may destroy this command
    virtual void SetHiveType(zolTileType* type)   { m_pHiveType = type; }

    int GetWorkLeft()               { return m_dwWorkLeft; }

    static const int TOTAL_WORK = 160000;

private:
    int          m_dwWorkLeft;
    zolTileType* m_pHiveType;       // what the tile becomes; not owned
};

#endif
