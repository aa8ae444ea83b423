// The instrument simulator's sample recordings, converted to SEG-Y by the program's converter,
// loaded as the viewer loads them and measured by zarno-cli: every trace's toe must come out within
// one sample's length (V·Δt/2) of the length the recording was made for.

#include "app/formats/convert_ddb_file.h"
#include "app/viewer/pict_load.h"
#include "tests/support/recording_prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace zarno;

namespace {

class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[8] = "samples";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};
[[maybe_unused]] ::testing::Environment* const g_app =
    ::testing::AddGlobalTestEnvironment(new CoreApplication);

QString Program(const char* name) {
    return QCoreApplication::applicationDirPath() + "/" + name;
}

struct Recording {
    QString path; // relative to the sample set
    double length, velocity, rateHz, tolerance;
    int channels, samples;
    QString sectionTop; // depth of the first neck or bulge, "-" for none
};

struct ProgramRun {
    int status = -1;
    QByteArray out, err;
};

ProgramRun RunProgram(const char* name, const QStringList& args) {
    QProcess p;
    p.start(Program(name), args);
    ProgramRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

class SampleRecordings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        const ProgramRun made = RunProgram("zarno-device", {"make-samples", s_dir->path()});
        ASSERT_EQ(made.status, 0) << made.err.constData();
        QFile manifest(s_dir->path() + "/MANIFEST.TXT");
        ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
        for (const QByteArray& line : manifest.readAll().split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> f = line.split('\t');
            ASSERT_GE(f.size(), 9) << line.constData();
            s_recordings.push_back({QString::fromUtf8(f[0]), f[1].toDouble(), f[2].toDouble(),
                                    f[5].toDouble(), f[8].toDouble(), f[3].toInt(), f[6].toInt(),
                                    QString::fromUtf8(f[7])});
        }
        ASSERT_GE(s_recordings.size(), 5u);
        QDir(s_dir->path()).mkdir("sgy");
        for (const Recording& r : s_recordings) {
            zarno::testing::RecordingPrompts prompts;
            ASSERT_EQ(ConvertDDBFile(s_dir->path() + "/" + r.path, SgyPath(r), prompts), kConvertDone)
                << r.path.toStdString();
        }
    }
    static void TearDownTestSuite() {
        s_recordings.clear();
        s_dir.reset();
    }
    static QString SgyPath(const Recording& r) {
        return s_dir->path() + "/sgy/" + QFileInfo(r.path).completeBaseName() + ".sgy";
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::vector<Recording> s_recordings;
};

TEST_F(SampleRecordings, MeasureFindsEveryKnownLength) {
    for (const Recording& r : s_recordings) {
        SCOPED_TRACE(r.path.toStdString());
        const ProgramRun m = RunProgram("zarno-cli", {"measure", "--json", SgyPath(r)});
        ASSERT_EQ(m.status, 0) << m.err.constData();
        const QJsonObject root = QJsonDocument::fromJson(m.out).object();
        EXPECT_EQ(root["velocity"].toDouble(), 3600.0);
        EXPECT_EQ(root["samples"].toInt(), r.samples);
        EXPECT_EQ(root["sample_interval_us"].toInt(), int(std::lround(1e6 / r.rateHz)));
        const QJsonArray traces = root["traces"].toArray();
        ASSERT_EQ(traces.size(), r.channels);
        for (const QJsonValue& t : traces) {
            ASSERT_TRUE(t.toObject()["toe"].isObject());
            const double length = t.toObject()["toe"].toObject()["length_m"].toDouble();
            EXPECT_LE(std::fabs(length - r.length), r.tolerance + 1e-9)
                << "trace " << t.toObject()["trace"].toInt() << " measured " << length << " m";
            // A neck or a bulge is the first anomaly, within 5% of its depth.
            const QJsonArray anomalies = t.toObject()["anomalies"].toArray();
            if (r.sectionTop == "-") {
                EXPECT_TRUE(anomalies.isEmpty());
            } else {
                ASSERT_FALSE(anomalies.isEmpty());
                const double top = r.sectionTop.toDouble();
                EXPECT_LE(std::fabs(anomalies[0].toObject()["depth_m"].toDouble() - top), 0.05 * top);
            }
        }
    }
    // Measuring created nothing beside the files.
    const QStringList left = QDir(s_dir->path() + "/sgy").entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.filter(".sgy").size(), left.size()) << left.join(' ').toStdString();
}

TEST_F(SampleRecordings, LoadSequenceOnAConvertedRecording) {
    const auto it = std::find_if(s_recordings.begin(), s_recordings.end(),
                                 [](const Recording& r) { return r.channels == 2; });
    ASSERT_NE(it, s_recordings.end());
    QTemporaryDir own;
    const QString path = own.path() + "/pile.sgy";
    ASSERT_TRUE(QFile::copy(SgyPath(*it), path));

    ViewerDisplaySettings main;
    CPictDoc doc(main);
    zarno::testing::RecordingPrompts prompts;
    dsp::FilterSettings filter{};
    ASSERT_TRUE(LoadPictDoc(doc, path, prompts, filter));
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_EQ(doc.Data().m_nTraceCount, 2);
    EXPECT_EQ(doc.Data().m_nGraphsOnScreen, 2);
    EXPECT_EQ(doc.Data().m_nSamples, it->samples);
    EXPECT_EQ(doc.Data().m_nSampleIntervalUs, int(std::lround(1e6 / it->rateHz)));
    EXPECT_EQ(doc.Data().m_nWindowEnd, it->samples - 1);
    for (std::size_t t = 0; t < 2; ++t) {
        EXPECT_EQ(doc.Data().m_pRaw[t].size(), std::size_t(it->samples));
        EXPECT_EQ(doc.Data().m_pAutoCorr[t][0], 1.0);
        EXPECT_LE(std::fabs(doc.Data().m_dLength[t] - it->length), it->tolerance + 1e-9);
    }
    EXPECT_TRUE(QFile::exists(own.path() + "/VARY.ini"));
    EXPECT_TRUE(QFile::exists(own.path() + "/FILTER.ini"));
}

} // namespace
