#pragma once
// The drawing commands' application object.

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace zarno::cli {

// Fonts and the PDF writer need the drawing layer's application object; without a display it draws
// on the offscreen platform. Nothing when the process already has an application (the tests).
inline std::unique_ptr<QGuiApplication> GuiApplicationIfNone() {
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zarno-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace zarno::cli
