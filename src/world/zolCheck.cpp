#include "zolCheck.h"

#include <cmath>
#include <cstring>
#include <sstream>
#include <typeinfo>
#include <unordered_map>

#include "Orders.h"
#include "zolCommand.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"
#include "zolUnit.h"

namespace
{
    struct Where
    {
        int x, y;
    };

    std::ostream& operator<<(std::ostream& out, Where at)
    {
        return out << "tile (" << at.x << ", " << at.y << ")";
    }

    void CheckTile(std::ostringstream& out, zolMap* map, zolTile* tile, Where at)
    {
        if (tile->GetMap() != map)
            out << at << ": belongs to another map\n";
        if (tile->GetHealth() < 0 || tile->GetHealth() > 8192)
            out << at << ": health " << tile->GetHealth() << " outside 0..8192\n";

        static const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
        int mask = 0;
        for (int dir = 0; dir < 4; dir++)
        {
            zolTile* expected = map->GetTile(at.x + dx[dir], at.y + dy[dir]);
            zolTile* neighbour = tile->GetNeighbour(dir);
            if (neighbour != expected)
                out << at << ": neighbour " << dir << " does not match the grid\n";
            else if (neighbour && neighbour->GetNeighbour((dir + 2) % 4) != tile)
                out << at << ": neighbour " << dir << " does not link back\n";
            if (neighbour && neighbour->IsLit())
                mask |= 1 << dir;
        }
        if (mask != tile->GetLitMask())
            out << at << ": lit mask " << tile->GetLitMask() << ", neighbours say " << mask << "\n";

        for (int side = 0; side < 2; side++)
        {
            zolCommand* cmd = tile->GetCommand(side);
            if (!cmd)
                continue;
            if (cmd->GetSide() != (bool)side)
                out << at << ": command in slot " << side << " belongs to the other side\n";
            if (cmd->GetTile() != tile)
                out << at << ": command in slot " << side << " points at another tile\n";
        }
    }

    int TypeIndex(zolTileType* type)
    {
        for (size_t i = 0; i < g_pvTileTypes.size(); i++)
            if (g_pvTileTypes[i] == type)
                return (int)i;
        return type ? -2 : -1;
    }

    struct Fnv
    {
        uint64_t value = 14695981039346656037ull;

        void Add(const void* data, size_t size)
        {
            const unsigned char* bytes = static_cast<const unsigned char*>(data);
            for (size_t i = 0; i < size; i++)
                value = (value ^ bytes[i]) * 1099511628211ull;
        }
        void Add(int n) { Add(&n, sizeof n); }
        void Add(float f)
        {
            uint32_t bits;
            memcpy(&bits, &f, sizeof bits);
            Add(&bits, sizeof bits);
        }
        void Add(const char* s) { Add(s, strlen(s)); }
    };
}

std::string CheckMap(zolMap* map)
{
    std::ostringstream out;
    std::unordered_map<zolUnit*, int> listedByTiles;
    for (int y = 0; y < map->GetHeight(); y++)
        for (int x = 0; x < map->GetWidth(); x++)
        {
            zolTile* tile = map->GetTile(x, y);
            if (!tile)
                continue;
            CheckTile(out, map, tile, {x, y});
            for (zolUnit* unit : tile->GetUnits())
            {
                listedByTiles[unit]++;
                if (unit->GetTile() != tile)
                    out << Where{x, y} << ": lists a unit standing elsewhere\n";
            }
        }

    int counted[2] = {0, 0};
    std::unordered_map<zolUnit*, int> listedByMap;
    for (zolUnit* unit : map->GetUnits())
    {
        if (listedByMap[unit]++)
            out << "a unit is listed twice by the map\n";
        zolTile* tile = unit->GetTile();
        if (!tile)
        {
            out << "a dead unit is still listed by the map\n";
            continue;
        }
        counted[unit->GetSide()]++;
        if (listedByTiles[unit] != 1)
            out << "a unit is listed " << listedByTiles[unit] << " times by the tiles\n";
        if (unit->GetType() < 0 || unit->GetType() > 7)
            out << "a unit has rank " << unit->GetType() << "\n";
        else if (unit->GetHealth() < 0 || unit->GetHealth() > zu_dwvMaxHealth[unit->GetType()])
            out << "a unit has health " << unit->GetHealth() << " for rank " << unit->GetType()
                << "\n";
        // A unit held against a wall along x bounces there every tick and is never tested along
        // y, so it may drift well past its tile's edge: only a position that is not a number is
        // wrong.
        if (!std::isfinite(unit->GetX()) || !std::isfinite(unit->GetY()))
            out << "a unit stands at (" << unit->GetX() << ", " << unit->GetY() << ")\n";
    }
    for (auto& [unit, times] : listedByTiles)
        if (!listedByMap.count(unit))
            out << "a tile lists a unit the map does not\n";
    for (int side = 0; side < 2; side++)
        if (counted[side] != map->GetUnitCount(side))
            out << (side ? "red" : "blue") << " count " << map->GetUnitCount(side) << ", recount "
                << counted[side] << "\n";
    return out.str();
}

namespace
{
    uint64_t Hash(zolMap* map, bool colours)
    {
        Fnv hash;
        std::unordered_map<zolTile*, int> cells;
        hash.Add(map->GetWidth());
        hash.Add(map->GetHeight());
        for (int y = 0; y < map->GetHeight(); y++)
            for (int x = 0; x < map->GetWidth(); x++)
            {
                zolTile* tile = map->GetTile(x, y);
                if (!tile)
                {
                    hash.Add(-1);
                    continue;
                }
                cells[tile] = y * map->GetWidth() + x;
                hash.Add(TypeIndex(tile->GetType()));
                hash.Add((int)tile->IsLit());
                hash.Add(tile->GetHealth());
                hash.Add(tile->GetLitMask());
                for (int side = 0; side < 2; side++)
                {
                    zolCommand* cmd = tile->GetCommand(side);
                    hash.Add(cmd ? typeid(*cmd).name() : "none");
                    // Two states with the same commands hash alike only when their work stands equally far.
                    hash.Add(CommandLeft(cmd));
                }
            }
        for (zolUnit* unit : map->GetUnits())
        {
            hash.Add(cells[unit->GetTile()]);
            hash.Add((int)unit->GetSide());
            hash.Add(unit->GetType());
            hash.Add(unit->GetHealth());
            hash.Add(unit->GetExp());
            if (colours)
                hash.Add(unit->GetColor());
            hash.Add(unit->GetX());
            hash.Add(unit->GetY());
            hash.Add(unit->GetVelX());
            hash.Add(unit->GetVelY());
        }
        hash.Add(map->GetUnitCount(false));
        hash.Add(map->GetUnitCount(true));
        return hash.value;
    }
}

uint64_t HashMap(zolMap* map)
{
    return Hash(map, true);
}

uint64_t HashRules(zolMap* map, uint32_t randState)
{
    uint64_t state[2] = {Hash(map, false), randState};
    Fnv hash;
    hash.Add(state, sizeof state);
    return hash.value;
}
