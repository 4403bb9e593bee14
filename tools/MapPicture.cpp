// Draws maps as the first frame of a match on them shows them, at half the game's size, and
// measures how random maps differ. Run where Data/ is (build/run).
//
//   mappicture DIR            every built-in map, as DIR/NAME.png
//   mappicture M FILE         the map M, as --map takes it, into the PNG file FILE
//   mappicture --survey N     N random maps, of the seeds 1 to N: how many differ, and how

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <allegro.h>

#include "Controller.h"
#include "MapBook.h"
#include "Match.h"
#include "Png.h"
#include "RandomMap.h"
#include "TileSet.h"

namespace
{
    struct Idle : zolController
    {
        void Tick(int*, zolMap*, int, int) override {}
    };

    // The map's part of the frame, each pixel the mean of a 2 x 2 block.
    bool DrawMap(const zolMapPlan& plan, const std::string& file)
    {
        Idle idle;
        Match match(&idle, &idle, BuildMap(plan));
        BITMAP* frame = create_bitmap(32 * MAP_WIDTH, 32 * (MAP_HEIGHT + 1));
        match.Draw(frame, false);
        std::vector<unsigned char> rgba;
        for (int y = 0; y < 16 * MAP_HEIGHT; y++)
            for (int x = 0; x < 16 * MAP_WIDTH; x++)
            {
                int sum[3] = {0, 0, 0};
                for (int k = 0; k < 4; k++)
                {
                    int p = getpixel(frame, 2 * x + k % 2, 2 * y + k / 2);
                    sum[0] += getr(p), sum[1] += getg(p), sum[2] += getb(p);
                }
                rgba.insert(rgba.end(), {(unsigned char)(sum[0] / 4), (unsigned char)(sum[1] / 4),
                                         (unsigned char)(sum[2] / 4), 255});
            }
        destroy_bitmap(frame);
        if (WritePng(file.c_str(), 16 * MAP_WIDTH, 16 * MAP_HEIGHT, rgba))
            return true;
        fprintf(stderr, "mappicture: cannot write %s\n", file.c_str());
        return false;
    }

    // Tiles reachable from (x, y) without digging, counting (x, y).
    int Walkable(const zolMapPlan& plan, int x, int y, std::vector<bool>& seen)
    {
        if (x < 0 || x >= MAP_WIDTH || y < 0 || y >= MAP_HEIGHT || seen[y * MAP_WIDTH + x] ||
            plan.rows[y][x] == '#')
            return 0;
        seen[y * MAP_WIDTH + x] = true;
        return 1 + Walkable(plan, x + 1, y, seen) + Walkable(plan, x - 1, y, seen) +
               Walkable(plan, x, y + 1, seen) + Walkable(plan, x, y - 1, seen);
    }

    int Survey(int seeds)
    {
        std::set<std::vector<std::string>> maps, grounds;
        int fair = 0, joined = 0;
        std::vector<int> open, hives;
        for (int i = 1; i <= seeds; i++)
        {
            zolMapPlan plan = RandomMap(std::to_string(i));
            maps.insert(plan.rows);
            fair += IsFair(plan) && CheckMapRows(plan.rows).empty();
            std::vector<std::string> ground = plan.rows;
            int tiles = 0, count = 0, hx = -1, hy = -1;
            for (int y = 0; y < MAP_HEIGHT; y++)
                for (int x = 0; x < MAP_WIDTH; x++)
                {
                    char c = ground[y][x];
                    tiles += c != '#';
                    count += c == 'h';
                    hx = c == 'h' && hx < 0 ? x : hx, hy = c == 'h' && hy < 0 ? y : hy;
                    ground[y][x] = c == '#' ? '#' : '.';
                }
            grounds.insert(ground);
            open.push_back(tiles);
            hives.push_back(count);
            std::vector<bool> seen(MAP_WIDTH * MAP_HEIGHT, false);
            Walkable(plan, hx, hy, seen);
            joined += seen[(MAP_HEIGHT - 1 - hy) * MAP_WIDTH + MAP_WIDTH - 1 - hx];
        }
        std::sort(open.begin(), open.end());
        std::sort(hives.begin(), hives.end());
        printf("%d random maps: %zu different, %zu different in their rock alone; %d fair with a "
               "hive a side\n",
               seeds, maps.size(), grounds.size(), fair);
        printf("open tiles: least %d, median %d, most %d; hives a side: %d to %d; bases joined "
               "without digging: %d\n",
               open.front(), open[open.size() / 2], open.back(), hives.front(), hives.back(),
               joined);
        return 0;
    }
}

int main(int argc, char** argv)
{
    std::string first = argc > 1 ? argv[1] : "";
    if (argc == 3 && first == "--survey")
        return Survey(std::max(1, atoi(argv[2])));
    if (argc != 2 && argc != 3)
    {
        fprintf(stderr, "usage: mappicture DIR | mappicture MAP FILE | mappicture --survey N\n");
        return 2;
    }
    const char* failed = "no library";
    if (install_allegro(SYSTEM_NONE, &errno, atexit) == 0)
    {
        set_color_depth(32);
        failed = nullptr;
    }
    if (failed || !BuildTiles(&failed))
    {
        fprintf(stderr, "mappicture: cannot build the tiles (%s): run it where Data/ is\n", failed);
        return 1;
    }
    int status = 0;
    if (argc == 2)
        for (const zolBuiltInMap& map : BuiltInMaps())
            status |= !DrawMap(map.plan, first + "/" + map.plan.name + ".png");
    else
    {
        zolMapPlan plan;
        std::string why;
        if (!FindMap(first, &plan, &why))
            status = (fprintf(stderr, "mappicture: %s\n", why.c_str()), 2);
        else
            status = !DrawMap(plan, argv[2]);
    }
    ReleaseTiles();
    return status;
}
END_OF_MAIN()
