#pragma once
// The instrument's link as every end-to-end test sets it up: no serial port of the machine is
// touched, and the device is aimed at an instrument on 127.0.0.1 from a free local port, so that
// nothing a test sends ever leaves this machine.

#include <cstdint>

namespace zarno {
class CRemoteDevice;
struct PersistentSettings;
} // namespace zarno

namespace zarno::testing {

// Points COM1 and COM2 at paths that do not exist.
void HideComPorts();

// Aims the device (or the settings a main frame starts from) at 127.0.0.1:remotePort, remotePort in
// the library's port convention, with a free local port. The settings also choose the network link.
void AimAtLoopback(CRemoteDevice& device, uint32_t remotePort);
void AimAtLoopback(PersistentSettings& settings, uint32_t remotePort);

// HideComPorts, AimAtLoopback and the network connect; the connect's result.
int ConnectOverLoopback(CRemoteDevice& device, uint32_t remotePort);

} // namespace zarno::testing
