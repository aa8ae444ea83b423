// zarno: the desktop program. It does not act on its command line.

#include "app/ui/dialogs/file_operation_dialogs.h"
#include "app/ui/main_frame.h"
#include "app/ui/zarno_app.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    zarno::CZarnoApp app([](zarno::CMainFrame& frame) -> std::unique_ptr<zarno::FileDialogs> {
        return std::make_unique<zarno::FileOperationDialogs>(frame.files(), frame.prompts(), &frame);
    });
    if (!app.InitInstance())
        return 1;
    return QApplication::exec();
}
