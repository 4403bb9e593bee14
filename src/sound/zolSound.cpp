#include "zolSound.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <allegro.h>
#include <fcntl.h>
#include <unistd.h>

#include "zolSoundMixer.h"
#include "zolSynth.h"

namespace
{
    const int VOICES = 6;

    zolSoundMixer* s_pMixer = nullptr; // null: no sound
    SAMPLE* s_pvSamples[ZOL_EVENT_KINDS] = {};
    int s_dwvVoice[VOICES] = {-1, -1, -1, -1, -1, -1}; // Allegro's voice on each slot
    int s_dwVolume = 160;
    bool s_bMuted = false;
    std::chrono::steady_clock::time_point s_tStart;

    // ALSA writes its complaints about a missing card straight to stderr while Allegro probes for
    // a driver; the one line that says there is no sound is ours.
    int InstallSoundQuietly()
    {
        fflush(stderr);
        int saved = dup(2), null = open("/dev/null", O_WRONLY);
        if (saved >= 0 && null >= 0)
            dup2(null, 2);
        int result = install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
        if (saved >= 0 && null >= 0)
            dup2(saved, 2);
        if (null >= 0)
            close(null);
        if (saved >= 0)
            close(saved);
        return result;
    }

    void StopVoices()
    {
        for (int& voice : s_dwvVoice)
        {
            if (voice >= 0)
                deallocate_voice(voice);
            voice = -1;
        }
    }

    void ReleaseSamples()
    {
        for (SAMPLE*& spl : s_pvSamples)
        {
            if (spl)
                destroy_sample(spl);
            spl = nullptr;
        }
    }
}

bool zolSoundStart()
{
    if (s_pMixer)
        return true;
    if (InstallSoundQuietly() != 0)
    {
        fprintf(stderr, "No sound: %s\n", allegro_error);
        return false;
    }
    // When every driver fails, autodetection settles on the silent one and calls that success.
    if (!digi_driver || digi_driver->id == DIGI_NONE)
    {
        remove_sound();
        fprintf(stderr, "No sound: no sound device answered\n");
        return false;
    }
    for (int k = 0; k < ZOL_EVENT_KINDS; k++)
    {
        s_pvSamples[k] = zolMakeSound((zolEvent)k);
        if (!s_pvSamples[k])
        {
            ReleaseSamples();
            remove_sound();
            fprintf(stderr, "No sound: no memory for the samples\n");
            return false;
        }
    }
    s_pMixer = new zolSoundMixer(std::min(VOICES, digi_driver->voices));
    s_pMixer->SetVolume(s_dwVolume);
    s_pMixer->SetMuted(s_bMuted);
    s_tStart = std::chrono::steady_clock::now();
    zolListen(s_pMixer);
    return true;
}

void zolSoundStop()
{
    if (!s_pMixer)
        return;
    zolStopListening(s_pMixer);
    StopVoices();
    ReleaseSamples();
    delete s_pMixer;
    s_pMixer = nullptr;
    remove_sound();
}

void zolSoundFrame()
{
    if (!s_pMixer)
        return;
    auto elapsed = std::chrono::steady_clock::now() - s_tStart;
    int nowMs = (int)std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    for (const zolSoundCue& cue : s_pMixer->Frame(nowMs))
    {
        int& voice = s_dwvVoice[cue.voice];
        if (voice >= 0)
            deallocate_voice(voice);
        voice = allocate_voice(s_pvSamples[(int)cue.kind]);
        if (voice < 0)
            continue;
        voice_set_volume(voice, cue.volume);
        voice_set_pan(voice, cue.pan);
        voice_start(voice);
    }
}

void zolSoundSetVolume(int volume)
{
    s_dwVolume = volume < 0 ? 0 : volume > 255 ? 255 : volume;
    if (s_pMixer)
        s_pMixer->SetVolume(s_dwVolume);
}

void zolSoundToggleMute()
{
    s_bMuted = !s_bMuted;
    if (!s_pMixer)
        return;
    s_pMixer->SetMuted(s_bMuted);
    if (s_bMuted)
        StopVoices();
}

bool zolSoundIsMuted()
{
    return s_bMuted;
}
