#pragma once
// Port numbers travel in the socket address's 16-bit port field exactly as the low two bytes of the
// 32-bit value lie in memory, low byte first, with no byte-order conversion: configured 6767 is
// wire port 28442, 6768 is 28698. Every port value of the library's interface follows this.

#include "transport/velnet_types.h"

#include <arpa/inet.h>
#include <cstdint>
#include <cstring>

namespace velnet {

inline uint16_t PortFieldFromValue(uint32_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
    uint16_t field;
    std::memcpy(&field, bytes, sizeof field);
    return field;
}

inline uint32_t PortValueFromField(uint16_t field) {
    uint8_t bytes[2];
    std::memcpy(bytes, &field, sizeof bytes);
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8);
}

// The wire (network-order) UDP port number that a configured value means, and back (the public
// header's rule).
inline uint16_t WirePortFromValue(uint32_t value) {
    return VelnetWirePort(value);
}
inline uint32_t ValueFromWirePort(uint16_t wirePort) {
    return VelnetPortValue(wirePort);
}

} // namespace velnet
