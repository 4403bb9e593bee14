#include "Snapshot.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "Bytes.h"
#include "Orders.h"
#include "zolCmdBuild.h"
#include "zolCmdClear.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolTileType.h"
#include "zolUnit.h"

namespace
{
    const int MOST_SIDE = 64;            // tiles along either side of a map
    const uint32_t MOST_UNITS = 1 << 20; // far beyond any cap a match can play

    uint32_t Bits(float f)
    {
        uint32_t b;
        memcpy(&b, &f, sizeof b);
        return b;
    }
    float Float(uint32_t b)
    {
        float f;
        memcpy(&f, &b, sizeof f);
        return f;
    }

    int KindOf(zolTileType* type)
    {
        for (int k = 0; k < (int)g_pvTileTypes.size(); k++)
            if (g_pvTileTypes[k] == type)
                return k;
        return 255; // no type
    }

    bool Fail(std::string* why, const char* text)
    {
        *why = text;
        return false;
    }
}

void SaveMap(zolMap* map, zolByteWriter& out)
{
    int w = map->GetWidth(), h = map->GetHeight();
    out.Put<uint8_t>((uint8_t)w).Put<uint8_t>((uint8_t)h);
    out.Put<int32_t>(map->GetUnitCount(false)).Put<int32_t>(map->GetUnitCount(true));
    std::vector<zolUnit*> units(map->GetUnits().begin(), map->GetUnits().end());
    out.Put<uint32_t>((uint32_t)units.size());
    for (zolUnit* u : units)
    {
        out.Put<uint8_t>((uint8_t)u->GetSide()).Put<uint8_t>((uint8_t)u->GetType());
        out.Put<int32_t>(u->GetColor()).Put<int32_t>(u->GetHealth()).Put<int32_t>(u->GetExp());
        for (float f : {u->GetX(), u->GetY(), u->GetVelX(), u->GetVelY()})
            out.Put<uint32_t>(Bits(f));
    }
    // A unit is named by its place in the map's list.
    std::vector<std::pair<zolUnit*, uint32_t>> index;
    for (uint32_t i = 0; i < units.size(); i++)
        index.emplace_back(units[i], i);
    std::sort(index.begin(), index.end());
    auto number = [&](zolUnit* u)
    { return std::lower_bound(index.begin(), index.end(), std::make_pair(u, 0u))->second; };
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
        {
            zolTile* tile = map->GetTile(x, y);
            if (!tile)
            {
                out.Put<uint8_t>(254);
                continue;
            }
            out.Put<uint8_t>((uint8_t)KindOf(tile->GetType())).Put<uint8_t>(tile->IsLit());
            out.Put<int32_t>(tile->GetHealth());
            out.Put<int32_t>(tile->GetDamage(false)).Put<int32_t>(tile->GetDamage(true));
            for (bool side : {false, true})
            {
                zolCommand* cmd = tile->GetCommand(side);
                out.Put<uint8_t>((uint8_t)OrderOf(cmd)).Put<int32_t>(CommandLeft(cmd));
            }
            out.Put<uint32_t>((uint32_t)tile->GetUnits().size());
            for (zolUnit* u : tile->GetUnits())
                out.Put<uint32_t>(number(u));
        }
}

zolMap* LoadMap(zolByteReader& in, std::string* why)
{
    uint8_t w, h;
    int32_t counts[2];
    uint32_t n;
    if (!in.Get(&w) || !in.Get(&h) || !in.Get(&counts[0]) || !in.Get(&counts[1]) || !in.Get(&n))
        return Fail(why, "cut short"), nullptr;
    if (w > MOST_SIDE || h > MOST_SIDE || n > MOST_UNITS)
        return Fail(why, "a map or an army out of range"), nullptr;
    std::unique_ptr<zolMap> map(new zolMap());
    map->SetSize(w, h);
    // Units are made without their constructor's draws from the random source, which a state
    // taken up again must leave as it was.
    uint32_t rand = g_dwRandState;
    std::vector<std::unique_ptr<zolUnit>> units(n);
    for (auto& u : units)
    {
        uint8_t side, type;
        int32_t colour, health, exp;
        uint32_t f[4];
        if (!in.Get(&side) || !in.Get(&type) || !in.Get(&colour) || !in.Get(&health) ||
            !in.Get(&exp) || !in.Get(&f[0]) || !in.Get(&f[1]) || !in.Get(&f[2]) || !in.Get(&f[3]))
            return Fail(why, "cut short"), nullptr;
        if (side > 1 || type > 7)
            return Fail(why, "a unit out of range"), nullptr;
        u.reset(new zolUnit());
        u->SetSide(side);
        u->SetType(type);
        u->SetColor(colour);
        u->SetHealth(health);
        u->SetExp(exp);
        u->SetPos(Float(f[0]), Float(f[1]));
        u->SetVel(Float(f[2]), Float(f[3]));
    }
    g_dwRandState = rand;
    std::vector<bool> placed(n, false);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
        {
            uint8_t kind, lit;
            if (!in.Get(&kind))
                return Fail(why, "cut short"), nullptr;
            if (kind == 254)
                continue;
            int32_t health, damage[2], progress[2];
            uint8_t order[2];
            if (!in.Get(&lit) || !in.Get(&health) || !in.Get(&damage[0]) || !in.Get(&damage[1]) ||
                !in.Get(&order[0]) || !in.Get(&progress[0]) || !in.Get(&order[1]) ||
                !in.Get(&progress[1]))
                return Fail(why, "cut short"), nullptr;
            if ((kind >= g_pvTileTypes.size() && kind != 255) || lit > 1 || order[0] > ORDER_WEST ||
                order[1] > ORDER_WEST)
                return Fail(why, "a tile out of range"), nullptr;
            map->SetTile(x, y, kind == 255 ? nullptr : g_pvTileTypes[kind]);
            map->SetTileLit(x, y, lit);
            zolTile* tile = map->GetTile(x, y);
            tile->SetHealth(health);
            tile->RestoreDamage(damage[0], damage[1]);
            for (bool side : {false, true})
            {
                zolCommand* cmd = MakeCommand(order[side], side);
                if (auto* clear = dynamic_cast<zolCmdClear*>(cmd))
                    clear->SetHitsLeft(progress[side]);
                if (auto* build = dynamic_cast<zolCmdBuild*>(cmd))
                    build->SetWorkLeft(progress[side]);
                tile->RestoreCommand(side, cmd);
            }
            uint32_t here;
            if (!in.Get(&here) || here > n)
                return Fail(why, "a tile's units out of range"), nullptr;
            for (uint32_t i = 0; i < here; i++)
            {
                uint32_t u;
                if (!in.Get(&u) || u >= n || placed[u])
                    return Fail(why, "a unit on no tile or on two"), nullptr;
                placed[u] = true;
                tile->AddUnit(units[u].get());
            }
        }
    for (uint32_t u = 0; u < n; u++)
        if (!placed[u])
            return Fail(why, "a unit on no tile or on two"), nullptr;
    for (auto& u : units)
        map->AddUnit(u.release());
    map->RestoreUnitCounts(counts[0], counts[1]);
    return map.release();
}
