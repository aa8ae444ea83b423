// zarno-screenshot OUT.png: the main window as the program builds it from the settings in
// $XDG_CONFIG_HOME, with the left panel on the instrument's drive "z:\" (the settings must aim the
// link at a running zarno-device), saved as a picture. Messages go to standard error, so nothing
// waits for a click.

#include "app/seams/stderr_prompts.h"
#include "app/ui/control_form.h"
#include "app/ui/list_file_view.h"
#include "app/ui/main_frame.h"
#include "app/ui/splitter_frame.h"

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QTableView>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarno-screenshot OUT.png\n");
        return 2;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Mervo"));
    QCoreApplication::setApplicationName(QStringLiteral("Zarno"));

    zarno::StderrPrompts prompts;
    zarno::CMainFrame frame(prompts, nullptr);
    if (!frame.Create())
        return 1;
    frame.CreateFileManagerWindow();
    frame.setGeometry(10, 10, 1000, 560);
    frame.show();
    QApplication::processEvents();

    zarno::CControlForm* left = frame.panelHeader(0);
    const int device = left->driveList()->findText(QStringLiteral("z:\\"));
    left->chooseDrive(device);
    if (!frame.files().panelState(0).onDevice) {
        std::fprintf(stderr, "zarno-screenshot: the instrument's drive did not open\n");
        return 1;
    }
    frame.panelList(0)->table()->selectRow(1);
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    const bool saved = frame.grab().save(QString::fromLocal8Bit(argv[1]));
    frame.close();
    return saved ? 0 : 1;
}
