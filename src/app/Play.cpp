#include "Play.h"

#include <allegro.h>

#include "Keyboard.h"
#include "Main.h"
#include "MatchSession.h"
#include "Network.h"
#include "Overlay.h"
#include "Recording.h"
#include "Screen.h"
#include "zolEvents.h"
#include "zolSound.h"

namespace
{
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

}

void RunGame(BITMAP* backBuffer, bool versusComputer)
{
    PlayLocalMatch(backBuffer, versusComputer, nullptr);
}

void PlayLocalMatch(BITMAP* backBuffer, bool versusComputer, zolRecorder* recorder, int level)
{
    // The recorder takes the start before the match exists: building it draws nothing.
    zolMatchStart start = CurrentStart(versusComputer ? MATCH_VS_COMPUTER : MATCH_VS_PLAYER, level);
    std::unique_ptr<MatchSession> session = NewLocalSession(versusComputer, level);
    session->Record(recorder, start);
    session->Play(backBuffer);
    ShowOutcome(backBuffer, session->GetMatch().GetOutcome());
}

bool ReplayGame(BITMAP* backBuffer, const std::string& file, std::string* error)
{
    zolRecording recording;
    if (!recording.Load(file, error))
        return false;
    std::unique_ptr<MatchSession> session = NewReplaySession(recording);
    session->Play(backBuffer);
    if (!session->Left())
        ShowOutcome(backBuffer, session->GetMatch().GetOutcome());
    return true;
}

namespace
{
    // A line or two over the dimmed frame, until Esc or Enter; for the network's news.
    void ShowMessage(BITMAP* backBuffer, const std::string& text)
    {
        DimPicture(backBuffer);
        rectfill(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(16, 16, 24));
        rect(backBuffer, 40, 200, PICTURE_W - 41, 270, makecol(200, 200, 200));
        textout_centre_ex(backBuffer, font, text.c_str(), PICTURE_W / 2, 220,
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

void RunNetworkGame(BITMAP* backBuffer, bool host, const std::string& address, int port,
                    zolRecorder* recorder)
{
    zolNetSession net;
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
    session->Record(recorder, start);
    session->Play(backBuffer);
    if (session->Left())
        while (key[KEY_ESC])
            rest(10);
    else if (session->GetMatch().IsOver())
        ShowOutcome(backBuffer, session->GetMatch().GetOutcome());
    else
        ShowMessage(backBuffer, net.GetMessage());
}
