#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <map>
#include <poll.h>
#include <random>
#include <sys/wait.h>
#include <thread>

#include <enet/enet.h>
#include <gtest/gtest.h>

#include "MatchSession.h"
#include "Network.h"
#include "Options.h"
#include "Recording.h"

// Network matches on 127.0.0.1, ports 47700 to 47739: netpeer processes playing each other, and
// a session in this process facing an ENet client of the test's own.
namespace
{
    using namespace std::chrono;
    auto Since = [](steady_clock::time_point t0)
    { return duration<double>(steady_clock::now() - t0).count(); };

    // A netpeer that timeout(1) kills after `seconds` whatever happens, and what it printed once
    // it ended, with its exit status (137: killed).
    FILE* Start(const std::string& args, int seconds)
    {
        std::string line = "exec timeout -s KILL " + std::to_string(seconds) + " " NETPEER " ";
        return popen((line + args).c_str(), "r");
    }
    std::string Finish(FILE* peer, int* status)
    {
        std::string out;
        for (char line[256]; fgets(line, sizeof line, peer);)
            out += line;
        *status = WEXITSTATUS(pclose(peer));
        return out;
    }

    // Two peers play 20,000 ticks with seeds of their own, the joiner through port via, and end
    // on one fingerprint; each one's recording then replays to it exactly.
    void PlayPair(int port, int via)
    {
        FILE* host = Start("host " + std::to_string(port) + " 20000 11 net-host.rec", 240);
        FILE* join = Start("join 127.0.0.1:" + std::to_string(via) + " 20000 12 net-join.rec", 240);
        int hostStatus, joinStatus;
        std::string out = Finish(host, &hostStatus), result = out.substr(out.find('\n') + 1);
        EXPECT_EQ(out, Finish(join, &joinStatus));
        EXPECT_EQ(0, hostStatus + joinStatus);
        EXPECT_EQ(0u, result.find("20000 ticks, fingerprint ")) << out;
        for (const char* file : {"net-host.rec", "net-join.rec"})
        {
            testing::internal::CaptureStdout();
            EXPECT_EQ(0, VerifyRecording(file)) << file;
            EXPECT_EQ("replay ok: " + result, testing::internal::GetCapturedStdout());
            std::remove(file);
        }
    }

    // Carries datagrams on one UDP socket at port between a joiner and the host at hostPort, as a
    // poor link would, until stop: a seeded 2 % each way are lost, 5 % held back 5 to 45 ms and
    // so put out of order.
    void Relay(int port, int hostPort, const std::atomic<bool>& stop)
    {
        auto loopback = [](int p) {
            return sockaddr_in{AF_INET, htons(p), {htonl(0x7F000001)}, {}};
        };
        sockaddr_in at = loopback(port), host = loopback(hostPort), joiner{}, from{};
        int fd = socket(AF_INET, SOCK_DGRAM, 0);
        EXPECT_EQ(0, bind(fd, (sockaddr*)&at, sizeof at)) << "port " << port;
        std::mt19937 rng(5);
        std::multimap<steady_clock::time_point, std::pair<sockaddr_in, std::string>> held;
        for (char buf[2048]; !stop;)
        {
            pollfd p{fd, POLLIN, 0};
            socklen_t size = sizeof from;
            ssize_t n =
                poll(&p, 1, 1) > 0 ? recvfrom(fd, buf, sizeof buf, 0, (sockaddr*)&from, &size) : -1;
            bool fromHost = from.sin_port == host.sin_port;
            joiner = n >= 0 && !fromHost ? from : joiner;
            unsigned roll = rng() % 100, wait = roll < 7 ? 5 + rng() % 41 : 0;
            if (n >= 0 && roll >= 2)
                held.emplace(steady_clock::now() + milliseconds(wait),
                             std::make_pair(fromHost ? joiner : host, std::string(buf, n)));
            for (auto it = held.begin(); it != held.end() && it->first <= steady_clock::now();
                 it = held.erase(it))
                sendto(fd, it->second.second.data(), it->second.second.size(), 0,
                       (sockaddr*)&it->second.first, sizeof from);
        }
        close(fd);
    }
}

TEST(NetworkMatch, TwoPeersPlayOneMatchOnLoopbackAndOverALinkThatLosesAndDelays)
{
    PlayPair(47700, 47700);
    std::atomic<bool> stop{false};
    std::thread relay(Relay, 47711, 47710, std::cref(stop));
    PlayPair(47710, 47711);
    stop = true;
    relay.join();
}

TEST(NetworkMatch, APeerThatVanishesMidMatchIsNoticedWithinFiveSeconds)
{
    FILE* host = Start("host 47720 100000000 1", 20);
    int status;
    // timeout(1) kills the joiner, playing by then, three seconds after it started.
    EXPECT_EQ("playing delay 2\n", Finish(Start("join 127.0.0.1:47720 100000000 2", 3), &status));
    auto t0 = steady_clock::now();
    std::string out = Finish(host, &status);
    EXPECT_NEAR(5.0, Since(t0), 1.5);
    EXPECT_EQ(3, status);
    EXPECT_NE(std::string::npos, out.find(": the other player left")) << out;
}

namespace
{
    // A session hosting on port, and an ENet client of the test's own joined to it, to say what
    // a zolNetSession never would. Both are serviced in one loop, as a game's would be.
    struct Joiner
    {
        explicit Joiner(int port)
        {
            ENetAddress there{htonl(0x7F000001), (enet_uint16)port};
            std::string error;
            EXPECT_TRUE(net.Host(port, &error)) << error;
            enet_host_connect(client, &there, 1, 0);
            EXPECT_TRUE(Pump([&] { return peer != nullptr; }));
        }
        ~Joiner() { enet_host_destroy(client); }

        void Send(std::string b)
        {
            enet_peer_send(peer, 0, enet_packet_create(b.data(), b.size(), 1));
        }
        bool Pump(const std::function<bool()>& done) // for at most five seconds
        {
            ENetEvent e;
            for (auto t0 = steady_clock::now(); !done() && Since(t0) < 5; net.Service())
                while (enet_host_service(client, &e, 1) > 0)
                    if (e.type == ENET_EVENT_TYPE_CONNECT)
                        peer = e.peer;
                    else if (e.type == ENET_EVENT_TYPE_RECEIVE)
                        got.emplace_back((char*)e.packet->data, e.packet->dataLength),
                            enet_packet_destroy(e.packet);
            return done();
        }

        zolNetSession net; // first: it starts ENet
        ENetHost* client = enet_host_create(nullptr, 1, 1, 0, 0);
        ENetPeer* peer = nullptr;
        std::vector<std::string> got; // every message the session sent, whole
    };

    // The session's messages byte for byte: numbers little-endian, a text its length then itself.
    std::string Bytes(std::initializer_list<int> bytes, const std::string& text = "")
    {
        std::string out(bytes.begin(), bytes.end());
        return text.empty() ? out : out + (char)text.size() + text;
    }
    auto Refusal = [](const std::string& why) { return Bytes({3}, why); };
}

TEST(NetworkSession, BrokenMessagesAreDroppedAndTheTenthEndsTheMatch)
{
    Joiner j(47730);
    j.Send(Bytes({1, 1, 0}, GameVersion()));
    ASSERT_TRUE(j.Pump([&] { return j.net.GetState() == zolNetSession::PLAYING; }));
    int next = 1 + j.net.GetDelay(); // the first tick whose keys the host waits for
    std::string keys = Bytes({4, next, 0, 0, 0, 1}), many = Bytes({4, next, 0, 0, 0, 65});
    j.Send(Bytes({99}));                                    // no such message
    j.Send(Bytes({4, next, 0, 0}));                         // cut short
    j.Send(keys + std::string(600, '\0'));                  // too long for any message
    j.Send(keys + Bytes({0xFF, 0x3F}));                     // a key beyond the thirteen
    j.Send(Bytes({4, next + 1, 0, 0, 0, 1, 0, 0}));         // a tick out of turn
    j.Send(many + std::string(130, '\0'));                  // more ticks than a message may hold
    j.Send(Bytes({5, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0})); // a fingerprint 65536 ticks ahead
    j.Send(Bytes({1, 1, 0}, GameVersion()));                // a second hello
    j.Send(Refusal("why") + "!");                           // a refusal with a tail
    j.Send(keys + Bytes({0xFF, 0x1F}));                     // sound: every key down
    ASSERT_TRUE(j.Pump([&] { return j.net.HasKeys(next); }));
    EXPECT_EQ(9, j.net.GetBadPackets());
    EXPECT_FALSE(j.net.HasKeys(next + 1));
    unsigned own, theirs = j.net.TakeKeys(next, &own);
    EXPECT_EQ(0x1FFFu, theirs);
    j.Send(Bytes({0}));
    const std::string why = "the other player sent too many broken messages";
    EXPECT_TRUE(j.Pump([&] { return j.got.size() == 2; })); // the start, then the end
    EXPECT_EQ(why, j.net.GetMessage());
    EXPECT_EQ(Refusal(why), j.got.back());
}

TEST(NetworkSession, AHelloFromAnotherProtocolOrVersionIsRefusedOnBothSidesSayingWhy)
{
    std::string v = GameVersion();
    std::pair<std::string, std::string> cases[] = {
        {Bytes({1, 2, 0}, v), "the two games speak different network protocols (2 and 1)"},
        {Bytes({1, 1, 0}, "0.9"), "the two games are different versions (0.9 and " + v + ")"}};
    int port = 47731;
    for (auto& [hello, why] : cases)
    {
        Joiner j(port++);
        j.Send(hello);
        EXPECT_TRUE(j.Pump([&] { return !j.got.empty(); }));
        EXPECT_EQ(why, j.net.GetMessage());
        EXPECT_EQ(Refusal(why), j.got.at(0)); // which the joining game shows
    }
}
