// zarno-cli report run as a user runs it: pages, names, progress, exit status, and no half-written
// file when something fails.
#include "tests/support/child_process.h"
#include "tests/support/full_disk.h"
#include "tests/support/sgy_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zarno;

namespace {

using CliRun = zarno::testing::ProcessRun;

CliRun Report(const QStringList& args) {
    return zarno::testing::RunProcess(ZARNO_CLI, QStringList{"report"} + args);
}

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override {
        // A blow at the start and its echo: the automatic reflection has something to find.
        std::vector<double> trace(1024);
        for (std::size_t i = 0; i < trace.size(); ++i)
            trace[i] = std::exp(-double(i) / 40.0) * std::sin(double(i) / 6.0) +
                       0.3 * std::exp(-std::pow((double(i) - 600.0) / 8.0, 2.0));
        const auto f = zarno::testing::SgyFixture::OfSamples({trace}, 5, 100);
        for (const char* name : {"PILE12.sgy", "PILE13.sgy"})
            ASSERT_TRUE(f.write(m_site.filePath(name)));
    }
    QString Site(const char* name) const { return m_site.filePath(name); }
    QString Out(const char* name = "") const { return QDir(m_out.path()).filePath(name); }
    QStringList Leftovers() const { return QDir(m_out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

    QTemporaryDir m_site, m_out;
};

// The page is in the report's language, whatever the program speaks: its texts and its decimal mark.
TEST_F(ReportCli, OnePdfPageForEachRecording) {
    const struct {
        const char* language;
        QString fileLine, velocityLine, lengths[2], noTime, reportFileLine, pileLength;
    } cases[] = {
        {"ru", "Имя и путь \"SGY\" файла - \"%1\";", "Скорость продольной волны в свае составляет 4000,00 м/с;",
         {"1 : 10,000", "2 : 20,000"}, "Информация о времени измерений отсутствует", "Имя файла отчёта",
         "Расчётная длина сваи составляет \\d+,\\d\\d м;"},
        {"en", "SGY file name and path - \"%1\";", "Longitudinal wave velocity in the pile: 4000.00 m/s;",
         {"1 : 10.000", "2 : 20.000"}, "No measurement time recorded", "Report file name",
         "Calculated pile length: \\d+\\.\\d\\d m;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        // The program itself speaks the other language: the option alone decides the page's.
        const CliRun r = Report({"--lang", c.language == QString("ru") ? "en" : "ru", "--report-lang", c.language,
                                 "--velocity", "4000", "--comment", "Свая у стены", "--marker", "100", "--marker",
                                 "50", "-o", Out(), Site("PILE12.sgy"), Site("PILE13.sgy")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("[1/2] ") && r.err.contains("[2/2] ")) << r.err.toStdString();
        EXPECT_EQ(Leftovers(), QStringList{"report.pdf"});
        const CliRun info = zarno::testing::RunProcess("pdfinfo", {Out("report.pdf")});
        EXPECT_TRUE(info.out.contains(QRegularExpression("Pages:\\s+2"))) << info.out.toStdString();
        const QString text = zarno::testing::RunProcess("pdftotext", {Out("report.pdf"), "-"}).out.simplified();
        // 50 and 100 samples of 100 µs at 4000 m/s.
        for (const QString& line : {c.fileLine.arg(Site("PILE12.sgy")), c.fileLine.arg(Site("PILE13.sgy")),
                                    c.velocityLine, QString("Свая у стены"), c.lengths[0], c.lengths[1], c.noTime})
            EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(c.reportFileLine));
        EXPECT_TRUE(text.contains(QRegularExpression(c.pileLength))) << text.toStdString();
        QFile::remove(Out("report.pdf"));
    }
}

TEST_F(ReportCli, OneMetafileForEachRecordingNamedAfterIt) {
    const CliRun r = Report({"--emf", "-o", Out("emf"), Site("PILE12.sgy"), Site("PILE13.sgy")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(Out("emf")).entryList(QDir::Files), (QStringList{"PILE12.wmf", "PILE13.wmf"}));
    const CliRun svg =
        zarno::testing::RunProcess("emf2svg-conv", {"-i", Out("emf/PILE13.wmf"), "-o", Out("PILE13.svg")});
    EXPECT_EQ(svg.exitCode, 0) << svg.err.toStdString();
}

TEST_F(ReportCli, AFailedRecordingFailsTheRunButNotTheOthers) {
    for (const bool emf : {false, true}) {
        SCOPED_TRACE(emf ? "metafiles" : "pdf");
        QStringList args{"-o", Out(), Site("MISSING.sgy"), Site("PILE13.sgy")};
        if (emf)
            args.prepend("--emf");
        const CliRun r = Report(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("MISSING.sgy")) << r.err.toStdString();
        EXPECT_EQ(Leftovers(), QStringList{emf ? "PILE13.wmf" : "report.pdf"});
        QDir(Out()).removeRecursively();
        QDir().mkpath(Out());
    }
    // Nothing could be made: no report at all rather than an empty one.
    EXPECT_EQ(Report({"-o", Out(), Site("MISSING.sgy")}).exitCode, 1);
    EXPECT_EQ(Report({"--trace", "2", "-o", Out(), Site("PILE12.sgy")}).exitCode, 1);
    EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(' ').toStdString();
}

TEST_F(ReportCli, WrongCalls) {
    const QStringList wrong[] = {
        {Site("PILE12.sgy")},
        {"-o", Out()},
        {"--trace", "3", "-o", Out(), Site("PILE12.sgy")},
        {"--velocity", "fast", "-o", Out(), Site("PILE12.sgy")},
        // Numbers that give no length: refused as measure refuses them.
        {"--velocity", "nan", "-o", Out(), Site("PILE12.sgy")},
        {"--velocity", "inf", "-o", Out(), Site("PILE12.sgy")},
        {"--velocity", "0", "-o", Out(), Site("PILE12.sgy")},
        {"--velocity", "-3600", "-o", Out(), Site("PILE12.sgy")},
        {"--marker", "1", "--marker", "2", "--marker", "3", "--marker", "4", "--marker", "5", "--marker", "6",
         "-o", Out(), Site("PILE12.sgy")},
        {"--colour", "-o", Out(), Site("PILE12.sgy")},
        {"--report-lang", "de", "-o", Out(), Site("PILE12.sgy")},
    };
    for (const QStringList& args : wrong) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun r = Report(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith("usage: zarno-cli report"));
    }
    EXPECT_TRUE(Leftovers().isEmpty());
}

QByteArray Sha256Of(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
               : QByteArray("<missing>");
}

// A report whose output would be one of its own recordings is refused before anything is written.
TEST_F(ReportCli, NeverWritesOverARecording) {
    ASSERT_TRUE(QFile::copy(Site("PILE12.sgy"), Out("report.pdf")));
    ASSERT_TRUE(QFile::copy(Site("PILE12.sgy"), Out("PILE13.wmf")));
    const QStringList calls[] = {
        {"-o", Out(), Site("PILE12.sgy"), Out("report.pdf")},
        {"--emf", "-o", Out(), Site("PILE12.sgy"), Out("PILE13.wmf")},
    };
    const QByteArray pdf = Sha256Of(Out("report.pdf")), wmf = Sha256Of(Out("PILE13.wmf"));
    for (const QStringList& args : calls) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const CliRun r = Report(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("is the input")) << r.err.toStdString();
        EXPECT_EQ(Sha256Of(Out("report.pdf")), pdf);
        EXPECT_EQ(Sha256Of(Out("PILE13.wmf")), wmf);
        EXPECT_EQ(Leftovers(), (QStringList{"PILE13.wmf", "report.pdf"}));
    }
}

// A disk that fills while the report is written: the good report from before stays, byte for byte,
// and the run fails saying which file could not be written.
TEST_F(ReportCli, AFullDiskKeepsTheOldReport) {
    for (const bool emf : {false, true}) {
        SCOPED_TRACE(emf ? "metafiles" : "pdf");
        zarno::testing::SmallTmpfs disk(8192); // a metafile holds its picture unpacked: about 3 MB
        if (!disk.mounted())
            GTEST_SKIP() << disk.why().toStdString();
        QStringList args{"-o", disk.path(), Site("PILE12.sgy")};
        if (emf)
            args.prepend("--emf");
        ASSERT_EQ(Report(args).exitCode, 0);
        const QString name = emf ? "PILE12.wmf" : "report.pdf";
        const QByteArray before = Sha256Of(disk.filePath(name));
        ASSERT_TRUE(disk.fillLeaving(4096));
        const CliRun r = Report(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(disk.filePath(name) + ": cannot be written")) << r.err.toStdString();
        EXPECT_EQ(Sha256Of(disk.filePath(name)), before);
        EXPECT_EQ(disk.entries(), QStringList{name});
    }
}

} // namespace
