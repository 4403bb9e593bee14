#ifndef PICTURES_H
#define PICTURES_H

// Every picture the game loads from Data/, by name, in one list: the loader, the picture
// generator, the tests and the build (which reads the PICTURE lines below) all take it from here.
#define GLOWFRONT_PICTURES(PICTURE)                                                                \
    PICTURE(Title)                                                                                 \
    PICTURE(RedWins)                                                                               \
    PICTURE(BlueWins)                                                                              \
    PICTURE(VsComputer)                                                                            \
    PICTURE(VsPlayer)                                                                              \
    PICTURE(Exit)                                                                                  \
    PICTURE(Floor)                                                                                 \
    PICTURE(Hive)                                                                                  \
    PICTURE(Trainer)                                                                               \
    PICTURE(Thorns)                                                                                \
    PICTURE(BuildTrainer)                                                                          \
    PICTURE(BuildHive)                                                                             \
    PICTURE(BuildThorns)                                                                           \
    PICTURE(HostGame)                                                                              \
    PICTURE(JoinGame)                                                                              \
    PICTURE(MapChoice)                                                                             \
    PICTURE(WatchReplay)

enum zolPicture
{
#define GLOWFRONT_PICTURE_ENUM(name) PIC_##name,
    GLOWFRONT_PICTURES(GLOWFRONT_PICTURE_ENUM)
#undef GLOWFRONT_PICTURE_ENUM
        PICTURE_COUNT
};

// "Title" for PIC_Title; null for a number outside the list.
const char* PictureName(int picture);
// The path the game loads it from: "Data/Title.bmp" in the working directory, else the installed
// copy (Paths.h); "Data/Title.bmp" when neither can be read. Valid for the whole run.
const char* PicturePath(int picture);

#endif
