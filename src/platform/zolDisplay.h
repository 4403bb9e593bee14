#ifndef ZOLDISPLAY_H
#define ZOLDISPLAY_H

// From this call on, a broken connection to the X display ends the process at once: one line on
// stderr, status 1. Call it once the graphics mode is set. Xlib's own handler calls exit(), whose
// clean-up re-enters the library and waits forever on a lock that the broken call still holds.
void WatchDisplayConnection();

// A failure that ends start-up, told where the player will see it: on stderr when it is a
// terminal, else in a small window on the display (xmessage) until it is dismissed, and on
// stderr too. The window never outlives the game, however the game ends.
void TellFailure(const char* text);

#endif
