#ifndef ZOLCMDTRAINER_H
#define ZOLCMDTRAINER_H

#include "zolCommand.h"

// The picture every trainer build shows, loaded by the first construction that finds it missing;
// null while Data/BuildTrainer.bmp cannot be loaded. Lives until the program ends.
extern BITMAP* g_pBmpTrainer;

// Turns an own tile into a trainer after 40000 units of work. Each tick the work
// shrinks by max(1, n / 4), n the units of the build's side on the tile; enemies neither help
// nor hinder. Done, the tile takes the type, stays the builder's, and the build removes itself.
class zolCmdTrainer : public zolCommand
{
public:
    zolCmdTrainer();

    void Draw(BITMAP* bmp, int x, int y) override;      // the picture and a progress bar
    void Update() override;                             // may destroy this command
    virtual void SetTrainerType(zolTileType* type)   { m_pTrainerType = type; }

    int GetWorkLeft()               { return m_dwWorkLeft; }

    static const int TOTAL_WORK = 40000;

private:
    int          m_dwWorkLeft;
    zolTileType* m_pTrainerType;       // what the tile becomes; not owned
};

#endif
