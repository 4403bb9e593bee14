#include "Play.h"

#include <allegro.h>

#include "Bytes.h"
#include "HumanSide.h"
#include "Keyboard.h"
#include "Main.h"
#include "Network.h"
#include "Overlay.h"
#include "Recording.h"
#include "Screen.h"
#include "zolEvents.h"
#include "zolMap.h"
#include "zolRandom.h"
#include "zolSound.h"

namespace
{
    // A match runs at most this many ticks before it draws and looks at Esc again. Ticks beyond
    // it stay owed on the clock, so the game still keeps one tick per 10 ms when it can.
    const int MAX_TICKS_PER_PASS = 25;

    zolRecorder* g_pRecorder = nullptr; // the next match's, not owned

    // The computer is told of every match, whoever plays blue, once its map is laid out.
    void StartComputer(Match& match)
    {
        int w = match.GetMap()->GetWidth(), h = match.GetMap()->GetHeight();
        InitAI(match.GetMap(), w, h, w - 3, h - 3);
    }

    // The winner's picture stays until Esc is pressed; then, with or without one, the match waits
    // for Esc to be let go so that the menu does not see it. The waits rest between looks.
    void ShowOutcome(BITMAP* backBuffer, zolOutcome outcome)
    {
        BITMAP* winner = outcome == OUTCOME_RED_WINS    ? g_pRedWins
                         : outcome == OUTCOME_BLUE_WINS ? g_pBlueWins
                                                        : nullptr;
        if (winner)
        {
            blit(winner, backBuffer, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
            zolEmit(outcome == OUTCOME_RED_WINS ? zolEvent::RedWins : zolEvent::BlueWins);
            zolSoundFrame();
            WaitForKey(backBuffer, {KEY_ESC});
        }
        while (key[KEY_ESC])
            rest(10);
    }

    // A refused order flashes the side's cursor white for a quarter of a second. Drawn by the
    // shell over the match's frame, so the frame itself stays what the rules make it.
    void DrawRefusal(BITMAP* bmp, zolKeyboardSide& side, const int* cursor)
    {
        if (side.TicksSinceRefusal() >= 25)
            return;
        int x = cursor[0] * 32, y = cursor[1] * 32, white = makecol(255, 255, 255);
        for (int i = 0; i < 3; i++)
            rect(bmp, x - i, y - i, x + 31 + i, y + 31 + i, white);
    }

    // The keys that stop the match for a moment: P or a lost focus pause it, F1 shows the keys;
    // and those every screen answers. False when the player leaves the match from the pause.
    bool AnswerShellKeys(BITMAP* frame)
    {
        bool keepPlaying = true;
        if (AnswerCommonKeys() || TakePress(KEY_P))
            keepPlaying = ShowPaused(frame);
        else if (TakePress(KEY_F1))
            ShowHelp(frame);
        else
            return true;
        // Nothing piles up while the match stands: play goes on from where it stopped.
        g_dwMainTime = 0;
        return keepPlaying;
    }
}

void RecordNextMatch(zolRecorder* recorder)
{
    g_pRecorder = recorder;
}

void RunGame(BITMAP* backBuffer, bool versusComputer)
{
    zolKeyboardSide red(true), blue(false);
    zolComputerSide computer;
    // The recorder takes the start before the match exists: building it must draw nothing.
    zolRecorder* recorder = g_pRecorder;
    g_pRecorder = nullptr;
    if (recorder)
        recorder->Start(CurrentStart(versusComputer ? MATCH_VS_COMPUTER : MATCH_VS_PLAYER));
    Match match(&red, versusComputer ? (zolController*)&computer : &blue, PICTURE_W / 32,
                PICTURE_H / 32 - 1);
    StartComputer(match);
    auto record = [&]
    {
        zolTickInput input{match.GetFramesBeforeTick(), red.GetLastKeys(),
                           versusComputer ? 0 : blue.GetLastKeys()};
        recorder->Tick(input, match);
    };
    g_dwMainTime = 0;
    do
    {
        if (key[KEY_ESC])
            match.Quit();
        if (recorder)
            RunOwedTicks(match, g_dwMainTime, MAX_TICKS_PER_PASS, record);
        else
            RunOwedTicks(match, g_dwMainTime, MAX_TICKS_PER_PASS);
        match.EndTest();
        match.Draw(backBuffer, key[KEY_F2]);
        DrawRefusal(backBuffer, red, match.GetCursor(true));
        if (!versusComputer)
            DrawRefusal(backBuffer, blue, match.GetCursor(false));
        ShowPicture(backBuffer);
        zolSoundFrame();
        if (!match.IsOver() && !AnswerShellKeys(backBuffer))
            match.Quit();
        WaitForFrame();
    } while (!match.IsOver());
    if (recorder)
        recorder->Finish(match);
    ShowOutcome(backBuffer, match.GetOutcome());
}

bool ReplayGame(BITMAP* backBuffer, const std::string& file, std::string* error)
{
    zolRecording recording;
    if (!recording.Load(file, error))
        return false;
    const zolMatchStart& start = recording.GetStart();
    ApplyStart(start);
    zolScriptedSide red(true), blue(false);
    zolComputerSide computer;
    Match match(&red, start.kind == MATCH_VS_COMPUTER ? (zolController*)&computer : &blue,
                PICTURE_W / 32, PICTURE_H / 32 - 1);
    StartComputer(match);
    const auto& ticks = recording.GetTicks();
    size_t next = 0;
    // Each recorded tick comes after the frames the player saw before it, skipped here so that
    // their flicker takes the same numbers; what this screen shows flickers apart.
    auto replayTick = [&]
    {
        const zolTickInput& input = ticks[next++].input;
        match.SkipFrames(input.frames);
        red.SetKeys(input.red);
        blue.SetKeys(input.blue);
    };
    g_dwMainTime = 0;
    bool leave = false;
    while (!leave && next < ticks.size())
    {
        if (TakePress(KEY_ESC))
            break;
        for (int run = 0; run < MAX_TICKS_PER_PASS && g_dwMainTime > 0 && next < ticks.size();
             run++)
        {
            g_dwMainTime--;
            replayTick();
            match.Tick();
        }
        bool apart = g_bFlickerApart;
        g_bFlickerApart = true;
        match.Draw(backBuffer, key[KEY_F2]);
        g_bFlickerApart = apart;
        textout_right_ex(backBuffer, font, "REPLAY", PICTURE_W - 4, 4, makecol(255, 255, 255), 0);
        ShowPicture(backBuffer);
        zolSoundFrame();
        leave = !AnswerShellKeys(backBuffer);
        WaitForFrame();
    }
    if (!leave && next == ticks.size())
        ShowOutcome(backBuffer, match.GetOutcome());
    g_bFlickerApart = false;
    return true;
}

namespace
{
    // One line over the dimmed frame, until Esc or Enter; for the network's news. Cut to the
    // box, 68 characters of the font's 8 pixels.
    void ShowMessage(BITMAP* backBuffer, const std::string& text)
    {
        DimPicture(backBuffer);
        rectfill(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(16, 16, 24));
        rect(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(200, 200, 200));
        textout_centre_ex(backBuffer, font, PrintableText(text, 68).c_str(), PICTURE_W / 2, 220,
                          makecol(255, 255, 255), -1);
        textout_centre_ex(backBuffer, font, "Enter or Esc: back", PICTURE_W / 2, 248,
                          makecol(200, 200, 200), -1);
        WaitForKey(backBuffer, {KEY_ENTER, KEY_ESC});
    }

    // Until the other side answers, the match is agreed, or Esc gives up. The network is looked
    // at every 2 ms, so that the round trip the host measures for the delay is the link's own.
    bool WaitForOtherSide(BITMAP* backBuffer, zolNetSession& net, const std::string& text)
    {
        for (int look = 0; net.Service() == zolNetSession::WAITING; look++)
        {
            if (look % 25 == 0)
            {
                clear_to_color(backBuffer, makecol(0, 0, 0));
                textout_centre_ex(backBuffer, font, text.c_str(), PICTURE_W / 2, 220,
                                  makecol(255, 255, 255), -1);
                textout_centre_ex(backBuffer, font, "Esc: give up", PICTURE_W / 2, 248,
                                  makecol(200, 200, 200), -1);
                ShowPicture(backBuffer);
            }
            if (TakePress(KEY_ESC))
                return false;
            rest(2);
        }
        return net.GetState() == zolNetSession::PLAYING;
    }
}

void RunNetworkGame(BITMAP* backBuffer, bool host, const std::string& address, int port)
{
    zolNetSession net;
    std::string error;
    if (!(host ? net.Host(port, &error) : net.Join(address, port, &error)))
        return ShowMessage(backBuffer, error);
    std::string waiting =
        host ? "Waiting for the other player on port " + std::to_string(net.GetPort())
             : "Joining " + address + ":" + std::to_string(port) + " ...";
    if (!WaitForOtherSide(backBuffer, net, waiting))
    {
        if (net.GetState() == zolNetSession::ENDED)
            ShowMessage(backBuffer, net.GetMessage());
        return;
    }

    zolRecorder* recorder = g_pRecorder;
    g_pRecorder = nullptr;
    ApplyStart(net.GetStart());
    if (recorder)
        recorder->Start(net.GetStart());
    zolScriptedSide red(true), blue(false);
    Match match(&red, &blue, PICTURE_W / 32, PICTURE_H / 32 - 1);
    StartComputer(match);
    auto afterTick = [&]
    {
        if (recorder)
            recorder->Tick({0, red.GetKeys(), blue.GetKeys()}, match);
    };
    g_dwMainTime = 0;
    bool left = false; // this player pressed Esc
    while (!match.IsOver() && net.GetState() == zolNetSession::PLAYING)
    {
        if (key[KEY_ESC])
        {
            left = true;
            net.Leave();
        }
        // The clock says how many ticks are due; a tick whose keys are late waits for them.
        int due = g_dwMainTime;
        int ran =
            RunLockstep(match, net, red, blue, due < MAX_TICKS_PER_PASS ? due : MAX_TICKS_PER_PASS,
                        TakeNetworkKeys, afterTick);
        g_dwMainTime -= ran;
        match.Draw(backBuffer, key[KEY_F2]);
        ShowPicture(backBuffer);
        zolSoundFrame();
        // Both machines must tick on, so nothing here stops the match: no pause, no help.
        AnswerCommonKeys();
        WaitForFrame();
    }
    if (recorder)
        recorder->Finish(match);
    g_bFlickerApart = false;
    if (match.IsOver())
        ShowOutcome(backBuffer, match.GetOutcome());
    else if (left)
        while (key[KEY_ESC])
            rest(10);
    else
        ShowMessage(backBuffer, net.GetMessage());
}
