#ifndef SETTINGS_H
#define SETTINGS_H

#include <string>
#include <utility>
#include <vector>

// The player's choices from glowfront.cfg. The game only reads the file; a missing file or key
// means the default, and a bad value keeps the default with one line on stderr.
struct zolSettings
{
    int scale = 0;           // [Display] Scale: 1 to 4, or 0 for auto (fit the desktop)
    bool fullscreen = false; // [Display] Fullscreen: 0 or 1
    int frameCap = -1;       // [Display] FrameCap: frames a second; -1 auto (one per refresh),
                             // 0 unpaced
    int volume = 160;        // [Sound] Volume: 0 (silent) to 255
    int keep = 20;           // [Replays] Keep: recordings of finished matches kept; 0 none
    // [Keys]: every entry as written, name then value, blanks trimmed; the players make sense of
    // them (KeyConfig.h).
    std::vector<std::pair<std::string, std::string>> keys;
    std::string file; // where these came from; empty: the defaults, no file
};

// Where a settings file is read from: the working directory, else $XDG_CONFIG_HOME/glowfront/
// (~/.config/glowfront/ when that is unset), else the installed data folder (Paths.h). Empty
// when it is in none of them.
std::string FindSettingsFile(const char* name);

// The settings in file (which may be missing).
zolSettings ReadSettings(const std::string& file);

// The text of a settings file that the library's reader may be given, into text (empty for a
// missing file). False, with one line on stderr naming the file and why, for one it must not
// see: then every default holds.
bool UseSettingsFile(const std::string& file, std::string* text);
// True when the checked text gives key in section no value ("key ="): the library's reader
// cannot tell that from a missing key, and a player who wrote it should hear why it did nothing.
bool HasEmptyValue(const std::string& text, const char* section, const char* key);
// Every "name = value" line of section in the checked text, in order, blanks trimmed; lines
// starting with '#' are comments, as the library has them.
std::vector<std::pair<std::string, std::string>> SectionEntries(const std::string& text,
                                                                const char* section);

#endif
