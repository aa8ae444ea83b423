// zarno: the desktop program. It does not act on its command line.

#include "app/ui/zarno_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    zarno::CZarnoApp app;
    if (!app.InitInstance())
        return 1;
    return QApplication::exec();
}
