// The lossy relay: its rates measured over many datagrams, its determinism, both directions.

#include "device/udp_proxy.h"
#include "tests/support/free_port.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <set>
#include <thread>

namespace zarno::device {
namespace {
using zarno::testing::PlainUdpSocket;
using Clock = std::chrono::steady_clock;

class RunningProxy {
public:
    explicit RunningProxy(ProxyOptions o) : proxy(o), thread([this] { proxy.Run(); }) {}
    ~RunningProxy() {
        proxy.Stop();
        thread.join();
    }
    UdpProxy proxy;
    std::thread thread;
};

ProxyOptions Towards(const PlainUdpSocket& target) {
    ProxyOptions o;
    o.targetAddr = htonl(INADDR_LOOPBACK);
    o.targetWirePort = target.wirePort();
    return o;
}

// Sends count numbered datagrams through the relay and collects the numbers that arrive, until
// nothing more comes for a while. Sends are paced so that no socket buffer overflows on the way.
std::multiset<uint32_t> SendNumbered(const PlainUdpSocket& client, uint16_t relayPort,
                                     const PlainUdpSocket& target, uint32_t count) {
    std::multiset<uint32_t> got;
    timeval shortWait{0, 2000};
    setsockopt(target.fd, SOL_SOCKET, SO_RCVTIMEO, &shortWait, sizeof shortWait);
    const auto drain = [&] {
        uint32_t n = 0;
        while (target.receive(&n, sizeof n) == sizeof n)
            got.insert(n);
    };
    for (uint32_t i = 0; i < count; ++i) {
        client.sendTo(relayPort, &i, sizeof i);
        if (i % 32 == 31)
            drain();
    }
    timeval lastWait{0, 300000};
    setsockopt(target.fd, SOL_SOCKET, SO_RCVTIMEO, &lastWait, sizeof lastWait);
    drain();
    return got;
}

TEST(UdpProxyTest, DropRateMatchesOverManyDatagramsAndRepeatsWithTheSeed) {
    constexpr uint32_t kCount = 4000;
    std::multiset<uint32_t> first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        PlainUdpSocket client, target;
        ProxyOptions o = Towards(target);
        o.drop = 0.25;
        o.seed = 42;
        RunningProxy relay(o);
        const auto got = SendNumbered(client, relay.proxy.ListenWirePort(), target, kCount);
        const double rate = 1.0 - static_cast<double>(got.size()) / kCount;
        // 4000 draws at p = 0.25: the standard deviation is under 0.007; allow well over 4 of them.
        EXPECT_NEAR(rate, 0.25, 0.035);
        EXPECT_EQ(relay.proxy.Counts().received, kCount);
        EXPECT_EQ(relay.proxy.Counts().dropped, kCount - got.size());
        if (run == 0)
            first = got;
        else
            EXPECT_EQ(got, first); // the same seed loses the same datagrams
    }
}

TEST(UdpProxyTest, DuplicatesAtTheGivenRate) {
    constexpr uint32_t kCount = 2000;
    PlainUdpSocket client, target;
    ProxyOptions o = Towards(target);
    o.dup = 0.5;
    o.seed = 7;
    RunningProxy relay(o);
    const auto got = SendNumbered(client, relay.proxy.ListenWirePort(), target, kCount);
    size_t twice = 0;
    for (uint32_t i = 0; i < kCount; ++i) {
        ASSERT_GE(got.count(i), 1u) << i;
        twice += got.count(i) == 2;
    }
    EXPECT_NEAR(static_cast<double>(twice) / kCount, 0.5, 0.05);
}

TEST(UdpProxyTest, AnswersGoBackToTheirClientAfterTheDelay) {
    PlainUdpSocket a, b, target;
    ProxyOptions o = Towards(target);
    o.delayMs = 100;
    RunningProxy relay(o);
    const uint16_t port = relay.proxy.ListenWirePort();
    for (PlainUdpSocket* client : {&a, &b}) {
        const char want = client == &a ? 'a' : 'b';
        const auto start = Clock::now();
        client->sendTo(port, &want, 1);
        char got = 0;
        uint16_t from = 0;
        ASSERT_EQ(target.receive(&got, 1, &from), 1);
        EXPECT_EQ(got, want);
        EXPECT_NE(from, client->wirePort()); // it came from the relay
        target.sendTo(from, &want, 1);       // the answer goes back to where the message came from
        char back = 0;
        uint16_t backFrom = 0;
        ASSERT_EQ(client->receive(&back, 1, &backFrom), 1);
        EXPECT_EQ(back, want);
        EXPECT_EQ(backFrom, port);
        // One delay each way; only the lower bound is timing-safe.
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
    }
}

TEST(UdpProxyTest, ParsesHostAndPortInTheLibraryConvention) {
    uint32_t addr = 0;
    uint16_t wire = 0;
    ASSERT_TRUE(ParseHostPort("127.0.0.1:6768", &addr, &wire));
    EXPECT_EQ(addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(wire, 28698);
    for (const char* bad :
         {"127.0.0.1", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:70000", "host:1", ":5", "127.0.0.1:12x"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseHostPort(bad, &addr, &wire));
    }
}

} // namespace
} // namespace zarno::device
