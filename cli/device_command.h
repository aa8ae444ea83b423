#pragma once
// zarno-cli device: the instrument's disk from the command line, through the same client the
// desktop program uses.

#include <QStringList>

namespace zarno {

// args: everything after "device". Returns the process exit status (0 only on success).
int RunDeviceCommand(const QStringList& args);

} // namespace zarno
