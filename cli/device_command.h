#pragma once
// zarno-cli device: the instrument's disk from the command line, through the same client the
// desktop program uses.

#include "cli/commands.h"

namespace zarno::cli {

// args: everything after "device". Returns the process exit status (0 only on success).
int RunDevice(const QStringList& args);

// The arguments of `zarno-cli device` (link options and commands), for zarno-cli's help.
const char* DeviceArguments();

} // namespace zarno::cli
