#ifndef ZOLCMDGO_H
#define ZOLCMDGO_H

#include "zolCommand.h"

// The four arrows. Each tick an arrow pushes every unit of its side on its tile by 0.01 in its
// direction; the other side's units are left alone. Bounces against an arrow's tile do nothing.
class zolCmdNorth : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override;
    void Update() override;
};

class zolCmdEast : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override;
    void Update() override;
};

class zolCmdSouth : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override;
    void Update() override;
};

class zolCmdWest : public zolCommand
{
public:
    void Draw(BITMAP* bmp, int x, int y) override;
    void Update() override;
};

#endif
