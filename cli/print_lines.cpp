// The command line's own lines on standard output and standard error, shared by zarno-cli and its
// drawing module.

#include "cli/commands.h"

#include <cstdio>

namespace zarno::cli {

void PrintError(const QString& text) {
    std::fprintf(stderr, "zarno-cli: %s\n", text.toUtf8().constData());
}

void PrintLine(const QString& text) {
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

} // namespace zarno::cli
