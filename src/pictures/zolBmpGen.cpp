#include "zolBmpGen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include <allegro.h>

#include "zolRandom.h"

namespace
{
    // Eight nested circles, largest and faintest first; the values are raw light, not colours.
    void PaintGlow(BITMAP* light, int cx, int cy, int w)
    {
        int R = (int)((float)w * 1.414213f) / 2;
        static const int values[8] = {0x20, 0x40, 0x60, 0x80, 0xA0, 0xC0, 0xE0, 0xFF};
        for (int i = 0; i < 8; i++)
            circlefill(light, cx, cy, (16 - i) * R / 16, values[i]);
    }

    void Shade(BITMAP* dest, BITMAP* src, BITMAP* light)
    {
        for (int y = 0; y < src->h; y++)
            for (int x = 0; x < src->w; x++)
            {
                int v = std::clamp(getpixel(light, x, y), 0, 255);
                int level = v / 2 + 128;
                int c = getpixel(src, x, y);
                putpixel(
                    dest, x, y,
                    makecol(getr(c) * level / 255, getg(c) * level / 255, getb(c) * level / 255));
            }
    }

    // glows: centres (cx, cy) in painting order. Null when either bitmap cannot be created.
    BITMAP* Light(BITMAP* src, const int (*glows)[2], int count)
    {
        BITMAP* result = create_bitmap(src->w, src->h);
        if (!result)
            return nullptr;
        BITMAP* light = create_bitmap(src->w, src->h);
        if (!light)
        {
            destroy_bitmap(result);
            return nullptr;
        }
        clear_bitmap(light);
        for (int i = 0; i < count; i++)
            PaintGlow(light, glows[i][0], glows[i][1], src->w);
        Shade(result, src, light);
        destroy_bitmap(light);
        return result;
    }
}

namespace
{
    // The bytes of a checked file, handed to the library's reader as a file of its own, so that
    // what it reads is exactly what was checked.
    struct MemoryFile
    {
        const std::string* bytes;
        size_t at;

        size_t Left() const { return bytes->size() - at; }
    };

    MemoryFile* Memory(void* file)
    {
        return static_cast<MemoryFile*>(file);
    }

    // Read only; closing leaves the bytes to their owner.
    const PACKFILE_VTABLE MEMORY_FILE = {
        /* fclose */ [](void*) { return 0; },
        /* getc */
        [](void* f)
        { return Memory(f)->Left() ? (unsigned char)(*Memory(f)->bytes)[Memory(f)->at++] : EOF; },
        /* ungetc */
        [](int c, void* f)
        {
            Memory(f)->at -= Memory(f)->at > 0;
            return c;
        },
        /* fread */
        [](void* p, long n, void* f)
        {
            long count = std::min((long)Memory(f)->Left(), std::max(n, 0L));
            memcpy(p, Memory(f)->bytes->data() + Memory(f)->at, (size_t)count);
            Memory(f)->at += (size_t)count;
            return count;
        },
        /* putc */ [](int, void*) { return EOF; },
        /* fwrite */ [](const void*, long, void*) { return 0L; },
        /* fseek */
        [](void* f, int offset)
        {
            Memory(f)->at += std::min(Memory(f)->Left(), (size_t)std::max(offset, 0));
            return 0;
        },
        /* feof */ [](void* f) { return (int)(Memory(f)->Left() == 0); },
        /* ferror */ [](void*) { return 0; },
    };

    // Every refusal but a missing file is told once a run: a build picture is tried again at each
    // construction.
    void TellRefusal(const char* file, const std::string& why)
    {
        static std::set<std::string> told;
        if (why != "missing" && told.insert(file).second)
            fprintf(stderr, "%s: %s\n", file, why.c_str());
    }
}

BITMAP* zolLoadPicture(const char* file, int maxWidth, int maxHeight)
{
    std::string bytes, why;
    if (!ReadRegularFile(file, MaxPictureBytes(maxWidth, maxHeight), &bytes, &why) ||
        !CheckPicture(bytes, maxWidth, maxHeight, &why))
    {
        TellRefusal(file, why);
        return nullptr;
    }
    MemoryFile memory = {&bytes, 0};
    PACKFILE* pf = pack_fopen_vtable(&MEMORY_FILE, &memory);
    if (!pf)
        return nullptr;
    BITMAP* bmp = load_bmp_pf(pf, nullptr);
    pack_fclose(pf);
    return bmp;
}

BITMAP* zolLoadBuildPicture(const char* file)
{
    const int TILE = 32;
    BITMAP* bmp = zolLoadPicture(file, TILE_PICTURE_SIZE, TILE_PICTURE_SIZE);
    if (!bmp || (bmp->w <= TILE && bmp->h <= TILE))
        return bmp;
    // The longer side becomes the tile's. The stretch takes the nearest pixel, so pixels of the
    // mask colour stay exactly that, and the picture keeps its see-through parts.
    int longer = std::max(bmp->w, bmp->h);
    BITMAP* small =
        create_bitmap(std::max(1, bmp->w * TILE / longer), std::max(1, bmp->h * TILE / longer));
    if (small)
        stretch_blit(bmp, small, 0, 0, bmp->w, bmp->h, 0, 0, small->w, small->h);
    destroy_bitmap(bmp);
    return small;
}

void zolCopyPicture(BITMAP* dest, BITMAP* src, int x, int y)
{
    int depth = bitmap_color_depth(src);
    bool direct = is_memory_bitmap(dest) && is_memory_bitmap(src) &&
                  bitmap_color_depth(dest) == depth && x >= dest->cl && y >= dest->ct &&
                  x + src->w <= dest->cr && y + src->h <= dest->cb;
    if (!direct)
    {
        blit(src, dest, 0, 0, x, y, src->w, src->h);
        return;
    }
    int bytes = (depth + 7) / 8;
    for (int row = 0; row < src->h; row++)
        memcpy(dest->line[y + row] + x * bytes, src->line[row], (size_t)src->w * bytes);
}

BITMAP* zolGenNoise(int colour1, int colour2, int width, int height)
{
    BITMAP* bmp = create_bitmap(width, height);
    if (!bmp)
        return nullptr;
    int r1 = getr(colour1), g1 = getg(colour1), b1 = getb(colour1);
    int dr = getr(colour2) - r1, dg = getg(colour2) - g1, db = getb(colour2) - b1;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            int b = b1 + (zolRand() * db) / 32767;
            int g = g1 + (zolRand() * dg) / 32767;
            int r = r1 + (zolRand() * dr) / 32767;
            putpixel(bmp, x, y, makecol(r, g, b));
        }
    return bmp;
}

BITMAP* zolGenSmooth(BITMAP* src)
{
    BITMAP* bmp = create_bitmap(src->w, src->h);
    if (!bmp)
        return nullptr;
    static const int around[5][2] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int y = 0; y < src->h; y++)
        for (int x = 0; x < src->w; x++)
        {
            int r = 0, g = 0, b = 0, n = 0;
            for (const auto& d : around)
            {
                int sx = x + d[0], sy = y + d[1];
                if (sx < 0 || sx >= src->w || sy < 0 || sy >= src->h)
                    continue;
                int c = getpixel(src, sx, sy);
                r += getr(c);
                g += getg(c);
                b += getb(c);
                n++;
            }
            putpixel(bmp, x, y, makecol(r / n, g / n, b / n));
        }
    return bmp;
}

BITMAP* zolGenClone(BITMAP* src)
{
    BITMAP* bmp = create_bitmap(src->w, src->h);
    if (!bmp)
        return nullptr;
    blit(src, bmp, 0, 0, 0, 0, src->w, src->h);
    return bmp;
}

BITMAP* zolGenLightOn(BITMAP* src)
{
    int w = src->w;
    const int glow[1][2] = {{w / 2, w / 2}};
    return Light(src, glow, 1);
}

BITMAP* zolGenLightOff(BITMAP* src, bool north, bool east, bool south, bool west)
{
    int w = src->w;
    int glows[4][2];
    int count = 0;
    // Painted north, west, south, east: a later glow covers an earlier one where they overlap.
    if (north)
    {
        glows[count][0] = w / 2;
        glows[count][1] = -w / 2;
        count++;
    }
    if (west)
    {
        glows[count][0] = -w / 2;
        glows[count][1] = w / 2;
        count++;
    }
    if (south)
    {
        glows[count][0] = w / 2;
        glows[count][1] = (w * 3) / 2;
        count++;
    }
    if (east)
    {
        glows[count][0] = (w * 3) / 2;
        glows[count][1] = w / 2;
        count++;
    }
    return Light(src, glows, count);
}
