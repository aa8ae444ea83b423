#pragma once
// The command lines of `zarno-device serve` and `zarno-device proxy`, parsed into options.

#include "app/link/link_defaults.h"
#include "device/disk_server.h"
#include "device/misbehaviour.h"
#include "device/udp_proxy.h"

#include <optional>
#include <string>
#include <vector>

namespace zarno::device {

struct SerialLink {
    std::string port; // "COM1", "COM2", a device path, or "pty" for a pseudo-terminal pair
    // The simulator stands where the program expects the instrument.
    uint32_t lineAddr = kDefaultRemoteLineAddr;
    uint32_t speed = kDefaultComSpeed;
};

// The disk an instrument serves unless told otherwise: a 128 MiB memory card.
constexpr uint64_t kDefaultCardBytes = uint64_t{128} * 1024 * 1024;

struct ServeOptions {
    DiskServerOptions disk;
    std::optional<uint32_t> udpPort; // in the library's port convention
    std::optional<SerialLink> serial;
    Misbehaviour misbehaviour;
    uint32_t delayMs = 0;
    bool verbose = false;
};

// Nothing, with the reason in error, for a command line that cannot be served.
std::optional<ServeOptions> ParseServeArgs(const std::vector<std::string>& args, std::string* error);
std::optional<ProxyOptions> ParseProxyArgs(const std::vector<std::string>& args, std::string* error);

extern const char* const kUsage;

} // namespace zarno::device
