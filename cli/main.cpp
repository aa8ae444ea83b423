// zarno-cli: the command-line face of the program's logic. "zarno-cli COMMAND ARGS..."

#include "app/i18n/language_option.h"
#include "app/i18n/translation.h"
#include "app/shell/program_info.h"
#include "cli/commands.h"
#include "cli/device_command.h"
#include "cli/draw_module.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

namespace zarno::cli {

namespace {

// The commands that draw run in the drawing module, loaded only for them.
int RenderInModule(const QStringList& args) {
    return RunDrawCommand("render", args);
}

int ReportInModule(const QStringList& args) {
    return RunDrawCommand("report", args);
}

int SiteInModule(const QStringList& args) {
    return RunDrawCommand("site", args);
}

const Command kCommands[] = {
    {"convert", "[-o DIR] FILE.ddb...", "convert DDB recordings to SEG-Y files", RunConvert},
    {"headers", "[--trace N] [--json] FILE.sgy", "show the headers of a SEG-Y file", RunHeaders},
    {"device", DeviceArguments(), "work with the instrument's disk", RunDevice, true},
    {"measure", "[--velocity V] [--json] FILE.sgy", "find the reflection and the pile length of each trace",
     RunMeasureCommand},
    {"spectrum", "[--window rect|blackman-harris|hamming] [--scale log|linear] [--filter] [-o FILE] FILE.sgy",
     "write the spectrum text file of a SEG-Y file", RunSpectrumCommand},
    {"render", "[--width W] [--height H] [--spectrum] [--single N] [--fill line|upper|lower] [--no-grid] [--marker SAMPLE]... [--time|--length] [--velocity V] -o OUT.png FILE.sgy", "draw the viewer's picture of a SEG-Y file into a PNG", RenderInModule, true},
    {"site", "[-o OUTDIR] [--velocity V] [--min-correlation C] [--strong-anomaly S] [--json] [--report-lang ru|en] DIR", "average the blows of every pile of a site folder, calibrate the site's wave speed and write its table (site.csv, site.pdf)", SiteInModule, true},
    {"report", "[--velocity V] [--comment TEXT] [--marker SAMPLE]... [--trace N] [--emf] [--report-lang ru|en] -o DIR FILE.sgy...", "make the measurement report of each recording (a PDF, or metafiles)", ReportInModule, true},
};

// The translation lives on an application object: a command that makes none is given one, so that
// its messages are in the user's language too.
int RunWithApplication(const Command& c, const QStringList& args) {
    if (c.ownApplication)
        return c.run(args);
    static int argc = 1;
    static char name[] = "zarno-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    return c.run(args);
}

// A command whose output could not be written (a full disk, a closed pipe, > /dev/full) has failed,
// whatever it did before: the user would otherwise take a missing or cut listing for the whole one.
int FinishStandardOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    const int error = errno;
    QString text = QStringLiteral("cannot write the standard output");
    if (error != 0)
        text += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    PrintError(text);
    return status == kExitOk ? kExitFailed : status;
}

void PrintUsage(FILE* out) {
    std::fprintf(out,
                 "Usage: zarno-cli COMMAND [ARGS...]\n"
                 "The command-line face of Zarno: converts, shows, measures and draws SEG-Y recordings and\n"
                 "works with the instrument's disk.\n\n"
                 "Commands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
    std::fprintf(out, "\nOptions:\n"
                      "      --lang ru|en  the language of the messages (default: the locale's; Russian for ru, else English)\n"
                      "  -h, --help        show this help and exit\n"
                      "      --version     show the version and exit\n");
}

} // namespace

} // namespace zarno::cli

int main(int argc, char** argv) {
    using namespace zarno::cli;
    const std::optional<zarno::Language> language = zarno::StartLanguage("zarno-cli", argc, argv);
    if (!language)
        return kExitUsage;
    // The commands make their own application objects; each gets the translation as it is made.
    zarno::UseLanguage(*language);
    if (argc >= 2 && zarno::IsVersionOption(argv[1]))
        return zarno::PrintVersion("zarno-cli");
    if (argc < 2 || zarno::IsHelpOption(argv[1])) {
        PrintUsage(argc < 2 ? stderr : stdout);
        return FinishStandardOutput(argc < 2 ? kExitUsage : kExitOk);
    }
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    for (const Command& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0)
            return FinishStandardOutput(RunWithApplication(c, args));
    PrintError(QString("unknown command \"%1\"").arg(QString::fromLocal8Bit(argv[1])));
    PrintUsage(stderr);
    return kExitUsage;
}
