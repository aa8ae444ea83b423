#pragma once
// The commands that draw (render, report, and site with its PDF) live in a module of their own, libzarno-cli-draw.so, which
// zarno-cli loads only when one of them runs: the renderer brings QtGui, OSMesa (and with it LLVM),
// FreeType and fontconfig, and every other command would otherwise pay for loading them at start-up.
//
// The module exports one entry point; zarno-cli and the module are built together from the same
// sources, so the entry takes the arguments as Qt's own list.

#include <QStringList>

namespace zarno::cli {

inline constexpr char kDrawModuleName[] = "libzarno-cli-draw.so";
inline constexpr char kDrawEntryName[] = "zarno_cli_draw";

// The module's entry: runs the drawing command named command ("render", "report" or "site") on args, the
// words after its name, and returns its exit status; kExitUsage for a name it does not know.
using DrawEntry = int (*)(const char* command, const QStringList& args);

// In zarno-cli: loads the module from the program's own folder (where the build and the package put
// it) and runs command there. A module that cannot be loaded is a failure with its reason on
// standard error.
int RunDrawCommand(const char* command, const QStringList& args);

} // namespace zarno::cli
