// `zarno FILE` while Zarno runs: the real program twice, as the desktop starts it. The second start
// hands its file to the running program and ends; the running one opens it (and so lists it first
// among its recent files). A start with a settings folder of its own is a program of its own.

#include "tests/support/free_port.h"
#include "tests/support/qt_app.h"
#include "transport/port_convention.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A settings folder with its link aimed at 127.0.0.1 where nothing answers, and the runtime folder
// the program's socket goes into.
class Home {
public:
    Home() {
        QDir(m_dir.path()).mkpath(QStringLiteral("config/Mervo"));
        QDir(m_dir.path()).mkpath(QStringLiteral("run"));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSettings store(settingsFile(), QSettings::IniFormat);
        store.beginGroup(QStringLiteral("Transport"));
        store.setValue(QStringLiteral("Current Link"), 3);
        store.setValue(QStringLiteral("Current IPAddress"), 0x7F000001u);
        store.setValue(QStringLiteral("Current Ethernet Port1"),
                       velnet::ValueFromWirePort(zarno::testing::FreeWirePort()));
        store.setValue(QStringLiteral("Current Ethernrt Port2"),
                       velnet::ValueFromWirePort(zarno::testing::FreeWirePort()));
        store.endGroup();
    }
    QString settingsFile() const { return m_dir.filePath(QStringLiteral("config/Mervo/Zarno.conf")); }
    QString firstRecentFile() const {
        return QSettings(settingsFile(), QSettings::IniFormat).value(QStringLiteral("Recent File List/File1")).toString();
    }
    bool listening() const { return !QDir(m_dir.filePath(QStringLiteral("run"))).entryList(QDir::System).isEmpty(); }

    std::unique_ptr<QProcess> start(const QStringList& args) const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
        // The viewer's GL widget needs a platform with OpenGL: the X server the window tests run
        // under, where there is one.
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   env.contains(QStringLiteral("DISPLAY")) ? QStringLiteral("xcb") : QStringLiteral("offscreen"));
        // A serial port that opens, so that the start asks nothing.
        env.insert(QStringLiteral("VELNET_COM1"), QStringLiteral("/dev/ptmx"));
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(ZARNO_PROGRAM), args);
        return process;
    }

    QTemporaryDir m_dir;
};

bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(50);
    return done();
}

void Stop(QProcess& process) {
    process.kill();
    process.waitForFinished(10000);
}

TEST(SecondStart, HandsItsFileToTheRunningProgram) {
    zarno::testing::EnsureCoreApp();
    Home home, other;
    const QString recording = home.m_dir.filePath(QStringLiteral("PILE.sgy"));
    QFile(recording).open(QIODevice::WriteOnly); // what it holds does not matter here

    auto first = home.start({});
    ASSERT_TRUE(first->waitForStarted(10000));
    ASSERT_TRUE(WaitFor([&] { return home.listening(); })) << "the program never listened";

    auto second = home.start({recording});
    ASSERT_TRUE(second->waitForFinished(20000)) << "the second start went on by itself";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return home.firstRecentFile() == recording; }))
        << "the running program did not open the file: " << home.firstRecentFile().toStdString();
    EXPECT_EQ(first->state(), QProcess::Running);

    // Another settings folder: a program of its own, which opens the file itself.
    auto own = other.start({recording});
    EXPECT_TRUE(WaitFor([&] { return other.firstRecentFile() == recording; }));
    EXPECT_EQ(own->state(), QProcess::Running);
    Stop(*own);
    Stop(*first);
}

} // namespace
