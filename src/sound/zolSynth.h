#ifndef ZOLSYNTH_H
#define ZOLSYNTH_H

#include "zolEvents.h"

struct SAMPLE;

// The game's sounds, made by our own code as its pictures are: 16-bit mono at 22050 Hz, as long
// as zolSoundMixer::LengthMsOf(kind) says, starting and ending at rest, peaks below full scale
// and levels balanced against each other. Built from additions and multiplications alone, with a
// private noise source, so that every build makes the same bytes; draws nothing from zolRand().
// The caller owns the sample (destroy_sample); null when it cannot be allocated.
SAMPLE* zolMakeSound(zolEvent kind);

constexpr int ZOL_SOUND_RATE = 22050; // samples a second

#endif
