#include "ReplayShelf.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>

#include "Recording.h"

namespace fs = std::filesystem;

namespace
{
    // Our names and nothing else: a file the player put there is never removed.
    const std::regex NAME(R"(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d(-\d+)?\.rec)");

    std::vector<fs::path> Kept()
    {
        std::vector<fs::path> files;
        std::error_code e;
        for (const auto& entry : fs::directory_iterator(ReplayFolder(), e))
            if (std::regex_match(entry.path().filename().string(), NAME))
                files.push_back(entry.path());
        // The name is the start time, and a second match begun in the same second has a number
        // after it: in that order they were played.
        auto order = [](const fs::path& p)
        {
            std::string stem = p.stem().string();
            return std::make_pair(stem.substr(0, 19),
                                  stem.size() > 20 ? atoi(stem.c_str() + 20) : 1);
        };
        std::sort(files.begin(), files.end(),
                  [&](const fs::path& a, const fs::path& b) { return order(a) < order(b); });
        return files;
    }

    std::string Sides(const zolMatchStart& start)
    {
        if (start.kind == MATCH_NETWORK)
            return "across two machines";
        if (start.kind == MATCH_VS_PLAYER)
            return "two players";
        return std::string(start.computerSide ? "red" : "blue") + ": computer, " +
               LevelName(start.level);
    }
}

std::string ReplayFolder()
{
    if (const char* data = getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/glowfront/replays";
    if (const char* home = getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/glowfront/replays";
    return "";
}

bool KeepNextMatch(zolRecorder& recorder, int keep)
{
    static bool said = false;
    std::string folder = ReplayFolder(), error;
    if (keep <= 0)
        return false;
    std::error_code e;
    if (!folder.empty())
        fs::create_directories(folder, e);
    if (folder.empty() || e)
        error = "cannot keep replays in " + (folder.empty() ? "(no home folder)" : folder) +
                (e ? ": " + e.message() : "");
    else
    {
        char name[40];
        time_t now = time(nullptr);
        strftime(name, sizeof name, "%Y-%m-%d_%H-%M-%S", localtime(&now));
        std::string path = folder + "/" + name + ".rec";
        for (int n = 2; fs::exists(path, e) || fs::exists(path + ".part", e); n++)
            path = folder + "/" + name + "-" + std::to_string(n) + ".rec";
        if (recorder.Open(path, &error, true))
            return true;
    }
    if (!said)
        fprintf(stderr, "glowfront: %s; this match is played all the same.\n", error.c_str());
    said = true;
    return false;
}

void PruneReplays(int keep)
{
    std::vector<fs::path> files = Kept();
    std::error_code e;
    for (size_t i = 0; i + keep < files.size(); i++)
        fs::remove(files[i], e);
}

std::vector<zolKeptReplay> ListReplays()
{
    std::vector<zolKeptReplay> list;
    std::vector<fs::path> files = Kept();
    for (auto it = files.rbegin(); it != files.rend(); ++it)
    {
        zolKeptReplay r;
        r.path = it->string();
        std::string stem = it->stem().string();
        r.when = stem.substr(0, 10) + " " + stem.substr(11, 2) + ":" + stem.substr(14, 2) + ":" +
                 stem.substr(17, 2);
        zolRecording recording;
        std::string why;
        if (!recording.Load(r.path, &why))
            // The reason without the path: the list shows whose it is.
            r.damaged = why.substr(why.find(": ") == std::string::npos ? 0 : why.find(": ") + 2);
        else
        {
            r.map = recording.GetStart().map.name;
            r.sides = Sides(recording.GetStart());
            r.ticks = (int)recording.GetTicks().size();
        }
        list.push_back(r);
    }
    return list;
}
