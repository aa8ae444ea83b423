// zarno-cli site on a modelled site whose single blows are too noisy for the toe finder.

#include "app/analysis/pile_model.h"
#include "app/analysis/toe_finder.h"
#include "device/sample_site.h"
#include "tests/site/site_fixture.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>

namespace zarno::site {
namespace {

constexpr double kRate = 25000;
constexpr double kSpeed = 3800;
constexpr int kPiles = 6;
constexpr int kBlows = 8;

double LengthOf(int pile) {
    return 8.0 + 2.0 * pile;
}

using CliRun = testing::ProcessRun;

CliRun RunCli(const QStringList& args) {
    return testing::RunProcess(QStringLiteral(ZARNO_CLI), args);
}

// Six piles of eight blows each, with noise at 22% of the blow; known lengths on the first five.
class NoisySite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        const QDir d(m_dir.path());
        QByteArray table = "pile;file;design_length_m;known_length_m\n";
        for (int p = 0; p < kPiles; ++p) {
            analysis::PileModel model;
            model.lengthM = LengthOf(p);
            model.velocityMps = kSpeed;
            std::vector<std::vector<double>> blows;
            for (int b = 0; b < kBlows; ++b) {
                analysis::BlowRecording r;
                r.sampleRateHz = kRate;
                r.noise = 0.22;
                r.seed = uint64_t(100 * p + b + 1);
                blows.push_back(analysis::SimulateBlow(model, r));
                const auto toe = analysis::FindToe(blows.back(), 1.0 / kRate, kSpeed);
                m_singles += 1;
                m_singlesRight += toe.found && std::abs(toe.lengthM - model.lengthM) < 0.2 ? 1 : 0;
            }
            const QString file = QString("p%1.sgy").arg(p + 1);
            ASSERT_TRUE(testing::WriteBytes(d.filePath(file), testing::SgyOf(blows, 1.0 / kRate)));
            const QByteArray known = p < 5 ? QByteArray::number(LengthOf(p)).replace('.', ',') : QByteArray();
            table += QString("P%1;%2;%3;").arg(p + 1).arg(file).arg(LengthOf(p) + 0.5).toUtf8() + known + '\n';
        }
        ASSERT_TRUE(testing::WriteBytes(d.filePath("site.csv"), table));
    }

    QTemporaryDir m_dir;
    int m_singles = 0;
    int m_singlesRight = 0;
};

TEST_F(NoisySite, ToesComeFromTheAveragesAndTheSpeedFromTheKnownPiles) {
    // The premise: on their own, many of these blows give no toe or a wrong one.
    EXPECT_LE(m_singlesRight, m_singles * 8 / 10);

    QTemporaryDir out;
    const CliRun run = RunCli({"site", "--json", "-o", out.path(), m_dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject velocity = root["velocity"].toObject();
    EXPECT_EQ(velocity["source"].toString(), "calibrated");
    EXPECT_NEAR(velocity["value"].toDouble(), kSpeed, kSpeed * 0.01);
    EXPECT_EQ(velocity["used"].toArray().size(), 5);
    EXPECT_TRUE(velocity["warnings"].toArray().isEmpty());
    const QJsonArray piles = root["piles"].toArray();
    ASSERT_EQ(piles.size(), kPiles);
    for (int p = 0; p < kPiles; ++p) {
        SCOPED_TRACE(p);
        const QJsonObject pile = piles[p].toObject();
        EXPECT_EQ(pile["pile"].toString(), QString("P%1").arg(p + 1));
        EXPECT_EQ(pile["blows"].toInt(), kBlows);
        EXPECT_GE(pile["blows_used"].toInt(), 3);
        ASSERT_TRUE(pile["toe"].isObject()) << run.out.toStdString();
        EXPECT_NEAR(pile["length_m"].toDouble(), LengthOf(p), LengthOf(p) * 0.02);
        EXPECT_NEAR(pile["design_length_m"].toDouble(), LengthOf(p) + 0.5, 1e-9);
        EXPECT_LT(pile["deviation_pct"].toDouble(), 0.0);
        EXPECT_FALSE(pile["class"].isNull());
    }
    for (const char* name : {"site.csv", "site.pdf"})
        EXPECT_GT(QFileInfo(QDir(out.path()).filePath(name)).size(), 0) << name;
}

TEST_F(NoisySite, TheSummaryNeverReplacesTheSitesOwnTable) {
    const QString table = QDir(m_dir.path()).filePath("site.csv");
    const QByteArray before = [&] {
        QFile f(table);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const CliRun run = RunCli({"site", "-o", m_dir.path(), m_dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("would replace the site's own site.csv")) << run.err.toStdString();
    QFile f(table);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    // A summary beside a table named in another case, or in a folder without one, would be read as
    // the site's table the next time: refused as well, and nothing written.
    const QString upper = QDir(m_dir.path()).filePath("SITE.CSV");
    ASSERT_TRUE(QFile::rename(table, upper));
    for (const char* refused : {"would replace the site's own site.csv", "would be read as the site's own site.csv"}) {
        const CliRun again = RunCli({"site", "-o", m_dir.path(), m_dir.path()});
        EXPECT_EQ(again.exitCode, 1);
        EXPECT_TRUE(again.err.contains(refused)) << again.err.toStdString();
        EXPECT_FALSE(QFile::exists(table));
        EXPECT_FALSE(QFile::exists(QDir(m_dir.path()).filePath("site.pdf")));
        QFile::remove(upper);
    }
}

TEST(SiteCommand, TheSampleSiteAsJson) {
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(device::WriteSampleSite(dir.path().toStdString(), &error)) << error;
    const CliRun run = RunCli({"site", "--json", "--velocity", "3700", dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const QJsonObject velocity = root["velocity"].toObject();
    EXPECT_EQ(velocity["source"].toString(), "given");
    EXPECT_EQ(velocity["value"].toDouble(), 3700.0);
    EXPECT_NEAR(velocity["calibrated"].toDouble(), 3800.0, 38.0);
    const QJsonArray piles = root["piles"].toArray();
    ASSERT_EQ(piles.size(), 8);
    const QJsonObject p03 = piles[2].toObject(), p06 = piles[5].toObject();
    EXPECT_EQ(p03["files"].toArray(), (QJsonArray{"P03A.DDB", "P03B.DDB", "P03C.DDB"}));
    EXPECT_EQ(p03["blows_used"].toInt(), 2);
    EXPECT_EQ(p03["rejected"].toArray(), QJsonArray{2}); // blows are numbered from 1
    EXPECT_NEAR(p03["length_m"].toDouble(), 11.0 * 3700 / 3800, 0.1);
    EXPECT_EQ(p06["class"].toString(), "III");
    const QJsonArray anomalies = p06["anomalies"].toArray();
    ASSERT_FALSE(anomalies.isEmpty());
    EXPECT_NEAR(anomalies[0].toObject()["depth_m"].toDouble(), 5.0 * 3700 / 3800, 0.3);
    EXPECT_EQ(anomalies[0].toObject()["kind"].toString(), "reduction");
}

TEST(SiteCommand, WrongUsageAndAMissingFolder) {
    EXPECT_EQ(RunCli({"site"}).exitCode, 2);
    EXPECT_EQ(RunCli({"site", "--velocity", "fast", "."}).exitCode, 2);
    const CliRun missing = RunCli({"site", "/nonexistent/site"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("is not a folder")) << missing.err.toStdString();
}

} // namespace
} // namespace zarno::site
