#ifndef ENDSCREEN_H
#define ENDSCREEN_H

#include <string>

struct BITMAP;
class zolMatchStats;

// What a finished match shows: who won, how long it took, what each side's hives gave it and
// what it lost, its largest army, and both armies over the match, plotted a point a second.
struct zolEndView
{
    int winner = -1; // 1 red, 0 blue, -1 nobody
    int ticks = 0;
    zolMatchStats* stats = nullptr; // the match's; not owned
    std::string sides[2];           // "blue: computer, normal", "red: keys WASD"
    bool rematch = true;            // Enter offers another match with the same sides and map
};

void DrawEndScreen(BITMAP* bmp, const zolEndView& view);
// Shows it until Enter (true: play again, when offered) or Esc (false), answering F11 meanwhile.
bool ShowEndScreen(BITMAP* bmp, const zolEndView& view);

#endif
