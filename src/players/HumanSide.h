#ifndef HUMANSIDE_H
#define HUMANSIDE_H

#include <string>

#include "Controller.h"

// The keys of a side's table, in the order they are looked at each tick.
enum zolSideKey
{
    SK_LEFT,
    SK_RIGHT,
    SK_UP,
    SK_DOWN,
    SK_NORTH,
    SK_EAST,
    SK_SOUTH,
    SK_WEST,
    SK_CLEAR,
    SK_THORNS,
    SK_TRAINER,
    SK_HIVE,
    SK_REMOVE,
    SIDE_KEYS
};

// Allegro scancodes by zolSideKey, as set by default. Red: W A S D and the keys around H; blue:
// the arrows and the keypad. Both action blocks have one shape: an inverted T of arrows, Clear
// left of North, Remove right of it, the builds on the row below.
extern const int g_dwvDefaultRedKeys[SIDE_KEYS];
extern const int g_dwvDefaultBlueKeys[SIDE_KEYS];
// The tables in force, which every side at this keyboard reads: the defaults unless the
// player's settings change them (KeyConfig.h), once at start-up.
extern int g_dwvRedKeys[SIDE_KEYS];
extern int g_dwvBlueKeys[SIDE_KEYS];

// The order each action key gives (Orders.h), from SK_NORTH on; none for the moves.
int SideKeyOrder(int sideKey);

// Why the tile under a side's cursor refused an order.
enum zolRefusal
{
    REFUSAL_NONE,
    REFUSAL_NOT_YOURS,       // the other side's open ground
    REFUSAL_WEAK,            // own ground at health 16 or less
    REFUSAL_ROCK,            // an arrow or a build on rock
    REFUSAL_CLEAR_NEEDS_ROCK // Clear on open ground
};

class zolTile;

// Why a person's key for order would not act on the tile for side (REFUSAL_NONE: it would): Clear
// on rock only, Remove on rock or the side's own ground, anything else on the side's own open
// ground above health 16.
zolRefusal OrderRefusal(int order, zolTile* tile, bool side);
inline bool OrderAllowed(int order, zolTile* tile, bool side)
{
    return OrderRefusal(order, tile, side) == REFUSAL_NONE;
}

// One tick of a side given the keys that are down, as a mask of 1 << zolSideKey: moves the
// cursor, then carries out the actions in table order, each seeing what the earlier ones did.
// Returns the keys spent: every action key pressed, and each move that was made (a blocked move
// stays held, so it acts as soon as it can). refused, when given, gets why the last action the
// tile under the cursor refused was refused, and is left alone when none was.
unsigned DoSideKeys(unsigned down, bool side, int* cursor, zolMap* map, int width, int height,
                    zolRefusal* refused = nullptr);

// One tick of a human side from the library's key[], its table red's or blue's: the keys spent
// are released.
void DoPlayer1(int* cursor, zolMap* map, int width, int height); // red
void DoPlayer2(int* cursor, zolMap* map, int width, int height); // blue

// What decides a tick besides the rules and the computer: the frames drawn since the tick before
// it (their flicker draws from the game's random source) and the keys each human side had down,
// as masks of 1 << zolSideKey (0 for a side the computer plays).
struct zolTickInput
{
    int frames = 0;
    unsigned red = 0, blue = 0;
};

// A person's side: each tick it takes the keys that are down and plays them with DoSideKeys.
class zolHumanSide : public zolController
{
public:
    explicit zolHumanSide(bool side) : m_bSide(side) {}

    void Tick(int* cursor, zolMap* map, int width, int height) override;

    bool GetSide() { return m_bSide; }
    unsigned GetLastKeys() { return m_dwLastKeys; } // those its last tick played
    // Ticks since this side last pressed an order the tile refused; large when it never did.
    int TicksSinceRefusal() { return m_dwTicks - m_dwRefusedAt; }
    // Why, in a few words for the player: "health 12: heal it first"; empty before any refusal.
    std::string RefusalText();

protected:
    virtual unsigned TakeKeys() = 0;          // the keys down for this tick
    virtual void Spend(unsigned /*spent*/) {} // the tick used these up

private:
    bool m_bSide; // true red, false blue
    int m_dwTicks = 0;
    int m_dwRefusedAt = -1000000;
    zolRefusal m_eRefusal = REFUSAL_NONE;
    int m_dwRefusedHealth = 0; // of the tile that refused, when it did
    unsigned m_dwLastKeys = 0;
};

// A person at this keyboard, with red's table or blue's: reads key[] and releases what it spent.
class zolKeyboardSide : public zolHumanSide
{
public:
    explicit zolKeyboardSide(bool side) : zolHumanSide(side) {}

protected:
    unsigned TakeKeys() override;
    void Spend(unsigned spent) override;
};

// A person whose keys come from elsewhere: a recording, or the other machine.
class zolScriptedSide : public zolHumanSide
{
public:
    explicit zolScriptedSide(bool side) : zolHumanSide(side) {}

    void SetKeys(unsigned down) { m_dwKeys = down; } // for the next tick

protected:
    unsigned TakeKeys() override { return m_dwKeys; }

private:
    unsigned m_dwKeys = 0;
};

#endif
