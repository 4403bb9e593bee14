#ifndef ZOLCMDGO_H
#define ZOLCMDGO_H

#include "zolCommand.h"

// An arrow. Each tick it pushes every unit of its side on its tile by 0.01 in its direction; the
// other side's units are left alone. Bounces against an arrow's tile do nothing. The four
// directions differ only in the direction they are made with.
class zolCmdGo : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override; // the north figure turned to the direction
    void Update() override;

protected:
    explicit zolCmdGo(int direction) : m_dwDirection(direction) {}

private:
    int m_dwDirection; // 0 north, 1 east, 2 south, 3 west
};

class zolCmdNorth : public zolCmdGo
{
public:
    zolCmdNorth() : zolCmdGo(0) {}
};

class zolCmdEast : public zolCmdGo
{
public:
    zolCmdEast() : zolCmdGo(1) {}
};

class zolCmdSouth : public zolCmdGo
{
public:
    zolCmdSouth() : zolCmdGo(2) {}
};

class zolCmdWest : public zolCmdGo
{
public:
    zolCmdWest() : zolCmdGo(3) {}
};

#endif
