// The file operations end to end: two panels, one on a computer directory and one on the instrument
// simulator (zarno-device serve) or a scripted instrument, over loopback UDP.

#include "app/fileops/copy_operations.h"
#include "app/fileops/delete_operations.h"
#include "app/fileops/make_directory.h"
#include "app/remotedisk/transfer_cancel.h"

#include "tests/fileops/fake_panel_host.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/loopback_link.h"
#include "tests/support/device_process.h"
#include "tests/support/qt_app.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/scripted_device.h"
#include "tests/support/temp_config.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

using namespace zarno;
using namespace zarno::testing;

namespace {

using Texts = std::vector<QString>;
using Calls = std::vector<std::string>;

QByteArray Pattern(qsizetype n, char seed) {
    QByteArray b(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(seed + i % 31);
    return b;
}

// Panel 0 on a computer directory, panel 1 on the simulator's root.
class InstrumentPanels : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& extra = {}) {
        EnsureCoreApp();
        process = std::make_unique<DeviceProcess>(root.path().toStdString(), extra);
        ASSERT_EQ(ConnectOverLoopback(device, process->port), 1);
        host.ShowComputer(0, local.path());
        host.ShowDevice(1);
        host.calls.clear();
    }
    void MakeSamples() {
        ASSERT_EQ(std::system(("'" + ExecutableDirectory() + "/zarno-device' make-samples '" +
                               root.path().toStdString() + "' >/dev/null")
                                  .c_str()),
                  0);
    }
    // Entries the instrument answers for are acted on by its library before its disk acts on them.
    static bool Eventually(const std::function<bool()>& condition) {
        for (int i = 0; i < 400; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return condition();
    }

    TempConfigHome home;
    QTemporaryDir root, local;
    std::unique_ptr<DeviceProcess> process;
    RecordingPrompts prompts;
    CRemoteDevice device{CTransportLink::Instance(), prompts};
    FakePanelHost host{&device};
};

TEST_F(InstrumentPanels, DownloadManyWithConversionAndYesForAll) {
    MakeSamples();
    ASSERT_TRUE(WriteFile(local.filePath("PILE06.sgy"), "old"));
    ASSERT_TRUE(WriteFile(local.filePath("PILE18.SGY"), "old"));
    Start();
    const std::vector<QString> names = {"PILE06.DDB", "PILE12.DDB", "PILE18.DDB", "TWOCH12.DDB",
                                        "README.TXT"};
    host.Select(1, names);
    ASSERT_EQ(host.panels[1].selection.size(), names.size());
    prompts.overwriteAnswers = {OverwriteAnswer::YesToAll};
    RecordingProgress overall;
    EXPECT_EQ(CopyMany(host, prompts).Run(1, true, nullptr, nullptr, &overall), DialogOutcome::Close);
    EXPECT_EQ(prompts.texts(),
              Texts{"Файл " + local.filePath("PILE06.sgy") + " уже существует! Переписать?"});
    for (const char* sgy : {"PILE06.sgy", "PILE12.sgy", "PILE18.sgy", "TWOCH12.sgy"}) {
        SCOPED_TRACE(sgy);
        EXPECT_GT(ReadFile(local.filePath(sgy)).size(), 3600);
    }
    EXPECT_EQ(ReadFile(local.filePath("README.TXT")), ReadFile(root.filePath("README.TXT")));
    EXPECT_EQ(overall.values.back(), 5);
    EXPECT_EQ(host.calls, Calls{"refill 0"});
}

TEST_F(InstrumentPanels, UploadChecksTheEightDotThreeName) {
    const QByteArray content = Pattern(1300, 'u');
    ASSERT_TRUE(WriteFile(local.filePath("source.ddb"), content));
    Start();
    host.ShowComputer(0, local.path());
    const CFileEntry& source = host.At(0, "source.ddb");
    for (const char* refused : {"LONGFILENAME.DDB", "READ.ME.TXT", "A B.DDB", "A*B.DDB"}) {
        SCOPED_TRACE(refused);
        prompts.records.clear();
        EXPECT_EQ(SingleCopy(host, prompts).Run(0, source, refused), DialogOutcome::StayOpen);
        EXPECT_EQ(prompts.texts(), Texts{"Неверно задано имя файла!"});
    }
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files), QStringList{});
    prompts.records.clear();
    host.calls.clear();
    RecordingProgress progress;
    EXPECT_EQ(SingleCopy(host, prompts).Run(0, source, "UP.DDB", &progress), DialogOutcome::Close);
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_EQ(progress.range, 3);
    EXPECT_EQ(ReadFile(root.filePath("UP.DDB")), content);
    EXPECT_EQ(host.calls, Calls{"reread 1"});
    EXPECT_NE(host.Find(1, "UP.DDB"), nullptr) << "the instrument panel shows the new file";
}

TEST_F(InstrumentPanels, UploadManyStopsOpenAtANameThatDoesNotFit) {
    ASSERT_TRUE(WriteFile(local.filePath("GOOD.TXT"), "good"));
    ASSERT_TRUE(WriteFile(local.filePath("LONGFILENAME.TXT"), "long"));
    ASSERT_TRUE(WriteFile(local.filePath("LAST.TXT"), "last"));
    ASSERT_TRUE(WriteFile(local.filePath("REC.DDB"), MakeDDB(MakeDDBHeader(1, 100), 100)));
    Start();
    // The conversion box is checked, but a recording goes to the instrument as it is.
    host.Select(0, {"GOOD.TXT", "REC.DDB", "LONGFILENAME.TXT", "LAST.TXT"});
    EXPECT_EQ(CopyMany(host, prompts).Run(0, true), DialogOutcome::StayOpen);
    EXPECT_EQ(prompts.texts(), Texts{"Неверно задано имя файла!"});
    EXPECT_EQ(ReadFile(root.filePath("GOOD.TXT")), "good");
    EXPECT_EQ(ReadFile(root.filePath("REC.DDB")), ReadFile(local.filePath("REC.DDB")));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::Files), (QStringList{"GOOD.TXT", "REC.DDB"}));
}

TEST_F(InstrumentPanels, CancelDuringCopyManyStopsTheRun) {
    for (const char* name : {"A.BIN", "B.BIN", "C.BIN"})
        ASSERT_TRUE(WriteFile(root.filePath(name), Pattern(60000, name[0])));
    Start({"--delay-ms", "10"});
    host.Select(1, {"A.BIN", "B.BIN", "C.BIN"});
    // The Cancel button is clicked while the transfer waits for the instrument in its nested loop.
    QTimer::singleShot(400, [] { RequestTransferCancel(); });
    EXPECT_EQ(CopyMany(host, prompts).Run(1, false), DialogOutcome::Close);
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files | QDir::Hidden), QStringList{})
        << "the cancelled file is not left half written, the others are not copied";
    EXPECT_EQ(prompts.texts(), Texts{});
    EXPECT_EQ(host.panels[1].selection.size(), 2u) << "the files not yet taken stay in the list";
}

TEST_F(InstrumentPanels, DeleteAndMakeDirectoryOnBothSides) {
    ASSERT_TRUE(WriteFile(root.filePath("OLD.TXT"), "old"));
    ASSERT_TRUE(QDir(root.path()).mkdir("EMPTYDIR"));
    ASSERT_TRUE(WriteFile(local.filePath("gone.txt"), "x"));
    Start();
    host.ShowDevice(0); // both panels on the same instrument directory: both are read again
    host.calls.clear();

    EXPECT_EQ(MakeDirectoryOperation(host, prompts).Run(1, "LONGDIRNAME"), DialogOutcome::Close);
    EXPECT_TRUE(Eventually([&] { return QDir(root.filePath("LONGDIRN")).exists(); }));
    EXPECT_EQ(host.calls, (Calls{"reread 1", "reread 0"}));
    EXPECT_NE(host.Find(1, "LONGDIRN"), nullptr);

    host.calls.clear();
    EXPECT_EQ(DeleteOne(host, prompts).Run(1, host.At(1, "OLD.TXT")), DialogOutcome::Close);
    EXPECT_TRUE(Eventually([&] { return !QFile::exists(root.filePath("OLD.TXT")); }));
    EXPECT_EQ(DeleteOne(host, prompts).Run(1, host.At(1, "EMPTYDIR")), DialogOutcome::Close);
    EXPECT_TRUE(Eventually([&] { return !QDir(root.filePath("EMPTYDIR")).exists(); }));
    EXPECT_EQ(host.Find(1, "OLD.TXT"), nullptr);

    host.ShowComputer(0, local.path());
    host.calls.clear();
    EXPECT_EQ(MakeDirectoryOperation(host, prompts).Run(0, "NEWDIR"), DialogOutcome::Close);
    EXPECT_TRUE(QDir(local.filePath("NEWDIR")).exists());
    EXPECT_EQ(host.calls, Calls{"refill 0"}) << "the other panel shows the instrument";
    EXPECT_EQ(DeleteOne(host, prompts).Run(0, host.At(0, "gone.txt")), DialogOutcome::Close);
    EXPECT_FALSE(QFile::exists(local.filePath("gone.txt")));
    EXPECT_EQ(prompts.texts(), Texts{});
}

// A panel whose directory vanished from the instrument: its deletes touch no namesake elsewhere.
TEST_F(InstrumentPanels, DeletesNothingOutsideAVerifiedDirectory) {
    ASSERT_TRUE(QDir(root.path()).mkdir("SITE1"));
    for (const char* name : {"P01.DDB", "P02.DDB"}) {
        ASSERT_TRUE(WriteFile(root.filePath(QString("SITE1/") + name), "site"));
        ASSERT_TRUE(WriteFile(root.filePath(name), "root"));
    }
    Start();
    host.ShowDevice(1, "z:\\SITE1");
    ASSERT_NE(host.Find(1, "P01.DDB"), nullptr);
    ASSERT_TRUE(QDir(root.filePath("SITE1")).removeRecursively());
    host.ShowDevice(0); // the other panel leaves the instrument at the root

    EXPECT_EQ(DeleteOne(host, prompts).Run(1, host.At(1, "P01.DDB")), DialogOutcome::Close);
    host.Select(1, {"P01.DDB", "P02.DDB"});
    EXPECT_EQ(DeleteMany(host, prompts).Run(1), DialogOutcome::Close);
    EXPECT_EQ(prompts.texts(), (Texts{"Каталог на удаленном диске не найден!", "Каталог на удаленном диске не найден!"}));
    host.ShowDevice(0); // an answered listing: every earlier request has been acted on
    EXPECT_TRUE(QFile::exists(root.filePath("P01.DDB")));
    EXPECT_TRUE(QFile::exists(root.filePath("P02.DDB")));
}

// An instrument of kind 1 refuses directories. The main frame keeps the dialog from opening for it;
// should the request reach it anyway, its refusal leaves no directory and the panel shows the truth.
TEST_F(InstrumentPanels, KindOneInstrumentMakesNoDirectory) {
    Start({"--kind", "1"});
    EXPECT_EQ(MakeDirectoryOperation(host, prompts).Run(1, "NEWDIR"), DialogOutcome::Close);
    EXPECT_EQ(host.calls, Calls{"reread 1"});
    EXPECT_EQ(host.Find(1, "NEWDIR"), nullptr);
    EXPECT_FALSE(QDir(root.filePath("NEWDIR")).exists());
}

// ---- a listing that names something other than a file of the directory ----

Bytes ListingEntry(const QByteArray& name11, uint8_t attribute, uint32_t size) {
    Bytes e(32, 0);
    std::memcpy(e.data(), name11.constData(), 11);
    e[11] = attribute;
    e[24] = 0x21;
    e[25] = 0x5A;
    const Bytes s = U32Bytes(size);
    std::copy(s.begin(), s.end(), e.begin() + 28);
    return e;
}

TEST(MaliciousListing, NamesThatAreNoPlainFileNameWriteNothing) {
    EnsureCoreApp();
    TempConfigHome home;
    QTemporaryDir base;
    ASSERT_TRUE(QDir(base.path()).mkpath("a/b/target"));
    const QString target = base.filePath("a/b/target");
    // 8 name bytes and 3 extension bytes as the instrument sends them; the client cuts each at its
    // first space.
    const struct {
        QByteArray name11;
        const char* fileName;
    } cases[] = {
        {QByteArray("../../EVSH "), "../../EV.SH"},
        {QByteArray("/TMP/EVIL  "), "/TMP/EVIL"},
        {QByteArray("..         "), ".."},
        {QByteArray("A\0B     TXT", 11), nullptr},
    };
    ScriptedDevice instrument;
    RecordingPrompts prompts;
    CRemoteDevice device(CTransportLink::Instance(), prompts);
    HideComPorts();
    AimAtLoopback(device, instrument.port());
    instrument.AimAt(device.Settings().localPort);
    instrument.On(kCodeReadDirectory, [&](const Bytes&) -> std::optional<Bytes> {
        Bytes answer = U16Bytes(0);
        for (const auto& c : cases) {
            const Bytes e = ListingEntry(c.name11, kNewFileAttribute, 100);
            answer.insert(answer.end(), e.begin(), e.end());
        }
        return answer;
    });
    ASSERT_EQ(device.ConnectNetwork(), 1);
    FakePanelHost host(&device);
    host.ShowDevice(0);
    host.ShowComputer(1, target);
    ASSERT_EQ(host.rows[0].size(), std::size(cases));
    for (int row = 0; row < host.rowCount(0); ++row) {
        const CFileEntry entry = host.row(0, row);
        SCOPED_TRACE(entry.fileName.toStdString());
        for (const bool convert : {false, true}) {
            prompts.records.clear();
            host.panels[0].selection = {row};
            EXPECT_EQ(CopyMany(host, prompts).Run(0, convert), DialogOutcome::StayOpen);
            EXPECT_EQ(prompts.texts(), Texts{"Неправильно задано имя файла!"});
        }
        prompts.records.clear();
        EXPECT_EQ(SingleCopy(host, prompts).Run(0, entry, entry.fileName), DialogOutcome::StayOpen);
        EXPECT_EQ(prompts.texts(), Texts{"Неправильно задано имя файла!"});
    }
    const auto codes = instrument.Codes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), uint16_t(kCodeOpen)), 0) << "no download was started";
    QStringList everything;
    for (const QString& dir : {base.path(), base.filePath("a"), base.filePath("a/b"), target})
        everything += QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    EXPECT_EQ(everything, (QStringList{"a", "b", "target"}));
    EXPECT_FALSE(QFile::exists("/TMP/EVIL"));
}

} // namespace
