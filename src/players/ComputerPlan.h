#ifndef COMPUTERPLAN_H
#define COMPUTERPLAN_H

#include "Orders.h"
#include "zolAI.h"
#include "zolMap.h"
#include "zolTile.h"

// The map as a computer player sees it: turned half round for red, so that every level's
// thinking is written once, for a player whose base is at the bottom right. Seen coordinates,
// directions and orders go through here; the map, the jobs and the cursor stay as they are.
class zolSideView
{
public:
    zolSideView(zolMap* map, int width, int height, bool side)
        : m_pMap(map), m_dwWidth(width), m_dwHeight(height), m_bSide(side)
    {
    }

    // Seen to the map's and back: the same turn both ways.
    int X(int x) { return m_bSide ? m_dwWidth - 1 - x : x; }
    int Y(int y) { return m_bSide ? m_dwHeight - 1 - y : y; }
    int Dir(int dir) { return m_bSide ? (dir + 2) % 4 : dir; } // 0 N, 1 E, 2 S, 3 W
    int Order(int order) // an arrow turns with the map; any other order stays
    {
        return order >= ORDER_NORTH && order <= ORDER_WEST ? ORDER_NORTH + Dir(order - ORDER_NORTH)
                                                           : order;
    }

    zolTile* At(int x, int y) { return m_pMap->GetTile(X(x), Y(y)); } // null off the map
    zolTile* Next(zolTile* tile, int dir) { return tile->GetNeighbour(Dir(dir)); }
    // Rock is never anyone's: it is always unlit, so blue's "unlit" is "own or rock".
    bool Own(zolTile* tile) { return tile && !tile->IsSolid() && tile->IsLit() == m_bSide; }
    bool Enemy(zolTile* tile) { return tile && !tile->IsSolid() && tile->IsLit() != m_bSide; }
    zolCommand* Mine(zolTile* tile) { return tile->GetCommand(m_bSide); }
    int Arrow(zolTile* tile); // the direction of the player's arrow there, seen; -1: none

    int Width() { return m_dwWidth; }
    int Height() { return m_dwHeight; }
    bool Side() { return m_bSide; }
    zolMap* Map() { return m_pMap; }

private:
    zolMap* m_pMap; // not owned
    int m_dwWidth, m_dwHeight;
    bool m_bSide;
};

// One think of a computer player: what it sees and the jobs it may queue, both in seen terms.
struct zolPlan
{
    zolSideView& view;
    zolComputer& player;
    int& refresh;         // the player's thinks since its last survey
    int cursorX, cursorY; // seen

    void Back(int order, int x, int y)
    {
        player.AddJobBack(view.Order(order), view.X(x), view.Y(y), 0);
    }
    void Front(int order, int x, int y)
    {
        player.AddJobFront(view.Order(order), view.X(x), view.Y(y), 0);
    }
    bool HasJob(int x, int y); // at the seen tile
};

// Each level's think, called when the player acts with no job waiting.
void ThinkNormal(zolPlan& plan);
void ThinkEasy(zolPlan& plan);
void ThinkHard(zolPlan& plan);

#endif
