#include "MapBook.h"

#include <cstdio>

#include "Bytes.h"
#include "RandomMap.h"
#include "zolFileCheck.h"

namespace
{
    // Each is the same turned half round with the sides swapped, so neither side is favoured; red
    // plays from the top, as its cursor starts at the top left.
    struct Page
    {
        const char* name;
        const char* about;
        const char* rows[MAP_HEIGHT];
    };
    const Page PAGES[] = {
        {"start",
         "two small bases in opposite corners, rock between: dig toward each other",
         {"####################", "#fff################", "#fhf################",
          "#fff################", "####################", "####################",
          "####################", "####################", "####################",
          "####################", "################FFF#", "################FHF#",
          "################FFF#", "####################"}},
        {"river",
         "a river of thorns across the middle with two bridges, two bases a side on its banks",
         {"####################", "#fff################", "#fhf######fff#######",
          "#fff######fhf#######", "##f#######fff#######", "##ffffffffffffffffff",
          "xxxxfxxxxxxxxxxfxxxx", "XXXXFXXXXXXXXXXFXXXX", "FFFFFFFFFFFFFFFFFF##",
          "#######FFF#######F##", "#######FHF######FFF#", "#######FFF######FHF#",
          "################FFF#", "####################"}},
        {"hives",
         "eight lone hives a side in pockets of rock: dig them together before the enemy does",
         {"####################", "#hf#####fh#####hf###", "####################",
          "#####fh#####hf######", "####################", "##hf######fh#######h",
          "####################", "####################", "H#######HF######FH##",
          "####################", "######FH#####HF#####", "####################",
          "###FH#####HF#####FH#", "####################"}},
        {"field",
         "an open field without rock: the front is there from the first tick",
         {"ffffffffffffffffffff", "ffffffffffffffffffff", "fffhffffffffffffhfff",
          "ffffffffffffffffffff", "fffffffftfffffffffff", "ffffffffffffffffffff",
          "ffffffffffffffffffff", "FFFFFFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFFFFF",
          "FFFFFFFFFFFTFFFFFFFF", "FFFFFFFFFFFFFFFFFFFF", "FFFHFFFFFFFFFFFFHFFF",
          "FFFFFFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFFFFF"}},
        {"maze",
         "a maze of narrow tunnels, 44 tiles from hive to hive: arrows matter, or dig across",
         {"####################", "#fff#fffffff#fffff##", "#fhf#f##f##f#f###f##",
          "#fff#f#fff#f#f#f#f##", "#f###f#f#f#fff#f#ff#", "#fffff#f#f#####f##f#",
          "#######f#fffffff##f#", "#F##FFFFFFF#F#######", "#F##F#####F#F#FFFFF#",
          "#FF#F#FFF#F#F#F###F#", "##F#F#F#F#FFF#F#FFF#", "##F###F#F##F##F#FHF#",
          "##FFFFF#FFFFFFF#FFF#", "####################"}},
        {"island",
         "trainers on an island in the middle, two tiles of rock from either side's tunnel",
         {"####################", "#fff################", "#fhffff#############",
          "#fff##f#############", "######f#############", "########tfft########",
          "########fttf########", "########FTTF########", "########TFFT########",
          "#############F######", "#############F##FFF#", "#############FFFFHF#",
          "################FFF#", "####################"}},
        {"center",
         "bases side by side in the middle; hives and trainers wait in the corners",
         {"hf################FH", "ft################TF", "####################",
          "####################", "####################", "#####fff############",
          "#####fhf####FFF#####", "#####fff####FHF#####", "############FFF#####",
          "####################", "####################", "####################",
          "ft################TF", "hf################FH"}},
    };

    const std::string RANDOM = "random:";

    std::string FileName(const std::string& path)
    {
        std::string name = path.substr(path.find_last_of('/') + 1);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".map") == 0)
            name.resize(name.size() - 4);
        // The strip shows it, and recordings and the other player's game keep it.
        return PrintableText(name.empty() ? path : name, 24);
    }
}

const std::vector<zolBuiltInMap>& BuiltInMaps()
{
    static const std::vector<zolBuiltInMap> maps = []
    {
        std::vector<zolBuiltInMap> book;
        for (const Page& page : PAGES)
            book.push_back({{page.name, {page.rows, page.rows + MAP_HEIGHT}}, page.about});
        return book;
    }();
    return maps;
}

const zolMapPlan& StartMap()
{
    return BuiltInMaps()[0].plan;
}

bool NamesMapFile(const std::string& m)
{
    for (const zolBuiltInMap& map : BuiltInMaps())
        if (m == map.plan.name)
            return false;
    return m.compare(0, RANDOM.size(), RANDOM) != 0;
}

bool FindMap(const std::string& m, zolMapPlan* plan, std::string* why)
{
    for (const zolBuiltInMap& map : BuiltInMaps())
        if (m == map.plan.name)
        {
            *plan = map.plan;
            return true;
        }
    if (m.compare(0, RANDOM.size(), RANDOM) == 0)
    {
        if (!IsMapSeed(m.substr(RANDOM.size())))
        {
            *why = m + ": a random map's seed is 1 to " + std::to_string(MAP_SEED_MOST) +
                   " letters or digits";
            return false;
        }
        *plan = RandomMap(m.substr(RANDOM.size()));
        return true;
    }
    std::string bytes, fault;
    if (!ReadRegularFile(m.c_str(), MAP_FILE_MOST, &bytes, &fault))
    {
        *why = m + ": " +
               (fault == "missing" ? "no such file, nor a built-in map (--list-maps names them)"
                                   : fault);
        return false;
    }
    if (!ParseMapText(bytes, plan, &fault))
    {
        *why = m + ": " + fault;
        return false;
    }
    plan->name = FileName(m);
    return true;
}
