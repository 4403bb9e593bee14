#ifndef PNG_H
#define PNG_H

#include <vector>

// Writes width x height pixels, four bytes each (red, green, blue, alpha, the alpha not
// premultiplied), rows from the top, as an 8-bit RGBA PNG. False when the file cannot be written.
bool WritePng(const char* file, int width, int height, const std::vector<unsigned char>& rgba);

#endif
