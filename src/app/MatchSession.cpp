#include "MatchSession.h"

#include <cstdio>

#include <allegro.h>

#include "Bytes.h"
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
#include "zolUnit.h"

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
    if (!recorder)
        return;
    m_pvRecorders.push_back(recorder);
    recorder->Start(start);
    CheckRecorders();
}

std::string MatchSession::Snapshot()
{
    zolByteWriter out;
    out.Put<uint32_t>(g_dwRandState).Put<int32_t>(zu_dwMaxUnits);
    // Each part with its length, so that a part of one side can be passed over by another kind.
    auto part = [&](const std::string& bytes)
    {
        out.Put<uint32_t>((uint32_t)bytes.size());
        out.bytes += bytes;
    };
    zolByteWriter match;
    m_pMatch->Save(match);
    part(match.bytes);
    for (bool side : {true, false})
    {
        zolByteWriter own;
        m_pvSides[side]->Save(own);
        part(own.bytes);
    }
    return out.bytes;
}

bool MatchSession::Restore(const std::string& state, std::string* why)
{
    zolByteReader in(state.data(), state.size());
    uint32_t rand;
    int32_t cap;
    std::string parts[3]; // the match, red's, blue's
    bool read = in.Get(&rand) && in.Get(&cap);
    for (std::string& part : parts)
    {
        uint32_t size = 0;
        read = read && in.Get(&size) && size <= state.size();
        if (read)
        {
            part.resize(size);
            read = in.Take(&part[0], size);
        }
    }
    if (!read || !in.Done())
        return (*why = "cut short or damaged"), false;
    zolByteReader match(parts[0].data(), parts[0].size());
    if (!m_pMatch->Load(match, why))
        return false;
    // Whose frames may move the game's source is the session's to say, not the state's.
    m_pMatch->SetFlickerApart(m_eKind != LOCAL);
    for (bool side : {true, false})
    {
        zolByteReader own(parts[side ? 1 : 2].data(), parts[side ? 1 : 2].size());
        if (!m_pvSides[side]->Load(own) || !own.Done())
            m_pvSides[side]->Reset();
    }
    g_dwRandState = rand;
    zu_dwMaxUnits = cap;
    return true;
}

bool MatchSession::Step()
{
    if (m_pSource && !m_pSource->Prepare(*m_pMatch))
        return false;
    m_pMatch->Tick();
    if (!m_pvRecorders.empty())
    {
        // Frames drawn across two machines change nothing and are not worth keeping.
        zolTickInput input;
        input.frames = m_eKind == NETWORK ? 0 : m_pMatch->GetFramesBeforeTick();
        input.red = m_pvHumans[1] ? m_pvHumans[1]->GetLastKeys() : 0;
        input.blue = m_pvHumans[0] ? m_pvHumans[0]->GetLastKeys() : 0;
        for (zolRecorder* recorder : m_pvRecorders)
            recorder->Tick(input, *m_pMatch);
    }
    if (m_pSource)
        m_pSource->Finish(*m_pMatch);
    if (m_pReplay)
        KeepReplayState();
    return true;
}

void MatchSession::KeepReplayState()
{
    int tick = m_pMatch->GetTicks();
    if (m_pReplay->WantsState(tick))
        m_pReplay->KeepState(tick, Snapshot());
}

int MatchSession::SeekTo(int tick)
{
    if (!m_pReplay)
        return m_pMatch->GetTicks();
    tick = m_pReplay->Clamp(tick);
    // The nearest saved state at or before the moment, unless the match is nearer already. A
    // state that cannot be taken up leaves the match as it was, to play on from there.
    int at = 0;
    const std::string* saved = m_pReplay->StateBefore(tick, &at);
    std::string why;
    if (saved && (m_pMatch->GetTicks() > tick || at > m_pMatch->GetTicks()) &&
        Restore(*saved, &why))
        static_cast<zolReplaySource*>(m_pSource.get())->SeekTo(*m_pMatch, m_pReplay->GetFirst());
    while (m_pMatch->GetTicks() < tick && Step())
    {
    }
    return m_pMatch->GetTicks();
}

int MatchSession::RunOwedTicks(std::atomic<int>& clock, int most)
{
    int run = 0;
    for (; run < most && clock > 0 && Step(); run++)
        clock--;
    if (m_pSource)
        m_pSource->EndPass();
    CheckRecorders();
    return run;
}

void MatchSession::CheckRecorders()
{
    for (size_t i = 0; i < m_pvRecorders.size();)
        if (m_pvRecorders[i]->Failed())
        {
            fprintf(stderr, "glowfront: %s\n", m_pvRecorders[i]->GetError().c_str());
            m_pvRecorders.erase(m_pvRecorders.begin() + i);
        }
        else
            i++;
}

void MatchSession::FinishRecording()
{
    for (zolRecorder* recorder : m_pvRecorders)
        recorder->Finish(*m_pMatch);
    CheckRecorders();
    m_pvRecorders.clear();
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
    if (m_pReplay)
    {
        auto* source = dynamic_cast<zolReplaySource*>(m_pSource.get());
        view.replay = true;
        view.first = m_pReplay->GetFirst();
        view.last = m_pReplay->GetLast();
        view.speed = m_pReplay->GetSpeed();
        view.paused = m_pReplay->IsPaused();
        view.differsAt = source ? source->DiffersAt() : 0;
    }
    DrawMatchStrip(backBuffer, view);
    if (m_eKind == REPLAY)
        textout_right_ex(backBuffer, font, "REPLAY", PICTURE_W - 4, 4, makecol(255, 255, 255), 0);
}

bool MatchSession::AnswerReplayKeys()
{
    if (TakeTap(KEY_ESC) | (key[KEY_ESC] != 0))
    {
        Leave();
        return false;
    }
    if (TakePress(KEY_ENTER) && !m_pMatch->IsOver())
    {
        m_bTakeOver = true;
        return false;
    }
    zolReplayControl& replay = *m_pReplay;
    if (TakePress(KEY_SPACE))
        replay.SetPaused(!replay.IsPaused());
    if (TakePress(KEY_UP))
        replay.Faster();
    if (TakePress(KEY_DOWN))
        replay.Slower();
    for (int k : {KEY_LEFT, KEY_RIGHT})
        if (TakePress(k))
        {
            SeekTo(m_pMatch->GetTicks() + (k == KEY_LEFT ? -1 : 1) * 10 * 100);
            g_dwMainTime = 0; // the seek took its time; none of it is owed
        }
    return true;
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
    auto over = [&]
    {
        // A replay stays on its last frame until the player leaves it or takes over.
        if (m_bLeft || m_bTakeOver || m_pReplay)
            return m_bLeft || m_bTakeOver;
        return m_pMatch->IsOver() || (m_pSource && m_pSource->IsOver());
    };
    do
    {
        // The pass in which Esc is seen still runs its ticks and shows its frame.
        if (m_pReplay)
            AnswerReplayKeys();
        else if (TakeTap(KEY_ESC) | (key[KEY_ESC] != 0))
            Leave();
        if (m_pReplay)
        {
            // The clock's ticks, times the pace; none while paused.
            int speed = m_pReplay->IsPaused() ? 0 : m_pReplay->GetSpeed();
            std::atomic<int> due(g_dwMainTime.exchange(0) * speed);
            RunOwedTicks(due, MAX_TICKS_PER_PASS * speed);
        }
        else
            RunOwedTicks(g_dwMainTime, MAX_TICKS_PER_PASS);
        auto* replay = dynamic_cast<zolReplaySource*>(m_pSource.get());
        if (replay && replay->DiffersAt() && !m_dwDiffersSaid)
        {
            m_dwDiffersSaid = replay->DiffersAt();
            fprintf(stderr, "replay differs at tick %d\n", m_dwDiffersSaid);
        }
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

zolComputer* MatchSession::GetComputer(bool side)
{
    zolController* controller = m_pvSides[side].get();
    if (auto* computer = dynamic_cast<zolComputer*>(controller))
        return computer;
    if (auto* program = dynamic_cast<zolComputerSide*>(controller))
        return program->GetComputer();
    return nullptr;
}

const char* MatchSession::LevelName()
{
    for (bool side : {false, true})
        if (zolComputer* computer = GetComputer(side))
            return ::LevelName(computer->GetLevel());
    return "";
}

std::unique_ptr<MatchSession> NewLocalSession(bool versusComputer, const zolMapPlan& map, int level)
{
    std::unique_ptr<zolController> blue;
    if (versusComputer)
        blue = std::make_unique<zolComputerSide>(level);
    else
        blue = std::make_unique<zolKeyboardSide>(false);
    auto session =
        std::make_unique<MatchSession>(MatchSession::LOCAL, std::make_unique<zolKeyboardSide>(true),
                                       std::move(blue), nullptr, map);
    session->SetNames("red: " + DescribeMoves(true),
                      versusComputer ? "blue: computer, " + std::string(LevelName(level))
                                     : "blue: " + DescribeMoves(false));
    return session;
}

std::unique_ptr<MatchSession> NewReplaySession(const zolRecording& recording, std::string* why)
{
    const zolMatchStart& start = recording.GetStart();
    ApplyStart(start);
    std::unique_ptr<zolController> sides[2]; // by side: 0 blue, 1 red
    zolScriptedSide* scripted[2] = {nullptr, nullptr};
    for (bool side : {false, true})
    {
        if (start.kind == MATCH_VS_COMPUTER && side == start.computerSide)
            sides[side] = std::make_unique<zolComputerSide>(start.level);
        else
            sides[side].reset(scripted[side] = new zolScriptedSide(side));
    }
    auto source = std::make_unique<zolReplaySource>(recording, scripted[1], scripted[0]);
    int remaining = source->Remaining();
    auto session =
        std::make_unique<MatchSession>(MatchSession::REPLAY, std::move(sides[1]),
                                       std::move(sides[0]), std::move(source), start.map);
    std::string names[2];
    for (bool side : {false, true})
        names[side] =
            std::string(side ? "red: " : "blue: ") +
            (scripted[side] ? "recorded" : "computer, " + std::string(LevelName(start.level)));
    session->SetNames(names[1], names[0]);
    // A match taken over from a replay begins where it was taken over.
    std::string wrong;
    if (!start.state.empty() && !session->Restore(start.state, &wrong))
    {
        if (why)
            *why = "damaged (its starting state: " + wrong + ")";
        return nullptr;
    }
    int first = session->GetMatch().GetTicks();
    session->m_pReplay = std::make_unique<zolReplayControl>(first, first + remaining);
    session->KeepReplayState();
    return session;
}

std::unique_ptr<MatchSession> NewTakeOverSession(MatchSession& replay,
                                                 const zolMatchStart& recorded,
                                                 zolMatchStart* start, std::string* why)
{
    bool computerBlue = recorded.kind == MATCH_VS_COMPUTER && !recorded.computerSide;
    int level = computerBlue ? recorded.level : LEVEL_NORMAL;
    std::unique_ptr<MatchSession> session = NewLocalSession(true, recorded.map, level);
    if (!session->Restore(replay.Snapshot(), why))
        return nullptr;
    session->SetMapName(replay.m_sMapName);
    *start = CurrentStart(MATCH_VS_COMPUTER, recorded.map, level);
    start->state = session->Snapshot();
    start->firstTick = session->GetMatch().GetTicks();
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
    std::unique_ptr<MatchSession> session = NewReplaySession(recording, &error);
    if (!session)
    {
        fprintf(stderr, "glowfront: %s: %s\n", path.c_str(), error.c_str());
        return 2;
    }
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
