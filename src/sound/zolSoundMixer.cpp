#include "zolSoundMixer.h"

#include <algorithm>

namespace
{
    struct KindRule
    {
        int gapMs;
        int priority;
        int lengthMs;
    };

    // A kind the world makes by the thousand plays a few times a second at most. What the player
    // did or must not miss ranks above the din of the fight.
    const KindRule RULES[ZOL_EVENT_KINDS] = {
        {200, 90, 110},    // UnitBorn
        {250, 70, 90},     // Blow
        {200, 160, 300},   // TileTaken
        {300, 170, 450},   // BuildDone
        {300, 150, 380},   // RockOpened
        {60, 200, 50},     // MenuMove
        {150, 210, 200},   // MenuChoice
        {1500, 255, 1800}, // RedWins
        {1500, 255, 1800}, // BlueWins
    };
}

zolSoundMixer::zolSoundMixer(int voices)
    : m_dwVolume(255), m_bMuted(false), m_dwvCount{}, m_dwvPanSum{}, m_dwvNextMs{},
      m_pvVoices((size_t)std::max(voices, 1), Voice{0, 0})
{
    m_pvCues.reserve(ZOL_EVENT_KINDS);
}

void zolSoundMixer::OnEvent(zolEvent kind, int x, int)
{
    int k = (int)kind;
    if (k < 0 || k >= ZOL_EVENT_KINDS)
        return;
    m_dwvCount[k]++;
    m_dwvPanSum[k] += PanForColumn(x);
}

const std::vector<zolSoundCue>& zolSoundMixer::Frame(int nowMs)
{
    m_pvCues.clear();
    int order[ZOL_EVENT_KINDS];
    for (int k = 0; k < ZOL_EVENT_KINDS; k++)
        order[k] = k;
    std::stable_sort(order, order + ZOL_EVENT_KINDS,
                     [](int a, int b) { return RULES[a].priority > RULES[b].priority; });

    bool silent = m_bMuted || m_dwVolume == 0;
    for (int k : order)
    {
        int count = m_dwvCount[k];
        if (count == 0 || silent || nowMs < m_dwvNextMs[k])
            continue;
        const KindRule& rule = RULES[k];
        int voice = TakeVoice(rule.priority, nowMs);
        if (voice < 0)
            continue;
        m_pvVoices[voice] = Voice{rule.priority, nowMs + rule.lengthMs};
        m_dwvNextMs[k] = nowMs + rule.gapMs;
        m_pvCues.push_back(zolSoundCue{(zolEvent)k, voice, m_dwvPanSum[k] / count, m_dwVolume});
    }
    std::fill(m_dwvCount, m_dwvCount + ZOL_EVENT_KINDS, 0);
    std::fill(m_dwvPanSum, m_dwvPanSum + ZOL_EVENT_KINDS, 0);
    return m_pvCues;
}

int zolSoundMixer::TakeVoice(int priority, int nowMs)
{
    int weakest = 0;
    for (int v = 0; v < (int)m_pvVoices.size(); v++)
    {
        const Voice& voice = m_pvVoices[v];
        if (voice.endMs <= nowMs)
            return v;
        const Voice& w = m_pvVoices[weakest];
        if (voice.priority < w.priority || (voice.priority == w.priority && voice.endMs < w.endMs))
            weakest = v;
    }
    return m_pvVoices[weakest].priority < priority ? weakest : -1;
}

void zolSoundMixer::SetVolume(int volume)
{
    m_dwVolume = std::clamp(volume, 0, 255);
}

void zolSoundMixer::SetMuted(bool muted)
{
    m_bMuted = muted;
    if (muted)
        for (Voice& voice : m_pvVoices)
            voice = Voice{0, 0};
}

int zolSoundMixer::PanForColumn(int x)
{
    if (x < 0)
        return 128;
    return std::min(x, 19) * 255 / 19;
}

int zolSoundMixer::LengthMsOf(zolEvent kind)
{
    return RULES[(int)kind].lengthMs;
}
