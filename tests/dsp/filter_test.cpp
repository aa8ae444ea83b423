#include "app/dsp/filter.h"

#include "tests/support/recording_prompts.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

using namespace zarno::dsp;
using zarno::testing::RecordingPrompts;

namespace {

// The record is packed: its fields are read by value, never bound to references.
template <typename T> T V(T field) {
    return field;
}

FilterSettings Defaults() {
    FilterSettings s{};
    SetFilterDefaults(s);
    return s;
}

QByteArray WithBeta(double beta) {
    FilterSettings s = Defaults();
    s.beta = beta;
    return FilterBytes(s);
}

// The filter as a reader would write it down: every tap, samples outside the trace being 0.
std::vector<double> Reference(const std::vector<double>& h, int32_t N, const std::vector<double>& x) {
    const int64_t L = int64_t(x.size());
    std::vector<double> out(x.size());
    for (int64_t n = 0; n < L; ++n) {
        double sum = 0;
        for (int64_t k = 0; k < N; ++k) {
            const int64_t i = n - FilterDelay(LeadingSums(h, N, x), N, x) + k;
            sum += h[std::size_t(k)] * (i >= 0 && i < L ? x[std::size_t(i)] : 0.0);
        }
        out[std::size_t(n)] = sum;
    }
    return out;
}

TEST(FilterSettingsRecord, DefaultsAreSetFieldByField) {
    FilterSettings s{};
    s.bands[1] = FilterBand{7, 6, 5};
    SetFilterDefaults(s);
    EXPECT_EQ(V(s.fs), 100000.0);
    EXPECT_EQ(V(s.halfLength), 128);
    EXPECT_EQ(V(s.bandCount), 1);
    EXPECT_EQ(V(s.dialogKind), 2);
    EXPECT_EQ(V(s.beta), 0.54);
    EXPECT_EQ(V(s.dialogParams[0]), 0.46);
    EXPECT_EQ(V(s.dialogParams[1]), 0.0);
    EXPECT_EQ(V(s.dialogParams[2]), 0.0);
    EXPECT_EQ(V(s.bands[0].f1), 10.0);
    EXPECT_EQ(V(s.bands[0].f2), 0.0);
    EXPECT_EQ(V(s.bands[0].gain), 1.0);
    EXPECT_EQ(V(s.bands[1].f1), 7.0); // the other bands keep their values
}

TEST(FilterSettingsRecord, ParseBoundsBetaAndFallsBackOnShortFiles) {
    struct Case {
        const char* what;
        QByteArray bytes;
        double beta;
        int32_t halfLength;
    };
    FilterSettings custom = Defaults();
    custom.halfLength = 64;
    custom.beta = 7.5;
    const Case cases[] = {
        {"100 bytes: defaults, then bounded", QByteArray(100, '\x7f'), 1.0, 128},
        {"2451 bytes", FilterBytes(custom).left(2451), 1.0, 128},
        {"beta 250", WithBeta(250), 100.0, 128},
        {"beta 100", WithBeta(100), 100.0, 128},
        {"beta 0.3", WithBeta(0.3), 1.0, 128},
        {"beta 1", WithBeta(1.0), 1.0, 128},
        {"beta NaN", WithBeta(std::nan("")), 1.0, 128},
        {"whole record", FilterBytes(custom), 7.5, 64},
        {"longer file: first 2452 bytes", FilterBytes(custom) + QByteArray(50, 'z'), 7.5, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FilterSettings s{};
        ParseFilterBytes(c.bytes, s);
        EXPECT_EQ(V(s.beta), c.beta);
        EXPECT_EQ(V(s.halfLength), c.halfLength);
    }
}

TEST(FilterSettingsRecord, LoadCreatesTheFileAndKeepsTheDefaultBeta) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    FilterSettings s{};
    LoadFilterFile(dir, s, MissingFile::Leave);
    EXPECT_FALSE(QFile::exists(dir + "FILTER.ini"));
    EXPECT_EQ(V(s.beta), 0.54);

    s = FilterSettings{};
    LoadFilterFile(dir, s, MissingFile::Create);
    EXPECT_TRUE(QFile::exists(dir + "FILTER.ini"));
    EXPECT_EQ(V(s.beta), 0.54);
    EXPECT_EQ(V(s.halfLength), 128);

    // Opened again, the empty file is short: defaults, and β is bounded now.
    LoadFilterFile(dir, s, MissingFile::Create);
    EXPECT_EQ(V(s.beta), 1.0);

    FilterSettings custom = Defaults();
    custom.beta = 12.0;
    custom.bands[99] = FilterBand{1, 2, 3};
    ASSERT_TRUE(SaveFilterFile(dir, custom));
    EXPECT_EQ(QFileInfo(dir + "FILTER.ini").size(), 2452);
    FilterSettings back{};
    LoadFilterFile(dir, back, MissingFile::Leave);
    EXPECT_EQ(std::memcmp(&back, &custom, sizeof back), 0);
}

TEST(Filter, DefaultUnwindowedResponse) {
    const FilterSettings s = Defaults();
    const std::vector<double> h = BandResponse(s);
    ASSERT_EQ(h.size(), 257u);
    for (int j = -128; j < 128; ++j) {
        const double expected =
            j == 0 ? 1.0 / 10000.0 : std::sin(j * std::numbers::pi / 10000.0) / (j * std::numbers::pi);
        ASSERT_NEAR(h[std::size_t(j + 128)], expected, 1e-15) << j;
    }
    EXPECT_EQ(h[256], 0.0);
}

TEST(Filter, ShapeWindowIsTheTenTermSeriesOverTen) {
    FilterSettings s = Defaults();
    s.halfLength = 8;
    s.beta = 3.0;
    std::vector<double> h(17, 1.0);
    ApplyShapeWindow(s, h);
    for (std::size_t i = 0; i < h.size(); ++i) {
        const double t = (double(i) - 7.0) / 7.0;
        const double x = 3.0 * std::pow(1.0 - t * t, 2);
        double series = 0;
        for (int k = 1; k <= 10; ++k)
            series += std::pow(x / 2.0, 2 * k);
        ASSERT_NEAR(h[i], series / 10.0, 1e-12) << i;
    }
}

TEST(Filter, TraceIsTheDirectSumOfTheFirstNTaps) {
    FilterSettings s = Defaults();
    s.beta = 2.0;
    s.halfLength = 16;
    s.bandCount = 2;
    s.bands[0] = FilterBand{30000, 5000, 1.0};
    s.bands[1] = FilterBand{60000, 50000, 0.5};
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> d(-1, 1);
    for (std::size_t L : {1u, 5u, 16u, 100u}) {
        SCOPED_TRACE(L);
        std::vector<double> x(L);
        for (double& v : x)
            v = d(gen);
        std::vector<double> out(L, 0.0);
        RecordingPrompts prompts;
        EXPECT_EQ(FilterTrace(s, x, out, prompts), FilterOutcome::Filtered);
        const std::vector<double> h = DesignResponse(s);
        const std::vector<double> ref = Reference(h, s.halfLength, x);
        for (std::size_t n = 0; n < L; ++n)
            ASSERT_NEAR(out[n], ref[n], 1e-12) << n;
        if (L == 1) {
            EXPECT_DOUBLE_EQ(out[0], h[std::size_t(FilterDelay(LeadingSums(h, 16, x), 16, x))] * x[0]);
        }
        // In place gives the same.
        std::vector<double> same = x;
        FilterTrace(s, same, same, prompts);
        EXPECT_EQ(same, out);
        EXPECT_TRUE(prompts.records.empty());
    }
}

TEST(Filter, PulsesComeOutWhereTheyWentIn) {
    FilterSettings bandPass = Defaults();
    bandPass.halfLength = 64;
    bandPass.bands[0] = FilterBand{20000, 2000, 1.0};
    const struct {
        const char* what;
        FilterSettings s;
        double width; // the pulse's standard deviation in samples
    } cases[] = {{"defaults, narrow pulse", Defaults(), 1.5}, {"defaults, wider pulse", Defaults(), 3.0},
                 {"band pass", bandPass, 2.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // An impact at 200 and its reflection, weaker and of the same shape, at 600.
        std::vector<double> x(800);
        for (std::size_t i = 0; i < x.size(); ++i)
            for (const auto& [at, size] : {std::pair{200.0, 1.0}, std::pair{600.0, 0.3}})
                x[i] += size * std::exp(-0.5 * std::pow((double(i) - at) / c.width, 2));
        std::vector<double> out(x.size());
        RecordingPrompts prompts;
        ASSERT_EQ(FilterTrace(c.s, x, out, prompts), FilterOutcome::Filtered);
        const auto peakIn = [&out](std::size_t from, std::size_t to) {
            const auto b = out.begin() + std::ptrdiff_t(from);
            return double(std::max_element(b, out.begin() + std::ptrdiff_t(to),
                                           [](double p, double q) { return std::fabs(p) < std::fabs(q); }) -
                          out.begin());
        };
        EXPECT_EQ(peakIn(0, 400), 200.0);
        EXPECT_EQ(peakIn(400, 800), 600.0);
    }
}

TEST(Filter, OpenCasesGiveADocumentedResult) {
    const std::vector<double> x = {1, -2, 3, -4, 5, -6, 7};
    FilterSettings hundred = Defaults();
    hundred.halfLength = 4;
    for (int b = 0; b < kFilterBandSlots; ++b)
        hundred.bands[b] = FilterBand{1000.0 * (b + 1), 1000.0 * b, 1.0 / (b + 1)};
    hundred.bandCount = 100;
    std::vector<double> withHundred(x.size());
    RecordingPrompts quiet;
    FilterTrace(hundred, x, withHundred, quiet);

    struct Case {
        const char* what;
        void (*change)(FilterSettings&);
        FilterOutcome outcome;
        bool sameAsHundredBands;
    };
    const Case cases[] = {
        {"band count 1000 uses the 100 bands held", [](FilterSettings& s) { s.bandCount = 1000; },
         FilterOutcome::Filtered, true},
        {"negative band count is huge unsigned", [](FilterSettings& s) { s.bandCount = -1; },
         FilterOutcome::Filtered, true},
        {"N 1", [](FilterSettings& s) { s.halfLength = 1; }, FilterOutcome::PassedThrough, false},
        {"N 0", [](FilterSettings& s) { s.halfLength = 0; }, FilterOutcome::PassedThrough, false},
        {"N negative", [](FilterSettings& s) { s.halfLength = -40; }, FilterOutcome::PassedThrough, false},
        {"fs 0", [](FilterSettings& s) { s.fs = 0.0; }, FilterOutcome::PassedThrough, false},
        {"fs infinite", [](FilterSettings& s) { s.fs = INFINITY; }, FilterOutcome::PassedThrough, false},
        {"N beyond the limit", [](FilterSettings& s) { s.halfLength = 0x7fffffff; }, FilterOutcome::NoMemory,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FilterSettings s = hundred;
        c.change(s);
        std::vector<double> out(x.size(), 42.0);
        RecordingPrompts prompts;
        EXPECT_EQ(FilterTrace(s, x, out, prompts), c.outcome);
        switch (c.outcome) {
        case FilterOutcome::Filtered:
            EXPECT_EQ(out, withHundred);
            EXPECT_TRUE(prompts.records.empty());
            break;
        case FilterOutcome::PassedThrough:
            EXPECT_EQ(out, x);
            EXPECT_TRUE(prompts.records.empty());
            break;
        case FilterOutcome::NoMemory:
            EXPECT_EQ(out, std::vector<double>(x.size(), 42.0));
            ASSERT_EQ(prompts.records.size(), 1u);
            EXPECT_EQ(prompts.records[0].text, QString("Ошибка памяти при создании фильтра"));
            EXPECT_EQ(prompts.records[0].caption, QString("Ошибка!"));
            break;
        }
    }
}

} // namespace
