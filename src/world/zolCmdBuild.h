#ifndef ZOLCMDBUILD_H
#define ZOLCMDBUILD_H

#include "zolCommand.h"

// Turns an own tile into another kind after a fixed amount of work. Each tick the work shrinks by
// max(1, n / 4), n the units of the build's side on the tile; enemies neither help nor hinder.
// Done, the tile takes the type, stays the builder's, and the build removes itself. The trainer,
// hive and thorns builds differ only in their work, picture and type.
class zolCmdBuild : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override; // the picture and a progress bar
    void Update() override;                        // may destroy this command

    int GetWorkLeft() { return m_dwWorkLeft; }
    int GetTotalWork() { return m_dwTotalWork; }
    void SetWorkLeft(int work) { m_dwWorkLeft = work; } // a saved state taken up again
    BITMAP* GetPicture() { return *m_ppPicture; }       // the kind's; null while unloadable

protected:
    // picture: the slot shared by every build of this kind, filled from Data/ by the first
    // construction that finds it empty (so a picture that failed is tried again at the next), unless
    // the tile set is headless.
    zolCmdBuild(int totalWork, BITMAP** picture, int pictureFile);
    void SetBuildType(zolTileType* type) { m_pBuildType = type; }

private:
    int m_dwTotalWork;
    int m_dwWorkLeft;
    BITMAP** m_ppPicture;      // the kind's shared picture; null inside while unloadable
    zolTileType* m_pBuildType; // what the tile becomes; not owned
};

#endif
