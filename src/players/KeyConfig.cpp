#include "KeyConfig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "HumanSide.h"
#include "Keyboard.h"

namespace
{
    const char* const NAMES[SIDE_KEYS] = {"Left",    "Right", "Up",    "Down",  "North",
                                          "East",    "South", "West",  "Clear", "Thorns",
                                          "Trainer", "Hive",  "Remove"};
    const char* const SIDES[2] = {"blue", "red"};

    // One side's table, built from its defaults and the entries meant for it.
    struct Table
    {
        bool side;
        int keys[SIDE_KEYS];
        const std::pair<std::string, std::string>* by[SIDE_KEYS] = {}; // the entry that set each
        bool ok = true;

        explicit Table(bool s) : side(s) { Reset(); }

        void Reset()
        {
            memcpy(keys, side ? g_dwvDefaultRedKeys : g_dwvDefaultBlueKeys, sizeof keys);
            std::fill(by, by + SIDE_KEYS, nullptr);
        }
        // One line for the entry at fault; the whole table goes back to the defaults.
        void Refuse(const std::string& file, const std::pair<std::string, std::string>& entry,
                    const std::string& why)
        {
            fprintf(stderr, "%s: [Keys] %s = \"%s\" %s; %s keeps its default keys.\n", file.c_str(),
                    entry.first.c_str(), entry.second.c_str(), why.c_str(), SIDES[side]);
            Reset();
            ok = false;
        }
        // The first key this table has twice, as the slot that a player's entry set; -1: none.
        int Twice()
        {
            for (int a = 0; a < SIDE_KEYS; a++)
                for (int b = 0; b < SIDE_KEYS; b++)
                    if (a != b && keys[a] == keys[b] && by[a])
                        return a;
            return -1;
        }
        int Slot(int scancode)
        {
            for (int k = 0; k < SIDE_KEYS; k++)
                if (keys[k] == scancode)
                    return k;
            return -1;
        }
    };

    // "Red.North" into its side and key; false for a name of no side's key.
    bool ParseName(const std::string& name, bool* side, int* sideKey)
    {
        size_t dot = name.find('.');
        std::string who = name.substr(0, dot),
                    what = dot == std::string::npos ? "" : name.substr(dot + 1);
        if (strcasecmp(who.c_str(), "Red") && strcasecmp(who.c_str(), "Blue"))
            return false;
        *side = !strcasecmp(who.c_str(), "Red");
        for (int k = 0; k < SIDE_KEYS; k++)
            if (!strcasecmp(what.c_str(), NAMES[k]))
                return (*sideKey = k), true;
        return false;
    }
}

const char* SideKeyName(int sideKey)
{
    return sideKey >= 0 && sideKey < SIDE_KEYS ? NAMES[sideKey] : nullptr;
}

bool SetKeyTables(const std::string& file,
                  const std::vector<std::pair<std::string, std::string>>& entries)
{
    Table tables[2] = {Table(false), Table(true)};
    bool allTaken = true;
    for (const auto& entry : entries)
    {
        bool side = false;
        int sideKey = 0;
        if (!ParseName(entry.first, &side, &sideKey))
        {
            fprintf(stderr,
                    "%s: [Keys] %s = \"%s\" is no key of a side (Red.Left to Blue.Remove).\n",
                    file.c_str(), entry.first.c_str(), entry.second.c_str());
            allTaken = false;
            continue;
        }
        Table& t = tables[side];
        if (!t.ok)
            continue;
        int scancode = KeyOfName(entry.second);
        if (entry.second.empty())
            t.Refuse(file, entry, "has no value");
        else if (!strcasecmp(entry.second.c_str(), "P"))
            t.Refuse(file, entry, "is the pause key");
        else if (scancode < 0)
            t.Refuse(file, entry, "is no key's name (the README lists them)");
        else
        {
            t.keys[sideKey] = scancode;
            t.by[sideKey] = &entry;
        }
    }
    for (Table& t : tables)
        if (int k = t.Twice(); k >= 0)
            t.Refuse(file, *t.by[k], "is a key " + std::string(SIDES[t.side]) + " has already");
    // Both sides play at one keyboard: a key of both would act for both. The side whose entry
    // took the key gives way, blue first; its defaults never clash with red's.
    for (bool side : {false, true})
        for (int k = 0; k < SIDE_KEYS; k++)
        {
            Table &t = tables[side], &other = tables[!side];
            if (t.by[k] && other.Slot(t.keys[k]) >= 0)
                t.Refuse(file, *t.by[k], "is a key " + std::string(SIDES[!side]) + " has already");
        }
    memcpy(g_dwvRedKeys, tables[1].keys, sizeof g_dwvRedKeys);
    memcpy(g_dwvBlueKeys, tables[0].keys, sizeof g_dwvBlueKeys);
    return allTaken && tables[0].ok && tables[1].ok;
}

std::string DescribeMoves(bool side)
{
    const int* keys = side ? g_dwvRedKeys : g_dwvBlueKeys;
    std::string names[4];
    for (int k = 0; k < 4; k++)
        names[k] = KeyName(keys[k]);
    if (names[0] == "Left" && names[1] == "Right" && names[2] == "Up" && names[3] == "Down")
        return "arrows";
    // Up, left, down, right: the order a player reads WASD in.
    std::string order[4] = {names[2], names[0], names[3], names[1]};
    bool letters = true;
    for (const std::string& n : order)
        letters = letters && n.size() == 1;
    if (letters)
        return "keys " + order[0] + order[1] + order[2] + order[3];
    return order[0] + " " + order[1] + " " + order[2] + " " + order[3];
}
