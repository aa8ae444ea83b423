// The program's own instrument client against the running simulator: what one side sends the other
// understands, for listings across several answers, uploads and downloads, zero-length files and the
// retry path of a wrong block number.

#include "app/remotedisk/remote_device.h"
#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>

namespace zarno::testing {
namespace {

class AppClientTest : public ::testing::Test {
protected:
    void Connect(const std::vector<std::string>& extra = {}) {
        EnsureCoreApp();
        device = std::make_unique<DeviceProcess>(root.path().toStdString(), extra);
        ASSERT_EQ(ConnectOverLoopback(client, device->port), 1);
    }
    void TearDown() override { client.Disconnect(); }
    QByteArray Pattern(int size) {
        QByteArray b(size, '\0');
        for (int i = 0; i < size; ++i)
            b[i] = static_cast<char>(i * 31 + 7);
        return b;
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempConfigHome home;
    QTemporaryDir root, local;
    RecordingPrompts prompts;
    CRemoteDevice client{CTransportLink::Instance(), prompts};
    std::unique_ptr<DeviceProcess> device;
};

TEST_F(AppClientTest, ListsUploadsAndDownloads) {
    QDir(root.path()).mkdir("REC");
    for (int i = 0; i < 25; ++i)
        Write(root.path() + QString("/REC/F%1.DDB").arg(i, 2, 10, QChar('0')), "x");
    Write(root.path() + "/EMPTY.TXT", "");
    Connect();

    DiskInfo info;
    ASSERT_EQ(client.GetDiskInfo(&info), 1);
    EXPECT_EQ(info.status(), 0);
    EXPECT_EQ(info.label(), "ZARNO-DEV");

    ASSERT_EQ(client.ChangeDirectory("REC"), 1);
    ASSERT_EQ(client.ReadDirectory("z:\\REC"), 1);
    std::set<QString> names;
    for (const auto& e : client.Listing())
        names.insert(e->fullPath);
    EXPECT_EQ(names.size(), 26u); // ".." and 25 files, over two answers
    EXPECT_TRUE(names.count("z:\\REC\\F24.DDB"));
    EXPECT_TRUE(names.count("z:\\REC\\.."));

    for (int size : {0, 1, 511, 512, 1000, 1001, 5000}) {
        SCOPED_TRACE(size);
        const QByteArray content = Pattern(size);
        const QString up = local.filePath(QString("up%1.bin").arg(size));
        const QString down = local.filePath(QString("down%1.bin").arg(size));
        Write(up, content);
        const QString typed = QString("U%1.BIN").arg(size);
        ASSERT_EQ(client.CopyToDevice(up, NewFileDeviceName(typed)), 1);
        EXPECT_EQ(Read(root.path() + "/REC/" + typed), content);
        if (size == 0)
            continue; // a zero-length device file is not copied down
        ASSERT_EQ(client.CopyFromDevice(NewFileDeviceName(typed), down), 1);
        EXPECT_EQ(Read(down), content);
    }
    ASSERT_EQ(client.ChangeDirectory("z:\\"), 1);
    EXPECT_EQ(client.CopyFromDevice(NewFileDeviceName("EMPTY.TXT"), local.filePath("e.bin")), -1);
    EXPECT_FALSE(QFile::exists(local.filePath("e.bin")));
    // Only an empty directory goes. The library acknowledges a delete before the instrument carries
    // it out (or refuses it); the next request is served after it, so a listing shows the outcome.
    QDir(root.path()).mkdir("GONE");
    EXPECT_EQ(client.DeleteRemoteFile(DirectoryDeviceName("GONE")), 1);
    EXPECT_EQ(client.DeleteRemoteFile(DirectoryDeviceName("REC")), 1);
    client.Listing().clear();
    ASSERT_EQ(client.ReadDirectory("z:\\"), 1);
    names.clear();
    for (const auto& e : client.Listing())
        names.insert(e->fileName);
    EXPECT_EQ(names, (std::set<QString>{"EMPTY.TXT", "REC"}));
    EXPECT_FALSE(QDir(root.path() + "/GONE").exists());
    EXPECT_EQ(QDir(root.path() + "/REC").entryList(QDir::Files).size(), 32);
}

TEST_F(AppClientTest, UploadResumesFromTheBlockTheInstrumentNames) {
    Connect({"--fail", "73=2:1"});
    prompts.yesNoAnswers = {true}; // "Неправильный номер блока! Повторить?"
    const QByteArray content = Pattern(1500);
    Write(local.filePath("a.bin"), content);
    ASSERT_EQ(client.CopyToDevice(local.filePath("a.bin"), NewFileDeviceName("A.BIN")), 1);
    EXPECT_EQ(Read(root.path() + "/A.BIN"), content);
}

} // namespace
} // namespace zarno::testing
