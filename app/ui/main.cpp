// zarno: the desktop program.

#include "app/i18n/language_option.h"
#include "app/i18n/translation.h"
#include "app/shell/program_channel.h"
#include "app/shell/program_info.h"
#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/main_frame.h"
#include "app/ui/zarno_app.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr char kHelp[] =
    "Usage: zarno [OPTION] [FILE]\n"
    "Zarno, the computer side of the pile-testing instrument: a two-panel file manager for the\n"
    "instrument's disk and the computer's, transfers and DDB to SEG-Y conversion, the signal viewer\n"
    "with its measurement panel, and the report.\n\n"
    "FILE, when given, opens at once: a SEG-Y recording (.sgy, .segy) in the signal viewer; an\n"
    "instrument recording (.ddb) is offered for conversion into a SEG-Y file beside it, which then opens;\n"
    "a folder opens as a site (its recordings and site.csv) in the site window.\n\n"
    "Options:\n"
    "      --lang ru|en  the language of the windows (default: the locale's; Russian for ru, else English)\n"
    "  -h, --help        show this help and exit\n"
    "      --version     show the version and exit\n\n"
    "Settings are kept in $XDG_CONFIG_HOME/Mervo/Zarno.conf. While Zarno runs with these settings,\n"
    "zarno FILE hands the file to it and ends.\n";

} // namespace

int main(int argc, char** argv) {
    const std::optional<zarno::Language> language = zarno::StartLanguage("zarno", argc, argv);
    if (!language)
        return 2;
    // Answered before the application starts, so that they work without a display.
    if (argc >= 2 && zarno::IsVersionOption(argv[1]))
        return zarno::PrintVersion("zarno");
    if (argc >= 2 && zarno::IsHelpOption(argv[1])) {
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // Before the transport library is loaded, which reads its language once.
    zarno::UseLanguage(*language);
    QApplication application(argc, argv);
    // What is left once Qt has taken its own options.
    const QString file = argc >= 2 ? QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath() : QString();
    const QString channelName = zarno::ProgramChannelName();
    if (!file.isEmpty() && zarno::HandToRunningProgram(channelName, file))
        return 0;
    // The later starts' files. Listening starts before the main window, whose start may stop at a
    // message box; what comes meanwhile waits for the window. (A program started while another
    // runs with the same settings, one without a file, listens nowhere.)
    zarno::ProgramChannel channel;
    QStringList handedEarly;
    zarno::CZarnoApp* running = nullptr;
    if (channel.Listen(channelName))
        QObject::connect(&channel, &zarno::ProgramChannel::fileHanded, [&running, &handedEarly](const QString& path) {
            if (running)
                running->OpenHandedFile(path);
            else
                handedEarly << path;
        });
    zarno::CZarnoApp app([](zarno::CMainFrame& frame) -> std::unique_ptr<zarno::FileDialogs> {
        return std::make_unique<zarno::FileOperationDialogs>(frame.files(), frame.prompts(), &frame);
    });
    if (!app.InitInstance())
        return 1;
    // Opened once the main window has been shown and activated, so that the viewer comes out on
    // top of the file manager.
    QTimer::singleShot(0, &app, [&app, &running, &handedEarly, file] {
        if (!file.isEmpty())
            app.OpenCommandLineFile(file);
        running = &app;
        for (const QString& path : std::exchange(handedEarly, {}))
            app.OpenHandedFile(path);
    });
    return QApplication::exec();
}
