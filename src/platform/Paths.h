#ifndef PATHS_H
#define PATHS_H

#include <string>

// The installed copy of the game's data, for a game run from outside its build folder: the
// folder GLOWFRONT_DATA_FROM_BIN (set by the build, "../share/glowfront" by default) from the
// folder of the running executable, so that a moved installation still finds it.

// relative ("Data/Title.bmp") in the installed data folder when it can be read there; else empty.
std::string InstalledDataFile(const char* relative);
// relative itself when it can be read from the working directory, else the same beside the
// running executable (a game started from anywhere out of its build folder), else
// InstalledDataFile().
std::string FindDataFile(const char* relative);

#endif
