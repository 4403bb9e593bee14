#include "Settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <allegro.h>

#include "Paths.h"

namespace
{
    bool Readable(const std::string& path)
    {
        return access(path.c_str(), R_OK) == 0;
    }

    // A whole number from low to high, the whole value and nothing else.
    bool WholeNumber(const char* text, int low, int high, int* value)
    {
        char* end;
        errno = 0;
        long n = strtol(text, &end, 10);
        if (end == text || *end || errno == ERANGE || n < low || n > high)
            return false;
        *value = (int)n;
        return true;
    }

    // Reads one key into *value when it is there; a value that fails keeps the default.
    // words: a value that stands for a number, such as "auto".
    void ReadKey(const std::string& file, const char* section, const char* name, int low, int high,
                 int* value, const char* word = nullptr, int wordValue = 0)
    {
        const char* text = get_config_string(section, name, nullptr);
        if (!text)
            return;
        if (word && strcmp(text, word) == 0)
            *value = wordValue;
        else if (!WholeNumber(text, low, high, value))
            fprintf(stderr, "%s: [%s] %s = \"%s\" is not %s%d to %d; keeping the default.\n",
                    file.c_str(), section, name, text, word ? "auto or " : "", low, high);
    }
}

std::string FindSettingsFile(const char* name)
{
    if (Readable(name))
        return name;
    std::string dir;
    if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        dir = xdg;
    else if (const char* home = getenv("HOME"); home && *home)
        dir = std::string(home) + "/.config";
    std::string path = dir + "/glowfront/" + name;
    if (!dir.empty() && Readable(path))
        return path;
    return InstalledDataFile(name);
}

zolSettings ReadSettings(const std::string& file)
{
    zolSettings settings;
    if (file.empty())
        return settings;
    push_config_state();
    set_config_file(file.c_str());
    ReadKey(file, "Display", "Scale", 1, 4, &settings.scale, "auto", 0);
    int fullscreen = settings.fullscreen;
    ReadKey(file, "Display", "Fullscreen", 0, 1, &fullscreen);
    settings.fullscreen = fullscreen;
    ReadKey(file, "Display", "FrameCap", 0, 1000, &settings.frameCap, "auto", -1);
    ReadKey(file, "Sound", "Volume", 0, 255, &settings.volume);
    pop_config_state();
    return settings;
}
