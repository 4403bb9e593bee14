#include "zolCommand.h"

#include <allegro.h>

#include "zolRandom.h"

zolCommand::zolCommand() : m_bSide(false), m_pTile(nullptr) {}

zolCommand::~zolCommand() {}

void zolCommand::Draw(BITMAP*, int, int) {}

void zolCommand::Update() {}

void zolCommand::Collision(bool) {}

int zolCommand::CommandColour()
{
    int v = (zolFlickerRand() >> 7) & 63;
    if (m_bSide)
        return makecol(255, (v + 255) / 2, v);
    return makecol(v, (v + 255) / 2, 255);
}
