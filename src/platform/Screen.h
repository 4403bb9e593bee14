#ifndef GLOWFRONT_SCREEN_H
#define GLOWFRONT_SCREEN_H

struct BITMAP;
struct zolSettings;

// The game draws every picture at 640 x 480, whatever the window, and shows it enlarged by a
// whole factor so that each of its pixels is an exact square.
const int PICTURE_W = 640;
const int PICTURE_H = 480;

// Sets the graphics mode the settings ask for: a window scaled to fit the desktop (or by the
// asked factor), or full screen. Falls back to the library's own choice of a 640 x 480 mode at
// 32, 16, 24 or 15 bits. False, with no mode set, when none of them can be had.
bool OpenScreen(const zolSettings& settings);
// Shows a PICTURE_W x PICTURE_H memory bitmap, scaled and centred on black. Only the 32 x 32
// blocks (Blocks.h) that differ from the picture shown before are sent to the screen; the whole
// picture after a mode change, a return of the focus or InvalidateScreen.
void ShowPicture(BITMAP* picture);
// The next ShowPicture sends the whole picture: for the shell, when a screen of its own opens or
// closes.
void InvalidateScreen();
// Blocks the last ShowPicture sent, 0 to 300, and in how many rectangles.
struct zolPresented
{
    int blocks, rects;
};
zolPresented LastPresented();
// Between the window and full screen. The current mode stays when the other cannot be set;
// false then. Memory bitmaps survive, the screen's contents do not.
bool ToggleFullscreen();

// Frames a second to draw: -1 one per refresh of the screen, 0 as many as the machine can.
void SetFrameCap(int framesPerSecond);
// Rests until the next frame is due; a frame late by more than one period starts a new count, so
// a stall is never followed by a burst.
void WaitForFrame();
// True once after the window has lost the focus (the library's switch-out), until asked again.
bool TakeFocusLost();

int RefreshRate(); // of the current mode, per second; 60 where it is unknown

// The largest factor from 1 to 4 at which the picture fits an area of w x h pixels: for a
// window, with at least a tenth of the height to spare for the desktop's own bars.
int FitScale(int w, int h, bool window);

#endif
