// zarno-cli convert and headers, run as the program itself.

#include "tests/formats/ddb_fixture.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zarno;
using zarno::testing::MakeDDB;
using zarno::testing::MakeDDBHeader;
using zarno::testing::WriteFile;

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& args) {
    QProcess process;
    process.start(ZARNO_CLI, args);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
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

} // namespace
