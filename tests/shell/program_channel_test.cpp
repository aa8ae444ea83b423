// The hand-over of a file to the program already running: over a real local socket, the running
// end in this thread's event loop and the second start's end in a thread of its own (it blocks).

#include "app/shell/program_channel.h"

#include "tests/support/qt_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

using namespace zarno;

namespace {

class ProgramChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        zarno::testing::EnsureCoreApp();
        ASSERT_TRUE(m_dir.isValid());
    }
    QString name() const { return m_dir.filePath(QStringLiteral("channel")); }

    // The second start's side, which blocks until answered; this thread keeps the running program's
    // event loop turning meanwhile.
    bool handOver(const QString& path, int timeoutMs = 5000) {
        std::atomic<int> result{-1};
        std::thread second([&] { result = HandToRunningProgram(name(), path, timeoutMs) ? 1 : 0; });
        QElapsedTimer clock;
        clock.start();
        while (result < 0 && clock.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        second.join();
        return result == 1;
    }

    QTemporaryDir m_dir;
};

TEST_F(ProgramChannelTest, AFileHandedOverReachesTheRunningProgram) {
    ProgramChannel running;
    ASSERT_TRUE(running.Listen(name()));
    QStringList received;
    QObject::connect(&running, &ProgramChannel::fileHanded, [&](const QString& p) { received << p; });
    for (const QString& path : {QStringLiteral("/data/PILE 12.sgy"), QStringLiteral("/данные/СВАЯ.sgy")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(handOver(path));
        QTRY_COMPARE(received.size() > 0 ? received.back() : QString(), path);
    }
    EXPECT_EQ(received.size(), 2);

    // A second program on the same name does not take it over from the live one.
    ProgramChannel second;
    EXPECT_FALSE(second.Listen(name()));
    EXPECT_TRUE(handOver(QStringLiteral("/data/A.sgy")));
    QTRY_COMPARE(received.size(), 3);
}

TEST_F(ProgramChannelTest, WithNobodyListeningTheStartGoesOnByItself) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(HandToRunningProgram(name(), QStringLiteral("/data/A.sgy")));
    EXPECT_LT(clock.elapsed(), 4000) << "no waiting for a program that is not there";

    // A socket left behind by a program that died: nobody answers it, so the next program takes
    // the name over.
    const QByteArray path = name().toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(name()));
    EXPECT_FALSE(HandToRunningProgram(name(), QStringLiteral("/data/A.sgy"), 1000));
    ProgramChannel next;
    EXPECT_TRUE(next.Listen(name()));
    QString received;
    QObject::connect(&next, &ProgramChannel::fileHanded, [&](const QString& p) { received = p; });
    EXPECT_TRUE(handOver(QStringLiteral("/data/B.sgy")));
    QTRY_COMPARE(received, QStringLiteral("/data/B.sgy"));
}

TEST_F(ProgramChannelTest, NotALineIsNotAFile) {
    ProgramChannel running;
    ASSERT_TRUE(running.Listen(name()));
    int received = 0;
    QObject::connect(&running, &ProgramChannel::fileHanded, [&] { ++received; });
    std::thread talker([&] {
        QLocalSocket socket;
        socket.connectToServer(name());
        if (socket.waitForConnected(5000)) {
            socket.write(QByteArray(100 * 1024, 'x')); // no end of line
            socket.waitForBytesWritten(5000);
            socket.waitForDisconnected(5000);
        }
    });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    talker.join();
    EXPECT_EQ(received, 0);
    EXPECT_TRUE(handOver(QStringLiteral("/data/A.sgy"))) << "the channel still works afterwards";
}

TEST(ProgramChannelName, IsOneProgramPerSettingsFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir a, b;
    qputenv("XDG_CONFIG_HOME", a.path().toLocal8Bit());
    const QString first = ProgramChannelName();
    EXPECT_EQ(ProgramChannelName(), first);
    qputenv("XDG_CONFIG_HOME", b.path().toLocal8Bit());
    EXPECT_NE(ProgramChannelName(), first);
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
