#include "HumanSide.h"

#include <allegro.h>

#include "Keyboard.h"
#include "Orders.h"
#include "zolMap.h"
#include "zolTile.h"

#define RED_KEYS                                                                                   \
    {                                                                                              \
        KEY_A, KEY_D, KEY_W, KEY_S, KEY_Y, KEY_J, KEY_H, KEY_G, KEY_T, KEY_B, KEY_N, KEY_M, KEY_U  \
    }
#define BLUE_KEYS                                                                                  \
    {                                                                                              \
        KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_8_PAD, KEY_6_PAD, KEY_5_PAD, KEY_4_PAD,         \
            KEY_7_PAD, KEY_1_PAD, KEY_2_PAD, KEY_3_PAD, KEY_9_PAD                                  \
    }
const int g_dwvDefaultRedKeys[SIDE_KEYS] = RED_KEYS;
const int g_dwvDefaultBlueKeys[SIDE_KEYS] = BLUE_KEYS;
int g_dwvRedKeys[SIDE_KEYS] = RED_KEYS;
int g_dwvBlueKeys[SIDE_KEYS] = BLUE_KEYS;

int SideKeyOrder(int sideKey)
{
    static const int ORDERS[SIDE_KEYS] = {0,
                                          0,
                                          0,
                                          0,
                                          ORDER_NORTH,
                                          ORDER_EAST,
                                          ORDER_SOUTH,
                                          ORDER_WEST,
                                          ORDER_CLEAR,
                                          ORDER_THORNS,
                                          ORDER_TRAINER,
                                          ORDER_HIVE,
                                          ORDER_REMOVE};
    return sideKey >= 0 && sideKey < SIDE_KEYS ? ORDERS[sideKey] : 0;
}

zolRefusal OrderRefusal(int order, zolTile* tile, bool side)
{
    if (order == ORDER_CLEAR)
        return tile->IsSolid() ? REFUSAL_NONE : REFUSAL_CLEAR_NEEDS_ROCK;
    if (tile->IsSolid())
        return order == ORDER_REMOVE ? REFUSAL_NONE : REFUSAL_ROCK;
    if (tile->IsLit() != side)
        return REFUSAL_NOT_YOURS;
    // A tile at health 16 or less takes no command: a fresh base must be healed first.
    return order == ORDER_REMOVE || tile->GetHealth() > 16 ? REFUSAL_NONE : REFUSAL_WEAK;
}

namespace
{
    // A key counts as down when it is held, or was tapped since the last tick looked: a tap
    // shorter than a tick still acts, once.
    unsigned KeysDown(const int* table)
    {
        unsigned down = 0;
        for (int k = 0; k < SIDE_KEYS; k++)
        {
            bool tapped = TakeTap(table[k]);
            if (key[table[k]] || tapped)
                down |= 1u << k;
        }
        return down;
    }

    void Release(const int* table, unsigned spent)
    {
        for (int k = 0; k < SIDE_KEYS; k++)
            if (spent >> k & 1)
                key[table[k]] = 0;
    }
}

unsigned DoSideKeys(unsigned down, bool side, int* cursor, zolMap* map, int width, int height,
                    zolRefusal* refused)
{
    int& x = cursor[0];
    int& y = cursor[1];
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    unsigned spent = 0;
    for (int k = SK_LEFT; k <= SK_DOWN; k++)
    {
        // Each bound is looked at after the moves before it: left and right together cancel.
        bool open = k == SK_LEFT    ? x > 0
                    : k == SK_RIGHT ? x < width - 1
                    : k == SK_UP    ? y > 0
                                    : y < height - 1;
        if ((down >> k & 1) && open)
        {
            spent |= 1u << k;
            x += steps[k][0];
            y += steps[k][1];
        }
    }

    for (int k = SK_NORTH; k <= SK_REMOVE; k++)
    {
        if (!(down >> k & 1))
            continue;
        spent |= 1u << k; // spent whether or not the action is allowed
        zolTile* tile = map->GetTile(x, y);
        int order = SideKeyOrder(k);
        zolRefusal why = tile ? OrderRefusal(order, tile, side) : REFUSAL_NOT_YOURS;
        if (why == REFUSAL_NONE && order == ORDER_REMOVE)
            tile->SetCommand(side, nullptr);
        else if (why == REFUSAL_NONE && !PlaceCommand(tile, order, side))
            why = REFUSAL_NOT_YOURS;
        if (why != REFUSAL_NONE && refused)
            *refused = why;
    }
    return spent;
}

void DoPlayer1(int* cursor, zolMap* map, int width, int height)
{
    zolKeyboardSide(true).Tick(cursor, map, width, height);
}

void DoPlayer2(int* cursor, zolMap* map, int width, int height)
{
    zolKeyboardSide(false).Tick(cursor, map, width, height);
}

void zolHumanSide::Tick(int* cursor, zolMap* map, int width, int height)
{
    m_dwTicks++;
    m_dwLastKeys = TakeKeys();
    zolRefusal refused = REFUSAL_NONE;
    Spend(DoSideKeys(m_dwLastKeys, m_bSide, cursor, map, width, height, &refused));
    if (refused != REFUSAL_NONE)
    {
        m_dwRefusedAt = m_dwTicks;
        m_eRefusal = refused;
        zolTile* tile = map->GetTile(cursor[0], cursor[1]);
        m_dwRefusedHealth = tile ? tile->GetHealth() : 0;
    }
}

unsigned zolKeyboardSide::TakeKeys()
{
    return KeysDown(GetSide() ? g_dwvRedKeys : g_dwvBlueKeys);
}

void zolKeyboardSide::Spend(unsigned spent)
{
    Release(GetSide() ? g_dwvRedKeys : g_dwvBlueKeys, spent);
}

std::string zolHumanSide::RefusalText()
{
    switch (m_eRefusal)
    {
    case REFUSAL_NOT_YOURS: return "not your ground";
    case REFUSAL_WEAK: return "health " + std::to_string(m_dwRefusedHealth) + ": heal it first";
    case REFUSAL_ROCK: return "rock: Clear it first";
    case REFUSAL_CLEAR_NEEDS_ROCK: return "Clear needs rock";
    default: return "";
    }
}
