// The linked pseudo-terminal pair: bytes written at one end arrive unchanged at the other, both ways.

#include "device/pty_pair.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace zarno::device {
namespace {

int OpenRaw(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return fd;
}

std::string ReadExactly(int fd, size_t n) {
    std::string got;
    char buf[512];
    while (got.size() < n) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            break;
        const ssize_t r = read(fd, buf, std::min(sizeof buf, n - got.size()));
        if (r <= 0)
            break;
        got.append(buf, static_cast<size_t>(r));
    }
    return got;
}

TEST(PtyPairTest, BytesCrossBothWaysUnchanged) {
    PtyPair pair;
    EXPECT_NE(pair.ServedPath(), pair.PeerPath());
    const int served = OpenRaw(pair.ServedPath());
    const int peer = OpenRaw(pair.PeerPath());
    ASSERT_GE(served, 0);
    ASSERT_GE(peer, 0);
    // A serial frame's bytes, including the ones a terminal would otherwise act on.
    std::string frame = "\xAA\xAB\x02\x00\xE8\xFD\x04\x00\x00\x2A\x00\x00\x10\xD8\r\n\x03\x1A\x7F";
    frame += std::string(600, '\x55');
    ASSERT_EQ(write(peer, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(ReadExactly(served, frame.size()), frame);
    ASSERT_EQ(write(served, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    EXPECT_EQ(ReadExactly(peer, frame.size()), frame);
    close(served);
    close(peer);
}

} // namespace
} // namespace zarno::device
