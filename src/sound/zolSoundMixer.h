#ifndef ZOLSOUNDMIXER_H
#define ZOLSOUNDMIXER_H

#include <vector>

#include "zolEvents.h"

// One sound to start now: the sample of kind on voice slot voice.
struct zolSoundCue
{
    zolEvent kind;
    int voice;  // 0 .. voices - 1; a sound still on that slot is cut off
    int pan;    // 0 left .. 255 right
    int volume; // 1 .. 255
};

// Decides what is heard, without a device and on any clock, so that the world's thousands of
// events come out as a few sounds: the events of a frame coalesce into one cue a kind, panned to
// their mean column; a kind starts again only after its gap; when every voice is busy, a cue
// takes the voice of the lowest-ranked sound if that ranks below its own, and is dropped otherwise.
// Louder kinds rank higher: the wins and the menu, then owner changes and builds, the fight last.
class zolSoundMixer final : public zolEventListener
{
public:
    explicit zolSoundMixer(int voices);

    void OnEvent(zolEvent kind, int x, int y) override; // notes it for the next Frame()
    // The cues to start at nowMs, loudest first; forgets the events noted. nowMs never goes back.
    const std::vector<zolSoundCue>& Frame(int nowMs);

    void SetVolume(int volume); // 0 (nothing starts) .. 255; clamped
    void SetMuted(bool muted);  // muting frees every voice: the caller stops them

    static int PanForColumn(int x);       // 0..19 spread over 0..255; no place (< 0): centre
    static int LengthMsOf(zolEvent kind); // how long the kind's sample holds its voice

private:
    struct Voice
    {
        int priority; // of the sound on it
        int endMs;    // free from then on
    };
    int TakeVoice(int priority, int nowMs); // -1: none may be had

    int m_dwVolume;
    bool m_bMuted;
    int m_dwvCount[ZOL_EVENT_KINDS]; // events noted since the last frame
    int m_dwvPanSum[ZOL_EVENT_KINDS];
    int m_dwvNextMs[ZOL_EVENT_KINDS]; // a kind may start again from then
    std::vector<Voice> m_pvVoices;
    std::vector<zolSoundCue> m_pvCues; // the last Frame()'s, its room kept
};

#endif
