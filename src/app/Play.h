#ifndef PLAY_H
#define PLAY_H

#include <string>

#include "zolAI.h"

struct BITMAP;
class zolRecorder;
struct zolMapPlan;

// Matches on the screen, each run by a MatchSession. Each draws into the back buffer, PICTURE_W x
// PICTURE_H, and shows it scaled; P pauses, F1 shows the keys, F11 changes the screen, Esc leaves.
// recorder, when not null, records the match (not owned; it must outlive the call).

// How many recordings of finished matches to keep (ReplayShelf.h): [Replays] Keep; 20 until set.
void KeepReplays(int keep);

// One match: the human red against the computer or a second person at the keyboard, at 100
// ticks a second, then the winner's picture until Esc is pressed and released. RunGame plays on
// the start map, PlayLocalMatch on map, and again on it while the player asks for another.
void RunGame(BITMAP* backBuffer, bool versusComputer);
// map: the map it is played on; level: the computer's (zolLevel), when it plays.
void PlayLocalMatch(BITMAP* backBuffer, bool versusComputer, zolRecorder* recorder,
                    const zolMapPlan& map, int level = LEVEL_NORMAL);

// A recorded match watched: Space pauses, Left and Right go 10 s back and forward, Up and Down
// change the pace, Esc leaves, Enter takes over (the person playing red on from there against
// the computer). False, with the reason in error, when the file cannot be read.
bool ReplayGame(BITMAP* backBuffer, const std::string& file, std::string* error);

// A match against a player on another machine: the host plays red and waits on port (0: a port
// the system chooses, shown while waiting); the joiner plays blue against the game at
// address:port. The match is on the host's map. Ends at the match's end, or with a message when
// the other side leaves, refuses or disagrees.
void RunNetworkGame(BITMAP* backBuffer, bool host, const std::string& address, int port,
                    const zolMapPlan& hostMap, zolRecorder* recorder = nullptr);

// One line over the dimmed frame, until Esc or Enter. Cut to the box, 68 characters.
void ShowMessage(BITMAP* backBuffer, const std::string& text);

#endif
