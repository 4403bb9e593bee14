#ifndef OVERLAY_H
#define OVERLAY_H

#include <initializer_list>

struct BITMAP;

// The screens that stop the game for a moment: the key help and the pause. Each shows over a
// dimmed copy of the frame and waits, resting, until it is closed; the key that closed it is
// released and cleared, so that the screen below never sees it.

// Both sides' key tables, from the tables the controllers read, and a legend. F1 or Esc closes.
void ShowHelp(BITMAP* frame);
// "PAUSED" until P (true: play on) or Esc (false: the player leaves the match). F1 shows the
// help from here too.
bool ShowPaused(BITMAP* frame);

// The help's picture drawn over bmp (PICTURE_W x PICTURE_H), for ShowHelp and the tests.
void DrawHelp(BITMAP* bmp);
// The library's 8-pixel font made `scale` times larger, centred on cx, y its top.
void DrawBigText(BITMAP* bmp, int cx, int y, int colour, int scale, const char* text);
// Every pixel at half its brightness.
void DimPicture(BITMAP* bmp);
// Shows picture until one of keys is pressed, answering F11 meanwhile; returns that key, released
// and cleared. The whole picture is sent on the way in, and the whole next frame on the way out.
int WaitForKey(BITMAP* picture, std::initializer_list<int> keys);
// The keys every screen answers alike: F11 switches window and full screen, F3 the sound. A lost
// focus lets go of every held key, as the window hears nothing of their release; true then.
bool AnswerCommonKeys();

#endif
