#include "zolFileCheck.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    bool Refuse(std::string* why, const std::string& reason)
    {
        if (why)
            *why = reason;
        return false;
    }

    uint32_t U16(const std::string& b, size_t at)
    {
        return (unsigned char)b[at] | (unsigned char)b[at + 1] << 8;
    }

    uint32_t U32(const std::string& b, size_t at)
    {
        return U16(b, at) | U16(b, at + 2) << 16;
    }

    // The library's decoder takes bit fields only as these red, green and blue masks.
    bool KnownBitFields(int bits, uint32_t red, uint32_t green, uint32_t blue)
    {
        if (bits == 16)
            return blue == 0x1F &&
                   ((red == 0x7C00 && green == 0x3E0) || (red == 0xF800 && green == 0x7E0));
        return bits == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
    }

    // The length of the well-formed UTF-8 sequence at text[at], or 0. The library's decoder also
    // takes sequences of five and six bytes, and some of those freeze it.
    size_t Utf8Length(const std::string& text, size_t at)
    {
        unsigned char c = text[at];
        size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
        if (c > 0xF4 || n == 0 || at + n > text.size())
            return 0;
        // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
        unsigned char second = text[at + 1];
        unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high)
            return 0;
        for (size_t i = 2; i < n; i++)
            if (((unsigned char)text[at + i] & 0xC0) != 0x80)
                return 0;
        return n;
    }

    std::string OnLine(const char* what, unsigned char byte, size_t line)
    {
        char text[80];
        snprintf(text, sizeof text, "%s 0x%02X on line %zu", what, byte, line);
        return text;
    }
}

bool ReadRegularFile(const char* path, size_t maxBytes, std::string* bytes, std::string* why)
{
    struct stat st;
    if (stat(path, &st) != 0)
        return Refuse(why, errno == ENOENT ? "missing"
                                           : std::string("cannot be read: ") + strerror(errno));
    if (!S_ISREG(st.st_mode))
        return Refuse(why, "not a regular file");
    // Should the name be swapped for a FIFO after the look above, O_NONBLOCK keeps open() from
    // waiting for a writer, and fstat() judges what was really opened.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Refuse(why, std::string("cannot be opened: ") + strerror(errno));
    bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!regular || (uint64_t)st.st_size > maxBytes)
    {
        close(fd);
        return Refuse(why, !regular ? "not a regular file"
                                    : std::to_string(st.st_size) + " bytes, more than " +
                                          std::to_string(maxBytes));
    }
    bytes->resize((size_t)st.st_size);
    size_t got = 0;
    int error = 0;
    while (got < bytes->size())
    {
        ssize_t n = read(fd, &(*bytes)[got], bytes->size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        got += (size_t)n;
    }
    close(fd);
    if (error)
        return Refuse(why, std::string("cannot be read: ") + strerror(error));
    bytes->resize(got); // a file cut short meanwhile is judged as it was read
    return true;
}

bool CheckPicture(const std::string& b, int maxWidth, int maxHeight, std::string* why)
{
    if (b.size() < 18 || b[0] != 'B' || b[1] != 'M')
        return Refuse(why, "not a BMP file");
    uint32_t pixelsAt = U32(b, 10), headerSize = U32(b, 14);
    if (headerSize != 12 && headerSize != 40)
        return Refuse(why, "a BMP header of " + std::to_string(headerSize) +
                               " bytes; the library reads only those of 12 and 40");
    size_t headerEnd = 14 + headerSize;
    if (b.size() < headerEnd)
        return Refuse(why, "header cut short");
    // The OS/2 header has unsigned 16-bit sizes and no compression.
    bool os2 = headerSize == 12;
    int64_t width = os2 ? (int64_t)U16(b, 18) : (int32_t)U32(b, 18);
    int64_t height = os2 ? (int64_t)U16(b, 20) : (int32_t)U32(b, 22);
    int bits = (int)U16(b, os2 ? 24 : 28);
    uint32_t compression = os2 ? 0 : U32(b, 30);
    std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width < 1 || height == 0)
        return Refuse(why, size + ": nothing to draw");
    if (height < 0)
        return Refuse(why, "rows stored top-down, which the library cannot read");
    if (width > maxWidth || height > maxHeight)
        return Refuse(why, size + ", more than " + std::to_string(maxWidth) + " x " +
                               std::to_string(maxHeight));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Refuse(why, std::to_string(bits) + " bits a pixel");
    if (compression == 1 || compression == 2)
        return Refuse(why, "run-length encoded");
    if (compression == 3)
    {
        // The masks follow the header, and the library reads the rows right after them.
        if (b.size() < headerEnd + 12 ||
            !KnownBitFields(bits, U32(b, headerEnd), U32(b, headerEnd + 4), U32(b, headerEnd + 8)))
            return Refuse(why, "bit fields the library cannot read");
        headerEnd += 12;
        if (pixelsAt != headerEnd)
            return Refuse(why, "pixel data not right after the bit fields");
    }
    else if (compression != 0)
        return Refuse(why, "compression " + std::to_string(compression) + ", unknown");
    // The library reads the palette from the header's end up to pixelsAt, then rows padded to 4 bytes.
    uint64_t rowBytes = (uint64_t)(width * bits + 31) / 32 * 4;
    if (pixelsAt < headerEnd || pixelsAt > b.size() || b.size() - pixelsAt < rowBytes * height)
        return Refuse(why, "pixel data outside the file");
    return true;
}

size_t MaxPictureBytes(int maxWidth, int maxHeight)
{
    // The longest header, a full palette, and rows of 32 bits a pixel.
    return 14 + 40 + 256 * 4 + (size_t)maxWidth * 4 * (size_t)maxHeight;
}

bool CheckPictureFile(const char* path, int maxWidth, int maxHeight, std::string* why)
{
    std::string bytes;
    return ReadRegularFile(path, MaxPictureBytes(maxWidth, maxHeight), &bytes, why) &&
           CheckPicture(bytes, maxWidth, maxHeight, why);
}

bool CheckSettings(const std::string& text, std::string* why)
{
    size_t line = 1, length = 0;
    bool comment = false, blank = true;
    for (size_t at = 0; at < text.size(); at++)
    {
        unsigned char c = text[at];
        // The library ends a line at either byte.
        if (c == '\n' || c == '\r')
        {
            line += c == '\n';
            length = 0;
            comment = false;
            blank = true;
            continue;
        }
        comment = comment || (blank && c == '#');
        blank = blank && (c == ' ' || c == '\t');
        size_t n = 1;
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return Refuse(why, OnLine("control byte", c, line));
        if (c >= 0x80 && !comment)
            return Refuse(why, OnLine("non-ASCII byte", c, line));
        if (c >= 0x80 && (n = Utf8Length(text, at)) == 0)
            return Refuse(why, OnLine("malformed UTF-8 from byte", c, line));
        at += n - 1;
        length += n;
        if (length > SETTINGS_MAX_LINE)
            return Refuse(why, "line " + std::to_string(line) + " longer than " +
                                   std::to_string(SETTINGS_MAX_LINE) + " bytes");
    }
    return true;
}

bool CheckSettingsFile(const char* path, std::string* why, std::string* text)
{
    std::string bytes, reason;
    if (!ReadRegularFile(path, SETTINGS_MAX_BYTES, &bytes, &reason))
    {
        if (text)
            text->clear();
        if (reason == "missing")
            return true;
        return Refuse(why, reason);
    }
    if (!CheckSettings(bytes, why))
        return false;
    if (text)
        text->swap(bytes);
    return true;
}
