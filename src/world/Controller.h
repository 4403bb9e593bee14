#ifndef CONTROLLER_H
#define CONTROLLER_H

class zolByteReader;
struct zolByteWriter;
class zolMap;

// Whatever plays one side of a match: a person at the keyboard, the computer, a recording or a
// player on another machine. The match calls it once per tick, before the map's update, red's
// before blue's.
class zolController
{
public:
    virtual ~zolController() {}

    // Moves the side's cursor (x then y, kept within width x height tiles) and places or removes
    // the side's commands on the map.
    virtual void Tick(int* cursor, zolMap* map, int width, int height) = 0;

    // What the side keeps from one tick to the next that decides what it does, for a match's
    // saved state: nothing for a person, whose keys come from outside. Load takes it up again;
    // false for bytes that are not such a state.
    // Reset() starts the side afresh, as for a new match.
    virtual void Save(zolByteWriter& /*out*/) {}
    virtual bool Load(zolByteReader& /*in*/) { return true; }
    virtual void Reset() {}
};

#endif
