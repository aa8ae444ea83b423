#include "app/dsp/gain.h"
#include "outside/tovelutils/tovel_utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zarno::dsp;

namespace {

QByteArray VaryFile(int32_t count, int32_t first, const std::vector<double>& values) {
    QByteArray bytes(8 + 8 * qsizetype(values.size()), '\0');
    qToLittleEndian<int32_t>(count, bytes.data());
    qToLittleEndian<int32_t>(first, bytes.data() + 4);
    for (std::size_t i = 0; i < values.size(); ++i)
        qToLittleEndian<double>(values[i], bytes.data() + 8 + 8 * qsizetype(i));
    return bytes;
}

TEST(Gain, ParseReadsAtMostNsValuesAndFillsTheRestWithOne) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int32_t ns;
        int32_t first, points;
        std::vector<double> curve;
    };
    const Case cases[] = {
        {"3 of 5 stored", VaryFile(5, 4, {2, 3, 4}), 5, 4, 3, {2, 3, 4, 1, 1}},
        {"count beyond ns", VaryFile(10, 2, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}), 4, 2, 4, {9, 8, 7, 6}},
        {"count below ns", VaryFile(2, 2, {9, 8}), 4, 2, 2, {9, 8, 1, 1}},
        {"negative count", VaryFile(-3, 6, {9, 8}), 3, 6, 3, {1, 1, 1}},
        {"negative first parameter", VaryFile(2, -6, {9, 8}), 2, 0, 2, {9, 8}},
        {"count 0", VaryFile(0, 6, {}), 2, 6, 2, {1, 1}},
        {"header only", VaryFile(3, 6, {}), 2, 6, 2, {1, 1}},
        {"a half value", VaryFile(2, 6, {9}) + QByteArray(4, 'x'), 3, 6, 1, {9, 1, 1}},
        {"empty (just created)", QByteArray(), 3, 1, 3, {1, 1, 1}},
        {"shorter than the header", QByteArray(6, '\x01'), 2, 1, 2, {1, 1}},
        {"ns 0", VaryFile(2, 3, {9, 8}), 0, 3, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const GainSetting g = ParseVaryBytes(c.bytes, c.ns);
        EXPECT_EQ(g.first, c.first);
        EXPECT_EQ(g.points, c.points);
        EXPECT_EQ(g.curve, c.curve);
    }
}

TEST(Gain, FirstOpenCreatesAnEmptyFileAndClosingWritesTheNeutralCurve) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    const QString file = dir + "VARY.ini";

    GainSetting left = LoadVaryFile(dir, 4, MissingFile::Leave);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(left.points, 4);

    GainSetting g = LoadVaryFile(dir, 4, MissingFile::Create);
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(QFileInfo(file).size(), 0);
    EXPECT_EQ(g.first, 1);
    EXPECT_EQ(g.second, 10);
    EXPECT_EQ(g.points, 4);
    EXPECT_EQ(g.curve, std::vector<double>(4, 1.0));

    ASSERT_TRUE(SaveVaryFile(dir, g));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), VaryFile(4, 1, {1, 1, 1, 1}));
}

TEST(Gain, SaveAndLoadRoundTrip) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    GainSetting g;
    g.first = 17;
    g.second = 33;
    g.points = 3;
    g.curve = {1.5, 2.5, 3.5, 4.5};
    ASSERT_TRUE(SaveVaryFile(dir, g));
    const GainSetting back = LoadVaryFile(dir, 4, MissingFile::Leave);
    EXPECT_EQ(back.first, 17);
    EXPECT_EQ(back.second, 10); // never stored
    EXPECT_EQ(back.points, 3);
    EXPECT_EQ(back.curve, (std::vector<double>{1.5, 2.5, 3.5, 1.0}));

    // A point count larger than the curve never writes past it.
    g.points = 99;
    EXPECT_EQ(VaryBytes(g).size(), 8 + 4 * 8);
    EXPECT_FALSE(SaveVaryFile(tmp.path() + "/missing-dir/", g));
}

TEST(Gain, ResampleOntoTheWindow) {
    std::vector<double> curve(1000);
    for (std::size_t j = 0; j < curve.size(); ++j)
        curve[j] = double(j);

    const std::vector<double> r3 = ResampleCurve(curve, 100, 399); // 300 points: r = 3
    ASSERT_EQ(r3.size(), 300u);
    for (std::size_t i = 0; i < r3.size(); ++i)
        ASSERT_DOUBLE_EQ(r3[i], 3.0 * double(i) + 1.0) << i; // mean of 3i, 3i+1, 3i+2: values 0..899

    EXPECT_EQ(ResampleCurve(curve, 0, 999), curve); // r = 1 copies

    const std::vector<double> r2 = ResampleCurve(std::vector<double>{1, 2, 3, 4, 5}, 0, 1); // r = 2
    EXPECT_EQ(r2, (std::vector<double>{1.5, 3.5}));

    for (auto [first, last] : {std::pair{-1, 10}, {10, 5}, {0, 1000}}) {
        SCOPED_TRACE(::testing::Message() << first << ".." << last);
        EXPECT_TRUE(ResampleCurve(curve, first, last).empty());
    }
}

TEST(Gain, ApplyInTheWindowLeavesTheRest) {
    const std::vector<double> raw = {1, 2, 3, 4, 5, 6};
    std::vector<double> out(6, -1.0);
    ApplyCurveInWindow(std::vector<double>{10, 20, 30}, 2, raw, out);
    EXPECT_EQ(out, (std::vector<double>{-1, -1, 30, 80, 150, -1}));

    std::vector<double> all(6);
    ApplyCurve(std::vector<double>{2, 2, 2, 2, 2, 2}, raw, all);
    EXPECT_EQ(all, (std::vector<double>{2, 4, 6, 8, 10, 12}));
    // A window running past the trace stops at its end.
    std::vector<double> tail(6, 0.0);
    ApplyCurveInWindow(std::vector<double>{1, 1, 1, 1}, 4, raw, tail);
    EXPECT_EQ(tail, (std::vector<double>{0, 0, 0, 0, 5, 6}));
}

TEST(Gain, UtilityCurveRisesFromTheImpactToTheEndGain) {
    struct Case {
        int32_t endDb, startPercent, ns;
        double atStart, atEnd;
        int32_t flatUntil;
    };
    const Case cases[] = {
        {0, 10, 100, 1.0, 1.0, 99},   // no gain
        {20, 10, 100, 1.0, 10.0, 10}, // 20 dB at the end, flat over the first 10 %
        {40, 0, 11, 1.0, 100.0, 0},   {500, 150, 101, 1.0, 1e6, 99}, // taken at 120 dB and 99 %
        {-5, -5, 5, 1.0, 1.0, 4},     {6, 10, 1, 1.0, 1.0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.endDb << " dB " << c.startPercent << " %");
        std::vector<double> curve(std::size_t(c.ns), -1.0);
        EXPECT_EQ(TovelUtils1(c.endDb, c.startPercent, c.ns, 0, 0, curve.data()), 1);
        EXPECT_DOUBLE_EQ(curve.front(), c.atStart);
        EXPECT_NEAR(curve.back(), c.atEnd, 1e-9 * c.atEnd);
        for (int32_t k = 0; k <= c.flatUntil && k < c.ns; ++k)
            ASSERT_DOUBLE_EQ(curve[std::size_t(k)], 1.0) << k;
        for (std::size_t k = 1; k < curve.size(); ++k)
            ASSERT_GE(curve[k], curve[k - 1]) << k;
    }
    EXPECT_EQ(TovelUtils1(20, 10, 0, 0, 0, nullptr), 0);
}

TEST(Gain, EditorAndQuestionWithoutAGuiChangeNothing) {
    int32_t first = 7, second = 10;
    std::vector<double> curve(5, 2.0);
    EXPECT_EQ(TovelUtils3(nullptr), 0);
    EXPECT_EQ(TovelUtils2(&first, &second, 5, curve.data()), 0);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 10);
    EXPECT_EQ(curve, std::vector<double>(5, 2.0));
}

} // namespace
