#include "transport/user_alert.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QString>
#include <QThread>

#include <cstdio>

#ifdef VELNET_HAS_WIDGETS
#include <QApplication>
#include <QMessageBox>
#endif

namespace velnet {

void ShowUserAlert(const std::string& text) {
#ifdef VELNET_HAS_WIDGETS
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QString message = QString::fromStdString(text);
        const auto show = [message] { QMessageBox::critical(nullptr, QStringLiteral("Error"), message); };
        // From another thread the box is left to the main thread without waiting for it: that thread
        // may itself be waiting for the caller.
        if (QThread::currentThread() == app->thread())
            show();
        else
            QMetaObject::invokeMethod(app, show, Qt::QueuedConnection);
        return;
    }
#endif
    std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace velnet
