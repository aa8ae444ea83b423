// The file operations against two panels over temporary directories: name checks, the conversion
// rule, overwrite questions, block counts, refreshes, and what is left on disk after each failure.

#include "app/fileops/copy_local_file.h"
#include "app/fileops/copy_operations.h"
#include "app/fileops/delete_operations.h"
#include "app/fileops/file_names.h"
#include "app/fileops/make_directory.h"
#include "app/fileops/transform_operation.h"

#include "tests/fileops/fake_panel_host.h"
#include "tests/formats/ddb_fixture.h"
#include "tests/support/recording_prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace zarno;
using namespace zarno::testing;

namespace {

using Texts = std::vector<QString>;

QByteArray Bytes(qsizetype n, char seed = 'a') {
    QByteArray b(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(seed + i % 23);
    return b;
}

QByteArray Recording() {
    return MakeDDB(MakeDDBHeader(2, 300), 600);
}

TEST(FileNames, PlainNames) {
    const struct {
        const char* name;
        bool plain;
    } cases[] = {
        {"DATA.DDB", true},   {"data", true},   {"LONGFILENAME.DDB", true}, {"READ.ME.TXT", true},
        {".PROFILE", true},   {"..", false},    {".", false},               {"", false},
        {"../etc", false},    {"a/b.txt", false}, {"/etc/x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPlainFileName(QString::fromLatin1(c.name)), c.plain);
    }
    EXPECT_FALSE(IsPlainFileName(QString("AB") + QChar(u'\0') + "C"));
    EXPECT_EQ(LocalTargetPath("/tmp", "x.sgy"), "/tmp/x.sgy");
    EXPECT_EQ(LocalTargetPath("/", "x.sgy"), "/x.sgy");
    EXPECT_EQ(LocalTargetPath("/tmp", "../x.sgy"), "");
    EXPECT_TRUE(IsSgyTargetName("DATA.SgY"));
    EXPECT_FALSE(IsSgyTargetName("A.B.sgy")) << "the first '.' must be the fourth character from the end";
    EXPECT_FALSE(IsSgyTargetName("sgy"));
}

class LocalDirs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(left.isValid() && right.isValid());
        host.ShowComputer(0, left.path());
        host.ShowComputer(1, right.path());
    }
    QString L(const char* name) const { return left.filePath(name); }
    QString R(const char* name) const { return right.filePath(name); }
    void Refresh() {
        host.ShowComputer(0, left.path());
        host.ShowComputer(1, right.path());
        host.calls.clear();
    }

    QTemporaryDir left, right;
    FakePanelHost host;
    RecordingPrompts prompts;
};

// ---- CopyLocalFile ----

TEST_F(LocalDirs, CopyLocalFileCountsBlocks) {
    const struct {
        qsizetype size;
        std::vector<qint64> counter;
    } cases[] = {{1000, {1, 2}}, {1024, {1, 2}}, {512, {1}}, {1, {1}}, {0, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ASSERT_TRUE(WriteFile(L("src.bin"), Bytes(c.size)));
        RecordingProgress progress;
        qint64 blocks = -1;
        ASSERT_EQ(CopyLocalFile(L("src.bin"), R("dst.bin"), prompts, &progress, &blocks), kCopyLocalDone);
        EXPECT_EQ(progress.range, qint64(c.counter.size()));
        EXPECT_EQ(progress.values, c.counter);
        EXPECT_EQ(blocks, qint64(c.counter.size()));
        EXPECT_EQ(ReadFile(R("dst.bin")), Bytes(c.size));
    }
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(LocalDirs, CopyLocalFileThatCannotOpen) {
    EXPECT_EQ(CopyLocalFile(L("missing.bin"), R("dst.bin"), prompts), kCopyLocalNotOpened);
    ASSERT_TRUE(WriteFile(L("src.bin"), Bytes(10)));
    EXPECT_EQ(CopyLocalFile(L("src.bin"), R("no/such/dir.bin"), prompts), kCopyLocalNotOpened);
    EXPECT_EQ(prompts.texts(), (Texts{"Неверно задано имя файла!", "Неверно задано имя файла!"}));
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Stop);
    EXPECT_FALSE(QFile::exists(R("dst.bin")));
}

// A write that fails half way (the file size limit of the process) is told, and neither half a file
// nor a damaged older file is left behind. Runs in a child, where the limit cannot hurt other tests.
TEST_F(LocalDirs, CopyLocalFileWriteFailureLeavesNoHalfFile) {
    ASSERT_TRUE(WriteFile(L("big.bin"), Bytes(200000)));
    ASSERT_TRUE(WriteFile(R("big.bin"), "older"));
    const auto copyUnderALimit = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const int result = CopyLocalFile(L("big.bin"), R("big.bin"), prompts);
        const bool told = prompts.texts() == Texts{"Ошибка при записи файла на PC!"};
        const bool intact = ReadFile(R("big.bin")) == "older" && QDir(right.path()).count() == 3;
        std::exit(result == kCopyLocalIoFailed && told && intact ? 0 : 1);
    };
    EXPECT_EXIT(copyUnderALimit(), ::testing::ExitedWithCode(0), "");
}

// ---- one file ----

TEST_F(LocalDirs, SingleCopyNameChecksAndConversionRule) {
    ASSERT_TRUE(WriteFile(L("DATA.DDB"), Recording()));
    ASSERT_TRUE(WriteFile(L("NOTES.TXT"), Bytes(700)));
    Refresh();
    const struct {
        const char* source;
        const char* target;
        DialogOutcome outcome;
        const char* message; // nullptr: none
        bool converted;
    } cases[] = {
        {"DATA.DDB", "DATA.sgy", DialogOutcome::Close, nullptr, true},
        {"DATA.DDB", "DATA.DDB", DialogOutcome::Close, nullptr, false},
        {"NOTES.TXT", "NOTES.sgy", DialogOutcome::StayOpen,
         "Недопустимо преобразовывать не DDB-файл в SGY-файл!", false},
        {"NOTES.TXT", "A.B.sgy", DialogOutcome::Close, nullptr, false},
        {"NOTES.TXT", "sub\\N.TXT", DialogOutcome::StayOpen, "Неправильно задано имя файла!", false},
        {"NOTES.TXT", "c:N.TXT", DialogOutcome::StayOpen, "Неправильно задано имя файла!", false},
        {"NOTES.TXT", "../N.TXT", DialogOutcome::StayOpen, "Неправильно задано имя файла!", false},
        {"NOTES.TXT", "..", DialogOutcome::StayOpen, "Неправильно задано имя файла!", false},
        {"NOTES.TXT", "", DialogOutcome::StayOpen, "Неправильно задано имя файла!", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
        QDir(right.path()).removeRecursively();
        QDir().mkpath(right.path());
        Refresh();
        prompts.records.clear();
        SingleCopy copy(host, prompts);
        RecordingProgress progress;
        EXPECT_EQ(copy.Run(0, host.At(0, c.source), c.target, &progress), c.outcome);
        EXPECT_EQ(prompts.texts(), c.message ? Texts{c.message} : Texts{});
        EXPECT_EQ(copy.converted(), c.converted);
        if (c.outcome == DialogOutcome::StayOpen) {
            EXPECT_EQ(QDir(right.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
            EXPECT_EQ(QDir(left.path()).count(), 4u) << "nothing written beside the source either";
            EXPECT_TRUE(host.calls.empty());
            continue;
        }
        EXPECT_EQ(host.calls, (std::vector<std::string>{"refill 1", "refill 0"}));
        const QByteArray written = ReadFile(R(c.target));
        if (c.converted)
            EXPECT_EQ(written.left(3200).count("PILE 7"), 1)
                << "a SEG-Y file with the recording's text header";
        else
            EXPECT_EQ(written, ReadFile(L(c.source)));
    }
}

TEST_F(LocalDirs, SingleCopyAsksBeforeOverwriting) {
    ASSERT_TRUE(WriteFile(L("A.TXT"), "new"));
    ASSERT_TRUE(WriteFile(R("a.txt"), "old"));
    Refresh();
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        prompts.records.clear();
        prompts.yesNoAnswers = {yes};
        host.calls.clear();
        EXPECT_EQ(SingleCopy(host, prompts).Run(0, host.At(0, "A.TXT"), "a.txt"), DialogOutcome::Close);
        EXPECT_EQ(prompts.texts(), Texts{"Файл " + R("a.txt") + " уже существует! Переписать?"});
        EXPECT_EQ(ReadFile(R("a.txt")), yes ? "new" : "old");
        EXPECT_EQ(host.calls.size(), yes ? 2u : 0u);
    }
}

TEST_F(LocalDirs, UploadNamesMustBeEightDotThree) {
    ASSERT_TRUE(WriteFile(L("x.ddb"), Bytes(100)));
    Refresh();
    host.panels[1].path = "z:\\"; // no instrument needed: the name is refused first
    for (const char* name : {"LONGFILENAME.DDB", "READ.ME.TXT", ".DDB"}) {
        SCOPED_TRACE(name);
        prompts.records.clear();
        EXPECT_EQ(SingleCopy(host, prompts).Run(0, host.At(0, "x.ddb"), name), DialogOutcome::StayOpen);
        EXPECT_EQ(prompts.texts(), Texts{"Неверно задано имя файла!"});
    }
}

// ---- several files ----

class CopyManyView final : public zarno::CopyManyView {
public:
    void showPaths(const QString& source, const QString& target) override {
        paths.emplace_back(source, target);
    }
    void showTotalBlocks(qint64 total) override { totals.push_back(total); }
    std::vector<std::pair<QString, QString>> paths;
    std::vector<qint64> totals;
};

TEST_F(LocalDirs, CopyManyYesForAllAsksOnce) {
    for (const char* name : {"A.DDB", "B.DDB", "C.DDB", "D.TXT"})
        ASSERT_TRUE(WriteFile(L(name), name[2] == 'D' ? Recording() : Bytes(1000)));
    for (const char* name : {"A.sgy", "B.SGY", "D.TXT"})
        ASSERT_TRUE(WriteFile(R(name), "old"));
    Refresh();
    host.Select(0, {"A.DDB", "B.DDB", "C.DDB", "D.TXT"});
    prompts.overwriteAnswers = {OverwriteAnswer::YesToAll};
    CopyManyView view;
    RecordingProgress file, overall;
    CopyMany copy(host, prompts);
    EXPECT_EQ(copy.Run(0, true, &view, &file, &overall), DialogOutcome::Close);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].kind, PromptRecord::Overwrite);
    EXPECT_EQ(prompts.records[0].caption, "Внимание!");
    EXPECT_EQ(prompts.records[0].text, "Файл " + R("A.sgy") + " уже существует! Переписать?");
    for (const char* name : {"A.sgy", "B.sgy", "C.sgy"})
        EXPECT_GT(ReadFile(R(name)).size(), 3600) << name;
    EXPECT_EQ(ReadFile(R("D.TXT")), Bytes(1000)) << "overwritten without asking";
    EXPECT_EQ(overall.range, 4);
    EXPECT_EQ(overall.values, (std::vector<qint64>{0, 1, 2, 3, 4}));
    ASSERT_EQ(view.paths.size(), 4u);
    EXPECT_EQ(view.paths[1], std::make_pair(L("B.DDB"), R("B.sgy")));
    const qint64 ddbBlocks = (Recording().size() + 511) / 512;
    EXPECT_EQ(view.totals, (std::vector<qint64>{ddbBlocks, 2 * ddbBlocks, 3 * ddbBlocks, 3 * ddbBlocks + 2}));
    EXPECT_EQ(copy.totalBlocks(), 3 * ddbBlocks + 2);
    EXPECT_TRUE(host.panels[0].selection.empty()) << "the selection is consumed";
    EXPECT_EQ(host.calls, (std::vector<std::string>{"refill 1", "refill 0"}));
}

TEST_F(LocalDirs, CopyManyNoSkipsAndDirectoryStops) {
    ASSERT_TRUE(WriteFile(L("A.TXT"), "a"));
    ASSERT_TRUE(WriteFile(L("B.TXT"), "b"));
    ASSERT_TRUE(QDir(left.path()).mkdir("SUB"));
    ASSERT_TRUE(WriteFile(R("A.TXT"), "old"));
    Refresh();
    host.Select(0, {"A.TXT", "B.TXT"});
    prompts.overwriteAnswers = {OverwriteAnswer::No};
    EXPECT_EQ(CopyMany(host, prompts).Run(0, false), DialogOutcome::Close);
    EXPECT_EQ(ReadFile(R("A.TXT")), "old");
    EXPECT_EQ(ReadFile(R("B.TXT")), "b");

    prompts.records.clear();
    host.Select(0, {"SUB", "B.TXT"});
    EXPECT_EQ(CopyMany(host, prompts).Run(0, false), DialogOutcome::Close);
    EXPECT_EQ(prompts.texts(), Texts{"Копирование каталогов запрещено!"});
}

// ---- delete ----

TEST_F(LocalDirs, DeleteOneEdgeCases) {
    ASSERT_TRUE(QDir(left.path()).mkpath("FULL/inner"));
    ASSERT_TRUE(QDir(left.path()).mkdir("EMPTY"));
    ASSERT_TRUE(WriteFile(L("F.TXT"), "f"));
    ASSERT_TRUE(QFile::link(L("FULL"), L("LINK"))); // a link to a directory goes as a link
    Refresh();
    const struct {
        const char* name;
        const char* message;
        bool gone;
    } cases[] = {
        {"LINK", nullptr, true},
        {"..", "Файл '..' удалить нельзя!", false},
        {"FULL", "В каталоге, по-видимому, есть файлы и его не удалось удалить!", false},
        {"EMPTY", nullptr, true},
        {"F.TXT", nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.records.clear();
        host.calls.clear();
        const CFileEntry entry = host.At(0, c.name);
        EXPECT_EQ(DeleteOne(host, prompts).Run(0, entry), DialogOutcome::Close);
        EXPECT_EQ(prompts.texts(), c.message ? Texts{c.message} : Texts{});
        EXPECT_EQ(QFileInfo::exists(entry.fullPath), !c.gone);
        EXPECT_EQ(host.calls,
                  (c.gone ? std::vector<std::string>{"refill 1", "refill 0"} : std::vector<std::string>{}));
    }
    EXPECT_TRUE(QDir(L("FULL")).exists("inner"));
    EXPECT_TRUE(QDir(left.path()).exists(".."));
}

TEST_F(LocalDirs, DeleteManyStopsAtTheFirstFailure) {
    for (const char* name : {"1.TXT", "2.TXT", "3.TXT"})
        ASSERT_TRUE(WriteFile(L(name), name));
    Refresh();
    host.Select(0, {"1.TXT", "2.TXT", "3.TXT"});
    ASSERT_TRUE(QFile::remove(L("2.TXT"))); // the panel still lists it
    DeleteMany del(host, prompts);
    EXPECT_EQ(del.Run(0), DialogOutcome::Close);
    EXPECT_EQ(prompts.texts(), Texts{"Ошибка при удалении файла на PC!"});
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Stop);
    EXPECT_FALSE(QFile::exists(L("1.TXT")));
    EXPECT_TRUE(QFile::exists(L("3.TXT")));
    EXPECT_EQ(del.deleted(), 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"refill 1", "refill 0"}))
        << "the panels show what is gone";
}

// ---- make directory ----

TEST_F(LocalDirs, MakeDirectoryRefreshesPanelsOfThatDirectory) {
    for (const bool same : {true, false}) {
        SCOPED_TRACE(same);
        host.ShowComputer(1, same ? left.path() : right.path());
        host.calls.clear();
        const QString name = same ? "NEW1" : "NEW2";
        EXPECT_EQ(MakeDirectoryOperation(host, prompts).Run(0, name), DialogOutcome::Close);
        EXPECT_TRUE(QDir(left.filePath(name)).exists());
        EXPECT_EQ(host.calls, (same ? std::vector<std::string>{"refill 1", "refill 0"}
                                    : std::vector<std::string>{"refill 0"}));
    }
    EXPECT_TRUE(prompts.records.empty());
    for (const char* name : {"../OUT", "a/b", "NEW1", ""}) {
        SCOPED_TRACE(name);
        prompts.records.clear();
        MakeDirectoryOperation(host, prompts).Run(0, name);
        EXPECT_EQ(prompts.texts(), Texts{"Каталог создать не удалось!"});
    }
    EXPECT_FALSE(QFileInfo::exists(left.filePath("../OUT")));
}

// Refused before anything is sent: with a path, or not a name the instrument's disk can hold (its
// first 8 characters are what it would make).
TEST_F(LocalDirs, DeviceDirectoryNamesTheInstrumentCannotHoldAreRefused) {
    host.panels[0].path = "z:\\";
    for (const char* name : {"DATA\\NEW", "Z:NEW", "", "Тест", "my dir", "A*B", "REC.OLD", "LONGDIR.X"}) {
        SCOPED_TRACE(name);
        prompts.records.clear();
        EXPECT_EQ(MakeDirectoryOperation(host, prompts).Run(0, name), DialogOutcome::Close);
        EXPECT_EQ(prompts.texts(), Texts{"Ошибка в имени каталога!"});
    }
}

// ---- conversion ----

class TransformView final : public zarno::TransformView {
public:
    void showFileName(const QString& name) override { names.push_back(name); }
    void showTotalBlocks(qint64 total) override { totals.push_back(total); }
    std::vector<QString> names;
    std::vector<qint64> totals;
};

TEST_F(LocalDirs, TransformSkipsRecordingsTheOtherPanelListsAsSgy) {
    ASSERT_TRUE(WriteFile(L("ONE.DDB"), Recording()));
    ASSERT_TRUE(WriteFile(L("TWO.ddb"), Recording()));
    ASSERT_TRUE(WriteFile(L("X.TXT"), "x"));
    ASSERT_TRUE(WriteFile(R("one.SGY"), "already"));
    Refresh();
    host.Select(0, {"ONE.DDB", "X.TXT", "TWO.ddb"});
    TransformView view;
    RecordingProgress files, blocks;
    TransformOperation transform(host, prompts);
    EXPECT_EQ(transform.Run(0, &view, &files, &blocks), DialogOutcome::Close);
    EXPECT_FALSE(QFile::exists(L("ONE.sgy")));
    EXPECT_GT(ReadFile(L("TWO.sgy")).size(), 3600);
    EXPECT_EQ(files.range, 3);
    EXPECT_EQ(files.values, (std::vector<qint64>{0, 1})) << "the files bar steps once";
    EXPECT_EQ(view.names, (std::vector<QString>{"ONE.DDB", "TWO.ddb"}));
    EXPECT_EQ(view.totals, std::vector<qint64>{(Recording().size() + 511) / 512});
    EXPECT_EQ(host.calls, std::vector<std::string>{"refill 0"});
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(LocalDirs, TransformStopsAtAFailedConversion) {
    ASSERT_TRUE(WriteFile(L("BAD.DDB"), Bytes(100)));
    ASSERT_TRUE(WriteFile(L("GOOD.DDB"), Recording()));
    Refresh();
    host.Select(0, {"BAD.DDB", "GOOD.DDB"});
    EXPECT_EQ(TransformOperation(host, prompts).Run(0), DialogOutcome::Close);
    ASSERT_EQ(prompts.texts().size(), 2u);
    EXPECT_EQ(prompts.texts()[1], "Невозможно скопировать файл!") << "after the conversion's own message";
    EXPECT_FALSE(QFile::exists(L("GOOD.sgy")));
    EXPECT_TRUE(host.calls.empty());
}

// A "REC.sgy" that is a link to the recording itself would take the conversion in its place.
TEST_F(LocalDirs, TransformNeverWritesOverTheRecording) {
    ASSERT_TRUE(WriteFile(L("REC.DDB"), Recording()));
    ASSERT_TRUE(QFile::link(L("REC.DDB"), L("REC.sgy")));
    Refresh();
    host.Select(0, {"REC.DDB"});
    EXPECT_EQ(TransformOperation(host, prompts).Run(0), DialogOutcome::Close);
    EXPECT_EQ(ReadFile(L("REC.DDB")), Recording());
    EXPECT_TRUE(QFileInfo(L("REC.sgy")).isSymLink());
    ASSERT_EQ(prompts.texts().size(), 2u);
    EXPECT_TRUE(prompts.texts()[0].contains(L("REC.sgy"))) << prompts.texts()[0].toStdString();
    EXPECT_EQ(prompts.texts()[1], "Невозможно скопировать файл!");
}

} // namespace
