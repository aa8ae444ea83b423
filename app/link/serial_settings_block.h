#pragma once
// The 32-byte serial settings block that a serial transport is created with: the four-character port
// name ("COM1", "COM2") and a device control block for 8 data bits, no parity, two stop bits and no
// flow control. Everything else stays zero.

#include "transport/velnet.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zarno {

inline std::array<uint8_t, sizeof(VelnetComSettingsBlock)> SerialSettingsBlock(std::string_view portName,
                                                                                 uint32_t baud) {
    VelnetComSettingsBlock settings{};
    std::memcpy(settings.portName, portName.data(), std::min(portName.size(), sizeof settings.portName));
    settings.dcb.DCBlength = sizeof(VelnetDcb);
    settings.dcb.BaudRate = baud;
    settings.dcb.ByteSize = 8;
    settings.dcb.Parity = 0;   // none
    settings.dcb.StopBits = 2; // two
    std::array<uint8_t, sizeof(VelnetComSettingsBlock)> block{};
    std::memcpy(block.data(), &settings, sizeof settings);
    return block;
}

} // namespace zarno
