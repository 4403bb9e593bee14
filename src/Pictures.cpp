#include "Pictures.h"

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
    return picture >= 0 && picture < PICTURE_COUNT ? PATHS[picture] : nullptr;
}
