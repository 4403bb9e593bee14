#include "MatchSession.h"

#include <cstdio>

#include <allegro.h>

#include "Hud.h"
#include "KeyConfig.h"
#include "Keyboard.h"
#include "Main.h"
#include "Network.h"
#include "Overlay.h"
#include "Screen.h"
#include "zolAI.h"
#include "zolCheck.h"
#include "zolMap.h"
#include "zolSound.h"

namespace
{
    // A match runs at most this many ticks before it draws and looks at Esc again. Ticks beyond
    // it stay owed on the clock, so the game still keeps one tick per 10 ms when it can.
    const int MAX_TICKS_PER_PASS = 25;
}

MatchSession::MatchSession(Kind kind, std::unique_ptr<zolController> red,
                           std::unique_ptr<zolController> blue,
                           std::unique_ptr<zolTickSource> source, const zolMapPlan& map)
    : m_eKind(kind), m_pvSides{std::move(blue), std::move(red)}, m_pSource(std::move(source)),
      m_sMapName(map.name)
{
    for (int side = 0; side < 2; side++)
        m_pvHumans[side] = dynamic_cast<zolHumanSide*>(m_pvSides[side].get());
    m_pMatch = std::make_unique<Match>(m_pvSides[1].get(), m_pvSides[0].get(), BuildMap(map));
    m_pMatch->SetFlickerApart(kind != LOCAL);
    // The computer is told of every match, whoever plays blue, once its map is laid out; its
    // base is blue's first hive.
    zolMap* world = m_pMatch->GetMap();
    int w = world->GetWidth(), h = world->GetHeight(), x = w - 3, y = h - 3;
    FindFirstHive(world, false, &x, &y);
    InitAI(world, w, h, x, y);
}

MatchSession::~MatchSession() = default;

void MatchSession::Record(zolRecorder* recorder, const zolMatchStart& start)
{
    m_pRecorder = recorder;
    if (m_pRecorder)
        m_pRecorder->Start(start);
    CheckRecorder();
}

bool MatchSession::Step()
{
    if (m_pSource && !m_pSource->Prepare(*m_pMatch))
        return false;
    m_pMatch->Tick();
    if (m_pRecorder)
    {
        // Frames drawn across two machines change nothing and are not worth keeping.
        zolTickInput input;
        input.frames = m_eKind == NETWORK ? 0 : m_pMatch->GetFramesBeforeTick();
        input.red = m_pvHumans[1] ? m_pvHumans[1]->GetLastKeys() : 0;
        input.blue = m_pvHumans[0] ? m_pvHumans[0]->GetLastKeys() : 0;
        m_pRecorder->Tick(input, *m_pMatch);
    }
    if (m_pSource)
        m_pSource->Finish(*m_pMatch);
    return true;
}

int MatchSession::RunOwedTicks(std::atomic<int>& clock, int most)
{
    int run = 0;
    for (; run < most && clock > 0 && Step(); run++)
        clock--;
    if (m_pSource)
        m_pSource->EndPass();
    CheckRecorder();
    return run;
}

void MatchSession::CheckRecorder()
{
    if (!m_pRecorder || !m_pRecorder->Failed())
        return;
    fprintf(stderr, "glowfront: %s\n", m_pRecorder->GetError().c_str());
    m_pRecorder = nullptr;
}

void MatchSession::FinishRecording()
{
    if (m_pRecorder)
        m_pRecorder->Finish(*m_pMatch);
    CheckRecorder();
    m_pRecorder = nullptr;
}

void MatchSession::DrawFrame(BITMAP* backBuffer)
{
    m_pMatch->Draw(backBuffer, key[KEY_F2]);
    zolStripView view;
    view.map = m_pMatch->GetMap();
    view.ticks = m_pMatch->GetTicks();
    view.mapName = m_sMapName;
    view.muted = zolSoundIsMuted();
    for (bool side : {true, false})
    {
        view.sides[side] = m_svSideNames[side];
        // Only a person at this keyboard has a cursor to be told about.
        if (m_eKind != LOCAL || !m_pvHumans[side])
            continue;
        view.cursors[side] = m_pMatch->GetCursor(side);
        // A refusal's reason stays a second, long enough to be read.
        if (m_pvHumans[side]->TicksSinceRefusal() < 100)
            view.refusals[side] = m_pvHumans[side]->RefusalText();
    }
    DrawMatchStrip(backBuffer, view);
    if (m_eKind == REPLAY)
        textout_right_ex(backBuffer, font, "REPLAY", PICTURE_W - 4, 4, makecol(255, 255, 255), 0);
}

bool MatchSession::AnswerShellKeys(BITMAP* frame)
{
    // Both machines must tick on, so nothing stops a network match.
    if (m_eKind == NETWORK)
    {
        AnswerCommonKeys();
        return true;
    }
    bool keepPlaying = true;
    if (AnswerCommonKeys() || TakePress(KEY_P))
        keepPlaying = ShowPaused(frame);
    else if (TakePress(KEY_F1))
        ShowHelp(frame);
    else
        return true;
    // Nothing piles up while the match stands: play goes on from where it stopped, and what was
    // pressed on the screen that stopped it stays there.
    g_dwMainTime = 0;
    ForgetPresses();
    return keepPlaying;
}

void MatchSession::Play(BITMAP* backBuffer)
{
    g_dwMainTime = 0;
    // Presses made before the match began were meant for another screen.
    ForgetPresses();
    auto over = [&] { return m_pMatch->IsOver() || (m_pSource && m_pSource->IsOver()); };
    do
    {
        // The pass in which Esc is seen still runs its ticks and shows its frame.
        if (TakeTap(KEY_ESC) | (key[KEY_ESC] != 0))
            Leave();
        RunOwedTicks(g_dwMainTime, MAX_TICKS_PER_PASS);
        if (m_eKind == LOCAL)
            m_pMatch->EndTest();
        DrawFrame(backBuffer);
        ShowPicture(backBuffer);
        zolSoundFrame();
        if (!over() && !AnswerShellKeys(backBuffer))
            Leave();
        WaitForFrame();
    } while (!over());
    FinishRecording();
}

void MatchSession::Leave()
{
    if (m_bLeft)
        return;
    m_bLeft = true;
    m_pMatch->Quit();
    if (m_pSource)
        m_pSource->Leave();
}

std::unique_ptr<MatchSession> NewLocalSession(bool versusComputer, const zolMapPlan& map)
{
    std::unique_ptr<zolController> blue;
    if (versusComputer)
        blue = std::make_unique<zolComputerSide>();
    else
        blue = std::make_unique<zolKeyboardSide>(false);
    auto session =
        std::make_unique<MatchSession>(MatchSession::LOCAL, std::make_unique<zolKeyboardSide>(true),
                                       std::move(blue), nullptr, map);
    session->SetNames("red: " + DescribeMoves(true),
                      versusComputer ? "blue: computer" : "blue: " + DescribeMoves(false));
    return session;
}

std::unique_ptr<MatchSession> NewReplaySession(const zolRecording& recording)
{
    ApplyStart(recording.GetStart());
    auto red = std::make_unique<zolScriptedSide>(true);
    std::unique_ptr<zolController> blue;
    zolScriptedSide* scriptedBlue = nullptr;
    if (recording.GetStart().kind == MATCH_VS_COMPUTER)
        blue = std::make_unique<zolComputerSide>();
    else
        blue.reset(scriptedBlue = new zolScriptedSide(false));
    auto source = std::make_unique<zolReplaySource>(recording, red.get(), scriptedBlue);
    auto session =
        std::make_unique<MatchSession>(MatchSession::REPLAY, std::move(red), std::move(blue),
                                       std::move(source), recording.GetStart().map);
    session->SetNames("red: recorded", scriptedBlue ? "blue: recorded" : "blue: computer");
    return session;
}

std::unique_ptr<MatchSession> NewNetworkSession(zolNetSession& net,
                                                std::function<unsigned()> sample)
{
    ApplyStart(net.GetStart());
    auto red = std::make_unique<zolScriptedSide>(true);
    auto blue = std::make_unique<zolScriptedSide>(false);
    auto source = std::make_unique<zolLockstepSource>(net, red.get(), blue.get(),
                                                      sample ? sample : TakeNetworkKeys);
    auto session =
        std::make_unique<MatchSession>(MatchSession::NETWORK, std::move(red), std::move(blue),
                                       std::move(source), net.GetStart().map);
    session->SetNames(net.IsHost() ? "red: you" : "red: the other player",
                      net.IsHost() ? "blue: the other player" : "blue: you");
    return session;
}

int VerifyRecording(const std::string& path)
{
    zolRecording recording;
    std::string error;
    if (!recording.Load(path, &error))
    {
        fprintf(stderr, "glowfront: %s\n", error.c_str());
        return 2;
    }
    std::unique_ptr<MatchSession> session = NewReplaySession(recording);
    auto* source = static_cast<zolReplaySource*>(session->GetSource());
    while (!source->DiffersAt() && session->Step())
    {
    }
    Match& match = session->GetMatch();
    uint64_t fingerprint = HashRules(match.GetMap());
    // A recording of no tick at all is judged by its end alone.
    int differs = source->DiffersAt();
    if (!differs && fingerprint != recording.GetFinalFingerprint())
        differs = match.GetTicks();
    if (differs)
    {
        printf("replay differs at tick %d\n", differs);
        return 1;
    }
    printf("replay ok: %d ticks, fingerprint %016llx\n", match.GetTicks(),
           (unsigned long long)fingerprint);
    return 0;
}
