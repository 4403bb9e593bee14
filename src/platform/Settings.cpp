#include "Settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <allegro.h>

#include "Paths.h"
#include "zolFileCheck.h"

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

    // Reads one key of the file whose checked text the library holds into *value when it is
    // there; a value that fails, or an empty one, keeps the default. word: a value that stands
    // for a number, such as "auto".
    void ReadKey(const std::string& file, const std::string& data, const char* section,
                 const char* name, int low, int high, int* value, const char* word = nullptr,
                 int wordValue = 0)
    {
        const char* text = get_config_string(section, name, nullptr);
        if (!text && HasEmptyValue(data, section, name))
            fprintf(stderr, "%s: [%s] %s has no value; keeping the default.\n", file.c_str(),
                    section, name);
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

bool UseSettingsFile(const std::string& file, std::string* text)
{
    std::string why;
    if (CheckSettingsFile(file.c_str(), &why, text))
        return true;
    fprintf(stderr, "%s: %s; every setting in it keeps its default.\n", file.c_str(), why.c_str());
    return false;
}

namespace
{
    std::string Trim(const std::string& s)
    {
        size_t first = s.find_first_not_of(" \t\r"), last = s.find_last_not_of(" \t\r");
        return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
    }
}

std::vector<std::pair<std::string, std::string>> SectionEntries(const std::string& text,
                                                                const char* section)
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::string current, wanted = std::string("[") + section + "]";
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = text.find('\n', at);
        std::string line = Trim(text.substr(at, end == std::string::npos ? end : end - at));
        at = end == std::string::npos ? text.size() : end + 1;
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[')
            current = line;
        else if (size_t equals = line.find('='); current == wanted && equals != std::string::npos)
            entries.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return entries;
}

bool HasEmptyValue(const std::string& text, const char* section, const char* key)
{
    for (const auto& [name, value] : SectionEntries(text, section))
        if (name == key && value.empty())
            return true;
    return false;
}

zolSettings ReadSettings(const std::string& file)
{
    zolSettings settings;
    std::string text;
    if (file.empty() || !UseSettingsFile(file, &text))
        return settings;
    push_config_state();
    set_config_data(text.data(), (int)text.size());
    ReadKey(file, text, "Display", "Scale", 1, 4, &settings.scale, "auto", 0);
    int fullscreen = settings.fullscreen;
    ReadKey(file, text, "Display", "Fullscreen", 0, 1, &fullscreen);
    settings.fullscreen = fullscreen;
    ReadKey(file, text, "Display", "FrameCap", 0, 1000, &settings.frameCap, "auto", -1);
    ReadKey(file, text, "Sound", "Volume", 0, 255, &settings.volume);
    ReadKey(file, text, "Replays", "Keep", 0, 10000, &settings.keep);
    pop_config_state();
    settings.keys = SectionEntries(text, "Keys");
    settings.file = file;
    return settings;
}
