// Writes every sound the game makes to a WAV file, to be heard or looked at as a spectrogram
// (sox FILE -n spectrogram -o FILE.png) without starting the game.
//
//   writesounds OUTDIR

#include <cerrno>
#include <cstdio>
#include <string>

#include <allegro.h>

#include "zolSynth.h"

namespace
{
    void Put(FILE* f, unsigned value, int bytes)
    {
        for (int i = 0; i < bytes; i++)
            fputc((value >> (8 * i)) & 255, f);
    }

    // 16-bit mono PCM, little-endian whatever the machine; WAV's samples are signed, Allegro's not.
    bool WriteWav(const std::string& path, SAMPLE* spl)
    {
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return false;
        unsigned bytes = (unsigned)spl->len * 2;
        fputs("RIFF", f);
        Put(f, 36 + bytes, 4);
        fputs("WAVEfmt ", f);
        Put(f, 16, 4);
        Put(f, 1, 2);
        Put(f, 1, 2);
        Put(f, spl->freq, 4);
        Put(f, spl->freq * 2, 4);
        Put(f, 2, 2);
        Put(f, 16, 2);
        fputs("data", f);
        Put(f, bytes, 4);
        const unsigned short* data = (const unsigned short*)spl->data;
        for (unsigned long i = 0; i < spl->len; i++)
            Put(f, data[i] ^ 0x8000, 2);
        return fclose(f) == 0;
    }
}

int main(int argc, char** argv)
{
    static const char* names[ZOL_EVENT_KINDS] = {"UnitBorn",   "Blow",       "TileTaken",
                                                 "BuildDone",  "RockOpened", "MenuMove",
                                                 "MenuChoice", "RedWins",    "BlueWins"};
    if (argc != 2)
    {
        fprintf(stderr, "usage: writesounds OUTDIR\n");
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    for (int k = 0; k < ZOL_EVENT_KINDS; k++)
    {
        std::string path = std::string(argv[1]) + "/" + names[k] + ".wav";
        SAMPLE* spl = zolMakeSound((zolEvent)k);
        bool ok = spl && WriteWav(path, spl);
        if (spl)
            destroy_sample(spl);
        if (!ok)
        {
            fprintf(stderr, "Could not write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
