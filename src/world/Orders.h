#ifndef ORDERS_H
#define ORDERS_H

class zolCommand;
class zolTile;

// What a side can do to a tile. The values are the computer's job kinds, so a job's kind is an
// order; the arrows run in direction order, ORDER_NORTH + d pointing in direction d.
enum zolOrder
{
    ORDER_THORNS = 1,
    ORDER_TRAINER,
    ORDER_HIVE,
    ORDER_CLEAR,
    ORDER_NORTH,
    ORDER_EAST,
    ORDER_SOUTH,
    ORDER_WEST,
    ORDER_REMOVE // takes the side's own command off; places nothing
};

// A new command of side for order, ready for a tile, the builds and Clear knowing the tile kind
// they make; null for ORDER_REMOVE and anything that is no order. The caller owns it until a
// tile accepts it.
zolCommand* MakeCommand(int order, bool side);
// The order that makes a command of cmd's kind; 0 for none (null).
int OrderOf(zolCommand* cmd);
// What cmd has left to do: hits for a Clear, work for a build; 0 for an arrow and for null.
int CommandLeft(zolCommand* cmd);
// Hands a new command of order to the tile for side; one the tile refuses is destroyed here, so
// nothing is left over either way. True when the tile took it.
bool PlaceCommand(zolTile* tile, int order, bool side);

#endif
