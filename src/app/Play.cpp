#include "Play.h"

#include <allegro.h>

#include "Bytes.h"
#include "EndScreen.h"
#include "Keyboard.h"
#include "Main.h"
#include "MatchSession.h"
#include "Network.h"
#include "Overlay.h"
#include "Recording.h"
#include "ReplayShelf.h"
#include "Screen.h"
#include "zolEvents.h"
#include "zolSound.h"

void ShowMessage(BITMAP* backBuffer, const std::string& text)
{
    // 68 characters of the font's 8 pixels fill the box.
    DimPicture(backBuffer);
    rectfill(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(16, 16, 24));
    rect(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(200, 200, 200));
    textout_centre_ex(backBuffer, font, PrintableText(text, 68).c_str(), PICTURE_W / 2, 220,
                      makecol(255, 255, 255), -1);
    textout_centre_ex(backBuffer, font, "Enter or Esc: back", PICTURE_W / 2, 248,
                      makecol(200, 200, 200), -1);
    WaitForKey(backBuffer, {KEY_ENTER, KEY_ESC});
}

namespace
{
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

namespace
{
    BITMAP* WinnerPicture(zolOutcome outcome)
    {
        return outcome == OUTCOME_RED_WINS    ? g_pRedWins
               : outcome == OUTCOME_BLUE_WINS ? g_pBlueWins
                                              : nullptr;
    }

    // The winner's picture stays until Esc is pressed, with its fanfare.
    void ShowWinner(BITMAP* backBuffer, zolOutcome outcome)
    {
        if (BITMAP* winner = WinnerPicture(outcome))
        {
            blit(winner, backBuffer, 0, 0, 0, 0, PICTURE_W, PICTURE_H);
            zolEmit(outcome == OUTCOME_RED_WINS ? zolEvent::RedWins : zolEvent::BlueWins);
            zolSoundFrame();
            WaitForKey(backBuffer, {KEY_ESC});
        }
    }

    // How a match on the screen ends. Left with Esc, it goes straight back to the menu: a side
    // already without units shows the winner's picture only while Esc is held. Ended by its
    // rules, the winner's picture, then the figures of the match. True when the player asks for
    // another match with the same sides.
    bool ShowEnd(BITMAP* backBuffer, MatchSession& session, bool offerRematch)
    {
        Match& match = session.GetMatch();
        zolOutcome outcome = match.GetOutcome();
        if (session.Left())
        {
            if (BITMAP* winner = WinnerPicture(outcome))
                ShowPicture(winner);
            while (key[KEY_ESC])
                rest(10);
            return false;
        }
        ShowWinner(backBuffer, outcome);
        zolEndView view;
        view.winner = outcome == OUTCOME_RED_WINS ? 1 : outcome == OUTCOME_BLUE_WINS ? 0 : -1;
        view.ticks = match.GetTicks();
        view.stats = &match.GetStats();
        view.sides[0] = session.GetName(false);
        view.sides[1] = session.GetName(true);
        view.rematch = offerRematch;
        return ShowEndScreen(backBuffer, view);
    }
}

namespace
{
    int g_dwKeep = 20; // [Replays] Keep, for the run

    // A match on the screen, recorded into asked when given and kept on the shelf of replays.
    void PlayKept(BITMAP* backBuffer, MatchSession& session, const zolMatchStart& start,
                  zolRecorder* asked)
    {
        zolRecorder kept;
        session.Record(asked, start);
        if (KeepNextMatch(kept, g_dwKeep))
            session.Record(&kept, start);
        session.Play(backBuffer);
        PruneReplays(g_dwKeep);
    }

    // The watched match taken over, played and kept like any other.
    void TakeOver(BITMAP* backBuffer, MatchSession& replay, const zolMatchStart& recorded)
    {
        zolMatchStart start;
        std::string why;
        std::unique_ptr<MatchSession> session = NewTakeOverSession(replay, recorded, &start, &why);
        if (!session)
            return ShowMessage(backBuffer, "cannot take over: " + why);
        PlayKept(backBuffer, *session, start, nullptr);
        if (ShowEnd(backBuffer, *session, true))
            PlayLocalMatch(backBuffer, true, nullptr, start.map, start.level);
    }
}

void KeepReplays(int keep)
{
    g_dwKeep = keep;
}

void RunGame(BITMAP* backBuffer, bool versusComputer)
{
    PlayLocalMatch(backBuffer, versusComputer, nullptr, StartMap());
}

void PlayLocalMatch(BITMAP* backBuffer, bool versusComputer, zolRecorder* recorder,
                    const zolMapPlan& map, int level)
{
    for (bool again = true; again; recorder = nullptr)
    {
        // The recorder takes the start before the match exists: building it draws nothing.
        zolMatchStart start =
            CurrentStart(versusComputer ? MATCH_VS_COMPUTER : MATCH_VS_PLAYER, map, level);
        std::unique_ptr<MatchSession> session = NewLocalSession(versusComputer, map, level);
        PlayKept(backBuffer, *session, start, recorder);
        again = ShowEnd(backBuffer, *session, true);
    }
}

bool ReplayGame(BITMAP* backBuffer, const std::string& file, std::string* error)
{
    zolRecording recording;
    if (!recording.Load(file, error))
        return false;
    std::unique_ptr<MatchSession> session = NewReplaySession(recording, error);
    if (!session)
    {
        *error = file + ": " + *error;
        return false;
    }
    session->Play(backBuffer);
    if (session->TakesOver())
        TakeOver(backBuffer, *session, recording.GetStart());
    while (key[KEY_ESC])
        rest(10);
    return true;
}

void RunNetworkGame(BITMAP* backBuffer, bool host, const std::string& address, int port,
                    const zolMapPlan& hostMap, zolRecorder* recorder)
{
    zolNetSession net;
    net.SetMap(hostMap);
    std::string error;
    if (!(host ? net.Host(port, &error) : net.Join(address, port, &error)))
        return ShowMessage(backBuffer, error);
    std::string waiting =
        host ? "Waiting for the other player on port " + std::to_string(net.GetPort())
             : "Joining " + address + ":" + std::to_string(port) + " ...";
    // A port the system chose is printed too, for whoever started the game from a terminal.
    if (host && port == 0)
    {
        printf("glowfront: waiting for the other player on port %d\n", net.GetPort());
        fflush(stdout);
    }
    if (!WaitForOtherSide(backBuffer, net, waiting))
    {
        if (net.GetState() == zolNetSession::ENDED)
            ShowMessage(backBuffer, net.GetMessage());
        return;
    }

    zolMatchStart start = net.GetStart();
    std::unique_ptr<MatchSession> session = NewNetworkSession(net);
    PlayKept(backBuffer, *session, start, recorder);
    if (session->Left() || session->GetMatch().IsOver())
        ShowEnd(backBuffer, *session, false);
    else
        ShowMessage(backBuffer, net.GetMessage());
}
