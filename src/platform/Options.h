#ifndef OPTIONS_H
#define OPTIONS_H

#include <string>

// What the command line asks for. With no options the game starts at its title menu.
struct zolOptions
{
    enum Action
    {
        PLAY,      // the title menu, or a network match with host or join
        HELP,      // --help: the usage on stdout
        VERSION,   // --version
        REPLAY,    // --replay FILE: show a recorded match again
        VERIFY,    // --verify FILE: replay without a display and check the fingerprint
        ARENA,     // --arena RED BLUE: computers against each other, headless, at full speed
        LIST_MAPS, // --list-maps: the built-in maps' names
        SHOW_MAP   // --show-map M: the map in the map file format
    };

    Action action = PLAY;
    std::string record; // --record FILE: the run's first match goes there; empty: none
    std::string replay; // the file of --replay or --verify
    bool host = false;  // --host [PORT]: red, waiting for the other player
    std::string join;   // --join HOST[:PORT]: the host's name or address; empty: none
    int port = 47630;   // of --host, or after the colon of --join
    // The computer's level in the menu (--level) and the arena's words, as given: the layers
    // that know levels and maps judge them.
    std::string level = "normal";
    std::string arenaRed, arenaBlue; // levels
    std::string matches = "10", seed = "1";
    std::string map; // of --map or --show-map: a built-in name, "random:SEED" or a file; empty:
                     // the start map
};

// False, with a one-line reason in error, when the command line is not one the game takes.
bool ParseOptions(int argc, char** argv, zolOptions* options, std::string* error);
// HOST or HOST:PORT into host and port (which keeps its value when none is given).
bool ParseAddress(const std::string& text, std::string* host, int* port, std::string* error);
// The usage: options, keys and files, as --help prints it.
const char* UsageText();
const char* GameVersion(); // "1.1.0"
// True for a version of the game whose matches play out as this one's, given the same start and
// keys: its recordings replay here.
bool PlaysLike(const std::string& version);

#endif
