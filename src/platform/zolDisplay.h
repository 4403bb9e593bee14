#ifndef ZOLDISPLAY_H
#define ZOLDISPLAY_H

// From this call on, a broken connection to the X display ends the process at once: one line on
// stderr, status 1. Call it once the graphics mode is set. Xlib's own handler calls exit(), whose
// clean-up re-enters the library and waits forever on a lock that the broken call still holds.
void WatchDisplayConnection();

#endif
