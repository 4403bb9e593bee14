#include "Network.h"

#include <chrono>
#include <cstring>

#include <allegro.h>
#include <enet/enet.h>

#include "Bytes.h"
#include "HumanSide.h"
#include "Keyboard.h"
#include "Match.h"
#include "Options.h"
#include "zolCheck.h"

namespace
{
    const uint16_t PROTOCOL = 1;
    const size_t MOST_BYTES = 512; // no message of ours is longer
    const int MOST_BAD = 10;       // broken messages before the other side is let go
    const int SILENCE_MS = 5000;   // a peer unheard for this long has left
    const int JOIN_MS = 10000;     // a host that does not answer a join in this long is not there
    const int MOST_KEYS = 64;      // ticks of keys in one message
    const int MOST_AHEAD = 1000;   // ticks a fingerprint may run ahead of ours
    const unsigned ALL_KEYS = (1u << SIDE_KEYS) - 1;

    enum : uint8_t
    {
        HELLO = 1,  // joiner: protocol, game version
        START = 2,  // host: protocol, game version, cap, random state, delay
        REFUSE = 3, // either: why, as text
        KEYS = 4,   // first tick, count, keys
        PRINT = 5   // tick, fingerprint
    };

    long long NowMs()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    // ENet is started once for the program, however many sessions come and go.
    bool StartEnet()
    {
        static bool started = enet_initialize() == 0 && atexit(enet_deinitialize) == 0;
        return started;
    }

    std::string Versions()
    {
        return zolByteWriter().Put<uint16_t>(PROTOCOL).Text(GameVersion()).bytes;
    }

    // Why two games cannot play each other, or empty when they can.
    std::string Mismatch(uint16_t protocol, const std::string& version)
    {
        if (protocol != PROTOCOL)
            return "the two games speak different network protocols (" + std::to_string(protocol) +
                   " and " + std::to_string(PROTOCOL) + ")";
        if (version != GameVersion())
            return "the two games are different versions (" + version + " and " + GameVersion() +
                   ")";
        return "";
    }
}

zolNetSession::~zolNetSession()
{
    if (m_pPeer)
    {
        enet_peer_disconnect_now(m_pPeer, 0);
        enet_host_flush(m_pHost);
    }
    if (m_pHost)
        enet_host_destroy(m_pHost);
}

bool zolNetSession::Host(int port, std::string* error)
{
    ENetAddress address;
    address.host = ENET_HOST_ANY;
    address.port = (enet_uint16)port;
    if (StartEnet())
        m_pHost = enet_host_create(&address, 1, 1, 0, 0);
    if (!m_pHost)
    {
        *error = "cannot wait for a player on port " + std::to_string(port) +
                 " (is another game using it?)";
        return false;
    }
    m_bHost = true;
    m_eState = WAITING;
    // Asked for port 0, the system has chosen one: the joiner must be told which.
    m_dwPort = m_pHost->address.port ? m_pHost->address.port : port;
    m_sWhere = "port " + std::to_string(m_dwPort);
    return true;
}

bool zolNetSession::Join(const std::string& host, int port, std::string* error)
{
    ENetAddress address;
    address.port = (enet_uint16)port;
    m_sWhere = host + ":" + std::to_string(port);
    if (!StartEnet() || enet_address_set_host(&address, host.c_str()) != 0)
    {
        *error = "cannot find the host " + host;
        return false;
    }
    m_pHost = enet_host_create(nullptr, 1, 1, 0, 0);
    if (m_pHost)
        m_pPeer = enet_host_connect(m_pHost, &address, 1, 0);
    if (!m_pPeer)
    {
        *error = "cannot reach " + m_sWhere;
        return false;
    }
    m_eState = WAITING;
    m_dwStartedAt = NowMs();
    return true;
}

void zolNetSession::Send(const std::string& bytes)
{
    if (!m_pPeer)
        return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(m_pPeer, 0, packet) != 0)
        enet_packet_destroy(packet);
}

void zolNetSession::End(const std::string& message)
{
    if (m_eState == ENDED)
        return;
    m_eState = ENDED;
    m_sMessage = message;
    if (m_pPeer)
    {
        Send(zolByteWriter().Put(REFUSE).Text(message, 200).bytes);
        enet_host_flush(m_pHost);
        enet_peer_disconnect_later(m_pPeer, 0);
        enet_host_flush(m_pHost);
    }
}

void zolNetSession::Bad()
{
    if (++m_dwBad >= MOST_BAD)
        End("the other player sent too many broken messages");
}

zolNetSession::State zolNetSession::Service()
{
    ENetEvent event;
    while (m_pHost && m_eState != ENDED && enet_host_service(m_pHost, &event, 0) > 0)
    {
        switch (event.type)
        {
        case ENET_EVENT_TYPE_CONNECT:
            m_pPeer = event.peer;
            m_dwHeardAt = NowMs();
            // ENet's own give-up comes after our five seconds of silence, never before.
            enet_peer_timeout(m_pPeer, 0, SILENCE_MS * 2, SILENCE_MS * 2);
            if (!m_bHost)
                Send(zolByteWriter().Put(HELLO).bytes + Versions());
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            m_dwHeardAt = NowMs();
            Receive(event.packet->data, event.packet->dataLength);
            enet_packet_destroy(event.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            m_pPeer = nullptr;
            m_eState = ENDED;
            if (m_sMessage.empty())
                m_sMessage =
                    m_dwHeardAt ? "the other player left" : "no game answered at " + m_sWhere;
            break;
        default: break;
        }
    }
    long long now = NowMs();
    if (m_eState != ENDED && m_dwHeardAt && now - m_dwHeardAt > SILENCE_MS)
        End("the other player left");
    if (m_eState == WAITING && !m_bHost && !m_dwHeardAt && now - m_dwStartedAt > JOIN_MS)
        End("no answer from " + m_sWhere + " in 10 seconds");
    if (m_pHost)
        enet_host_flush(m_pHost);
    return m_eState;
}

void zolNetSession::Receive(const uint8_t* data, size_t size)
{
    zolByteReader in(data, size);
    uint8_t type;
    if (size > MOST_BYTES || !in.Get(&type))
        return Bad();
    uint16_t protocol;
    std::string text;
    if (type == REFUSE)
    {
        if (!in.Text(&text) || !in.Done())
            return Bad();
        m_eState = ENDED;
        m_sMessage = text.empty() ? "the other player left" : text;
        return;
    }
    if (type == HELLO && m_bHost && m_eState == WAITING)
    {
        if (!in.Get(&protocol) || !in.Text(&text) || !in.Done())
            return Bad();
        std::string why = Mismatch(protocol, text);
        if (!why.empty())
            return End(why);
        // A slow link gets more ticks between a key and its tick, so that it never stalls.
        int rtt = m_pPeer ? (int)m_pPeer->roundTripTime : 0;
        m_dwDelay = rtt / 10 + 2 > 50 ? 50 : rtt / 10 + 2;
        m_start = CurrentStart(MATCH_NETWORK);
        Send(zolByteWriter()
                 .Put(START)
                 .Put<uint16_t>(PROTOCOL)
                 .Text(GameVersion())
                 .Put<int32_t>(m_start.maxUnits)
                 .Put<uint32_t>(m_start.randState)
                 .Put<uint8_t>((uint8_t)m_dwDelay)
                 .bytes);
    }
    else if (type == START && !m_bHost && m_eState == WAITING)
    {
        int32_t cap;
        uint32_t rand;
        uint8_t delay;
        if (!in.Get(&protocol) || !in.Text(&text) || !in.Get(&cap) || !in.Get(&rand) ||
            !in.Get(&delay) || !in.Done() || delay < 2 || delay > 50)
            return Bad();
        std::string why = Mismatch(protocol, text);
        if (!why.empty())
            return End(why);
        m_start = zolMatchStart();
        m_start.kind = MATCH_NETWORK;
        m_start.maxUnits = cap;
        m_start.randState = rand;
        m_start.gameVersion = text;
        m_dwDelay = delay;
    }
    else if (type == KEYS && m_eState == PLAYING)
    {
        uint32_t first;
        uint8_t count;
        if (!in.Get(&first) || !in.Get(&count) || count < 1 || count > MOST_KEYS ||
            (int)first != m_dwRemoteBase + (int)m_vRemote.size())
            return Bad();
        std::deque<unsigned> keys;
        for (int i = 0; i < count; i++)
        {
            uint16_t k;
            if (!in.Get(&k) || k > ALL_KEYS)
                return Bad();
            keys.push_back(k);
        }
        if (!in.Done())
            return Bad();
        m_vRemote.insert(m_vRemote.end(), keys.begin(), keys.end());
    }
    else if (type == PRINT && m_eState == PLAYING)
    {
        uint32_t tick;
        uint64_t print;
        int last = m_vTheirPrints.empty() ? 0 : m_vTheirPrints.back().first;
        if (!in.Get(&tick) || !in.Get(&print) || !in.Done() || (int)tick <= last ||
            (int)tick > m_dwRemoteBase + MOST_AHEAD)
            return Bad();
        m_vTheirPrints.push_back({(int)tick, print});
        CheckFingerprints();
    }
    else
        return Bad();

    if ((type == START || type == HELLO) && m_eState == WAITING)
    {
        // Ticks 1 to delay have no keys on either side: the match starts without waiting.
        m_eState = PLAYING;
        m_vRemote.assign(m_dwDelay, 0);
        m_vOwn.assign(m_dwDelay, 0);
    }
}

void zolNetSession::SendKeys(unsigned keys)
{
    if (m_eState != PLAYING)
        return;
    int tick = NextKeysTick();
    m_vOwn.push_back(keys);
    Send(zolByteWriter()
             .Put(KEYS)
             .Put<uint32_t>((uint32_t)tick)
             .Put<uint8_t>(1)
             .Put<uint16_t>((uint16_t)keys)
             .bytes);
}

unsigned zolNetSession::TakeKeys(int tick, unsigned* own)
{
    // Both queues start at tick 1 and move on together, one tick each time.
    while (m_dwRemoteBase < tick && !m_vRemote.empty() && !m_vOwn.empty())
    {
        m_vRemote.pop_front();
        m_vOwn.pop_front();
        m_dwRemoteBase++;
    }
    *own = m_dwRemoteBase == tick && !m_vOwn.empty() ? m_vOwn.front() : 0;
    return HasKeys(tick) && m_dwRemoteBase == tick ? m_vRemote.front() : 0;
}

void zolNetSession::SendFingerprint(int tick, uint64_t fingerprint)
{
    Send(zolByteWriter().Put(PRINT).Put<uint32_t>((uint32_t)tick).Put<uint64_t>(fingerprint).bytes);
    m_vOwnPrints.push_back({tick, fingerprint});
    CheckFingerprints();
}

void zolNetSession::CheckFingerprints()
{
    while (!m_vOwnPrints.empty() && !m_vTheirPrints.empty())
    {
        auto own = m_vOwnPrints.front(), theirs = m_vTheirPrints.front();
        if (own.first != theirs.first)
        {
            // Both send one every 100 ticks: a tick only one side has checked is passed over.
            (own.first < theirs.first ? m_vOwnPrints : m_vTheirPrints).pop_front();
            continue;
        }
        m_vOwnPrints.pop_front();
        m_vTheirPrints.pop_front();
        if (own.second != theirs.second)
            return End("the two games disagree at tick " + std::to_string(own.first));
    }
}

zolLockstepSource::zolLockstepSource(zolNetSession& net, zolScriptedSide* red,
                                     zolScriptedSide* blue, std::function<unsigned()> sample)
    : m_net(net), m_pvSides{blue, red}, m_fSample(std::move(sample))
{
}

bool zolLockstepSource::Prepare(Match& match)
{
    if (IsOver() || match.IsOver())
        return false;
    int tick = match.GetTicks() + 1;
    // Keys are taken once for each tick, however often this tick has to wait.
    while (m_net.NextKeysTick() <= tick + m_net.GetDelay())
        m_net.SendKeys(m_fSample());
    if (!m_net.HasKeys(tick))
        return false;
    // Our own keys for this tick went out delay ticks ago: the other machine runs it with the
    // same ones.
    bool local = m_net.IsHost(); // the host is red
    unsigned ours, theirs = m_net.TakeKeys(tick, &ours);
    m_pvSides[local]->SetKeys(ours);
    m_pvSides[!local]->SetKeys(theirs);
    return true;
}

void zolLockstepSource::Finish(Match& match)
{
    match.EndTest();
    if (match.GetTicks() % 100 == 0)
        m_net.SendFingerprint(match.GetTicks(), HashRules(match.GetMap()));
}

unsigned TakeNetworkKeys()
{
    unsigned down = 0;
    for (int k = 0; k < SIDE_KEYS; k++)
    {
        bool tapped = TakeTap(g_dwvRedKeys[k]) | TakeTap(g_dwvBlueKeys[k]);
        if (key[g_dwvRedKeys[k]] || key[g_dwvBlueKeys[k]] || tapped)
        {
            down |= 1u << k;
            key[g_dwvRedKeys[k]] = key[g_dwvBlueKeys[k]] = 0;
        }
    }
    return down;
}
