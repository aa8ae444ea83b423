#pragma once
// Free UDP ports on the loopback interface, chosen by the system, so tests can run in parallel.

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace zarno::testing {

// A plain POSIX datagram socket bound to 127.0.0.1 (wire port 0 lets the system choose).
class PlainUdpSocket {
public:
    explicit PlainUdpSocket(uint16_t wirePort = 0) {
        fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(wirePort);
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
            throw std::runtime_error("cannot bind a loopback test socket");
        timeval tv{5, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~PlainUdpSocket() { ::close(fd); }
    PlainUdpSocket(const PlainUdpSocket&) = delete;
    PlainUdpSocket& operator=(const PlainUdpSocket&) = delete;

    uint16_t wirePort() const {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        return ntohs(a.sin_port);
    }
    void sendTo(uint16_t wirePort, const void* data, size_t size) const {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(wirePort);
        ::sendto(fd, data, size, 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    }
    // Bytes received, or -1 after the 5 s limit.
    ssize_t receive(void* data, size_t size, uint16_t* fromWirePort = nullptr) const {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        const ssize_t n = ::recvfrom(fd, data, size, 0, reinterpret_cast<sockaddr*>(&a), &len);
        if (fromWirePort)
            *fromWirePort = ntohs(a.sin_port);
        return n;
    }

    int fd = -1;
};

// A wire port that was free a moment ago.
inline uint16_t FreeWirePort() {
    return PlainUdpSocket().wirePort();
}

} // namespace zarno::testing
