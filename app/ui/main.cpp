// zarno: the desktop program.

#include "app/shell/program_info.h"
#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/main_frame.h"
#include "app/ui/zarno_app.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

#include <memory>

namespace {

constexpr char kHelp[] =
    "Usage: zarno [OPTION] [FILE]\n"
    "Zarno, the computer side of the pile-testing instrument: a two-panel file manager for the\n"
    "instrument's disk and the computer's, transfers and DDB to SEG-Y conversion, the signal viewer\n"
    "with its measurement panel, and the report.\n\n"
    "FILE, when given, opens at once: a SEG-Y recording (.sgy, .segy) in the signal viewer; an\n"
    "instrument recording (.ddb) is offered for conversion into a SEG-Y file beside it, which then opens.\n\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n\n"
    "Settings are kept in $XDG_CONFIG_HOME/Mervo/Zarno.conf.\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before the application starts, so that they work without a display.
    if (argc >= 2 && zarno::IsVersionOption(argv[1]))
        return zarno::PrintVersion("zarno");
    if (argc >= 2 && zarno::IsHelpOption(argv[1])) {
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication application(argc, argv);
    zarno::CZarnoApp app([](zarno::CMainFrame& frame) -> std::unique_ptr<zarno::FileDialogs> {
        return std::make_unique<zarno::FileOperationDialogs>(frame.files(), frame.prompts(), &frame);
    });
    if (!app.InitInstance())
        return 1;
    // What is left once Qt has taken its own options. Opened once the main window has been shown
    // and activated, so that the viewer comes out on top of the file manager.
    if (argc >= 2) {
        const QString file = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(0, &app, [&app, file] { app.OpenCommandLineFile(file); });
    }
    return QApplication::exec();
}
