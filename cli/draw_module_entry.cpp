// The entry point of libzarno-cli-draw.so (see cli/draw_module.h); everything else in the module
// stays hidden.

#include "cli/commands.h"
#include "cli/draw_module.h"
#include "cli/render_command.h"
#include "cli/report_command.h"

#include <cstring>

extern "C" __attribute__((visibility("default"))) int zarno_cli_draw(const char* command,
                                                                     const QStringList& args) {
    using namespace zarno::cli;
    if (std::strcmp(command, "render") == 0)
        return RunRenderCommand(args);
    if (std::strcmp(command, "report") == 0)
        return RunReportCommand(args);
    if (std::strcmp(command, "site") == 0)
        return RunSiteCommand(args);
    return kExitUsage;
}

