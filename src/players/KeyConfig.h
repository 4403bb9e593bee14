#ifndef KEYCONFIG_H
#define KEYCONFIG_H

#include <string>
#include <utility>
#include <vector>

// Each side's keys as a player sets them in glowfront.cfg:
//
//   [Keys]
//   Blue.North = O
//
// one entry a key, named `Red.` or `Blue.` and then Left Right Up Down North East South West
// Clear Thorns Trainer Hive Remove, with a key's name as Keyboard.h knows it. An entry that names
// no key of a side, a value that is no key's name, and a key used twice (by one side or both)
// each get one line on stderr naming the file, the entry and the value; the side at fault then
// keeps its whole default table, so no side is ever left with a key missing.

// The name of a side's key in the settings, "Left" for SK_LEFT; null outside the table.
const char* SideKeyName(int sideKey);

// Sets g_dwvRedKeys and g_dwvBlueKeys from the entries of [Keys] (name, value; as Settings.h
// reads them from file), starting from the default tables. True when every entry was taken.
bool SetKeyTables(const std::string& file,
                  const std::vector<std::pair<std::string, std::string>>& entries);

// The four moves of a side's table in force in a few words: "keys WASD", "arrows".
std::string DescribeMoves(bool side);

#endif
