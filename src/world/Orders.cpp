#include "Orders.h"

#include <typeinfo>

#include "zolCmdBuild.h"
#include "zolCmdClear.h"
#include "zolCmdGo.h"
#include "zolCmdHive.h"
#include "zolCmdThorns.h"
#include "zolCmdTrainer.h"
#include "zolTile.h"
#include "zolTileType.h"

namespace
{
    // The side is set first and the type to build second, as every controller does it.
    template <class Command>
    Command* NewCommand(bool side)
    {
        Command* cmd = new Command();
        cmd->SetSide(side);
        return cmd;
    }

    template <class Command>
    Command* NewCommand(bool side, void (Command::*setType)(zolTileType*), int kind)
    {
        Command* cmd = NewCommand<Command>(side);
        (cmd->*setType)(g_pvTileTypes[kind]);
        return cmd;
    }
}

zolCommand* MakeCommand(int order, bool side)
{
    switch (order)
    {
    case ORDER_THORNS: return NewCommand(side, &zolCmdThorns::SetThornsType, TILE_THORNS);
    case ORDER_TRAINER: return NewCommand(side, &zolCmdTrainer::SetTrainerType, TILE_TRAINER);
    case ORDER_HIVE: return NewCommand(side, &zolCmdHive::SetHiveType, TILE_HIVE);
    case ORDER_CLEAR: return NewCommand(side, &zolCmdClear::SetClearType, TILE_FLOOR);
    case ORDER_NORTH: return NewCommand<zolCmdNorth>(side);
    case ORDER_EAST: return NewCommand<zolCmdEast>(side);
    case ORDER_SOUTH: return NewCommand<zolCmdSouth>(side);
    case ORDER_WEST: return NewCommand<zolCmdWest>(side);
    default: return nullptr;
    }
}

int OrderOf(zolCommand* cmd)
{
    if (!cmd)
        return 0;
    const std::type_info& kind = typeid(*cmd);
    const std::type_info* const KINDS[] = {
        &typeid(zolCmdThorns), &typeid(zolCmdTrainer), &typeid(zolCmdHive),  &typeid(zolCmdClear),
        &typeid(zolCmdNorth),  &typeid(zolCmdEast),    &typeid(zolCmdSouth), &typeid(zolCmdWest)};
    for (int i = 0; i < 8; i++)
        if (kind == *KINDS[i])
            return ORDER_THORNS + i;
    return 0;
}

int CommandLeft(zolCommand* cmd)
{
    if (auto* clear = dynamic_cast<zolCmdClear*>(cmd))
        return clear->GetHitsLeft();
    if (auto* build = dynamic_cast<zolCmdBuild*>(cmd))
        return build->GetWorkLeft();
    return 0;
}

bool PlaceCommand(zolTile* tile, int order, bool side)
{
    zolCommand* cmd = MakeCommand(order, side);
    if (!cmd)
        return false;
    tile->SetCommand(side, cmd);
    if (tile->GetCommand(side) == cmd)
        return true;
    delete cmd;
    return false;
}
