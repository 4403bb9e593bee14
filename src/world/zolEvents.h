#ifndef ZOLEVENTS_H
#define ZOLEVENTS_H

// What happened, told to whoever listens, for sound and the like. Telling has no say in the game:
// a listener must not change any game state nor draw from zolRand(), so that a seeded match
// plays out the same with a listener or without. With none attached an event costs one test.
enum class zolEvent
{
    UnitBorn,   // a hive spawned a unit
    Blow,       // both sides struck on a tile this tick: one event a fighting tile a tick
    TileTaken,  // a tile worn to nothing changed owner
    BuildDone,  // a trainer, hive or thorns build finished
    RockOpened, // a Clear dug its rock into floor
    MenuMove,   // from here on the shell's own, without a place: the menu's choice moved
    MenuChoice, // a menu entry was chosen
    RedWins,    // red's win is shown
    BlueWins,   // blue's win is shown
};
constexpr int ZOL_EVENT_KINDS = 9;

class zolEventListener
{
public:
    virtual ~zolEventListener() {}
    // Called at once, on the thread that runs the ticks. (x, y): the tile in tiles; -1 for none.
    virtual void OnEvent(zolEvent kind, int x, int y) = 0;
};

extern zolEventListener* g_pEventListener; // not owned; null: nobody listens

inline void zolEmit(zolEvent kind, int x = -1, int y = -1)
{
    if (g_pEventListener)
        g_pEventListener->OnEvent(kind, x, y);
}

#endif
