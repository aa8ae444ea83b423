// zarno-cli device against the instrument simulator (a separate process) over loopback UDP: a path the
// instrument does not have never lands on another directory, listings that do not complete fail,
// every failure says why, and Ctrl-C cleans up after a transfer.

#include "tests/support/device_process.h"
#include "tests/support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

using namespace zarno::testing;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

// Waits until `ready` holds, for a generous while.
bool WaitFor(const std::function<bool()>& ready) {
    for (int i = 0; i < 1200 && !ready(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return ready();
}

class DeviceCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        Write("PILE06.DDB", "root pile");
        Write("P01.DDB", "root namesake");
        fs::create_directory(Root() / "SITE1");
        Write("SITE1/P01.DDB", "site one");
        for (int i = 0; i < 18; ++i) // more than one answer's worth of entries
            Write("SITE1/F" + std::to_string(i) + ".DDB", "x");
    }
    void Start(const std::vector<std::string>& flags = {}) {
        device = std::make_unique<DeviceProcess>(root.path().toStdString(), flags);
    }
    fs::path Root() const { return fs::path(root.path().toStdString()); }
    void Write(const std::string& name, const std::string& text) { std::ofstream(Root() / name) << text; }
    static std::string Read(const fs::path& p) {
        QFile f(QString::fromStdString(p.string()));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    QStringList DeviceArgs(const QStringList& command) const {
        return QStringList{"device", "--udp", QString("127.0.0.1:%1").arg(device->port), "--local-port",
                           QString::number(velnet::ValueFromWirePort(FreeWirePort())), "--retries", "0"} +
               command;
    }
    CliRun Cli(const QStringList& command) {
        QProcess p;
        p.start(ZARNO_CLI, DeviceArgs(command));
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // Starts an upload of a 400-block file as BIG.DDB and waits until the instrument holds part of it.
    void StartBigUpload(QProcess& put) {
        const QString big = local.filePath("big.ddb");
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(512 * 400, 'b'));
        f.close();
        put.start(ZARNO_CLI, DeviceArgs({"put", big, "BIG.DDB"}));
        ASSERT_TRUE(put.waitForStarted());
        ASSERT_TRUE(WaitFor([&] {
            std::error_code ec;
            return fs::file_size(Root() / "BIG.DDB", ec) >= 4 * 512 && !ec;
        }));
    }

    TempConfigHome home;
    QTemporaryDir root;
    QTemporaryDir local;
    std::unique_ptr<DeviceProcess> device;
};

TEST_F(DeviceCliTest, PathsActOnTheirOwnDirectory) {
    Start();
    const QString target = local.filePath("p.ddb");
    const CliRun got = Cli({"get", "site1/P01.DDB", target});
    ASSERT_EQ(got.exitCode, 0) << got.err.toStdString();
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "site one");

    const CliRun removed = Cli({"rm", "SITE1\\P01.DDB"});
    ASSERT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_FALSE(fs::exists(Root() / "SITE1" / "P01.DDB"));
    EXPECT_EQ(Read(Root() / "P01.DDB"), "root namesake");
}

TEST_F(DeviceCliTest, EveryFailureSaysWhyAndTouchesNothingElse) {
    const QString longName = QString(300, 'N');
    const QString upload = local.filePath("up.ddb");
    {
        QFile f(upload);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3000, 'u'));
    }
    struct Case {
        const char* what;
        std::vector<std::string> flags;
        QStringList command;
        const char* text;
    };
    const Case cases[] = {
        {"rm in a directory the instrument lacks", {}, {"rm", "NODIR/PILE06.DDB"}, "Каталог на удаленном диске не найден!"},
        {"get when the instrument does not change directory", {"--fail", "68=1"}, {"get", "SITE1/P01.DDB", local.filePath("g.ddb")},
         "Ошибка при установке каталога!"},
        {"rm when the instrument does not change directory", {"--fail", "68=1"}, {"rm", "SITE1/P01.DDB"},
         "Ошибка при установке каталога!"},
        {"put into a directory the instrument lacks", {}, {"put", upload, "NODIR/UP.DDB"}, "Каталог на удаленном диске не найден!"},
        {"ls with the first answer failing", {"--fail", "66=1"}, {"ls"}, "Ошибка при попытке получения списка файлов!"},
        {"ls with a follow-up failing", {"--fail", "67=1"}, {"ls", "SITE1"}, "Ошибка при попытке получения списка файлов!"},
        {"get with a follow-up failing", {"--fail", "67=1"}, {"get", "SITE1/F9.DDB", local.filePath("g.ddb")},
         "Ошибка при попытке получения списка файлов!"},
        {"put with block status 3", {"--fail", "73=3"}, {"put", upload, "UP.DDB"}, "Невозможно скопировать файл на удаленный диск!"},
        {"put with block status 7", {"--fail", "73=7"}, {"put", upload, "UP.DDB"}, "Невозможно скопировать файл на удаленный диск!"},
        {"info with status 1", {"--fail", "65=1"}, {"info"}, "Ошибка при получении информации об удаленном диске!"},
        {"put with a name over 255 bytes", {}, {"put", upload, longName}, "Неверно задано имя файла!"},
        {"put with a name the instrument cannot hold", {}, {"put", upload, "A+B.DDB"}, "Неверно задано имя файла!"},
        {"get to a name over 255 bytes", {}, {"get", "PILE06.DDB", local.filePath(longName)}, "Ошибка при создании файла на PC!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.flags);
        const CliRun run = Cli(c.command);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.text))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << "no partial listing: " << run.out.toStdString();
        EXPECT_EQ(Read(Root() / "PILE06.DDB"), "root pile");
        EXPECT_EQ(Read(Root() / "P01.DDB"), "root namesake");
        EXPECT_EQ(Read(Root() / "SITE1" / "P01.DDB"), "site one");
        EXPECT_FALSE(fs::exists(Root() / "UP.DDB"));
        EXPECT_FALSE(QFile::exists(local.filePath("g.ddb")));
    }
}

TEST_F(DeviceCliTest, CtrlCDuringAnUploadDeletesThePartialFile) {
    Start({"--delay-ms", "20"});
    QProcess put;
    StartBigUpload(put);
    ASSERT_FALSE(HasFatalFailure());
    kill(pid_t(put.processId()), SIGINT);
    ASSERT_TRUE(put.waitForFinished(120000));
    EXPECT_EQ(put.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(put.exitCode(), 130);
    EXPECT_TRUE(put.readAllStandardError().contains("interrupted"));

    const CliRun listed = Cli({"ls"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_FALSE(listed.out.contains("BIG.DDB")) << listed.out.toStdString();
    EXPECT_FALSE(fs::exists(Root() / "BIG.DDB"));
}

// Whether the process holds a file open in this directory (a download is written to an unnamed or
// temporary file there until it is whole).
bool HoldsFileIn(qint64 pid, const QString& directory) {
    const QDir fds(QString("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().startsWith(directory + "/"))
            return true;
    return false;
}

TEST_F(DeviceCliTest, CtrlCDuringADownloadLeavesNoFile) {
    Write("BIG.DDB", std::string(512 * 400, 'b'));
    Start({"--delay-ms", "20"});
    QProcess get;
    get.start(ZARNO_CLI, DeviceArgs({"get", "BIG.DDB", local.path()}));
    ASSERT_TRUE(get.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return HoldsFileIn(get.processId(), QDir(local.path()).canonicalPath()); }));
    kill(pid_t(get.processId()), SIGINT);
    ASSERT_TRUE(get.waitForFinished(120000));
    EXPECT_EQ(get.exitCode(), 130);
    EXPECT_TRUE(get.readAllStandardError().contains("interrupted"));
    EXPECT_TRUE(QDir(local.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(DeviceCliTest, ASecondCtrlCEndsAtOnce) {
    Start({"--delay-ms", "20"});
    QProcess put;
    StartBigUpload(put);
    ASSERT_FALSE(HasFatalFailure());
    // A silent instrument: the clean-up after the first Ctrl-C waits seconds for its exchanges.
    kill(device->pid(), SIGSTOP);
    kill(pid_t(put.processId()), SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid_t(put.processId()), SIGINT);
    const bool finished = put.waitForFinished(120000);
    kill(device->pid(), SIGCONT);
    ASSERT_TRUE(finished);
    EXPECT_EQ(put.exitCode(), 130);
    EXPECT_TRUE(put.readAllStandardError().contains("zarno-cli: interrupted"));
}

} // namespace
