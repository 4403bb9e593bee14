#include <tuple>
#include <vector>

#include <allegro.h>
#include <gtest/gtest.h>

#include "Main.h"
#include "TestSupport.h"
#include "zolCommand.h"
#include "zolEvents.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolTile.h"
#include "zolUnit.h"

namespace
{
    using Heard = std::tuple<zolEvent, int, int>;   // kind and cell

    struct Recorder : zolEventListener
    {
        void OnEvent(zolEvent kind, int x, int y) override { heard.emplace_back(kind, x, y); }
        std::vector<Heard> heard;
    };
}

TEST(WorldEvents, EachTellsWhatHappenedOnWhichTile)
{
    Recorder recorder;
    g_pEventListener = &recorder;
    zolMap* map = MakeFloorMap(6, 4, 3, 8000);  // columns 0-2 red
    zolUnit units[2];
    units[1].SetSide(true);
    for (zolUnit& unit : units)
        map->GetTile(1, 1)->AddUnit(&unit);
    map->GetTile(1, 1)->Update();
    for (zolUnit& unit : units)
        map->GetTile(1, 1)->RemoveUnit(&unit);
    map->GetTile(4, 2)->DecHealth(8000);
    PlaceCommand(map->GetTile(0, 3), 1, true);  // thorns: 20000 ticks alone
    for (int tick = 0; tick < 20000; tick++)
        map->GetTile(0, 3)->Update();
    map->SetTile(5, 0, g_pvTileTypes[0]);
    PlaceCommand(map->GetTile(5, 0), 4, false);
    for (int hit = 0; hit < 100; hit++)
        map->GetTile(5, 0)->GetCommand(false)->Collision(false);
    EXPECT_EQ((std::vector<Heard>{{zolEvent::Blow, 1, 1}, {zolEvent::TileTaken, 4, 2},
                                  {zolEvent::BuildDone, 0, 3}, {zolEvent::RockOpened, 5, 0}}),
              recorder.heard);

    recorder.heard.clear();
    map->SetTile(2, 1, g_pvTileTypes[2]);
    zolSeedRand(5);
    for (int tick = 0; tick < 300; tick++)
        map->GetTile(2, 1)->Update();
    EXPECT_GT(map->GetUnits().size(), 3u);
    EXPECT_EQ(std::vector<Heard>(map->GetUnits().size(), Heard{zolEvent::UnitBorn, 2, 1}),
              recorder.heard);
    g_pEventListener = nullptr;
    delete map;
}
