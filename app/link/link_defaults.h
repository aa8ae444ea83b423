#pragma once
// The link's values until the user chooses others; a zero kept in the settings means the same value.
// The program, the command line and the instrument simulator all start from these.

#include <cstdint>

namespace zarno {

constexpr uint32_t kDefaultComSpeed = 115200;
// This side's line address; the instrument answers frames from it.
constexpr uint32_t kDefaultLocalLineAddr = 65000;
// The instrument's line address.
constexpr uint32_t kDefaultRemoteLineAddr = 2;
// UDP ports in the library's convention (6767 is wire port 28442, 6768 is 28698).
constexpr uint32_t kDefaultLocalPort = 6767;
constexpr uint32_t kDefaultRemotePort = 6768;
// 10.0.0.50, first octet in the high byte.
constexpr uint32_t kDefaultRemoteIP = 0x0A000032;

} // namespace zarno
