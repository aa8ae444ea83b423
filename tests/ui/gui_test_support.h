#pragma once
// The window tests' shared set-up: one QApplication and one private settings folder for the whole
// test program, settings that aim the link at 127.0.0.1 before any main frame reads them, and a
// FileDialogs fake that records what the selection commands would open.

#include "app/filemanager/file_dialogs.h"
#include "tests/support/free_port.h"
#include "tests/support/temp_config.h"
#include "transport/port_convention.h"

#include <QApplication>
#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace zarno::testing {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_home = std::make_unique<TempConfigHome>();
        // No serial ports: the start-up check finds none and never touches a real line.
        setenv("VELNET_COM1", "/nonexistent/zarno-com1", 1);
        setenv("VELNET_COM2", "/nonexistent/zarno-com2", 1);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Mervo"));
        QCoreApplication::setApplicationName(QStringLiteral("Zarno"));
    }
    void TearDown() override {
        m_app.reset();
        m_home.reset();
    }

private:
    int m_argc = 1;
    char m_name[8] = "zarno";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<TempConfigHome> m_home;
    std::unique_ptr<QApplication> m_app;
};

// Fresh settings whose link is the network one, aimed at 127.0.0.1 with free ports: the main frame
// connects at creation, and whatever it sends stays on this machine. `remotePort` is the
// simulator's port (library convention); 0 picks a free one where nothing answers.
inline void WriteLoopbackLink(uint32_t remotePort = 0) {
    QSettings store(QStringLiteral("Mervo"), QStringLiteral("Zarno"));
    store.clear();
    store.beginGroup(QStringLiteral("Transport"));
    store.setValue(QStringLiteral("Current Link"), 3);
    store.setValue(QStringLiteral("Current IPAddress"), 0x7F000001u);
    store.setValue(QStringLiteral("Current Ethernet Port1"), velnet::ValueFromWirePort(FreeWirePort()));
    store.setValue(QStringLiteral("Current Ethernrt Port2"),
                   remotePort ? remotePort : velnet::ValueFromWirePort(FreeWirePort()));
    store.endGroup();
    store.sync();
}

inline void WriteWindowValue(const QString& key, const QVariant& value) {
    QSettings store(QStringLiteral("Mervo"), QStringLiteral("Zarno"));
    store.setValue(QStringLiteral("Window size/") + key, value);
    store.sync();
}

inline QVariant ReadWindowValue(const QString& key) {
    QSettings store(QStringLiteral("Mervo"), QStringLiteral("Zarno"));
    return store.value(QStringLiteral("Window size/") + key);
}

class RecordingDialogs final : public FileDialogs {
public:
    struct Call {
        QString what;
        int panel;
        QString detail;
    };
    std::vector<Call> calls;

    void OpenCopy(int sourcePanel, const CFileEntry&, const QString& proposedName) override {
        calls.push_back({QStringLiteral("copy"), sourcePanel, proposedName});
    }
    void OpenCopyMany(int sourcePanel, int count) override {
        calls.push_back({QStringLiteral("copy many"), sourcePanel, QString::number(count)});
    }
    void OpenDelete(int panel, const CFileEntry& entry) override {
        calls.push_back({QStringLiteral("delete"), panel, entry.fileName});
    }
    void OpenDeleteMany(int panel, int count) override {
        calls.push_back({QStringLiteral("delete many"), panel, QString::number(count)});
    }
    void OpenCreateDirectory(int panel) override { calls.push_back({QStringLiteral("mkdir"), panel, {}}); }
    void OpenTransform(int sourcePanel, int ddbCount) override {
        calls.push_back({QStringLiteral("transform"), sourcePanel, QString::number(ddbCount)});
    }
};

} // namespace zarno::testing
