#include "device/udp_proxy.h"

#include "transport/port_convention.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zarno::device {
namespace {

constexpr size_t kMaxDatagram = 65536;

int BoundLoopbackSocket(uint16_t wirePort) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        throw std::runtime_error("cannot open a UDP socket");
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(wirePort);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        throw std::runtime_error("cannot bind 127.0.0.1:" + std::to_string(wirePort));
    }
    return fd;
}

uint64_t KeyOf(const sockaddr_in& a) {
    return (uint64_t{a.sin_addr.s_addr} << 16) | a.sin_port;
}

} // namespace

UdpProxy::UdpProxy(const ProxyOptions& options) : m_options(options), m_random(options.seed) {
    m_listen = BoundLoopbackSocket(options.listenWirePort);
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        close(m_listen);
        throw std::runtime_error("cannot make the relay's wake-up pipe");
    }
}

UdpProxy::~UdpProxy() {
    for (const auto& [key, fd] : m_upstream)
        close(fd);
    close(m_listen);
    close(m_wake[0]);
    close(m_wake[1]);
}

uint16_t UdpProxy::ListenWirePort() const {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

void UdpProxy::Stop() {
    const char byte = 1;
    (void)!write(m_wake[1], &byte, 1); // async-signal-safe
}

ProxyCounts UdpProxy::Counts() const {
    return {m_received.load(), m_dropped.load(), m_duplicated.load(), m_sent.load()};
}

bool UdpProxy::Chance(double p) {
    // 53 random bits as a fraction in [0, 1): the same on every platform for the same seed.
    const double u = static_cast<double>(m_random() >> 11) * 0x1.0p-53;
    return u < p;
}

int UdpProxy::UpstreamFor(const sockaddr_in& client) {
    const auto it = m_upstream.find(KeyOf(client));
    if (it != m_upstream.end())
        return it->second;
    const int fd = BoundLoopbackSocket(0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = m_options.targetAddr;
    target.sin_port = htons(m_options.targetWirePort);
    if (connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
        close(fd);
        return -1;
    }
    m_upstream[KeyOf(client)] = fd;
    m_clientOf[fd] = client;
    return fd;
}

void UdpProxy::Relay(int toFd, const sockaddr_in* to, const uint8_t* data, size_t size) {
    ++m_received;
    // Both draws are made for every datagram, so one datagram's fate never shifts another's.
    const bool drop = Chance(m_options.drop);
    const bool dup = Chance(m_options.dup);
    if (drop) {
        ++m_dropped;
        return;
    }
    Pending p{Clock::now() + std::chrono::milliseconds(m_options.delayMs), toFd, {}, {data, data + size}};
    if (to)
        p.to = *to;
    m_pending.push_back(p);
    if (dup) {
        ++m_duplicated;
        m_pending.push_back(std::move(p));
    }
    SendDue();
}

void UdpProxy::SendDue() {
    const auto now = Clock::now();
    while (!m_pending.empty() && m_pending.front().due <= now) {
        const Pending& p = m_pending.front();
        const ssize_t n = p.to.sin_port == 0 ? send(p.fd, p.data.data(), p.data.size(), 0)
                                             : sendto(p.fd, p.data.data(), p.data.size(), 0,
                                                      reinterpret_cast<const sockaddr*>(&p.to), sizeof p.to);
        if (n >= 0)
            ++m_sent;
        m_pending.pop_front();
    }
}

int UdpProxy::PollTimeoutMs() const {
    if (m_pending.empty())
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_pending.front().due - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, wait.count()));
}

void UdpProxy::Run() {
    std::vector<uint8_t> buf(kMaxDatagram);
    for (;;) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listen, POLLIN, 0}};
        for (const auto& [key, fd] : m_upstream)
            fds.push_back({fd, POLLIN, 0});
        const int ready = poll(fds.data(), fds.size(), PollTimeoutMs());
        if (ready < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;
        if (fds[1].revents & POLLIN) {
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n =
                recvfrom(m_listen, buf.data(), buf.size(), 0, reinterpret_cast<sockaddr*>(&from), &len);
            const int up = n >= 0 ? UpstreamFor(from) : -1;
            if (up >= 0)
                Relay(up, nullptr, buf.data(), static_cast<size_t>(n));
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & POLLIN))
                continue;
            const ssize_t n = recv(fds[i].fd, buf.data(), buf.size(), 0);
            if (n >= 0)
                Relay(m_listen, &m_clientOf[fds[i].fd], buf.data(), static_cast<size_t>(n));
        }
        SendDue();
    }
}

bool ParseHostPort(const std::string& text, uint32_t* addr, uint16_t* wirePort) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    in_addr a{};
    if (inet_pton(AF_INET, text.substr(0, colon).c_str(), &a) != 1)
        return false;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(port);
    if (value < 1 || value > 65535)
        return false;
    *addr = a.s_addr;
    *wirePort = velnet::WirePortFromValue(static_cast<uint32_t>(value));
    return true;
}

} // namespace zarno::device
