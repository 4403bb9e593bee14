#ifndef NETWORK_H
#define NETWORK_H

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "Recording.h"
#include "TickSource.h"

class Match;
class zolScriptedSide;
typedef struct _ENetHost ENetHost;
typedef struct _ENetPeer ENetPeer;

// One machine's end of a match across two, over ENet: the host plays red, the joiner blue. The
// host sends the start; then each side sends its keys for tick t + delay and runs tick t only
// once both sides' keys for it are there. Every packet from the other side is checked before it
// is believed. Whatever it sends, a session holds for it keys for at most delay + 64 ticks past
// the tick being played, four fingerprints, and in ENet at most 4 KiB of messages waiting, none
// over 512 bytes: under a megabyte with ENet's bookkeeping (see Network.cpp).
class zolNetSession
{
public:
    enum State
    {
        WAITING, // the host for a joiner, the joiner for the host's answer
        PLAYING, // the start is agreed
        ENDED    // left, refused, lost or failed: GetMessage() says which
    };

    zolNetSession() = default;
    ~zolNetSession(); // tells the other side, and closes
    zolNetSession(const zolNetSession&) = delete;
    zolNetSession& operator=(const zolNetSession&) = delete;

    // Neither waits: Service() does. False, with the reason, when it cannot even begin. Port 0
    // hosts on a port the system hands out, which GetPort() then tells.
    bool Host(int port, std::string* error);
    bool Join(const std::string& host, int port, std::string* error);
    // The map the host starts the match on, sent whole with the start; `start` unless set. A
    // joiner plays the host's map, whatever it was set to.
    void SetMap(const zolMapPlan& map) { m_map = map; }

    State Service(); // handles what has come in and sends what is due; never waits

    const zolMatchStart& GetStart() { return m_start; }
    int GetDelay() { return m_dwDelay; }
    bool IsHost() { return m_bHost; }
    int GetPort(); // the host's own port; 0 for a joiner
    State GetState() { return m_eState; }
    // Why the session ended, on one line. Text of the other side's in it is printable ASCII,
    // cut to fit a 68-character line with our words around it, and marked as theirs.
    const std::string& GetMessage() { return m_sMessage; }
    int GetBadPackets() { return m_dwBad; }

    // Lockstep. The local side's keys go out for one tick after another, from NextKeysTick();
    // a tick can run once the other side's keys for it are there. TakeKeys gives them, and ours
    // in own, for ticks asked in order.
    int NextKeysTick() { return m_dwRemoteBase + (int)m_vOwn.size(); }
    void SendKeys(unsigned keys);
    bool HasKeys(int tick) { return tick < m_dwRemoteBase + (int)m_vRemote.size(); }
    unsigned TakeKeys(int tick, unsigned* own);
    void SendFingerprint(int tick, uint64_t fingerprint);
    void End(const std::string& message); // stops the match here and tells the other side why
    void Leave(); // stops it, telling the other side only that this player left

private:
    void Send(const std::string& bytes);
    void Receive(const uint8_t* data, size_t size);
    // Ends with message here, and told (empty: just that this player left) to the other side.
    void Stop(const std::string& message, const std::string& told);
    void Bad(const char* what = "too many broken messages"); // the tenth ends, saying what
    void CheckFingerprints();
    bool AwaitsStart() { return !m_bHost && m_eState == WAITING; }

    ENetHost* m_pHost = nullptr; // owned
    ENetPeer* m_pPeer = nullptr; // the other side; owned by the host
    bool m_bHost = false;
    State m_eState = ENDED;
    std::string m_sMessage;
    std::string m_sWhere; // "host:port", for messages
    zolMatchStart m_start;
    zolMapPlan m_map = StartMap(); // the host's
    int m_dwDelay = 2;             // in ticks
    long long m_dwHeardAt = 0;     // steady clock, ms; 0: not yet connected
    long long m_dwStartedAt = 0;   // of Join, for its ten seconds
    int m_dwBad = 0;
    int m_dwRemoteBase = 1; // the tick of m_vRemote's front
    std::deque<unsigned> m_vRemote;
    std::deque<unsigned> m_vOwn;                                       // from m_dwRemoteBase too
    std::deque<std::pair<int, uint64_t>> m_vOwnPrints, m_vTheirPrints; // (tick, fingerprint)
    int m_dwTheirLastPrint = 0;
};

// Feeds a match from both machines in lockstep: before tick t the local keys for t + delay are
// taken (sample) and sent, and t runs only once the other side's keys for it have come. The end
// test runs after every tick, so both machines end on the same one; every 100th tick's fingerprint
// goes to the other side to be compared.
class zolLockstepSource : public zolTickSource
{
public:
    // The sides are the match's two, both played through the network; sample gives the local
    // player's keys, once for each tick they are sent for.
    zolLockstepSource(zolNetSession& net, zolScriptedSide* red, zolScriptedSide* blue,
                      std::function<unsigned()> sample);

    bool Prepare(Match& match) override;
    void Finish(Match& match) override;
    void EndPass() override { m_net.Service(); }
    void Leave() override { m_net.Leave(); }
    bool IsOver() override { return m_net.GetState() != zolNetSession::PLAYING; }

private:
    zolNetSession& m_net;          // not owned
    zolScriptedSide* m_pvSides[2]; // by side; not owned
    std::function<unsigned()> m_fSample;
};

// The local player's keys for a network match: either table, for the player's own side; the keys
// read are released, each press acting once.
unsigned TakeNetworkKeys();

const int NETWORK_PORT = 47630;

#endif
