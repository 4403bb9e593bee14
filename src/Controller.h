#ifndef CONTROLLER_H
#define CONTROLLER_H

#include "zolAI.h"

class zolMap;

// Whatever plays one side of a match: a person at the keyboard, the computer, and later a
// recording or a player on another machine. The match calls it once per tick, before the map's
// update, red's before blue's.
class zolController
{
public:
    virtual ~zolController() {}

    // Moves the side's cursor (x then y, kept within width x height tiles) and places or removes
    // the side's commands on the map.
    virtual void Tick(int* cursor, zolMap* map, int width, int height) = 0;
};

// The computer, always blue. Its jobs and counters belong to the program, not to this object.
class zolComputerSide : public zolController
{
public:
    void Tick(int* cursor, zolMap* map, int width, int height) override
    {
        DoAI(cursor, map, width, height);
    }
};

#endif
