#include "MatchStats.h"

#include <algorithm>

#include "zolMap.h"
#include "zolTile.h"
#include "zolUnit.h"

zolMatchStats::zolMatchStats(zolMap* map)
    : m_pMap(map), m_dwvBorn{0, 0}, m_dwvStart{0, 0}, m_dwvLargest{0, 0}
{
    for (zolUnit* unit : map->GetUnits())
        m_dwvStart[unit->GetSide()]++;
    m_dwvLargest[0] = m_dwvStart[0];
    m_dwvLargest[1] = m_dwvStart[1];
}

void zolMatchStats::OnEvent(zolEvent kind, int x, int y)
{
    // A hive spawns for whoever owns its tile at that moment.
    if (kind == zolEvent::UnitBorn)
        if (zolTile* tile = m_pMap->GetTile(x, y))
            m_dwvBorn[tile->IsLit()]++;
}

void zolMatchStats::AfterTick(int tick)
{
    for (int side = 0; side < 2; side++)
        m_dwvLargest[side] = std::max(m_dwvLargest[side], m_pMap->GetUnitCount(side));
    if (tick % 100 == 0)
        m_vArmies.push_back({m_pMap->GetUnitCount(false), m_pMap->GetUnitCount(true)});
}

int zolMatchStats::GetLost(bool side)
{
    return m_dwvStart[side] + m_dwvBorn[side] - m_pMap->GetUnitCount(side);
}

void zolMatchStats::Restore(const int born[2], const int largest[2], const int start[2],
                            std::vector<std::array<int, 2>> armies)
{
    for (int side = 0; side < 2; side++)
    {
        m_dwvBorn[side] = born[side];
        m_dwvLargest[side] = largest[side];
        m_dwvStart[side] = start[side];
    }
    m_vArmies = std::move(armies);
}
