// zarno-cli device against the instrument simulator (a separate process) over loopback UDP: a path the
// instrument does not have never lands on another directory, listings that do not complete fail,
// every failure says why, an instrument that lies or dies loses no file and leaves no file unnamed,
// forged answers change nothing, and every ending signal cleans up after a transfer.

#include "tests/support/device_process.h"
#include "tests/support/temp_config.h"
#include "transport/message.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
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

    QStringList DeviceArgs(const QStringList& command, uint16_t localWirePort = FreeWirePort()) const {
        return QStringList{"device", "--udp", QString("127.0.0.1:%1").arg(device->port), "--local-port",
                           QString::number(velnet::ValueFromWirePort(localWirePort)), "--retries", "0"} +
               command;
    }
    CliRun Cli(const QStringList& command) {
        QProcess p;
        p.start(ZARNO_CLI, DeviceArgs(command));
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    // A computer file of these bytes.
    QString LocalFile(const QString& name, const QByteArray& bytes) {
        const QString path = local.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Starts an upload of a 400-block file as BIG.DDB and waits until the instrument holds part of it.
    void StartBigUpload(QProcess& put) {
        const QString big = LocalFile("big.ddb", QByteArray(512 * 400, 'b'));
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

TEST_F(DeviceCliTest, EveryEndingSignalDuringAnUploadDeletesThePartialFile) {
    Start({"--delay-ms", "20"});
    for (const int signal : {SIGINT, SIGHUP, SIGQUIT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        QProcess put;
        StartBigUpload(put);
        ASSERT_FALSE(HasFatalFailure());
        kill(pid_t(put.processId()), signal);
        ASSERT_TRUE(put.waitForFinished(120000));
        EXPECT_EQ(put.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(put.exitCode(), 128 + signal);
        EXPECT_TRUE(put.readAllStandardError().contains("interrupted; the partial file was deleted"));

        const CliRun listed = Cli({"ls"});
        ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
        EXPECT_FALSE(listed.out.contains("BIG.DDB")) << listed.out.toStdString();
        EXPECT_FALSE(fs::exists(Root() / "BIG.DDB"));
    }
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

TEST_F(DeviceCliTest, ASecondSignalEndsAtOnceAndNamesThePartialFile) {
    // Ctrl-C twice; and what `timeout` sends, one SIGTERM to the program and one to its group.
    const std::pair<int, int> pairs[] = {{SIGINT, SIGINT}, {SIGTERM, SIGTERM}, {SIGHUP, SIGQUIT}};
    for (const auto& [first, second] : pairs) {
        SCOPED_TRACE(std::string(strsignal(first)) + ", then " + strsignal(second));
        Start({"--delay-ms", "20"});
        QProcess put;
        StartBigUpload(put);
        ASSERT_FALSE(HasFatalFailure());
        // A silent instrument: the clean-up after the first signal waits seconds for its exchanges.
        kill(device->pid(), SIGSTOP);
        kill(pid_t(put.processId()), first);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(pid_t(put.processId()), second);
        const bool finished = put.waitForFinished(120000);
        kill(device->pid(), SIGCONT);
        ASSERT_TRUE(finished);
        EXPECT_EQ(put.exitCode(), 128 + second);
        EXPECT_TRUE(put.readAllStandardError().contains(
            "zarno-cli: interrupted; a partial file may remain on the instrument: z:\\BIG.DDB\n"));
        EXPECT_TRUE(fs::exists(Root() / "BIG.DDB")) << "the message names a file that is there";
        device.reset();
        fs::remove(Root() / "BIG.DDB");
    }
}

// The bytes' SHA-256, so that "nothing lost" means the very same bytes.
QByteArray HashOf(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}
QByteArray HashOfFile(const fs::path& p) {
    QFile f(QString::fromStdString(p.string()));
    return f.open(QIODevice::ReadOnly) ? HashOf(f.readAll()) : QByteArray("missing");
}
// Every file under root by its path, with its hash.
std::map<std::string, QByteArray> TreeHashes(const fs::path& root) {
    std::map<std::string, QByteArray> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out[fs::relative(e.path(), root).string()] = e.is_regular_file() ? HashOfFile(e.path()) : "dir";
    return out;
}

// Deterministic bytes that differ from block to block.
QByteArray Pattern(int size, uint32_t seed) {
    QByteArray bytes(size, 0);
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = char(seed >> 16);
    }
    return bytes;
}

TEST_F(DeviceCliTest, TwoUploadsToOneNameLeaveTheFirstWhole) {
    Start({"--delay-ms", "20"});
    QProcess first;
    StartBigUpload(first);
    ASSERT_FALSE(HasFatalFailure());
    const CliRun second = Cli({"put", LocalFile("small.ddb", QByteArray(20000, 's')), "BIG.DDB"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QString::fromUtf8("Файл на удаленном диске не доступен!"))) << second.err.toStdString();
    ASSERT_TRUE(first.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(HashOfFile(Root() / "BIG.DDB"), HashOf(QByteArray(512 * 400, 'b')));
}

TEST_F(DeviceCliTest, AnInstrumentThatLiesOrDiesFailsTheTransferAndNamesWhatMayRemain) {
    const QString upload = LocalFile("up.ddb", Pattern(3000, 1)); // six blocks
    Write("LONG.DDB", std::string(5000, 'L'));
    struct Case {
        const char* what;
        std::vector<std::string> flags;
        QStringList command;
        std::vector<const char*> texts;
        std::optional<uint64_t> leftOnInstrument; // UP.DDB's size, when it stays there
    };
    const Case cases[] = {
        {"writes acknowledged and not kept", {"--fail", "73=0"}, {"put", upload, "UP.DDB"},
         {"Невозможно скопировать файл на удаленный диск!", "lists z:\\UP.DDB with 0 bytes, 3000 were sent"}, {}},
        {"the close never acknowledged", {"--die-after", "73:6"}, {"put", upload, "UP.DDB"},
         {"did not acknowledge the close of z:\\UP.DDB", "a partial file may remain on the instrument: z:\\UP.DDB"},
         3000},
        {"the instrument dies during the upload", {"--die-after", "73:3"}, {"put", upload, "UP.DDB"},
         {"Невозможно скопировать файл на удаленный диск!", "a partial file may remain on the instrument: z:\\UP.DDB"},
         1536},
        {"an open answer shorter than the listing", {"--open-length", "100"}, {"get", "LONG.DDB", local.filePath("g.ddb")},
         {"Невозможно скопировать файл!", "lists z:\\LONG.DDB with 5000 bytes"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = TreeHashes(Root());
        Start(c.flags);
        const CliRun run = Cli(c.command);
        EXPECT_EQ(run.exitCode, 1);
        for (const char* text : c.texts)
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(text))) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(local.filePath("g.ddb")));
        auto after = TreeHashes(Root());
        if (c.leftOnInstrument) {
            EXPECT_EQ(fs::file_size(Root() / "UP.DDB"), *c.leftOnInstrument);
            after.erase("UP.DDB");
        }
        EXPECT_EQ(after, before) << "nothing else touched, no file left unnamed";
        device.reset();
        fs::remove(Root() / "UP.DDB");
        QFile::remove(local.filePath("g.ddb"));
    }
}

TEST_F(DeviceCliTest, ForgedAnswersDuringADownloadChangeNothing) {
    const QByteArray recording = Pattern(586 * 512 - 100, 7);
    Write("BIG.DDB", recording.toStdString());
    Start();
    const uint16_t clientPort = FreeWirePort();
    QProcess get;
    get.start(ZARNO_CLI, DeviceArgs({"get", "BIG.DDB", local.filePath("big.ddb")}, clientPort));
    ASSERT_TRUE(get.waitForStarted());
    // Another local socket sends answers to every identifier, each a block with status 0.
    std::atomic<bool> done{false};
    std::atomic<int> forged{0};
    std::thread forger([&] {
        PlainUdpSocket socket;
        std::vector<uint8_t> answer(4 + 4 + 512, 'F');
        for (uint32_t id = 0; !done; id = (id + 1) & 0xFF) {
            const uint32_t header = velnet::MakeHeader(velnet::mfAnswer | velnet::mfFullAnswer, uint8_t(id),
                                                       uint16_t((answer.size() - 4) / 2));
            std::memcpy(answer.data(), &header, 4);
            answer[4] = answer[5] = 0;
            socket.sendTo(clientPort, answer.data(), answer.size());
            if (++forged % 16 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const bool finished = get.waitForFinished(240000);
    done = true;
    forger.join();
    ASSERT_TRUE(finished);
    EXPECT_GT(forged.load(), 256);
    EXPECT_EQ(get.exitCode(), 0) << get.readAllStandardError().toStdString();
    QFile copy(local.filePath("big.ddb"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(HashOf(copy.readAll()), HashOf(recording));
}

TEST_F(DeviceCliTest, ListedNamesCannotDriveTheTerminal) {
    Start({"--garble-names"});
    const CliRun listed = Cli({"ls"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_FALSE(listed.out.contains(QChar(0x1B)));
    EXPECT_TRUE(listed.out.contains("P\\x1bLE06.DDB")) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("S\\x1bTE1")) << listed.out.toStdString();
}

TEST_F(DeviceCliTest, ADirectoryWithFilesGoesOnlyWhenAskedFor) {
    fs::create_directory(Root() / "SITE1" / "SUB");
    Write("SITE1/SUB/DEEP.DDB", "deep");
    const auto before = TreeHashes(Root());
    struct Case {
        const char* what;
        QStringList command;
        const char* error;
    };
    const Case refused[] = {
        {"without -r", {"rm", "SITE1"}, "z:\\SITE1 is not empty (21 entries): give -r"},
        {"-r without --yes and no terminal", {"rm", "-r", "SITE1"}, "not deleted: give --yes"},
    };
    Start();
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        const CliRun run = Cli(c.command);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.error)) << run.err.toStdString();
        EXPECT_EQ(TreeHashes(Root()), before);
    }
    const CliRun removed = Cli({"rm", "-r", "--yes", "site1"});
    ASSERT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    const QStringList listed = removed.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(listed.size(), 22) << removed.out.toStdString();
    EXPECT_TRUE(listed.contains("z:\\SITE1\\SUB\\DEEP.DDB"));
    EXPECT_EQ(listed.indexOf("z:\\SITE1\\SUB\\DEEP.DDB") + 1, listed.indexOf("z:\\SITE1\\SUB"))
        << "a directory is listed after what it holds";
    EXPECT_EQ(listed.last(), "z:\\SITE1");
    EXPECT_FALSE(fs::exists(Root() / "SITE1"));
    EXPECT_EQ(Read(Root() / "PILE06.DDB"), "root pile");
    EXPECT_EQ(Read(Root() / "P01.DDB"), "root namesake");
}

// zarno-cli with its standard input on a terminal (a pseudo-terminal), where the user types `typed`
// once the question is asked.
CliRun CliAtTerminal(const QStringList& args, const char* typed) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(grantpt(master), 0);
    EXPECT_EQ(unlockpt(master), 0);
    QProcess p;
    p.setStandardInputFile(QString::fromLatin1(ptsname(master)));
    p.setReadChannel(QProcess::StandardError);
    p.start(ZARNO_CLI, args);
    QString err;
    while (!err.contains("[y/N]") && p.waitForReadyRead(120000))
        err += QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains("[y/N]")) << err.toStdString();
    (void)!write(master, typed, strlen(typed));
    EXPECT_TRUE(p.waitForFinished(120000));
    close(master);
    err += QString::fromUtf8(p.readAllStandardError());
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), err};
}

TEST_F(DeviceCliTest, AtATerminalATypedYDeletesTheDirectory) {
    Start();
    const auto before = TreeHashes(Root());
    const CliRun kept = CliAtTerminal(DeviceArgs({"rm", "-r", "SITE1"}), "n\n");
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_TRUE(kept.err.contains("Delete z:\\SITE1 with the 19 entries listed above? [y/N]")) << kept.err.toStdString();
    EXPECT_EQ(TreeHashes(Root()), before);
    const CliRun removed = CliAtTerminal(DeviceArgs({"rm", "-r", "SITE1"}), "y\n");
    EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_FALSE(fs::exists(Root() / "SITE1"));
    EXPECT_TRUE(fs::exists(Root() / "P01.DDB"));
}

} // namespace
