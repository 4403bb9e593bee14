#include "Png.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include <zlib.h>

namespace
{
    void Put32(std::string& out, uint32_t v)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            out += char((v >> shift) & 0xFF);
    }

    // Length, type, data, and a CRC over the type and the data.
    void Chunk(std::string& out, const char* type, const std::string& data)
    {
        Put32(out, uint32_t(data.size()));
        std::string body = std::string(type, 4) + data;
        out += body;
        Put32(out, uint32_t(crc32(0, (const Bytef*)body.data(), uInt(body.size()))));
    }
}

bool WritePng(const char* file, int width, int height, const std::vector<unsigned char>& rgba)
{
    const size_t row = size_t(width) * 4;
    if (width <= 0 || height <= 0 || rgba.size() != row * height)
        return false;
    // Each row starts with its filter type; 0 leaves the bytes as they are.
    std::string raw;
    for (int y = 0; y < height; ++y)
    {
        raw += '\0';
        raw.append((const char*)rgba.data() + y * row, row);
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2((Bytef*)&packed[0], &packedSize, (const Bytef*)raw.data(), uLong(raw.size()),
                  9) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::string header;
    Put32(header, uint32_t(width));
    Put32(header, uint32_t(height));
    header +=
        std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", "");

    FILE* out = std::fopen(file, "wb");
    if (!out)
        return false;
    bool written = std::fwrite(png.data(), 1, png.size(), out) == png.size();
    return std::fclose(out) == 0 && written;
}
