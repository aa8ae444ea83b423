#pragma once
// A UDP relay on 127.0.0.1 that loses, repeats and delays datagrams on purpose, in both directions,
// so that the whole stack's repeat and failure paths can be exercised. Every client address gets a
// socket of its own towards the target, so answers find their way back to the right client. The
// same seed gives the same fate to the same sequence of datagrams.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <netinet/in.h>

namespace zarno::device {

struct ProxyOptions {
    uint16_t listenWirePort = 0; // 0: the system chooses
    uint32_t targetAddr = 0;     // network byte order
    uint16_t targetWirePort = 0;
    double drop = 0;      // probability that a datagram is lost
    double dup = 0;       // probability that a forwarded datagram is sent twice
    uint32_t delayMs = 0; // every forwarded datagram waits this long
    uint64_t seed = 1;
};

struct ProxyCounts {
    uint64_t received = 0;
    uint64_t dropped = 0;
    uint64_t duplicated = 0;
    uint64_t sent = 0;
};

class UdpProxy {
public:
    // Binds the listening socket; throws std::runtime_error when it cannot.
    explicit UdpProxy(const ProxyOptions& options);
    ~UdpProxy();
    UdpProxy(const UdpProxy&) = delete;
    UdpProxy& operator=(const UdpProxy&) = delete;

    uint16_t ListenWirePort() const;
    // Relays until Stop is called (from another thread or a signal handler).
    void Run();
    void Stop();
    ProxyCounts Counts() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Pending {
        Clock::time_point due;
        int fd;
        sockaddr_in to; // sin_port 0: the socket is connected to the target
        std::vector<uint8_t> data;
    };
    int UpstreamFor(const sockaddr_in& client);
    void Relay(int toFd, const sockaddr_in* to, const uint8_t* data, size_t size);
    bool Chance(double p);
    void SendDue();
    int PollTimeoutMs() const;

    ProxyOptions m_options;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    std::map<uint64_t, int> m_upstream; // client address and port -> socket towards the target
    std::map<int, sockaddr_in> m_clientOf;
    std::mt19937_64 m_random;
    std::atomic<uint64_t> m_received{0}, m_dropped{0}, m_duplicated{0}, m_sent{0};
    std::deque<Pending> m_pending; // in order of due time: the delay is the same for all
};

// Parses "HOST:PORT" with a dotted IPv4 host and a port value in the library's convention.
bool ParseHostPort(const std::string& text, uint32_t* addr, uint16_t* wirePort);

} // namespace zarno::device
