#include "app/viewer/pict_load.h"
#include "app/viewer/pict_processing.h"
#include "app/viewer/site_pile_trace.h"

#include "app/dsp/autocorrelation.h"
#include "app/dsp/filter.h"
#include "app/dsp/gain.h"
#include "app/formats/sgy_headers.h"
#include "outside/tovelutils/tovel_utils.h"
#include "tests/support/full_disk.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/sgy_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zarno;
using zarno::testing::RecordingPrompts;
using zarno::testing::SgyFixture;

namespace {

// A trace with a one-period pulse at 20 and its reflection `lag` samples later.
std::vector<double> PileTrace(std::size_t ns, std::size_t lag, double amplitude) {
    std::vector<double> x(ns, 0.0);
    for (std::size_t i = 0; i < 12; ++i) {
        const double s = std::sin(std::numbers::pi * double(i) / 6.0);
        x[20 + i] += amplitude * s;
        if (20 + lag + i < ns)
            x[20 + lag + i] += 0.4 * amplitude * s;
    }
    return x;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PictLoad : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.path() + "/" + name; }
    bool exists(const char* name) const { return QFile::exists(path(name)); }

    QTemporaryDir m_dir;
    ViewerDisplaySettings m_main;
    CPictDoc m_doc{m_main};
    RecordingPrompts m_prompts;
    dsp::FilterSettings m_filter{};
};

TEST_F(PictLoad, TwoTraceFileIsLoadedAndMeasured) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(512, 150, 1000.0), PileTrace(512, 200, 500.0)}).write(path("pile.sgy")));

    ASSERT_TRUE(LoadPictDoc(m_doc, path("pile.sgy"), m_prompts, m_filter));
    EXPECT_TRUE(m_prompts.records.empty());
    EXPECT_TRUE(m_doc.Data().m_bLoaded);
    EXPECT_EQ(m_doc.Data().m_strPath, path("pile.sgy"));
    EXPECT_EQ(m_doc.Data().m_nTraceCount, 2);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 2);
    EXPECT_EQ(m_doc.Data().m_nEnabledCount, 2);
    EXPECT_EQ(m_doc.Data().m_nSampleIntervalUs, 100);
    EXPECT_EQ(m_doc.Data().m_dUnitsPerSample, 0.1);
    EXPECT_EQ(m_doc.Data().m_nSamples, 512);
    EXPECT_EQ(m_doc.Data().m_nFormatCode, 5);
    EXPECT_EQ(m_doc.Data().m_dVelocity, 3600.0);
    EXPECT_EQ(m_doc.Data().m_nWindowStart, 0);
    EXPECT_EQ(m_doc.Data().m_nWindowEnd, 511);
    EXPECT_EQ(m_doc.Data().m_textHeader[0], ' ');

    EXPECT_EQ(m_doc.Data().m_nImpactIndex[0], 23);
    EXPECT_EQ(m_doc.Data().m_nEchoIndex[0], 150);
    EXPECT_EQ(m_doc.Data().m_nEchoIndex[1], 200);
    EXPECT_DOUBLE_EQ(m_doc.Data().m_dLength[0], 150 * 0.0001 * 3600 / 2);
    EXPECT_DOUBLE_EQ(m_doc.Data().m_dLength[1], 36.0);

    // The settings files are created beside the file; the curve is the gain utility's of (1, 10).
    EXPECT_TRUE(exists("VARY.ini"));
    EXPECT_TRUE(exists("FILTER.ini"));
    EXPECT_EQ(m_doc.Data().m_nVaruFirst, 1);
    EXPECT_EQ(m_doc.Data().m_nVaruSecond, 10);
    EXPECT_EQ(m_doc.Data().m_nVaruPoints, 512);
    std::vector<double> curve(512);
    TovelUtils1(1, 10, 512, 0, 0, curve.data());
    EXPECT_EQ(m_doc.Data().m_pVaru, curve);
    EXPECT_EQ(m_filter.halfLength, 128);

    std::vector<double> filtered(512), gained(512), gainedFiltered(512), r(512);
    dsp::FilterTrace(m_filter, m_doc.Data().m_pRaw[1], filtered, m_prompts);
    dsp::ApplyCurve(curve, m_doc.Data().m_pRaw[1], gained);
    dsp::ApplyCurve(curve, filtered, gainedFiltered);
    dsp::Autocorrelate(m_doc.Data().m_pRaw[1], r);
    EXPECT_EQ(m_doc.Data().m_pFiltered[1], filtered);
    EXPECT_EQ(m_doc.Data().m_pGained[1], gained);
    EXPECT_EQ(m_doc.Data().m_pGainedFiltered[1], gainedFiltered);
    EXPECT_EQ(m_doc.Data().m_pAutoCorr[1], r);
    EXPECT_EQ(m_doc.Data().m_pRaw[0][23], 1000.0);
}

TEST_F(PictLoad, FirstOpeningCreatesEmptySettingsThatClosingFills) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(64, 30, 1.0)}).write(path("new.sgy")));
    ASSERT_TRUE(LoadPictDoc(m_doc, path("new.sgy"), m_prompts, m_filter));
    EXPECT_EQ(QFileInfo(path("VARY.ini")).size(), 0);
    EXPECT_EQ(QFileInfo(path("FILTER.ini")).size(), 0);

    EXPECT_TRUE(SavePictSettings(m_doc, m_filter, m_prompts));
    const dsp::GainSetting saved = dsp::ParseVaryBytes(ReadAll(path("VARY.ini")), 64);
    EXPECT_EQ(QFileInfo(path("VARY.ini")).size(), 8 + 64 * 8);
    EXPECT_EQ(saved.first, 1);
    EXPECT_EQ(saved.points, 64);
    EXPECT_EQ(saved.curve, m_doc.Data().m_pVaru);
    EXPECT_EQ(ReadAll(path("FILTER.ini")), dsp::FilterBytes(m_filter));
}

// Closing the viewer on a disk that cannot take the settings says so once and keeps the old files.
TEST_F(PictLoad, SettingsThatCannotBeWrittenAreToldAndKeepTheOldFiles) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(4096, 30, 1.0)}).write(path("big.sgy")));
    ASSERT_TRUE(LoadPictDoc(m_doc, path("big.sgy"), m_prompts, m_filter));
    m_prompts.records.clear();
    {
        const zarno::testing::FileSizeLimit limit(1024); // "VARY.ini" needs 32 KiB, "FILTER.ini" 2452 bytes
        EXPECT_FALSE(SavePictSettings(m_doc, m_filter, m_prompts));
    }
    EXPECT_EQ(m_prompts.texts(), std::vector<QString>{"Ошибка при записи файла на PC!"});
    EXPECT_EQ(QFileInfo(path("VARY.ini")).size(), 0);
    EXPECT_EQ(QFileInfo(path("FILTER.ini")).size(), 0);
}

// A file without a sample interval gives no time and no length: it is refused, not measured as 0.
TEST_F(PictLoad, ZeroSampleIntervalIsRefused) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(256, 100, 1.0)}, 5, 0).write(path("zero.sgy")));
    EXPECT_FALSE(LoadPictDoc(m_doc, path("zero.sgy"), m_prompts, m_filter));
    EXPECT_EQ(m_prompts.texts(), std::vector<QString>{"Ошибка в формате SGY файла!\n"
                                                      "Шаг дискретизации не указан ни в одном заголовке"});
    EXPECT_FALSE(m_doc.Data().m_bLoaded);
}

TEST_F(PictLoad, LittleEndianIntegersAndZeroVelocity) {
    SgyFixture f = SgyFixture::OfSamples({PileTrace(256, 100, 20000.0)}, kSGYFormatInt32, 50);
    f.littleEndian = true;
    ASSERT_TRUE(f.write(path("int.sgy")));
    PictLoadOptions options;
    options.velocity = 0.0;
    ASSERT_TRUE(LoadPictDoc(m_doc, path("int.sgy"), m_prompts, m_filter, options));
    EXPECT_EQ(m_doc.Data().m_nTraceCount, 1);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 1);
    EXPECT_EQ(m_doc.Data().m_pRaw[0][23], 20000.0);
    EXPECT_EQ(m_doc.Data().m_nEchoIndex[0], 100);
    EXPECT_EQ(m_doc.Data().m_dLength[0], 0.0);
}

TEST_F(PictLoad, FileThatCannotBeOpened) {
    EXPECT_FALSE(LoadPictDoc(m_doc, path("missing.sgy"), m_prompts, m_filter));
    ASSERT_EQ(m_prompts.records.size(), 1u);
    EXPECT_EQ(m_prompts.records[0].text, QString("Неверно задано имя файла!"));
    EXPECT_EQ(m_prompts.records[0].caption, QString("Error!"));
    EXPECT_FALSE(m_doc.Data().m_bLoaded);
    EXPECT_FALSE(exists("VARY.ini"));
}

TEST_F(PictLoad, UnrecognisedHeaderLoadsNothing) {
    const quint16 fixedPointWithGain = 4; // which nobody writes any more
    ASSERT_TRUE(SgyFixture::OfSamples({std::vector<double>(64, 1.0)}, fixedPointWithGain).write(path("fixed.sgy")));
    EXPECT_FALSE(LoadPictDoc(m_doc, path("fixed.sgy"), m_prompts, m_filter));
    EXPECT_EQ(m_prompts.texts(),
              std::vector<QString>{"Ошибка в формате SGY файла!\nКод формата данных 4 не поддерживается"});
    EXPECT_FALSE(m_doc.Data().m_bLoaded);
    EXPECT_TRUE(m_doc.Data().m_pRaw[0].empty());
    EXPECT_FALSE(exists("VARY.ini"));
    EXPECT_FALSE(exists("FILTER.ini"));
}

TEST_F(PictLoad, MoreThanTwoTracesShowsTheFirstTwoAndSaysSo) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(128, 60, 1.0), PileTrace(128, 70, 2.0), PileTrace(128, 80, 3.0)}).write(path("three.sgy")));
    ASSERT_TRUE(LoadPictDoc(m_doc, path("three.sgy"), m_prompts, m_filter));
    EXPECT_EQ(m_prompts.texts(), std::vector<QString>{TooManyTracesText(3)});
    EXPECT_EQ(m_prompts.records[0].icon, PromptIcon::Warning);
    EXPECT_EQ(m_doc.Data().m_nFileTraceCount, 3);
    EXPECT_EQ(m_doc.Data().m_nTraceCount, 2);
    EXPECT_EQ(m_doc.Data().m_nGraphsOnScreen, 2);
    EXPECT_EQ(m_doc.Data().m_pRaw[1][23], 2.0);
    EXPECT_EQ(m_doc.Data().m_nEchoIndex[1], 70);
}

TEST_F(PictLoad, GraphsOnScreenLimitTheDerivedTraces) {
    m_main.m_nMaxGraphs = 1;
    CPictDoc doc(m_main);
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(128, 60, 1.0), PileTrace(128, 70, 2.0)}).write(path("two.sgy")));
    ASSERT_TRUE(LoadPictDoc(doc, path("two.sgy"), m_prompts, m_filter));
    EXPECT_EQ(doc.Data().m_nGraphsOnScreen, 1);
    EXPECT_EQ(doc.Data().m_nEnabledCount, 2);
    EXPECT_EQ(doc.Data().m_nEchoIndex[0], 60);
    // The second trace is read, its derived arrays stay zero until the panel computes them.
    EXPECT_EQ(doc.Data().m_pRaw[1][23], 2.0);
    EXPECT_EQ(doc.Data().m_pAutoCorr[1], std::vector<double>(128, 0.0));
    EXPECT_EQ(doc.Data().m_nEchoIndex[1], 0);
}

TEST_F(PictLoad, SettingsBesideTheFileAreUsedAndCanBeLeftUncreated) {
    ASSERT_TRUE(SgyFixture::OfSamples({PileTrace(5 * 20, 40, 1.0)}).write(path("a.sgy")));

    PictLoadOptions leave;
    leave.settingsFiles = dsp::MissingFile::Leave;
    ASSERT_TRUE(LoadPictDoc(m_doc, path("a.sgy"), m_prompts, m_filter, leave));
    EXPECT_FALSE(exists("VARY.ini"));
    EXPECT_FALSE(exists("FILTER.ini"));

    dsp::GainSetting stored;
    stored.first = 20;
    stored.points = 3;
    stored.curve = {5, 5, 5};
    ASSERT_TRUE(dsp::SaveVaryFile(m_dir.path() + "/", stored));
    dsp::FilterSettings custom{};
    dsp::SetFilterDefaults(custom);
    custom.halfLength = 16;
    custom.beta = 250;
    ASSERT_TRUE(dsp::SaveFilterFile(m_dir.path() + "/", custom));

    CPictDoc doc(m_main);
    ASSERT_TRUE(LoadPictDoc(doc, path("a.sgy"), m_prompts, m_filter));
    EXPECT_EQ(doc.Data().m_nVaruFirst, 20);
    EXPECT_EQ(doc.Data().m_nVaruPoints, 3);
    std::vector<double> curve(100);
    TovelUtils1(20, 10, 100, 0, 0, curve.data());
    EXPECT_EQ(doc.Data().m_pVaru, curve); // the utility's curve of the stored parameter
    EXPECT_EQ(int32_t{m_filter.halfLength}, 16);
    EXPECT_EQ(double{m_filter.beta}, 100.0);
}

// A site's averaged pile opened in the viewer: its trace, the site's speed and the zero at the
// blow; nothing is read from or written to disk, neither beside its name nor in the current folder.
TEST_F(PictLoad, APilesAveragedTraceOpensFromMemoryAndClosesWritingNothing) {
    site::PileResult pile;
    pile.pile = QStringLiteral("P7");
    pile.intervalS = 20e-6;
    pile.stack.average = PileTrace(300, 120, 1.0);
    pile.stack.blowIndex = 20;
    const PictTrace trace = PictTraceOfPile(pile, 3850.0);

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const bool loaded = LoadPictTrace(m_doc, trace, m_prompts, m_filter);
    const bool saved = SavePictSettings(m_doc, m_filter, m_prompts);
    const QStringList left = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    QDir::setCurrent(before);

    ASSERT_TRUE(loaded);
    EXPECT_TRUE(saved);
    EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
    EXPECT_TRUE(m_prompts.texts().empty());
    const PictDocData& d = m_doc.Data();
    EXPECT_EQ(d.m_strPath, "P7");
    EXPECT_TRUE(d.m_bInMemory);
    EXPECT_EQ(d.m_nTraceCount, 1);
    EXPECT_EQ(d.m_nSampleIntervalUs, 20);
    EXPECT_EQ(d.m_pRaw[0], pile.stack.average);
    EXPECT_EQ(d.m_dVelocity, 3850.0);
    EXPECT_EQ(d.m_nZeroSample, 20);
    EXPECT_EQ(d.m_nWindowEnd, 299);
    // Derived as a file's trace is: the viewer's own processing runs on it.
    EXPECT_NE(d.m_pAutoCorr[0], std::vector<double>(300, 0.0));
    EXPECT_GT(d.m_nEchoIndex[0], d.m_nImpactIndex[0]);

    // A pile without a consistent blow has nothing to show: refused, and said so.
    CPictDoc empty(m_main);
    EXPECT_FALSE(LoadPictTrace(empty, PictTraceOfPile(site::PileResult{}, 3850.0), m_prompts, m_filter));
    EXPECT_FALSE(empty.Data().m_bLoaded);
    EXPECT_EQ(m_prompts.texts().size(), 1u);
}

} // namespace
