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

    // Empty when the executable's location cannot be read.
    const std::string& InstalledDataDir()
    {
        // Worked out once, from where the executable was started.
        static const std::string dir = []
        {
            char exe[PATH_MAX];
            ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
            if (n <= 0)
                return std::string();
            // The kernel gives the executable's real path, so ".." can be taken away by its text.
            std::filesystem::path folder =
                std::filesystem::path(std::string(exe, (size_t)n)).parent_path();
            return (folder / GLOWFRONT_DATA_FROM_BIN).lexically_normal().string();
        }();
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
    return Readable(relative) ? relative : InstalledDataFile(relative);
}
