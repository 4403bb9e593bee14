#ifndef HUMANSIDE_H
#define HUMANSIDE_H

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

// Allegro scancodes by zolSideKey. Red: W A S D and the keys around H; blue: the arrows and the
// keypad. Both action blocks have one shape: an inverted T of arrows, Clear left of North,
// Remove right of it, the builds on the row below.
extern const int g_dwvRedKeys[SIDE_KEYS];
extern const int g_dwvBlueKeys[SIDE_KEYS];

// The order each action key gives (Orders.h), from SK_NORTH on; none for the moves.
int SideKeyOrder(int sideKey);

// One tick of a side given the keys that are down, as a mask of 1 << zolSideKey: moves the
// cursor, then carries out the actions in table order, each seeing what the earlier ones did.
// Returns the keys spent: every action key pressed, and each move that was made (a blocked move
// stays held, so it acts as soon as it can). refused, when given, tells whether an action was
// refused by the tile under the cursor.
unsigned DoSideKeys(unsigned down, bool side, int* cursor, zolMap* map, int width, int height,
                    bool* refused = nullptr);

// One tick of a human side from the library's key[]: the keys spent are released. True when an
// action was refused; down, when given, gets the keys that were down.
bool DoPlayerKeys(const int* table, bool side, int* cursor, zolMap* map, int width, int height,
                  unsigned* down = nullptr);
void DoPlayer1(int* cursor, zolMap* map, int width, int height); // red
void DoPlayer2(int* cursor, zolMap* map, int width, int height); // blue

// A person at the keyboard, with red's table or blue's.
class zolKeyboardSide : public zolController
{
public:
    explicit zolKeyboardSide(bool side) : m_bSide(side) {}

    void Tick(int* cursor, zolMap* map, int width, int height) override;

    // The keys this side had down in its last tick, as DoSideKeys takes them.
    unsigned GetLastKeys() { return m_dwLastKeys; }
    // Ticks since this side last pressed an order the tile refused; large when it never did.
    int TicksSinceRefusal() { return m_dwTicks - m_dwRefusedAt; }

private:
    bool m_bSide; // true red, false blue
    int m_dwTicks = 0;
    int m_dwRefusedAt = -1000000;
    unsigned m_dwLastKeys = 0;
};

// A human side whose keys come from elsewhere: a recording, or the other machine.
class zolScriptedSide : public zolController
{
public:
    explicit zolScriptedSide(bool side) : m_bSide(side) {}

    void SetKeys(unsigned down) { m_dwKeys = down; } // for the next tick
    unsigned GetKeys() { return m_dwKeys; }
    void Tick(int* cursor, zolMap* map, int width, int height) override
    {
        DoSideKeys(m_dwKeys, m_bSide, cursor, map, width, height);
    }

private:
    bool m_bSide;
    unsigned m_dwKeys = 0;
};

#endif
