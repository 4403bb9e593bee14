#include "Paths.h"

#include <climits>
#include <filesystem>
#include <unistd.h>

namespace
{
    bool Readable(const std::string& path)
    {
        return access(path.c_str(), R_OK) == 0;
    }

    // The folder of the running executable, worked out once; empty when it cannot be read.
    const std::filesystem::path& ExecutableDir()
    {
        static const std::filesystem::path dir = []
        {
            char exe[PATH_MAX];
            ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
            if (n <= 0)
                return std::filesystem::path();
            return std::filesystem::path(std::string(exe, (size_t)n)).parent_path();
        }();
        return dir;
    }

    // Empty when the executable's location cannot be read.
    const std::string& InstalledDataDir()
    {
        // The kernel gives the executable's real path, so ".." can be taken away by its text.
        static const std::string dir =
            ExecutableDir().empty()
                ? std::string()
                : (ExecutableDir() / GLOWFRONT_DATA_FROM_BIN).lexically_normal().string();
        return dir;
    }
}

std::string InstalledDataFile(const char* relative)
{
    if (InstalledDataDir().empty())
        return "";
    std::string path = InstalledDataDir() + "/" + relative;
    return Readable(path) ? path : "";
}

std::string FindDataFile(const char* relative)
{
    if (Readable(relative))
        return relative;
    // A game run from its build folder, from wherever the player stands.
    if (!ExecutableDir().empty())
        if (std::string beside = (ExecutableDir() / relative).string(); Readable(beside))
            return beside;
    return InstalledDataFile(relative);
}
