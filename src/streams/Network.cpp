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
    const uint16_t PROTOCOL = 2;   // 2: the start carries the map
    const size_t MOST_BYTES = 512; // no message of ours is longer
    const int MOST_BAD = 10;       // broken messages before the other side is let go
    const int SILENCE_MS = 5000;   // a peer unheard for this long has left
    const int JOIN_MS = 10000;     // a join without a start in this long has failed
    const int MOST_KEYS = 64;      // ticks of keys in one message
    // How far past the tick being played (the oldest whose keys are still held) the other side's
    // keys may run, beyond the delay. In lockstep neither side runs a tick before it has the
    // other's keys for it, and each sends its keys for t + delay just before it runs t. Ours have
    // gone out to the tick being played + delay + 1 at most, so the other side can at most be
    // about to run the tick after that, and its keys reach the tick being played + 2 delay + 2:
    // with the delay at 50 at most, a fair peer stays within delay + 52, under delay + margin.
    const int KEYS_MARGIN = 64;
    // Fingerprints waiting for their match on either side. Each side sends one after every 100th
    // tick, the other's for tick t ahead of its keys for t + delay + 1, so a fair peer leaves at
    // most one of ours waiting, and sends at most two ahead of our tick (see KEYS_MARGIN).
    const size_t MOST_PRINTS = 4;
    // ENet's own buffers: no packet longer than a message of ours is taken, and what has come
    // but is not yet handed over (out of order, or not yet serviced) stays under this many bytes
    // of messages; ENet refuses the rest unacknowledged, so a fair peer sends it again. A
    // second of a fair peer's messages is about a kilobyte.
    const size_t MOST_WAITING = 4096;
    // Text of the other side's on one line of the message box, 68 characters wide.
    const size_t MOST_THEIRS = 43;  // a refusal, inside 'the other player says: "..."'
    const size_t MOST_VERSION = 12; // a version
    const unsigned ALL_KEYS = (1u << SIDE_KEYS) - 1;

    enum : uint8_t
    {
        HELLO = 1,  // joiner: protocol, game version
        START = 2,  // host: protocol, game version, cap, random state, delay, map name, map rows
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

    // Why two games cannot play each other, or empty when they can: protocol and version are
    // the other side's, named as the host's or the joiner's, so that the line reads the same
    // wherever it is shown.
    std::string Mismatch(bool host, uint16_t protocol, const std::string& version)
    {
        auto both = [host](const std::string& ours, const std::string& theirs) {
            return host ? "host " + ours + ", joiner " + theirs
                        : "host " + theirs + ", joiner " + ours;
        };
        if (protocol != PROTOCOL)
            return "different network protocols: " +
                   both(std::to_string(PROTOCOL), std::to_string(protocol));
        if (version != GameVersion())
            return "different game versions: " +
                   both(GameVersion(), PrintableText(version, MOST_VERSION));
        return "";
    }

    // ENet's own buffers held to what our messages need.
    ENetHost* NewHost(const ENetAddress* address)
    {
        ENetHost* host = enet_host_create(address, 1, 1, 0, 0);
        if (host)
        {
            host->maximumPacketSize = MOST_BYTES;
            host->maximumWaitingData = MOST_WAITING;
        }
        return host;
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
        m_pHost = NewHost(&address);
    if (!m_pHost)
    {
        *error = "cannot wait for a player on port " + std::to_string(port) +
                 " (is another game using it?)";
        return false;
    }
    m_bHost = true;
    m_eState = WAITING;
    m_sWhere = "port " + std::to_string(GetPort());
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
    m_pHost = NewHost(nullptr);
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
    Stop(message, message);
}

void zolNetSession::Leave()
{
    Stop("this player left", "");
}

void zolNetSession::Stop(const std::string& message, const std::string& told)
{
    if (m_eState == ENDED)
        return;
    m_eState = ENDED;
    m_sMessage = message;
    if (m_pPeer)
    {
        Send(zolByteWriter().Put(REFUSE).Text(told, 200).bytes);
        enet_host_flush(m_pHost);
        enet_peer_disconnect_later(m_pPeer, 0);
        enet_host_flush(m_pHost);
    }
}

void zolNetSession::Bad(const char* what)
{
    if (++m_dwBad >= MOST_BAD)
        End(std::string("the other player sent ") + what);
}

int zolNetSession::GetPort()
{
    return m_bHost && m_pHost ? m_pHost->address.port : 0;
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
            if (m_sMessage.empty())
                m_sMessage = !m_dwHeardAt    ? "no game answered at " + m_sWhere
                             : AwaitsStart() ? "the host did not start the match"
                                             : "the other player left";
            m_pPeer = nullptr;
            m_eState = ENDED;
            break;
        default: break;
        }
    }
    long long now = NowMs();
    // A joiner waits for the start as long as the join may take, however quiet the host keeps.
    if (AwaitsStart() && now - m_dwStartedAt > JOIN_MS)
        End(m_dwHeardAt ? "the host did not start the match"
                        : "no answer from " + m_sWhere + " in 10 seconds");
    else if (m_eState != ENDED && !AwaitsStart() && m_dwHeardAt && now - m_dwHeardAt > SILENCE_MS)
        End("the other player left");
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
        m_sMessage = text.empty()
                         ? "the other player left"
                         : "the other player says: \"" + PrintableText(text, MOST_THEIRS) + "\"";
        return;
    }
    if (type == HELLO && m_bHost && m_eState == WAITING)
    {
        if (!in.Get(&protocol) || !in.Text(&text) || !in.Done())
            return Bad();
        std::string why = Mismatch(true, protocol, text);
        if (!why.empty())
            return End(why);
        // A slow link gets more ticks between a key and its tick, so that it never stalls.
        int rtt = m_pPeer ? (int)m_pPeer->roundTripTime : 0;
        m_dwDelay = rtt / 10 + 2 > 50 ? 50 : rtt / 10 + 2;
        m_start = CurrentStart(MATCH_NETWORK, m_map);
        zolByteWriter start;
        start.Put(START).Put<uint16_t>(PROTOCOL).Text(GameVersion());
        start.Put<int32_t>(m_start.maxUnits).Put<uint32_t>(m_start.randState);
        start.Put<uint8_t>((uint8_t)m_dwDelay).bytes += MapBytes(m_map);
        Send(start.bytes);
    }
    else if (type == START && !m_bHost && m_eState == WAITING)
    {
        // The protocol and version first: what follows them is another protocol's business.
        if (!in.Get(&protocol) || !in.Text(&text))
            return Bad();
        std::string why = Mismatch(false, protocol, text);
        if (!why.empty())
            return End(why);
        int32_t cap;
        uint32_t rand;
        uint8_t delay;
        zolMapPlan map;
        if (!in.Get(&cap) || !in.Get(&rand) || !in.Get(&delay) || delay < 2 || delay > 50 ||
            !ReadMapBytes(in, &map).empty() || !in.Done())
            return Bad();
        m_start = zolMatchStart();
        m_start.kind = MATCH_NETWORK;
        m_start.maxUnits = cap;
        m_start.randState = rand;
        m_start.gameVersion = text;
        m_start.map = map;
        m_dwDelay = delay;
    }
    else if (type == KEYS && m_eState == PLAYING)
    {
        uint32_t first;
        uint8_t count;
        int next = m_dwRemoteBase + (int)m_vRemote.size();
        if (!in.Get(&first) || !in.Get(&count) || count < 1 || count > MOST_KEYS)
            return Bad();
        // Named before the order is checked: past one refused, a flood's next are out of turn.
        if ((long long)first + count - 1 > m_dwRemoteBase + m_dwDelay + KEYS_MARGIN)
            return Bad("keys too far ahead");
        if (first != (uint32_t)next)
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
        if (!in.Get(&tick) || !in.Get(&print) || !in.Done() ||
            tick <= (uint32_t)m_dwTheirLastPrint || tick % 100 != 0 ||
            tick > (uint32_t)(m_dwRemoteBase + m_dwDelay + KEYS_MARGIN) ||
            m_vTheirPrints.size() >= MOST_PRINTS)
            return Bad();
        m_dwTheirLastPrint = (int)tick;
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
    // One the other side never matches is passed over, as one it skips below.
    if (m_vOwnPrints.size() >= MOST_PRINTS)
        m_vOwnPrints.pop_front();
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
