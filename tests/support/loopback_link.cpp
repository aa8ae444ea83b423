#include "tests/support/loopback_link.h"

#include "app/remotedisk/remote_device.h"
#include "app/shell/persistent_settings.h"
#include "tests/support/free_port.h"
#include "transport/port_convention.h"

#include <cstdlib>

namespace zarno::testing {

namespace {
constexpr uint32_t kLoopbackAddress = 0x7F000001; // first octet in the high byte

uint32_t FreeLocalPort() {
    return velnet::ValueFromWirePort(FreeWirePort());
}
} // namespace

void HideComPorts() {
    setenv("VELNET_COM1", "/nonexistent/com1", 1);
    setenv("VELNET_COM2", "/nonexistent/com2", 1);
}

void AimAtLoopback(CRemoteDevice& device, uint32_t remotePort) {
    LinkSettings link = device.Settings();
    link.localPort = FreeLocalPort();
    link.remotePort = remotePort;
    link.remoteIP = kLoopbackAddress;
    device.SetSettings(link);
}

void AimAtLoopback(PersistentSettings& settings, uint32_t remotePort) {
    settings.m_nCurrentLink = kLinkNetwork;
    settings.m_nCurrentIPAddress = kLoopbackAddress;
    settings.m_nCurrentEthernetPort1 = int32_t(FreeLocalPort());
    settings.m_nCurrentEthernetPort2 = int32_t(remotePort);
}

int ConnectOverLoopback(CRemoteDevice& device, uint32_t remotePort) {
    HideComPorts();
    AimAtLoopback(device, remotePort);
    return device.ConnectNetwork();
}

} // namespace zarno::testing
