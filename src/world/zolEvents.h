#ifndef ZOLEVENTS_H
#define ZOLEVENTS_H

// What happened, told to whoever listens: the sound, and a match gathering its figures. Telling
// has no say in the game: a listener must not change any game state nor draw from zolRand(), so
// that a seeded match plays out the same with a listener or without. With none attached an
// event costs one test.
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

// Adds a listener (not owned), told of every event after those added before it, until it stops.
// At most four listen at once; a fifth is not heard from.
void zolListen(zolEventListener* listener);
void zolStopListening(zolEventListener* listener); // nothing when it was not listening

inline zolEventListener* g_pvListeners[4] = {};
inline int g_dwListeners = 0;

inline void zolEmit(zolEvent kind, int x = -1, int y = -1)
{
    for (int i = 0; i < g_dwListeners; i++)
        g_pvListeners[i]->OnEvent(kind, x, y);
}

#endif
