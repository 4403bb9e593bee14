#include "Pictures.h"

#include <string>

#include "Paths.h"

namespace
{
#define GLOWFRONT_PICTURE_NAME(name) #name,
    const char* const NAMES[PICTURE_COUNT] = {GLOWFRONT_PICTURES(GLOWFRONT_PICTURE_NAME)};
#undef GLOWFRONT_PICTURE_NAME
#define GLOWFRONT_PICTURE_PATH(name) "Data/" #name ".bmp",
    const char* const PATHS[PICTURE_COUNT] = {GLOWFRONT_PICTURES(GLOWFRONT_PICTURE_PATH)};
#undef GLOWFRONT_PICTURE_PATH
}

const char* PictureName(int picture)
{
    return picture >= 0 && picture < PICTURE_COUNT ? NAMES[picture] : nullptr;
}

const char* PicturePath(int picture)
{
    if (picture < 0 || picture >= PICTURE_COUNT)
        return nullptr;
    std::string found = FindDataFile(PATHS[picture]);
    if (found.empty() || found == PATHS[picture])
        return PATHS[picture];
    // Callers keep the pointer to name a picture that failed to load; the installed path never
    // changes during a run, so it is stored once.
    static std::string installed[PICTURE_COUNT];
    if (installed[picture].empty())
        installed[picture] = found;
    return installed[picture].c_str();
}
