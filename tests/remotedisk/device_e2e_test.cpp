// The instrument client against the instrument simulator (zarno-device serve, a separate process)
// over loopback UDP: listings, downloads, uploads and their failure paths.

#include "app/formats/ddb_to_sgy.h"
#include "app/remotedisk/remote_device.h"

#include "tests/formats/ddb_fixture.h"
#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/full_disk.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/temp_config.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

using namespace zarno;
using namespace zarno::testing;

namespace {

Bytes Pattern(size_t n, unsigned seed = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = uint8_t((i * 131 + seed * 17) ^ (i >> 7));
    return b;
}

void Write(const std::filesystem::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes Read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray a = f.readAll();
    return Bytes(a.begin(), a.end());
}

class InstrumentTest : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& extra = {}) {
        EnsureCoreApp();
        process = std::make_unique<DeviceProcess>(root.path().toStdString(), extra);
        ASSERT_EQ(ConnectOverLoopback(device, process->port), 1);
    }
    std::filesystem::path RootPath(const char* name) const { return std::filesystem::path(root.path().toStdString()) / name; }

    // The listing entry of this name in the instrument's current directory.
    const CFileEntry* Entry(const QString& fileName) {
        device.Listing().clear();
        if (device.ReadDirectory("z:\\") != 1)
            return nullptr;
        for (const auto& e : device.Listing())
            if (e->fileName == fileName)
                return e.get();
        return nullptr;
    }

    TempConfigHome home;
    QTemporaryDir root;
    QTemporaryDir local;
    std::unique_ptr<DeviceProcess> process;
    RecordingPrompts prompts;
    CRemoteDevice device{CTransportLink::Instance(), prompts};
};

TEST_F(InstrumentTest, ListingOfMoreThanSixteenEntries) {
    for (int i = 0; i < 20; ++i)
        Write(RootPath(QString("F%1.DAT").arg(i, 2, 10, QChar('0')).toLatin1().constData()), Pattern(size_t(i)));
    std::filesystem::create_directory(RootPath("REC"));
    Start();
    class Counter final : public Progress {
    public:
        void setRange(qint64) override {}
        void setValue(qint64 v) override { last = v; }
        qint64 last = 0;
    } counter;
    ASSERT_EQ(device.ReadDirectory("z:\\", &counter), 1);
    EXPECT_EQ(device.Listing().size(), 21u);
    EXPECT_EQ(counter.last, 21);
    int dirs = 0;
    for (const auto& e : device.Listing())
        dirs += e->isDirectory;
    EXPECT_EQ(dirs, 1);

    ASSERT_EQ(device.ChangeDirectory("REC"), 1);
    device.Listing().clear();
    ASSERT_EQ(device.ReadDirectory("z:\\REC"), 1);
    ASSERT_EQ(device.Listing().size(), 1u) << "'..' only";
    EXPECT_EQ(device.Listing().front()->fileName, "..");
}

TEST_F(InstrumentTest, DownloadsAreByteIdentical) {
    const std::pair<const char*, size_t> files[] = {{"A1000.BIN", 1000}, {"A1024.BIN", 1024}, {"A1.BIN", 1}, {"BIG.BIN", 70000}};
    for (const auto& [name, size] : files)
        Write(RootPath(name), Pattern(size, unsigned(size)));
    Write(RootPath("EMPTY.BIN"), {});
    Start();
    for (const auto& [name, size] : files) {
        SCOPED_TRACE(name);
        const CFileEntry* e = Entry(name);
        ASSERT_NE(e, nullptr);
        const QString target = local.filePath(name);
        ASSERT_EQ(device.CopyFromDevice(e->deviceName, target), 1);
        EXPECT_EQ(Read(target), Pattern(size, unsigned(size)));
    }
    const CFileEntry* empty = Entry("EMPTY.BIN");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(device.CopyFromDevice(empty->deviceName, local.filePath("EMPTY.BIN")), -1);
    EXPECT_EQ(prompts.texts().back(), "Файл на удаленном диске имеет нулевую длину!");
    EXPECT_FALSE(QFile::exists(local.filePath("EMPTY.BIN")));
}

TEST_F(InstrumentTest, UploadAnsweredWithAWrongBlockResumes) {
    Start({"--fail", "73=2:1"});
    const QString source = local.filePath("up.bin");
    const Bytes content = Pattern(1700, 5);
    Write(source.toStdString(), content);
    prompts.yesNoAnswers = {true};
    ASSERT_EQ(device.CopyToDevice(source, NewFileDeviceName("UP.BIN")), 1);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Неправильный номер блока! Повторить?"});
    EXPECT_EQ(Read(QString::fromStdString(RootPath("UP.BIN").string())), content);
}

TEST_F(InstrumentTest, FullDiskLeavesNoFileOnTheInstrument) {
    Start({"--disk-size", "2000"});
    const QString source = local.filePath("big.bin");
    Write(source.toStdString(), Pattern(5000));
    EXPECT_EQ(device.CopyToDevice(source, NewFileDeviceName("BIG.BIN")), -5);
    EXPECT_EQ(prompts.texts().back(), "Недостаточно места на удаленном диске для копирования файла!");
    // Delete is acknowledged by the instrument's library before its disk acts on it.
    bool gone = false;
    for (int i = 0; i < 400 && !gone; ++i) {
        gone = !std::filesystem::exists(RootPath("BIG.BIN"));
        if (!gone)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone);
}

// The computer's disk fills when the last buffered blocks go out, inside the commit: the download
// is a failure, and the file it would have replaced stays as it was.
TEST_F(InstrumentTest, FullComputerDiskKeepsTheOldFile) {
    SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    Write(RootPath("REC.BIN"), Pattern(12000));
    const QByteArray ddb = MakeDDB(MakeDDBHeader(1, 2000), 2000);
    Write(RootPath("REC.DDB"), Bytes(ddb.begin(), ddb.end()));
    Start();
    ASSERT_TRUE(WriteFile(disk.filePath("rec.bin"), "old"));
    ASSERT_TRUE(WriteFile(disk.filePath("rec.sgy"), "old"));
    ASSERT_TRUE(disk.fillLeaving(8192));
    const struct {
        const char* name;
        const char* target;
        bool asSgy;
    } cases[] = {{"REC.BIN", "rec.bin", false}, {"REC.DDB", "rec.sgy", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CFileEntry* e = Entry(c.name);
        ASSERT_NE(e, nullptr);
        const QString target = disk.filePath(c.target);
        EXPECT_EQ(c.asSgy ? device.CopyFromDeviceAsSgy(e->deviceName, target)
                          : device.CopyFromDevice(e->deviceName, target),
                  -6);
        EXPECT_EQ(prompts.texts().back(), "Ошибка записи блока данных на PC!");
        EXPECT_EQ(ReadFile(target), "old");
    }
    EXPECT_EQ(disk.entries(), (QStringList{"rec.bin", "rec.sgy"}));
}

// A recording with less data than its header claims is not converted on the way (the zeros in place
// of the missing samples would pass for a signal); it still downloads as it is.
TEST_F(InstrumentTest, RecordingCutShortIsNotConverted) {
    const QByteArray ddb = MakeDDB(MakeDDBHeader(2, 100), 150);
    Write(RootPath("SHORT.DDB"), Bytes(ddb.begin(), ddb.end()));
    Start();
    const CFileEntry* e = Entry("SHORT.DDB");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(device.CopyFromDeviceAsSgy(e->deviceName, local.filePath("SHORT.sgy")), -6);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Ошибка в формате DDB файла!"});
    EXPECT_FALSE(QFile::exists(local.filePath("SHORT.sgy")));
    ASSERT_EQ(device.CopyFromDevice(e->deviceName, local.filePath("SHORT.DDB")), 1);
    EXPECT_EQ(ReadFile(local.filePath("SHORT.DDB")), ddb);
}

TEST_F(InstrumentTest, AnInstrumentThatNeverAnswers) {
    Start({"--no-answer", "65"});
    DiskInfo info;
    EXPECT_EQ(device.GetDiskInfo(&info), 0);
    EXPECT_EQ(prompts.texts(), std::vector<QString>{"Ошибка доставки сообщения"});
}

TEST_F(InstrumentTest, DownloadAsSgyIsTheConversionOfTheRecording) {
    ASSERT_EQ(std::system(("'" + ExecutableDirectory() + "/zarno-device' make-samples '" +
                           root.path().toStdString() + "' >/dev/null")
                              .c_str()),
              0);
    Start();
    device.Listing().clear();
    ASSERT_EQ(device.ReadDirectory("z:\\"), 1);
    int converted = 0;
    for (const auto& e : device.Listing()) {
        if (e->typeText != "DDB")
            continue;
        SCOPED_TRACE(e->fileName.toStdString());
        const QString target = local.filePath(e->title + ".sgy");
        ASSERT_EQ(device.CopyFromDeviceAsSgy(e->deviceName, target), 1);
        // The same recording converted here, fed from the file in blocks, as the download does.
        const Bytes ddb = Read(root.filePath(e->fileName));
        DDBToSGYConverter converter(SGYTextVariant::Device);
        ASSERT_EQ(converter.pushHeaderBlock(QByteArrayView(reinterpret_cast<const char*>(ddb.data()), 512)),
                  DDBHeaderCheck::Ok);
        QBuffer expected;
        expected.open(QIODevice::ReadWrite);
        ASSERT_TRUE(converter.begin(expected));
        for (size_t at = 512; at < ddb.size(); at += 512)
            converter.pushDataBlock(QByteArrayView(reinterpret_cast<const char*>(ddb.data() + at),
                                                   qsizetype(std::min<size_t>(512, ddb.size() - at))));
        ASSERT_TRUE(converter.finish());
        const QByteArray want = expected.data();
        EXPECT_EQ(Read(target), Bytes(want.begin(), want.end()));
        ++converted;
    }
    EXPECT_GT(converted, 2);
}

// The same client over a serial line: the simulator on one end of a pseudo-terminal pair, COM1
// pointed at the other.
TEST(InstrumentOverSerial, ListsDownloadsAndUploads) {
    EnsureCoreApp();
    TempConfigHome home;
    QTemporaryDir root, local;
    const Bytes content = Pattern(1500, 3);
    Write(root.filePath("DATA.BIN").toStdString(), content);
    DeviceProcess process(root.path().toStdString(), DeviceProcess::SerialPty{7});
    setenv("VELNET_COM1", process.peerDevice.c_str(), 1);
    setenv("VELNET_COM2", "/nonexistent/com2", 1);

    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    LinkSettings link;
    link.remoteLineAddr = 7;
    device.SetSettings(link);
    ASSERT_EQ(device.ConnectCom(kLinkCom1), 1) << (prompts.texts().empty() ? "" : prompts.texts()[0].toStdString());
    ASSERT_EQ(device.ReadDirectory("z:\\"), 1);
    ASSERT_EQ(device.Listing().size(), 1u);
    const DeviceName name = device.Listing().front()->deviceName;
    ASSERT_EQ(device.CopyFromDevice(name, local.filePath("DATA.BIN")), 1);
    EXPECT_EQ(Read(local.filePath("DATA.BIN")), content);
    ASSERT_EQ(device.CopyToDevice(local.filePath("DATA.BIN"), NewFileDeviceName("COPY.BIN")), 1);
    EXPECT_EQ(Read(root.filePath("COPY.BIN")), content);
    EXPECT_TRUE(prompts.texts().empty());
}

} // namespace
