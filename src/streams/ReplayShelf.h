#ifndef REPLAYSHELF_H
#define REPLAYSHELF_H

#include <string>
#include <vector>

class zolRecorder;

// The recordings of finished matches the game keeps for the player to watch again: in
// $XDG_DATA_HOME/glowfront/replays/ (~/.local/share/glowfront/replays/ when that is unset), one
// file a match named by the moment it began (2026-12-07_21-05-33.rec), at most a number of them,
// the oldest removed first. Only files of that name are ever removed.

// The folder; empty when neither $XDG_DATA_HOME nor $HOME says where it is.
std::string ReplayFolder();

// Opens recorder on a new file for a match beginning now, written whole or not at all (see
// zolRecorder::Open). False when none are kept (keep 0) or the folder cannot be made or written:
// then, once a run, one line on stderr says why, and the match is played all the same.
bool KeepNextMatch(zolRecorder& recorder, int keep);
// Removes the oldest kept recordings beyond keep.
void PruneReplays(int keep);

// A kept recording as the list shows it, newest first.
struct zolKeptReplay
{
    std::string path;
    std::string when;  // "2026-12-07 21:05:33", from the name
    std::string map;   // "start"
    std::string sides; // "red: a person, blue: computer (hard)"
    int ticks = 0;
    std::string damaged; // why it cannot be watched; empty when it can
};
std::vector<zolKeptReplay> ListReplays();

#endif
