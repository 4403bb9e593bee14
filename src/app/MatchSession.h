#ifndef MATCHSESSION_H
#define MATCHSESSION_H

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HumanSide.h"
#include "Match.h"
#include "Recording.h"
#include "ReplayControl.h"
#include "TickSource.h"

struct BITMAP;
class zolComputer;
class zolNetSession;

// One match of any kind, from its first tick to its end, and the one loop that runs it: the
// match, the two sides that play it and, when their keys do not come from this keyboard, the
// source they come from (a recording or the other machine); a recorder hears what decided each
// tick. Headless, it runs ticks as fast as they are asked for; on the screen, Play paces them
// against the game clock, draws, and answers the shell's keys.
class MatchSession
{
public:
    enum Kind
    {
        LOCAL,  // at this keyboard: pause and help; the end test once a frame
        REPLAY, // a recording on the screen: pause and help; its frames change nothing
        NETWORK // across two machines: both tick on, so no pause and no help
    };

    // The sides and the source are owned; source null: the sides read this keyboard. The match
    // starts on map (a map: CheckMapRows), whose name the strip shows.
    MatchSession(Kind kind, std::unique_ptr<zolController> red, std::unique_ptr<zolController> blue,
                 std::unique_ptr<zolTickSource> source, const zolMapPlan& map);
    ~MatchSession();
    MatchSession(const MatchSession&) = delete;
    MatchSession& operator=(const MatchSession&) = delete;

    // From the next tick on, every tick is also written to recorder (not owned; it must outlive
    // the session; null: none), which starts with start. A recorder that fails is said once on
    // stderr and dropped; the match goes on.
    void Record(zolRecorder* recorder, const zolMatchStart& start);

    // The whole state that decides the match from here: the random source, the unit cap, the
    // match (Match::Save) and each side's own (the computer's jobs and counters). Restore takes
    // it up again; a side that cannot take the state saved for it (a person was, a computer is)
    // starts afresh, and the frames' flicker is this session's kind's. False, with why, for
    // bytes that are not such a state, nothing changed then.
    std::string Snapshot();
    bool Restore(const std::string& state, std::string* why);

    bool Step(); // one tick, when the source has its input; false otherwise, nothing changed
    // In a replay, to tick, clamped to the recording; returns the tick reached (any other match
    // stays where it is). Headless: plays as fast as it can, saving states as it passes where
    // none is kept yet.
    int SeekTo(int tick);
    // Ticks the clock owes, at most `most`, taking one from the clock for each that runs; the
    // rest stay owed. Returns how many ran.
    int RunOwedTicks(std::atomic<int>& clock, int most);
    // Until the match is over, paced by g_dwMainTime, drawing into backBuffer (PICTURE_W x
    // PICTURE_H) and showing it. Esc, or leaving from the pause, ends it early: Left() then. A
    // replay goes on at its end, until Esc, or Enter to take over: TakesOver() then.
    void Play(BITMAP* backBuffer);
    // The recorder's last tick and fingerprint; once, when the match is over.
    void FinishRecording();

    // What the strip under the map calls each side ("red: keys WASD"), and the map.
    void SetNames(const std::string& red, const std::string& blue)
    {
        m_svSideNames[1] = red;
        m_svSideNames[0] = blue;
    }
    void SetMapName(const std::string& name) { m_sMapName = name; }
    const std::string& GetName(bool side) { return m_svSideNames[side]; }

    Match& GetMatch() { return *m_pMatch; }
    zolTickSource* GetSource() { return m_pSource.get(); }         // null for this keyboard
    zolHumanSide* GetHuman(bool side) { return m_pvHumans[side]; } // null: the computer
    zolComputer* GetComputer(bool side); // null for a side no computer plays
    // The level of the computer in this match ("easy", "normal", "hard"); "" when none plays.
    const char* LevelName();
    bool Left() { return m_bLeft; }
    bool TakesOver() { return m_bTakeOver; }
    zolReplayControl* GetReplay() { return m_pReplay.get(); } // null but for a replay

private:
    void Leave(); // the player ends the match early
    void DrawFrame(BITMAP* backBuffer);
    bool AnswerShellKeys(BITMAP* frame); // false when the player leaves from the pause
    bool AnswerReplayKeys();             // false when the player leaves or takes over
    void CheckRecorders();
    void KeepReplayState(); // a replay's saved state, when the match stands at a tick of one

    Kind m_eKind;
    std::unique_ptr<zolController> m_pvSides[2]; // by side: 0 blue, 1 red
    zolHumanSide* m_pvHumans[2];                 // the sides a person plays, else null
    std::unique_ptr<zolTickSource> m_pSource;
    std::unique_ptr<Match> m_pMatch;
    std::vector<zolRecorder*> m_pvRecorders; // not owned; each dropped once it fails
    std::unique_ptr<zolReplayControl> m_pReplay;
    std::string m_svSideNames[2];
    std::string m_sMapName;
    bool m_bLeft = false;
    bool m_bTakeOver = false;
    int m_dwDiffersSaid = 0; // the tick a replay's difference was said at; 0: not yet

    friend std::unique_ptr<MatchSession> NewReplaySession(const zolRecording& recording,
                                                          std::string* why);
    friend std::unique_ptr<MatchSession> NewTakeOverSession(MatchSession&, const zolMatchStart&,
                                                            zolMatchStart*, std::string*);
};

// The sides of a match at this keyboard, on map: red a person, blue the program's computer of the
// level (zolLevel) or a second person.
std::unique_ptr<MatchSession> NewLocalSession(bool versusComputer, const zolMapPlan& map,
                                              int level = LEVEL_NORMAL);
// A recorded match played again, on its map; the recording must outlive the session. Null, with
// why, for a recording whose match begins from a saved moment that cannot be taken up.
std::unique_ptr<MatchSession> NewReplaySession(const zolRecording& recording,
                                               std::string* why = nullptr);
// The watched match from where it stands, played on by the person at this keyboard as red
// against the computer: blue's own level when the computer played blue (recorded: the watched
// recording's start), else normal. start gets the new match's start, for its recording. Null,
// with why, when the state cannot be taken up.
std::unique_ptr<MatchSession> NewTakeOverSession(MatchSession& replay,
                                                 const zolMatchStart& recorded,
                                                 zolMatchStart* start, std::string* why);
// A match against the other machine, on the host's map; net must outlive the session and be
// PLAYING. sample: the
// local player's keys for each tick, this keyboard's when not given.
std::unique_ptr<MatchSession> NewNetworkSession(zolNetSession& net,
                                                std::function<unsigned()> sample = nullptr);

// Replays a recording without a display, as fast as it can: 0 when every fingerprint agrees
// ("replay ok: TICKS ticks, fingerprint HEX"), 1 at the first that differs ("replay differs at
// tick N"), 2 when the file cannot be read (one line on stderr). Needs the tile set built.
int VerifyRecording(const std::string& path);

#endif
