#include "Options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace
{
    // low 0 lets the system choose: a host may wait on any free port.
    bool Port(const char* text, int* port, int low = 1)
    {
        char* end;
        errno = 0;
        long n = strtol(text, &end, 10);
        if (end == text || *end || errno || n < low || n > 65535)
            return false;
        *port = (int)n;
        return true;
    }

    bool Fail(std::string* error, const std::string& why)
    {
        *error = why;
        return false;
    }
}

bool ParseAddress(const std::string& text, std::string* host, int* port, std::string* error)
{
    std::string address = text;
    size_t colon = address.rfind(':');
    if (colon != std::string::npos && address.find(':') == colon)
    {
        if (!Port(address.c_str() + colon + 1, port))
            return Fail(error, "\"" + address.substr(colon + 1) + "\" is not a port (1 to 65535)");
        address.erase(colon);
    }
    if (address.empty())
        return Fail(error, "no host given");
    *host = address;
    return true;
}

const char* GameVersion()
{
    return GLOWFRONT_VERSION;
}

bool PlaysLike(const std::string& version)
{
    // Every version so far has played the same rules.
    static const char* const SAME_RULES[] = {"1.1.0"};
    for (const char* v : SAME_RULES)
        if (version == v)
            return true;
    return version == GameVersion();
}

const char* UsageText()
{
    return "Usage: glowfront [--level LEVEL] [--map M] [--record FILE]\n"
           "                 [--host [PORT] | --join HOST[:PORT]]\n"
           "       glowfront --replay FILE | --verify FILE\n"
           "       glowfront --arena RED BLUE [--matches N] [--seed S] [--map M]\n"
           "       glowfront --list-maps | --show-map M\n"
           "       glowfront --help | --version\n"
           "\n"
           "A two-sided real-time strategy game: red at the keyboard against the computer,\n"
           "a second player at the same keyboard, or a player on another machine.\n"
           "\n"
           "  --level LEVEL      the computer's level to start with: easy, normal (the\n"
           "                     default) or hard; Left and Right change it in the menu\n"
           "  --record FILE      record the first match of this run to FILE\n"
           "  --replay FILE      watch a recorded match (Space pauses, Left and Right seek)\n"
           "  --verify FILE      replay a recording without a display and check it\n"
           "  --host [PORT]      play red across the network, waiting on PORT (47630;\n"
           "                     0: any free port, which is shown and printed)\n"
           "  --join HOST[:PORT] play blue against the game hosted on HOST\n"
           "  --arena RED BLUE   play N matches (10) between two computer levels without a\n"
           "                     display, match I seeded S + I - 1 (S: 1), on the map M\n"
           "                     (the starting map); print each outcome and the tally\n"
           "  --map M            play every match on M: a built-in map's name, random:SEED\n"
           "                     (1 to 12 letters or digits) or a map file\n"
           "  --list-maps        name the built-in maps\n"
           "  --show-map M       print the map M as a map file\n"
           "  --help             show this and leave\n"
           "  --version          show the version and leave\n"
           "\n"
           "Keys: F1 in the game shows both players' keys. Settings: glowfront.cfg and\n"
           "MaxUnits.cfg, in the working directory, ~/.config/glowfront/ or the game's\n"
           "installed data folder. The manual, glowfront(6), tells more.\n";
}

bool ParseOptions(int argc, char** argv, zolOptions* options, std::string* error)
{
    zolOptions o;
    bool arena = false; // an option of the arena's was given
    for (int i = 1; i < argc; i++)
    {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!strcmp(arg, "--help"))
            o.action = zolOptions::HELP;
        else if (!strcmp(arg, "--version"))
            o.action = zolOptions::VERSION;
        else if (!strcmp(arg, "--record") || !strcmp(arg, "--replay") || !strcmp(arg, "--verify"))
        {
            if (!next)
                return Fail(error, std::string(arg) + " needs a file");
            i++;
            if (!strcmp(arg, "--record"))
                o.record = next;
            else
            {
                o.action = !strcmp(arg, "--replay") ? zolOptions::REPLAY : zolOptions::VERIFY;
                o.replay = next;
            }
        }
        else if (!strcmp(arg, "--arena"))
        {
            if (i + 2 >= argc)
                return Fail(error, "--arena needs two levels, red's and blue's");
            o.action = zolOptions::ARENA;
            o.arenaRed = argv[++i];
            o.arenaBlue = argv[++i];
        }
        else if (!strcmp(arg, "--list-maps"))
            o.action = zolOptions::LIST_MAPS;
        else if (!strcmp(arg, "--level") || !strcmp(arg, "--matches") || !strcmp(arg, "--seed") ||
                 !strcmp(arg, "--map") || !strcmp(arg, "--show-map"))
        {
            if (!next)
                return Fail(error, std::string(arg) + " needs a value");
            i++;
            std::string& value = !strcmp(arg, "--level")     ? o.level
                                 : !strcmp(arg, "--matches") ? o.matches
                                 : !strcmp(arg, "--seed")    ? o.seed
                                                             : o.map;
            value = next;
            if (!strcmp(arg, "--matches") || !strcmp(arg, "--seed"))
                arena = true;
            if (!strcmp(arg, "--show-map"))
                o.action = zolOptions::SHOW_MAP;
        }
        else if (!strcmp(arg, "--host"))
        {
            o.host = true;
            // The port is optional: a word that is not one is the next option.
            if (next && next[0] != '-' && Port(next, &o.port, 0))
                i++;
            else if (next && next[0] != '-')
                return Fail(error, std::string("--host: \"") + next +
                                       "\" is not a port (1 to 65535, or 0 for any free one)");
        }
        else if (!strcmp(arg, "--join"))
        {
            if (!next)
                return Fail(error, "--join needs a host");
            i++;
            if (!ParseAddress(next, &o.join, &o.port, error))
                return Fail(error, "--join: " + *error);
        }
        else
            return Fail(error, std::string("unknown option \"") + arg + "\"");
    }
    if (o.host && !o.join.empty())
        return Fail(error, "--host and --join cannot go together");
    if ((o.action == zolOptions::REPLAY || o.action == zolOptions::VERIFY) &&
        (o.host || !o.join.empty() || !o.record.empty() || !o.map.empty()))
        return Fail(error, "a replay plays alone, on its own map: no --record, --host, --join or "
                           "--map with it");
    if (arena && o.action != zolOptions::ARENA)
        return Fail(error, "--matches and --seed go with --arena");
    if (o.action == zolOptions::ARENA && (o.host || !o.join.empty() || !o.record.empty()))
        return Fail(error, "the arena plays alone: no --record, --host or --join with it");
    *options = o;
    return true;
}
