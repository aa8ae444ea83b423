#include "device/pty_pair.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace zarno::device {
namespace {

void CloseIfOpen(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Writes the bytes, waiting a little while the other end's queue is full. When nobody reads that
// end the rest is lost, as on a line with nothing attached, and the relay goes on.
void WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 100) <= 0)
                return;
            continue;
        }
        if (n <= 0)
            return;
        data += n;
        size -= static_cast<size_t>(n);
    }
}

} // namespace

PtyPair::PtyPair() {
    try {
        for (int i = 0; i < 2; ++i) {
            m_master[i] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
            if (m_master[i] < 0 || grantpt(m_master[i]) != 0 || unlockpt(m_master[i]) != 0)
                throw std::runtime_error("cannot create a pseudo-terminal");
            char name[128] = {};
            if (ptsname_r(m_master[i], name, sizeof name) != 0)
                throw std::runtime_error("cannot name a pseudo-terminal");
            m_path[i] = name;
            m_slave[i] = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
            termios t{};
            if (m_slave[i] < 0 || tcgetattr(m_slave[i], &t) != 0)
                throw std::runtime_error("cannot open " + m_path[i]);
            cfmakeraw(&t);
            tcsetattr(m_slave[i], TCSANOW, &t);
        }
        if (pipe2(m_wake, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make the relay's wake-up pipe");
    } catch (...) {
        for (int i = 0; i < 2; ++i) {
            CloseIfOpen(m_master[i]);
            CloseIfOpen(m_slave[i]);
            CloseIfOpen(m_wake[i]);
        }
        throw;
    }
    m_thread = std::thread([this] { Relay(); });
}

PtyPair::~PtyPair() {
    const char byte = 1;
    (void)!write(m_wake[1], &byte, 1);
    m_thread.join();
    for (int i = 0; i < 2; ++i) {
        CloseIfOpen(m_master[i]);
        CloseIfOpen(m_slave[i]);
        CloseIfOpen(m_wake[i]);
    }
}

void PtyPair::Relay() {
    char buf[4096];
    for (;;) {
        pollfd fds[3] = {{m_wake[0], POLLIN, 0}, {m_master[0], POLLIN, 0}, {m_master[1], POLLIN, 0}};
        if (poll(fds, 3, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[1 + i].revents & POLLIN))
                continue;
            const ssize_t n = read(m_master[i], buf, sizeof buf);
            if (n > 0)
                WriteAll(m_master[1 - i], buf, static_cast<size_t>(n));
        }
    }
}

} // namespace zarno::device
