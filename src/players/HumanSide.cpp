#include "HumanSide.h"

#include <allegro.h>

#include "Orders.h"
#include "zolMap.h"
#include "zolTile.h"

const int g_dwvRedKeys[SIDE_KEYS] = {KEY_A, KEY_D, KEY_W, KEY_S, KEY_Y, KEY_J, KEY_H,
                                     KEY_G, KEY_T, KEY_B, KEY_N, KEY_M, KEY_U};
const int g_dwvBlueKeys[SIDE_KEYS] = {KEY_LEFT,  KEY_RIGHT, KEY_UP,    KEY_DOWN,  KEY_8_PAD,
                                      KEY_6_PAD, KEY_5_PAD, KEY_4_PAD, KEY_7_PAD, KEY_1_PAD,
                                      KEY_2_PAD, KEY_3_PAD, KEY_9_PAD};

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

bool OrderAllowed(int order, zolTile* tile, bool side)
{
    if (order == ORDER_CLEAR)
        return tile->IsSolid();
    if (order == ORDER_REMOVE)
        return tile->IsSolid() || tile->IsLit() == side;
    // A tile at health 16 or less takes no command: a fresh base must be healed first.
    return !tile->IsSolid() && tile->IsLit() == side && tile->GetHealth() > 16;
}

namespace
{
    unsigned KeysDown(const int* table)
    {
        unsigned down = 0;
        for (int k = 0; k < SIDE_KEYS; k++)
            if (key[table[k]])
                down |= 1u << k;
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
                    bool* refused)
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
        bool done = tile && OrderAllowed(order, tile, side);
        if (done && order == ORDER_REMOVE)
            tile->SetCommand(side, nullptr);
        else if (done)
            done = PlaceCommand(tile, order, side);
        if (!done && refused)
            *refused = true;
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
    bool refused = false;
    Spend(DoSideKeys(m_dwLastKeys, m_bSide, cursor, map, width, height, &refused));
    if (refused)
        m_dwRefusedAt = m_dwTicks;
}

unsigned zolKeyboardSide::TakeKeys()
{
    return KeysDown(GetSide() ? g_dwvRedKeys : g_dwvBlueKeys);
}

void zolKeyboardSide::Spend(unsigned spent)
{
    Release(GetSide() ? g_dwvRedKeys : g_dwvBlueKeys, spent);
}
