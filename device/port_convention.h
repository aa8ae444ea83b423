#pragma once
// The transport library's port convention: a port value lies in the socket address's port field low
// byte first, so the configured 6768 travels as wire port 28698. The simulator's command line takes
// port values this way, like every other part of the system.

#include <cstdint>

namespace zarno::device {

constexpr uint16_t WirePortOf(uint32_t portValue) {
    return static_cast<uint16_t>(((portValue & 0xFF) << 8) | ((portValue >> 8) & 0xFF));
}
constexpr uint32_t PortValueOf(uint16_t wirePort) {
    return WirePortOf(wirePort);
}

static_assert(WirePortOf(6768) == 28698 && WirePortOf(6767) == 28442);

} // namespace zarno::device
