#ifndef KEYBOARD_H
#define KEYBOARD_H

// Starts counting presses of every key; once, after the keyboard is installed.
void WatchPresses();
// True once for each time the key went down since the last look; the press is then spent, and
// the call waits for the key to be let go so that nothing reading key[] sees it still held.
bool TakePress(int scancode);

#endif
