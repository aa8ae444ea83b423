#include "cli/signal_commands.h"

#include "tests/support/recording_prompts.h"
#include "tests/support/sgy_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zarno;
using zarno::testing::RecordingPrompts;
using zarno::testing::SgyFixture;

namespace {

std::vector<double> Echo(std::size_t ns, std::size_t lag) {
    std::vector<double> x(ns, 0.0);
    for (std::size_t i = 0; i < 12; ++i) {
        const double s = 1000.0 * std::sin(std::numbers::pi * double(i) / 6.0);
        x[20 + i] += s;
        x[20 + lag + i] += 0.4 * s;
    }
    return x;
}

struct CommandRun {
    int status;
    QByteArray out, err;
    RecordingPrompts prompts;
};

template <typename Command> CommandRun RunCommand(Command command, const QStringList& args) {
    CommandRun r;
    QBuffer out(&r.out), err(&r.err);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    r.status = command(args, out, err, r.prompts);
    return r;
}

class SignalCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SgyFixture::OfSamples({Echo(1024, 150), Echo(1024, 300)}).write(m_file));
    }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_dir;
    QString m_file = m_dir.path() + "/pile.sgy";
};

TEST_F(SignalCommands, MeasureJson) {
    const CommandRun r = RunCommand(cli::RunMeasure, {"--json", "--velocity", "4000", m_file});
    ASSERT_EQ(r.status, 0) << r.err.constData();
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(root["file"].toString(), m_file);
    EXPECT_EQ(root["velocity"].toDouble(), 4000.0);
    EXPECT_EQ(root["sample_interval_us"].toInt(), 100);
    EXPECT_EQ(root["samples"].toInt(), 1024);
    const QJsonArray traces = root["traces"].toArray();
    ASSERT_EQ(traces.size(), 2);
    const int lags[] = {150, 300};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QJsonObject t = traces[i].toObject();
        EXPECT_EQ(t["trace"].toInt(), i + 1);
        EXPECT_EQ(t["arrival_index"].toInt(), 23);
        EXPECT_EQ(t["reflection_index"].toInt(), lags[i]);
        EXPECT_NEAR(t["time_ms"].toDouble(), lags[i] * 0.1, 1e-9);
        EXPECT_NEAR(t["length_m"].toDouble(), lags[i] * 0.0001 * 4000 / 2, 1e-9);
    }
    // Nothing was created or changed beside the file.
    EXPECT_EQ(entries(), QStringList{"pile.sgy"});
}

TEST_F(SignalCommands, MeasureText) {
    const CommandRun r = RunCommand(cli::RunMeasure, {m_file});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("velocity 3600 m/s, sample interval 100 us, 1024 samples\n"));
    EXPECT_TRUE(r.out.contains("trace 1: arrival 23, reflection 150, time 15.000 ms, length 27.000 m\n"));
    EXPECT_TRUE(r.out.contains("trace 2: arrival 23, reflection 300, time 30.000 ms, length 54.000 m\n"));
}

TEST_F(SignalCommands, WrongCallsAndMissingFiles) {
    struct Case {
        QStringList args;
        int status;
    };
    const Case measure[] = {
        {{}, 2},
        {{"--velocity"}, 2},
        {{"--velocity", "fast", "x.sgy"}, 2},
        {{"a.sgy", "b.sgy"}, 2},
        {{"--bogus", "a.sgy"}, 2},
        {{"missing.sgy"}, 1},
    };
    for (const auto& c : measure) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandRun r = RunCommand(cli::RunMeasure, c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.out.isEmpty());
        if (c.status == 2) {
            EXPECT_TRUE(r.err.startsWith("usage: zarno-cli measure"));
        } else {
            EXPECT_EQ(r.prompts.texts(), std::vector<QString>{"Неверно задано имя файла!"});
        }
    }
    const Case spectrum[] = {
        {{"--window", "kaiser", m_file}, 2},
        {{"--scale", "db", m_file}, 2},
        {{"-o"}, 2},
        {{}, 2},
    };
    for (const auto& c : spectrum) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CommandRun r = RunCommand(cli::RunSpectrum, c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE(r.err.startsWith("usage: zarno-cli spectrum"));
    }
}

TEST_F(SignalCommands, SpectrumFile) {
    const QString constant = m_dir.path() + "/flat.sgy";
    ASSERT_TRUE(SgyFixture::OfSamples({std::vector<double>(1024, 3.0)}).write(constant));

    const CommandRun r = RunCommand(cli::RunSpectrum, {"--window", "rect", "--scale", "linear", constant});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count("\r\n"), 1024);
    EXPECT_TRUE(r.out.startsWith("1.000000\t\r\n0.000000\t\r\n"));

    const QString out = m_dir.path() + "/Spectr.txt";
    const CommandRun toFile = RunCommand(cli::RunSpectrum, {"-o", out, "--filter", m_file});
    ASSERT_EQ(toFile.status, 0);
    EXPECT_TRUE(toFile.out.isEmpty());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_EQ(text.count("\r\n"), 1024);
    EXPECT_EQ(text.left(text.indexOf("\r\n")).count('\t'), 2); // two traces
    // Log scale levels of the filtered traces, each between -144 and 0 dB here.
    for (const QByteArray& value : text.left(text.indexOf("\r\n")).split('\t').mid(0, 2)) {
        const double level = value.toDouble();
        EXPECT_GE(level, -144.0);
        EXPECT_LE(level, 0.0);
    }

    const CommandRun bad = RunCommand(cli::RunSpectrum, {"-o", m_dir.path() + "/no/such/dir/x.txt", m_file});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.prompts.records.size(), 1u);
}

} // namespace
