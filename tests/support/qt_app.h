#pragma once
// A Qt application object for tests that run nested event loops (the link's exchanges).

#include <QCoreApplication>

namespace zarno::testing {

inline QCoreApplication& EnsureCoreApp() {
    static int argc = 1;
    static char name[] = "zarno-test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
    return *app;
}

} // namespace zarno::testing
