#ifndef ZOLSOUND_H
#define ZOLSOUND_H

// The game heard: the samples of zolSynth.h, started by zolSoundMixer from the events of
// zolEvents.h and played through Allegro's digital sound. What the shell calls, all on the thread
// that runs the ticks:
//
//   zolSoundStart()       once, after allegro_init() and install_timer(). False: no device, or
//                         one that failed, said in one line on stderr; every call below is then
//                         harmless and the game runs exactly as without sound. True: the sound
//                         listens to the world (zolListen).
//   zolSoundSetVolume(v)  with [Sound] Volume from glowfront.cfg, 0 (silent) .. 255, before or
//                         after the start; 160 until called. Sounds already playing keep theirs.
//   zolEmit(...)          the shell's own events: zolEvent::MenuMove when the menu's choice
//                         moves, MenuChoice when an entry is chosen, RedWins or BlueWins once
//                         when the winner's picture goes up. The world emits the rest itself.
//   zolSoundFrame()       once a drawn frame, in the menu, in the match and on the winner's
//                         picture: starts what was told since the last call.
//   zolSoundToggleMute()  once a press of F3 (not every frame it is held); cuts off what plays.
//   zolSoundStop()        before allegro_exit(); stops everything and detaches the listener.
bool zolSoundStart();
void zolSoundStop();
void zolSoundFrame();
void zolSoundSetVolume(int volume);
void zolSoundToggleMute();
bool zolSoundIsMuted();

#endif
