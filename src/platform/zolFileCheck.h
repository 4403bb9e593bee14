#ifndef ZOLFILECHECK_H
#define ZOLFILECHECK_H

#include <cstddef>
#include <string>

// Checks on the files a player may replace or edit, made before the library's readers see them:
// those readers trust every byte, and a few wrong ones crash or freeze the game. Each check is
// true for a file the library reads safely; otherwise false, with a short reason for a person in
// why (when not null), such as "not a regular file" or "run-length encoded".

// Pictures, in pixels. Start-up pictures fill the 640 x 480 screen; tile sources and build
// pictures are scaled to their 32 x 32 tile, so a larger one costs memory only: 4 MiB at most.
const int SCREEN_PICTURE_WIDTH = 640;
const int SCREEN_PICTURE_HEIGHT = 480;
const int TILE_PICTURE_SIZE = 1024; // width and height alike
// Settings files: bytes in all, and bytes on one line without its line ending.
const size_t SETTINGS_MAX_BYTES = 64 * 1024;
const size_t SETTINGS_MAX_LINE = 512;

// The whole of a regular file of at most maxBytes into bytes. Never waits on a FIFO or a device:
// anything but a regular file is refused unread. why is "missing" when nothing has that name.
bool ReadRegularFile(const char* path, size_t maxBytes, std::string* bytes, std::string* why);

// A BMP that the library reads whole and safely, of at most maxWidth x maxHeight pixels: a 12- or
// 40-byte header; 1, 4, 8, 16, 24 or 32 bits a pixel; uncompressed, or bit fields 5-5-5 or 5-6-5
// at 16 bits and 8-8-8 at 32; rows bottom-up (the library misreads top-down ones); palette and
// pixels inside the file.
// Run-length encoding is refused: the library's decoder trusts every run.
bool CheckPicture(const std::string& bytes, int maxWidth, int maxHeight, std::string* why);
bool CheckPictureFile(const char* path, int maxWidth, int maxHeight, std::string* why);
// The longest file a picture within those limits needs; a longer one is refused unread.
size_t MaxPictureBytes(int maxWidth, int maxHeight);

// Text that the library's configuration reader gets through quickly and whole: no control byte
// but tab, CR and LF; ASCII only, except in comments (lines whose first byte after blanks is '#',
// as the library has them), which may hold well-formed UTF-8; lines of SETTINGS_MAX_LINE at most.
bool CheckSettings(const std::string& text, std::string* why);
// CheckSettings on a regular file of SETTINGS_MAX_BYTES at most. A missing file passes: the library
// reads it as empty, so every default holds. text (when not null) gets the bytes checked, for
// set_config_data, so that the file is read only once.
bool CheckSettingsFile(const char* path, std::string* why, std::string* text = nullptr);

#endif
