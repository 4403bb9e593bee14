#ifndef TITLEMENU_H
#define TITLEMENU_H

struct BITMAP;
class zolMapChoice;
class zolRecorder;

// The title menu until Exit is chosen. Up and Down choose an entry (zolMenuEntry in Main.h) and
// stop at the ends, Enter takes it; Left and Right change the computer's level on its entry and
// the map on the map's, both shown beside their entries. The choice, the level and the map
// survive each match, so the menu comes back as it was left. title and menu: the pictures (menu
// by zolMenuEntry), not owned. recorder, when not null, records the first match played; level:
// the computer's to begin with (zolLevel).
void RunTitleMenu(BITMAP* backBuffer, BITMAP* title, BITMAP** menu, zolRecorder* recorder,
                  int level, zolMapChoice& maps);

#endif
