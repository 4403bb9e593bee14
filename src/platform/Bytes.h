#ifndef BYTES_H
#define BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Little-endian numbers into and out of bytes, for recordings and network messages, and text
// from them made safe to show.

struct zolByteWriter
{
    std::string bytes;

    template <class T>
    zolByteWriter& Put(T value)
    {
        for (size_t i = 0; i < sizeof(T); i++)
            bytes += (char)(uint8_t)((uint64_t)value >> (8 * i));
        return *this;
    }
    zolByteWriter& Count(uint32_t value) // seven bits a byte, the high bit on all but the last
    {
        for (; value >= 0x80; value >>= 7)
            Put<uint8_t>((uint8_t)(value | 0x80));
        return Put<uint8_t>((uint8_t)value);
    }
    zolByteWriter& Text(const std::string& text, size_t most = 255) // its length, then it
    {
        std::string cut = text.substr(0, most < 255 ? most : 255);
        Put<uint8_t>((uint8_t)cut.size());
        bytes += cut;
        return *this;
    }
};

// Reads from bytes it does not own and never past their end: each call is false, taking
// nothing, where what it asks for is not all there.
class zolByteReader
{
public:
    zolByteReader(const void* data, size_t size) : m_pData((const uint8_t*)data), m_dwSize(size) {}

    bool Take(void* into, size_t size)
    {
        if (m_dwSize - m_dwAt < size)
            return false;
        memcpy(into, m_pData + m_dwAt, size);
        m_dwAt += size;
        return true;
    }
    template <class T>
    bool Get(T* value)
    {
        uint8_t raw[sizeof(T)];
        if (!Take(raw, sizeof raw))
            return false;
        uint64_t v = 0;
        for (size_t i = sizeof raw; i-- > 0;)
            v = v << 8 | raw[i];
        *value = (T)v;
        return true;
    }
    bool Count(uint32_t* value) // at most five bytes
    {
        *value = 0;
        for (int shift = 0; shift < 35; shift += 7)
        {
            uint8_t b;
            if (!Get(&b))
                return false;
            *value |= (uint32_t)(b & 0x7F) << shift;
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
    bool Text(std::string* text)
    {
        uint8_t length;
        if (!Get(&length) || m_dwSize - m_dwAt < length)
            return false;
        text->assign((const char*)m_pData + m_dwAt, length);
        m_dwAt += length;
        return true;
    }
    bool Done() { return m_dwAt == m_dwSize; }

private:
    const uint8_t* m_pData; // not owned
    size_t m_dwSize;
    size_t m_dwAt = 0;
};

// Text from outside, fit to be shown on one line: every byte that is not printable ASCII becomes
// '?' (so no control byte breaks the line and no byte starts a character the font would swallow
// the next ones into), '"' becomes '\'' (so that quoted text cannot seem to end early), and a
// text longer than most characters (at least 3) is cut to most, its last three "...".
inline std::string PrintableText(const std::string& raw, size_t most)
{
    std::string text = raw.size() > most ? raw.substr(0, most - 3) + "..." : raw;
    for (char& c : text)
        c = c == '"' ? '\'' : c < ' ' || c > '~' ? '?' : c;
    return text;
}

#endif
