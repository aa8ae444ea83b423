// zarno-cli convert and headers, run as the program itself.

#include "tests/formats/ddb_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/full_disk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace zarno;
using zarno::testing::MakeDDB;
using zarno::testing::MakeDDBHeader;
using zarno::testing::WriteFile;

namespace {

using CliRun = zarno::testing::ProcessRun;

// Runs zarno-cli; its standard output goes to stdoutFile when one is given.
CliRun Cli(const QStringList& args, const QString& stdoutFile = {}) {
    return zarno::testing::RunProcess(ZARNO_CLI, args, stdoutFile);
}

class CliFormats : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFile(dir.filePath("a.ddb"), MakeDDB(MakeDDBHeader(2, 3), 6)));
        ASSERT_TRUE(WriteFile(dir.filePath("b.rec.ddb"), MakeDDB(MakeDDBHeader(1, 4), 4)));
        ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    }
    QTemporaryDir dir;
};

TEST_F(CliFormats, ConvertBesideTheSourceOrIntoADirectory) {
    const CliRun beside = Cli({"convert", dir.filePath("a.ddb")});
    EXPECT_EQ(beside.exitCode, 0) << beside.err.toStdString();
    EXPECT_EQ(QFile(dir.filePath("a.sgy")).size(), 3600 + 2 * (240 + 12));
    EXPECT_FALSE(beside.err.contains("[1/1]")); // progress lines only for several files

    const CliRun several = Cli({"convert", "-o", dir.filePath("out"), dir.filePath("a.ddb"),
                                dir.filePath("missing.ddb"), dir.filePath("b.rec.ddb")});
    EXPECT_EQ(several.exitCode, 1);
    EXPECT_TRUE(several.err.contains("[1/3]"));
    EXPECT_TRUE(several.err.contains("[3/3]"));
    EXPECT_TRUE(several.err.contains("Неверно задано имя файла!"));
    EXPECT_EQ(QDir(dir.filePath("out")).entryList(QDir::Files), (QStringList{"a.sgy", "b.rec.sgy"}));

    EXPECT_EQ(Cli({"convert", "-o", dir.filePath("nowhere"), dir.filePath("a.ddb")}).exitCode, 2);
    EXPECT_EQ(Cli({"convert"}).exitCode, 2);
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
}

// Every file under dir with the hash of its contents, links and FIFOs by what they are.
QMap<QString, QByteArray> Contents(const QString& dir) {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray what = info.isSymLink() ? "link to " + QFile::encodeName(info.symLinkTarget()) : "";
        if (!info.isSymLink() && info.isFile()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                what = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        }
        files.insert(QDir(dir).relativeFilePath(path), what);
    }
    return files;
}

// Runs that would lose a recording are refused before anything is written: an output onto an input
// (under its own name or through a link), two inputs converted to one name, and an input that is not
// a file (a FIFO would block the open, or be read a second time after its data was gone).
// Commands that make no application object of their own still speak the language asked for: their
// messages and the header labels they print.
TEST_F(CliFormats, TheLanguageAskedFor) {
    ASSERT_EQ(Cli({"convert", dir.filePath("a.ddb")}).exitCode, 0);
    const struct {
        QStringList args;
        const char* english;
        const char* russian;
    } cases[] = {
        {{"convert", dir.filePath("missing.ddb")}, "Invalid file name!", "Неверно задано имя файла!"},
        {{"headers", dir.filePath("missing.sgy")}, "Invalid file name!", "Неверно задано имя файла!"},
        {{"headers", dir.filePath("a.sgy")}, "Job identification number", "Идентификационный номер работы"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliRun english = Cli(QStringList{"--lang", "en"} + c.args);
        EXPECT_TRUE((english.out + english.err).contains(c.english)) << (english.out + english.err).toStdString();
        EXPECT_FALSE((english.out + english.err).contains(c.russian));
        const CliRun russian = Cli(QStringList{"--lang", "ru"} + c.args);
        EXPECT_TRUE((russian.out + russian.err).contains(c.russian)) << (russian.out + russian.err).toStdString();
    }
}

TEST_F(CliFormats, ConvertRefusesRunsThatWouldLoseAFile) {
    const QByteArray ddb = MakeDDB(MakeDDBHeader(1, 4), 4);
    ASSERT_TRUE(QDir(dir.path()).mkpath("x/a") && QDir(dir.path()).mkpath("x/b"));
    for (const char* name : {"x/rec.sgy", "x/a/P.DDB", "x/b/P.DDB", "x/c.ddb", "x/c.SGY.ddb"})
        ASSERT_TRUE(WriteFile(dir.filePath(name), ddb));
    ASSERT_TRUE(QFile::link(dir.filePath("x/c.ddb"), dir.filePath("x/c.sgy")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("x/pipe.ddb")).constData(), 0600), 0);
    const auto x = [&](const char* name) { return dir.filePath(QString("x/") + name); };
    struct Case {
        const char* what;
        QStringList args;
        QStringList named; // what the refusal names
    };
    const Case cases[] = {
        {"a recording named .sgy", {x("rec.sgy")}, {x("rec.sgy")}},
        {"the output is a link to the input", {x("c.ddb")}, {x("c.sgy"), x("c.ddb")}},
        {"one refused input stops the others", {x("c.SGY.ddb"), x("rec.sgy")}, {x("rec.sgy")}},
        {"two inputs, one output name",
         {"-o", x(""), x("a/P.DDB"), x("b/P.DDB")},
         {x("a/P.DDB"), x("b/P.DDB")}},
        {"a FIFO", {x("a/P.DDB"), x("pipe.ddb")}, {x("pipe.ddb"), "not a regular file"}},
        {"a folder", {x("a")}, {x("a"), "not a regular file"}},
    };
    const auto before = Contents(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QProcess process;
        process.start(ZARNO_CLI, QStringList{"convert"} + c.args);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "convert waits";
            continue;
        }
        EXPECT_EQ(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        for (const QString& name : c.named)
            EXPECT_TRUE(err.contains(name)) << err.toStdString();
        EXPECT_TRUE(err.contains("nothing converted")) << err.toStdString();
        EXPECT_EQ(Contents(dir.path()), before);
    }
}

TEST_F(CliFormats, HeadersAsTextAndJson) {
    ASSERT_EQ(Cli({"convert", dir.filePath("a.ddb")}).exitCode, 0);
    const QString sgy = dir.filePath("a.sgy");

    const CliRun text = Cli({"headers", "--trace", "2", sgy});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.startsWith(
        "Textual header:\nPILE 7  Time of creation (y/m/d h:m:s.ms):2005/ 4/ 4  11: 3: 38. 12\n"));
    EXPECT_TRUE(text.out.contains("Число трасс в магнитограмме"));
    EXPECT_TRUE(text.out.contains("ПОСТОЯННОЕ АППАРАТНОЕ УСИЛЕНИЕ"));

    const CliRun json = Cli({"headers", "--json", "--trace", "2", sgy});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonObject binary = doc["binaryHeader"].toObject();
    const QJsonObject trace = doc["traceHeader"].toObject();
    EXPECT_EQ(binary.size(), 12);
    EXPECT_EQ(trace.size(), 42);
    EXPECT_EQ(binary["12"].toObject()["value"].toInt(), 2);
    EXPECT_EQ(binary["12"].toObject()["label"].toString(), "Число трасс в магнитограмме");
    const std::pair<const char*, int> traceValues[] = {{"0", 2},   {"4", 2},     {"12", 2},  {"88", 1},
                                                       {"114", 3}, {"116", 125}, {"120", 22}};
    for (const auto& [offset, value] : traceValues)
        EXPECT_EQ(trace[offset].toObject()["value"].toInt(), value) << offset;
    EXPECT_EQ(doc["trace"].toInt(), 2);
    EXPECT_TRUE(doc["textualHeader"].toString().startsWith("PILE 7  Time of creation"));
}

TEST_F(CliFormats, HeadersRefusesWhatItCannotShow) {
    ASSERT_EQ(Cli({"convert", dir.filePath("a.ddb")}).exitCode, 0);
    const CliRun past = Cli({"headers", "--trace", "3", dir.filePath("a.sgy")});
    EXPECT_EQ(past.exitCode, 1);
    EXPECT_TRUE(past.out.isEmpty());
    EXPECT_TRUE(past.err.contains("trace 3 is past the end")) << past.err.toStdString();

    // Trace count claims more than the file holds: still reported, not shown.
    QFile file(dir.filePath("a.sgy"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(3600 + 240 + 12 + 100));
    file.close();
    EXPECT_EQ(Cli({"headers", "--trace", "2", dir.filePath("a.sgy")}).exitCode, 1);

    ASSERT_TRUE(WriteFile(dir.filePath("bad.sgy"), QByteArray(3600, '\0')));
    const CliRun bad = Cli({"headers", dir.filePath("bad.sgy")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("Ошибка в формате SGY файла!"));
    EXPECT_EQ(Cli({"headers", dir.filePath("none.sgy")}).exitCode, 1);
    EXPECT_EQ(Cli({"headers", "--trace", "0", dir.filePath("a.sgy")}).exitCode, 2);
}

// A recording of 1024 samples, converted, for the commands that read a SEG-Y file.
QString LongRecording(const QTemporaryDir& dir) {
    const QString ddb = dir.filePath("long.ddb");
    EXPECT_TRUE(WriteFile(ddb, MakeDDB(MakeDDBHeader(1, 1024), 1024)));
    EXPECT_EQ(Cli({"convert", ddb}).exitCode, 0);
    return dir.filePath("long.sgy");
}

// A command whose output cannot be written has failed, and says so.
TEST_F(CliFormats, OutputThatCannotBeWrittenFails) {
    const QString sgy = LongRecording(dir);
    const QStringList commands[] = {{"headers", sgy},           {"headers", "--json", sgy}, {"measure", sgy},
                                    {"measure", "--json", sgy}, {"spectrum", sgy},          {"--help"}};
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_EQ(Cli(args).exitCode, 0);
        const CliRun full = Cli(args, "/dev/full");
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_TRUE(full.err.contains("cannot write the standard output")) << full.err.toStdString();
    }
}

// The spectrum file goes to a disk that fills while its last buffered part is written.
TEST_F(CliFormats, SpectrumFileOnAFullDiskKeepsTheOldOne) {
    zarno::testing::SmallTmpfs disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    const QString sgy = LongRecording(dir);
    const QString target = disk.filePath("Spectr.txt");
    ASSERT_TRUE(WriteFile(target, "old"));
    ASSERT_TRUE(disk.fillLeaving(4096));
    const CliRun run = Cli({"spectrum", "-o", target, sgy});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Невозможно записать файл")) << run.err.toStdString();
    EXPECT_EQ(zarno::testing::ReadFile(target), "old");
    EXPECT_EQ(disk.entries(), QStringList{"Spectr.txt"});
}

// Recordings whose header does not describe what the file holds are refused with the format message
// and what exactly is wrong; no SEG-Y file is made.
TEST_F(CliFormats, RefusedRecordingsSayWhyAndMakeNoFile) {
    struct Case {
        const char* name;
        quint16 channels;
        qint32 ns;
        quint16 format;
        qint64 words;
        const char* detail;
    } const cases[] = {
        {"huge", 65535, 65535, 2, 0,
         "65535 channels x 65535 samples (17179344900 bytes of data), the file holds 0"},
        {"short", 2, 100, 2, 150, "2 channels x 100 samples (800 bytes of data), the file holds 600"},
        {"format3", 1, 10, 3, 10, "sample format 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDBHeader header = MakeDDBHeader(c.channels, c.ns);
        header.formatCode = c.format;
        const QString ddb = dir.filePath(QString(c.name) + ".ddb");
        ASSERT_TRUE(WriteFile(ddb, MakeDDB(header, c.words)));
        const CliRun run = Cli({"convert", ddb});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains("Ошибка в формате DDB файла!"));
        EXPECT_TRUE(run.err.contains(c.detail)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QString(c.name) + ".sgy")));
    }
}

TEST_F(CliFormats, HeadersShowControlCharactersEscaped) {
    DDBHeader header = MakeDDBHeader(1, 4);
    std::memcpy(header.ident, "A\x1b[2JB\rC\x07\x7f", 10);
    ASSERT_TRUE(WriteFile(dir.filePath("ctl.ddb"), MakeDDB(header, 4)));
    ASSERT_EQ(Cli({"convert", dir.filePath("ctl.ddb")}).exitCode, 0);
    const CliRun run = Cli({"headers", dir.filePath("ctl.sgy")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("Textual header:\nA\\x1b[2JB\\x0dC\\x07\\x7f  Time of creation"))
        << run.out.toStdString();
    for (const QChar c : run.out)
        EXPECT_TRUE(c == '\n' || c.unicode() >= 0x20) << "control character " << int(c.unicode());
}

// What gives no length is refused: a velocity that is no finite number, a file without a sample
// interval. A FIFO where "VARY.ini" belongs does not hold the measurement up.
TEST_F(CliFormats, MeasureRefusesWhatGivesNoLength) {
    const QString sgy = LongRecording(dir);
    for (const char* velocity : {"nan", "inf", "-inf", "1e999"}) {
        SCOPED_TRACE(velocity);
        const CliRun run = Cli({"measure", "--velocity", velocity, sgy});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.startsWith("usage: zarno-cli measure"));
    }
    QFile file(sgy);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(3200 + 16));
    ASSERT_EQ(file.write(QByteArray(4, '\0')), 4); // sample interval and field sample interval
    ASSERT_TRUE(file.seek(3600 + 116));
    ASSERT_EQ(file.write(QByteArray(2, '\0')), 2); // the trace's
    file.close();
    const CliRun zero = Cli({"measure", sgy});
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_TRUE(
        zero.err.contains("Ошибка в формате SGY файла!\nШаг дискретизации не указан ни в одном заголовке"))
        << zero.err.toStdString();
    EXPECT_TRUE(zero.out.isEmpty());
}

// A recording cut short, or given as a pipe, is measured, drawn and reported by no command: each says
// why, on the line after the format message, and writes nothing.
TEST_F(CliFormats, CutOrPipedRecordingsAreRefusedWithTheReason) {
    const QString sgy = LongRecording(dir);
    QFile whole(sgy);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(WriteFile(dir.filePath("cut.sgy"), whole.read(4000)));
    whole.close();
    const QString out = dir.filePath("out");
    struct Input {
        QString shellWord;
        const char* reason;
    };
    const Input inputs[] = {
        {dir.filePath("cut.sgy"), "Файл короче, чем сказано в его заголовках: 4000 байт вместо 7936"},
        {"<(cat " + sgy + ")", "Это не обычный файл"},
    };
    const QString commands[] = {"measure", "measure --json", "render -o " + out + "/r.png",
                                "report -o " + out};
    for (const Input& input : inputs) {
        for (const QString& command : commands) {
            SCOPED_TRACE((command + " " + input.shellWord).toStdString());
            QProcess process;
            process.start("bash", {"-c", QString("'%1' %2 %3").arg(ZARNO_CLI, command, input.shellWord)});
            ASSERT_TRUE(process.waitForFinished(120000));
            const QString err = QString::fromUtf8(process.readAllStandardError());
            EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
            EXPECT_TRUE(err.contains("Ошибка в формате SGY файла!\n" + QString::fromUtf8(input.reason)))
                << err.toStdString();
            EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
            EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
        }
    }
}

// The commands that read a SEG-Y file refuse a FIFO (here one nobody writes to, whose open would
// wait for ever) or a folder at once, and write nothing over their own input.
TEST_F(CliFormats, SgyCommandsRefuseNonFilesAndOutputsOntoTheirInput) {
    const QString sgy = LongRecording(dir);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.sgy")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(sgy, dir.filePath("link.png")));
    const QString pipe = dir.filePath("pipe.sgy");
    const QString folder = dir.filePath("out");
    struct Case {
        QStringList args;
        const char* says;
    };
    const QString notAFile = "Это не обычный файл";
    const Case cases[] = {
        {{"measure", pipe}, "Это не обычный файл"},
        {{"headers", pipe}, "Это не обычный файл"},
        {{"spectrum", pipe}, "Это не обычный файл"},
        {{"render", "-o", dir.filePath("p.png"), pipe}, "Это не обычный файл"},
        {{"report", "-o", dir.filePath("rep"), sgy, pipe}, "Это не обычный файл"},
        {{"measure", folder}, "Это не обычный файл"},
        {{"spectrum", "-o", sgy, sgy}, "is the input"},
        {{"render", "-o", dir.filePath("link.png"), sgy}, "is the input"},
        {{"render", "-o", sgy, dir.filePath("link.png")}, "is the input"},
    };
    const auto before = Contents(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess process;
        process.start(ZARNO_CLI, c.args);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "the command waits";
            continue;
        }
        EXPECT_EQ(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(err.contains(c.says)) << err.toStdString();
        if (c.says == notAFile) {
            EXPECT_TRUE(err.contains("Ошибка в формате SGY файла!")) << err.toStdString();
        }
        EXPECT_EQ(Contents(dir.path()), before);
    }
}

TEST_F(CliFormats, MeasureDoesNotWaitOnAFifo) {
    const QString sgy = LongRecording(dir);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("VARY.ini")).constData(), 0600), 0);
    QProcess process;
    process.start(ZARNO_CLI, {"measure", sgy});
    const bool finished = process.waitForFinished(30000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    ASSERT_TRUE(finished) << "measure waits on the FIFO";
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace
