#ifndef KEYBOARD_H
#define KEYBOARD_H

#include <string>

// Key presses as they happen. The library's key[] tells which keys are down when it is looked at,
// so a tap that begins and ends between two looks would be lost: every press is latched here the
// moment the library's input thread reports it, and taken by the screen it was meant for. A held
// key counts once, however often the system repeats it.

// Starts latching; once, after the keyboard is installed.
void WatchPresses();
// A new screen begins: every press made before now is forgotten, so that none acts later on a
// screen it was not meant for.
void ForgetPresses();
// One latched press of the key, taken: true once for each press, however short. key[] is left as
// it stands, so a key that is still held still reads as down.
bool TakeTap(int scancode);
// The same for a key the shell answers (Esc, P, F1, ...), which also clears the key's entry in
// key[], so that a screen reading key[] does not take the press for a key still held.
bool TakePress(int scancode);

// The name a player writes for a key in the settings and sees in the help: "A" to "Z" and "0" to
// "9" for themselves, else a word ("Left", "Pad8", "Comma", ...); empty for a key without one.
std::string KeyName(int scancode);
// The key of a name, as KeyName gives it (case matters not); -1 for none.
int KeyOfName(const std::string& name);
// Every key that has a name, in the order the README lists them.
const int* NamedKeys(int* count);

#endif
