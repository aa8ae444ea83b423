#include "app/ui/desktop_open.h"

#include <QPointer>
#include <QProcess>

namespace zarno {

namespace {
// The freedesktop.org opener: it picks the program by the file's type and exits non-zero when it
// finds none or cannot run it.
const char* const kOpener = "xdg-open";
} // namespace

void OpenWithDesktopProgram(const QString& path, QObject* context, std::function<void()> failed) {
    // No parent: the opener may outlive the window that asked (it can wait for the program it ran),
    // and a running child is never killed with it.
    auto* process = new QProcess;
    process->setProgram(QString::fromLatin1(kOpener));
    process->setArguments({path});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QPointer<QObject> guard(context);
    const auto report = [guard, failed] {
        if (guard && failed)
            failed();
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        report();
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, report](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             report();
                         process->deleteLater();
                     });
    process->start();
}

} // namespace zarno
