// A site folder from its files to its outputs: the table, the recordings (DDB read without a file
// written beside it), the speed, the lengths, and the CSV and PDF read back by outside readers.

#include "app/report/site_pages.h"
#include "app/site/site_outputs.h"
#include "app/site/site_survey.h"
#include "tests/site/site_fixture.h"
#include "tests/support/child_process.h"
#include "tests/site/stand_in_finders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <tuple>

namespace zarno::site {
namespace {

using testing::PileTrace;
using testing::RunTool;

constexpr double kInterval = 20e-6;

std::vector<double> Blow(double toeMs, unsigned seed) {
    PileTrace p;
    p.toeMs = toeMs;
    p.noise = 0.01;
    p.seed = seed;
    return p.build();
}

// Piles A (two files, known length 8 m, toe 4 ms), B (a DDB recording of three blows, toe 5 ms), C
// (toe 3 ms); a row with a bad length, a row naming no file, and a recording the table leaves out.
class SiteFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        const QDir d(m_dir.path());
        ASSERT_TRUE(testing::WriteBytes(d.filePath("a1.sgy"), testing::SgyOf({Blow(4, 1)}, kInterval)));
        ASSERT_TRUE(testing::WriteBytes(d.filePath("a2.sgy"), testing::SgyOf({Blow(4, 2)}, kInterval)));
        ASSERT_TRUE(testing::WriteBytes(d.filePath("b.ddb"), testing::DdbOf({Blow(5, 3), Blow(5, 4), Blow(5, 5)}, 50000)));
        ASSERT_TRUE(testing::WriteBytes(d.filePath("c.sgy"), testing::SgyOf({Blow(3, 6)}, kInterval)));
        ASSERT_TRUE(testing::WriteBytes(d.filePath("extra.sgy"), testing::SgyOf({Blow(3, 7)}, kInterval)));
        ASSERT_TRUE(testing::WriteBytes(d.filePath("site.csv"), "pile;file;design_length_m;known_length_m;note\n"
                                                               "A;a1.sgy;8;8;\n"
                                                               "A;a2.sgy;8;;\n"
                                                               "B;b.ddb;10,0;;\"column; east\"\n"
                                                               "C;c.sgy;7;;\n"
                                                               "D;c.sgy;abc;;\n"
                                                               "E;missing.sgy;7;;\n"));
    }

    SiteResult Survey(const SiteOptions& options = {}) {
        return SurveySite(m_dir.path(), options, testing::LargestMark, testing::LargestLater);
    }

    QStringList Listing() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir m_dir;
};

TEST_F(SiteFolder, PilesFromTheTableWithTheCalibratedSpeed) {
    const QStringList before = Listing();
    int calls = 0;
    const SiteResult s = SurveySite(m_dir.path(), {}, testing::LargestMark, testing::LargestLater,
                                    [&](int done, int total) {
                                        EXPECT_EQ(++calls, done);
                                        EXPECT_EQ(total, 3);
                                    });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(Listing(), before); // the DDB recording was converted in memory only
    ASSERT_TRUE(s.readable);
    ASSERT_EQ(s.messages.size(), 3) << s.messages.join('\n').toStdString();
    EXPECT_TRUE(s.messages[0].startsWith("site.csv line 6: ")) << s.messages[0].toStdString();
    EXPECT_TRUE(s.messages[1].startsWith("site.csv line 7: ")) << s.messages[1].toStdString();
    EXPECT_TRUE(s.messages[2].contains("extra.sgy")) << s.messages[2].toStdString();

    ASSERT_EQ(s.velocity.source, VelocitySource::Calibrated);
    EXPECT_NEAR(*s.velocity.value, 4000.0, 4000.0 * 0.01); // 2 × 8 m / 4 ms
    EXPECT_EQ(s.velocity.calibration.used, std::vector<QString>{"A"});
    EXPECT_EQ(s.velocity.calibration.warnings.size(), 1); // one pile is too few

    ASSERT_EQ(s.piles.size(), 3u);
    struct Expected {
        const char* pile;
        int blows;
        double lengthM;
        double deviationPct;
    };
    const Expected expected[] = {{"A", 2, 8.0, 0.0}, {"B", 3, 10.0, 0.0}, {"C", 1, 6.0, -14.29}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].pile);
        const PileResult& p = s.piles[i];
        EXPECT_EQ(p.pile, expected[i].pile);
        EXPECT_EQ(p.blows, expected[i].blows);
        EXPECT_EQ(int(p.stack.used.size()), expected[i].blows);
        ASSERT_TRUE(p.lengthM);
        EXPECT_NEAR(*p.lengthM, expected[i].lengthM, 0.1);
        ASSERT_TRUE(p.deviationPct);
        EXPECT_NEAR(*p.deviationPct, expected[i].deviationPct, 1.0);
        EXPECT_EQ(p.proposedClass, PileClass::I);
    }
    EXPECT_EQ(s.piles[0].files, QStringList({"a1.sgy", "a2.sgy"}));
    EXPECT_EQ(s.piles[1].note, "column; east");

    // A given speed is used, and the calibrated one is still there to be shown beside it.
    SiteOptions given;
    given.velocity = 3600.0;
    const SiteResult g = Survey(given);
    EXPECT_EQ(g.velocity.source, VelocitySource::Given);
    EXPECT_NEAR(*g.piles[1].lengthM, 9.0, 0.1);
    EXPECT_NEAR(*g.velocity.calibration.value, 4000.0, 40.0);
    EXPECT_TRUE(VelocityText(g.velocity).startsWith("wave speed 3600 m/s (given; calibrated "))
        << VelocityText(g.velocity).toStdString();
}

// A folder named relative to the current one (as typed on a command line) reads the same recordings.
TEST_F(SiteFolder, AFolderGivenRelativeToTheCurrentOneReadsTheSame) {
    const SiteResult absolute = SurveySite(m_dir.path(), {}, testing::LargestMark, testing::LargestLater);
    const QString before = QDir::currentPath();
    const QFileInfo folder(m_dir.path());
    ASSERT_TRUE(QDir::setCurrent(folder.absolutePath())); // the folder's parent
    const SiteResult relative = SurveySite(folder.fileName(), {}, testing::LargestMark, testing::LargestLater);
    QDir::setCurrent(before);
    ASSERT_EQ(relative.piles.size(), absolute.piles.size());
    for (std::size_t i = 0; i < absolute.piles.size(); ++i) {
        SCOPED_TRACE(absolute.piles[i].pile.toStdString());
        EXPECT_EQ(relative.piles[i].blows, absolute.piles[i].blows);
        EXPECT_TRUE(relative.piles[i].problems.isEmpty()) << relative.piles[i].problems.join('\n').toStdString();
    }
}

TEST_F(SiteFolder, WithoutATableEachRecordingIsAPileAndUnreadableOnesAreNamed) {
    const QDir d(m_dir.path());
    ASSERT_TRUE(QFile::remove(d.filePath("site.csv")));
    ASSERT_TRUE(testing::WriteBytes(d.filePath("cut.sgy"), testing::SgyOf({Blow(4, 9)}, kInterval).left(3700)));
    const SiteResult s = Survey();
    std::vector<QString> piles;
    for (const PileResult& p : s.piles)
        piles.push_back(p.pile);
    EXPECT_EQ(piles, (std::vector<QString>{"a1", "a2", "b", "c", "cut", "extra"}));
    const PileResult& cut = s.piles[4];
    EXPECT_EQ(cut.blows, 0);
    EXPECT_FALSE(cut.consistent());
    ASSERT_EQ(cut.problems.size(), 1);
    EXPECT_TRUE(cut.problems[0].contains("Файл короче, чем сказано в его заголовках")) << cut.problems[0].toStdString();
    // No known length and no given speed: times, but no lengths made up from a default speed.
    EXPECT_EQ(s.velocity.source, VelocitySource::None);
    EXPECT_TRUE(s.piles[0].stack.toe.found);
    EXPECT_FALSE(s.piles[0].lengthM);
}

// A speed set by hand on a surveyed site gives what a survey at that speed gives, and back.
TEST_F(SiteFolder, ASpeedSetByHandMatchesASurveyAtThatSpeed) {
    const SiteOptions options;
    const SiteResult calibrated = Survey();
    SiteOptions given;
    given.velocity = 3600.0;
    const SiteResult fresh = Survey(given);
    const SiteResult moved = ApplySiteVelocity(calibrated, 3600.0, options);
    const SiteResult back = ApplySiteVelocity(moved, std::nullopt, options);
    for (const auto& [what, got, want] : {std::tuple{"by hand", &moved, &fresh}, std::tuple{"back", &back, &calibrated}}) {
        SCOPED_TRACE(what);
        EXPECT_EQ(got->velocity.value, want->velocity.value);
        EXPECT_EQ(got->velocity.source, want->velocity.source);
        EXPECT_EQ(got->velocity.calibration.value, want->velocity.calibration.value);
        EXPECT_EQ(SiteJson(*got), SiteJson(*want));
    }
    EXPECT_EQ(moved.velocity.source, VelocitySource::Given);
    EXPECT_NEAR(*moved.piles[1].lengthM, 9.0, 0.1);
    // Piles and their stacks are as they were: only what the speed decides changed.
    ASSERT_EQ(moved.piles.size(), calibrated.piles.size());
    EXPECT_EQ(moved.piles[2].stack.average, calibrated.piles[2].stack.average);
}

// The engineer's decisions are what the outputs report; what was measured and proposed stays beside.
TEST_F(SiteFolder, TheOutputsReportTheDecisions) {
    SiteResult s = Survey();
    s.piles[2].decidedLengthM = 6.5;
    s.piles[2].decidedClass = PileClass::III;
    const PileResult& c = s.piles[2];

    const QJsonObject json = QJsonDocument::fromJson(SiteJson(s)).object()["piles"].toArray()[2].toObject();
    EXPECT_EQ(json["length_m"].toDouble(), 6.5);
    EXPECT_EQ(json["decided_length_m"].toDouble(), 6.5);
    EXPECT_EQ(json["measured_length_m"].toDouble(), *c.lengthM);
    EXPECT_NEAR(json["deviation_pct"].toDouble(), (6.5 - 7.0) / 7.0 * 100.0, 1e-9);
    EXPECT_EQ(json["class"].toString(), "III");
    EXPECT_EQ(json["decided_class"].toString(), "III");
    EXPECT_EQ(json["proposed_class"].toString(), "I");
    const QJsonObject a = QJsonDocument::fromJson(SiteJson(s)).object()["piles"].toArray()[0].toObject();
    EXPECT_TRUE(a["decided_length_m"].isNull());
    EXPECT_TRUE(a["decided_class"].isNull());
    EXPECT_EQ(a["length_m"].toDouble(), a["measured_length_m"].toDouble());

    const QList<QByteArray> csv = SiteCsv(s).split('\n');
    EXPECT_TRUE(csv[0].trimmed().endsWith(";note;decided_length_m;decided_class")) << csv[0].toStdString();
    EXPECT_TRUE(csv[3].contains(";6,50;7,00;-7,1;")) << csv[3].toStdString();
    EXPECT_TRUE(csv[3].trimmed().endsWith(";I;;6,50;III")) << csv[3].toStdString();
    EXPECT_TRUE(csv[1].trimmed().endsWith(";;")) << csv[1].toStdString();

    const QString text = QString::fromUtf8(SiteTableText(s));
    EXPECT_TRUE(text.contains(QRegularExpression("\\nC +1/1 +\\d\\.\\d+ +6\\.50d +7\\.00 +-7\\.1 +IIId "))) << text.toStdString();
    EXPECT_TRUE(text.contains("d the engineer's decision")) << text.toStdString();
}

TEST_F(SiteFolder, TheCsvReadsBackInPythonsCsvModule) {
    const QByteArray csv = SiteCsv(Survey());
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QString path = QDir(m_dir.path()).filePath("out.csv");
    ASSERT_TRUE(testing::WriteBytes(path, csv));
    const QString json = RunTool("python3", {"-c",
                                             "import csv, json, sys\n"
                                             "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                             "    print(json.dumps(list(csv.DictReader(f, delimiter=';'))))\n",
                                             path});
    const QJsonArray rows = QJsonDocument::fromJson(json.toUtf8()).array();
    ASSERT_EQ(rows.size(), 3) << json.toStdString();
    const QJsonObject b = rows[1].toObject();
    EXPECT_EQ(b["pile"].toString(), "B");
    EXPECT_EQ(b["blows"].toString(), "3");
    EXPECT_TRUE(b["length_m"].toString().contains(QRegularExpression("^(9,9\\d|10,0\\d)$"))) << b["length_m"].toString().toStdString();
    EXPECT_EQ(b["design_length_m"].toString(), "10,00");
    EXPECT_EQ(b["proposed_class"].toString(), "I");
    EXPECT_EQ(b["note"].toString(), "column; east");
    EXPECT_TRUE(rows[2].toObject()["deviation_pct"].toString().contains(QRegularExpression("^-1[45],\\d$"))) << json.toStdString();
}

TEST_F(SiteFolder, ThePdfReadsBackInPoppler) {
    static int argc = 1;
    static char name[] = "site-test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString path = QDir(m_dir.path()).filePath("site.pdf");
    SiteResult s = Survey();
    s.piles[2].decidedLengthM = 6.5;
    ASSERT_TRUE(WriteSitePdf(s, "north yard", path));
    const QString info = RunTool("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2"))) << info.toStdString();
    const QString text = RunTool("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(text.contains(QRegularExpression(QString::fromUtf8("Скорость волны (\\d+) м/с \\(калибровка \\1 м/с по сваям: 1\\)"))))
        << text.toStdString();
    for (const char* expected : {"Площадка north yard", "Внимание: the wave speed rests on 1 pile(s)",
                                 "site.csv line 6", "Усреднённые трассы, совмещённые по удару", "подошва 8.00 м",
                                 "класс I (предложен)", "решает инженер", "6.50 (р)", "L = 6.50 м (решение)",
                                 "решение 6.50 м"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

} // namespace
} // namespace zarno::site
