#pragma once
// The 32-byte serial settings block that a serial transport is created with: the four-character port
// name ("COM1", "COM2"), then the device control block (28 bytes: length, baud rate, flag bits,
// reserved, XonLim, XoffLim, ByteSize, Parity, StopBits, five characters, reserved) for 8 data bits,
// no parity, two stop bits and no flow control. Everything else stays zero.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zarno {

inline std::array<uint8_t, 32> SerialSettingsBlock(std::string_view portName, uint32_t baud) {
    std::array<uint8_t, 32> block{};
    std::memcpy(block.data(), portName.data(), portName.size() < 4 ? portName.size() : 4);
    const uint32_t length = 28;
    std::memcpy(block.data() + 4, &length, 4);
    std::memcpy(block.data() + 8, &baud, 4);
    block[4 + 18] = 8; // ByteSize
    block[4 + 19] = 0; // NOPARITY
    block[4 + 20] = 2; // TWOSTOPBITS
    return block;
}

} // namespace zarno
