#include <algorithm>
#include <fstream>
#include <random>
#include <set>

#include "MapBook.h"
#include "RandomMap.h"
#include "TestSupport.h"
#include "zolCheck.h"

namespace
{
    // `start` as a file, with a comment first: row r is on line r + 2.
    std::string GoodText()
    {
        std::string text = "; two bases\n";
        for (const std::string& row : StartMap().rows)
            text += row + "\n";
        return text;
    }

    std::string Row(int r, const std::string& row) // GoodText with row r replaced
    {
        std::string text = GoodText();
        return text.replace(text.find('\n') + 1 + 21 * r, 20, row);
    }

    std::string Find(const std::string& m, zolMapPlan* plan = nullptr)
    {
        zolMapPlan found;
        std::string why;
        return FindMap(m, plan ? plan : &found, &why) ? "" : why;
    }
}

TEST(MapFile, EachFaultIsNamedWithItsFileAndLineAndNothingIsUsed)
{
    std::string good = GoodText(), noRed = good, noBlue = good, crlf;
    noRed[noRed.find('h')] = 'f';
    noBlue[noBlue.find('H')] = 'F';
    for (char c : good)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::pair<std::string, std::string> cases[] = {
        {good, ""},
        {crlf, ""},
        {"", "line 1: the map ends after 0 rows, not 14"},
        {good.substr(0, good.size() - 21), "line 15: the map ends after 13 rows, not 14"},
        {good + "####################\n", "line 16: a row too many: a map has 14"},
        {Row(6, "#################### "), "line 8: 21 characters, not 20"},
        {Row(2, "#fhf#q" + std::string(14, '#')),
         "line 4: 'q' in column 6 is no tile (# f h t x, upper case for blue)"},
        {Row(2, std::string("#fhf", 4) + '\0' + "###############"),
         "line 4: byte 0x00 in column 5 is not text"},
        {Row(0, "\xC3\xA9" + std::string(18, '#')), "line 2: byte 0xC3 in column 1 is not text"},
        {"; caf\xC3\xA9 \a\n" + good.substr(good.find('\n') + 1),
         "line 1: byte 0x07 in column 9 is not text"},
        {noRed, "red has no hive (h)"},
        {noBlue, "blue has no hive (H)"},
        {"; " + std::string(3787, 'x') + "\n" + good, ""},
        {"; " + std::string(3788, 'x') + "\n" + good, "4097 bytes, more than 4096"},
    };
    for (const auto& [text, why] : cases)
    {
        std::ofstream("test.map", std::ios::binary) << text;
        zolMapPlan plan;
        EXPECT_EQ(why.empty() ? "" : "test.map: " + why, Find("test.map", &plan));
        EXPECT_EQ(why.empty() ? StartMap().rows : std::vector<std::string>(), plan.rows);
        EXPECT_EQ(why.empty() ? "test" : "", plan.name);
    }
    EXPECT_EQ(".: not a regular file", Find("."));
    EXPECT_EQ("rivr: no such file, nor a built-in map (--list-maps names them)", Find("rivr"));
    for (std::string seed : {"", "river-7", "abcdefghijklm", "\xC3\xA9"})
        EXPECT_EQ("random:" + seed + ": a random map's seed is 1 to 12 letters or digits",
                  Find("random:" + seed));
}

TEST(MapFile, SeededDamageOfAGoodFileIsRefusedInOneLineOrIsAMap)
{
    const std::string good = "; the river\n" + MapText(BuiltInMaps().at(1).plan);
    std::mt19937 rng(7);
    int maps = 0;
    for (int i = 0; i < 600; i++)
    {
        // Bytes cut out, or a few replaced by any byte or by a tile's letter, a line end or ';'.
        std::string text = good, why;
        for (int n = 1 + rng() % 3; n > 0; n--)
            if (size_t at = rng() % text.size(); i % 3 == 0)
                text.erase(at, 1 + rng() % 30);
            else
                text[at] = i % 3 == 1 ? "#fhtxFHTX\n;"[rng() % 11] : (char)rng();
        zolMapPlan plan;
        bool read = ParseMapText(text, &plan, &why);
        maps += read;
        EXPECT_NE(read, !why.empty() && why.find('\n') == std::string::npos) << i << ": " << why;
        std::unique_ptr<zolMap> map(read ? BuildMap(plan) : nullptr);
        EXPECT_EQ("", map ? CheckMapRows(plan.rows) + CheckMap(map.get()) : "") << i;
    }
    EXPECT_GT(maps, 0) << "some damage leaves a map";
    EXPECT_LT(maps, 300);
}

TEST(BuiltInMaps, StartIsTheFirstMapTileForTileAndEveryMapIsFairAndBuiltAsWritten)
{
    std::unique_ptr<zolMap> first(NewMatchMap(20, 14)), start(BuildMap(StartMap()));
    EXPECT_EQ(HashMap(first.get()), HashMap(start.get()));
    std::vector<zolMapPlan> plans = {RandomMap("B4")};
    for (const zolBuiltInMap& map : BuiltInMaps())
        plans.push_back(map.plan);
    for (const zolMapPlan& plan : plans)
    {
        SCOPED_TRACE(plan.name);
        EXPECT_EQ("", CheckMapRows(plan.rows));
        EXPECT_TRUE(IsFair(plan));
        std::unique_ptr<zolMap> map(BuildMap(plan));
        ASSERT_EQ("", CheckMap(map.get()));
        // Read back from the tiles: rock unlit (else '?'), each open tile lit when red's.
        std::vector<std::string> rows(MAP_HEIGHT);
        int health = 0;
        for (int i = 0; i < MAP_WIDTH * MAP_HEIGHT; i++)
        {
            zolTile* tile = map->GetTile(i % MAP_WIDTH, i / MAP_WIDTH);
            auto& types = g_pvTileTypes;
            char c =
                "#fhtx"[std::find(types.begin(), types.end(), tile->GetType()) - types.begin()];
            rows[i / MAP_WIDTH] += !tile->IsLit() ? (char)toupper(c) : c == '#' ? '?' : c;
            health += tile->GetHealth();
        }
        EXPECT_EQ(plan.rows, rows);
        EXPECT_EQ(0, health);
    }
    zolMapPlan lopsided = StartMap();
    lopsided.rows[1][1] = 't';
    EXPECT_FALSE(IsFair(lopsided));
    // The computer's base: blue's first hive in storage order, row by row from the top.
    std::unique_ptr<zolMap> hives(BuildMap(BuiltInMaps().at(2).plan));
    int x = -1, y = -1;
    EXPECT_TRUE(FindFirstHive(hives.get(), false, &x, &y) && x == 0 && y == 8) << x << ", " << y;
}

TEST(RandomMaps, EachSeedMakesOneFairMapOfItsOwnWithoutTheGamesRandomSource)
{
    zolSeedRand(31);
    std::set<std::vector<std::string>> maps;
    for (int seed = 1; seed <= 400; seed++)
    {
        zolMapPlan plan = RandomMap(std::to_string(seed));
        ASSERT_TRUE(IsFair(plan) && CheckMapRows(plan.rows).empty()) << seed;
        maps.insert(plan.rows);
    }
    EXPECT_EQ(400u, maps.size());
    EXPECT_EQ(31u, g_dwRandState);
    // Pinned: the same on every machine and build.
    EXPECT_EQ("; random:river7\n"
              "ff#ff#ffffffffffhfff\nff#f##fffffffffffff#\nff#f##fffffffffffxf#\n"
              "ffffffffhfff########\nfff###ffffffxff#ffff\nfffh###ffffffffftffx\n"
              "fffxt#xfxftFFF#FFFFF\nfffff#fffTFXFX#TXFFF\nXFFTFFFFFFFFF###HFFF\n"
              "FFFF#FFXFFFFFF###FFF\n########FFFHFFFFFFFF\n#FXFFFFFFFFFFF##F#FF\n"
              "#FFFFFFFFFFFFF##F#FF\nFFFHFFFFFFFFFF#FF#FF\n",
              MapText(RandomMap("river7")));
    EXPECT_EQ("; random:c\n"
              "####F##########ffff#\n#F##F########f#ffff#\n#HFFX########f#fftf#\n"
              "####F#Fxff###f#ffff#\n####F#Fxff###f#fhfff\n#FX#F#XFff###fxfffxh\n"
              "#FF#F##########f#ff#\n#FF#F##########f#ff#\nHXFFFXF###FFfx#f#xf#\n"
              "FFFHF#F###FFXf#f####\n#FFFF#F###FFXf#f####\n#FTFF#F########xffh#\n"
              "#FFFF#F########f##f#\n#FFFF##########f####\n",
              MapText(RandomMap("c")));
}
