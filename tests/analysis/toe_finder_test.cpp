// The toe finder's pieces on small hand-made traces (half-sine pulses placed by hand), and the whole
// on modelled piles where the reflection search goes wrong.

#include "app/analysis/pile_model.h"
#include "app/analysis/toe_finder.h"
#include "app/dsp/autocorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace zarno::analysis {
namespace {

constexpr double kDtS = 1e-4;   // 10 kHz
constexpr double kV = 4000;     // so that one sample is 0.2 m of pile
constexpr int kPulse = 8;       // samples in a pulse
constexpr int kBlowStart = 20;
constexpr int kBlowPeak = kBlowStart + kPulse / 2;

struct Pulse {
    double at; // start, in samples (between samples allowed)
    double amplitude;
};

// Half sines of kPulse samples on a baseline, plus a trend a + b·n + c·n² and white noise.
std::vector<double> Trace(const std::vector<Pulse>& pulses, size_t n = 512, double noise = 0.002,
                          std::array<double, 3> trend = {0, 0, 0}) {
    std::vector<double> x(n, 0);
    std::mt19937_64 random(5);
    std::normal_distribution<double> gauss(0, noise);
    for (size_t k = 0; k < n; ++k) {
        const double t = static_cast<double>(k);
        for (const Pulse& p : pulses)
            if (t >= p.at && t <= p.at + kPulse)
                x[k] += p.amplitude * std::sin(std::numbers::pi * (t - p.at) / kPulse);
        x[k] += trend[0] + trend[1] * t + trend[2] * t * t + gauss(random);
    }
    return x;
}

TEST(FindBlow, PolarityExtentAndBaseline) {
    const struct {
        const char* name;
        std::vector<Pulse> pulses;
        double offset;
        double sign;
    } cases[] = {
        {"upward blow", {{kBlowStart, 1}}, 0, 1},
        {"sensor reversed, on an offset", {{kBlowStart, -1}}, 0.3, -1},
        // A free toe's echo can outgrow the blow: the blow is still the first big excursion.
        {"larger echo later", {{kBlowStart, 1}, {kBlowStart + 60, 1.4}}, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<BlowPulse> blow = FindBlow(Trace(c.pulses, 512, 0.002, {c.offset, 0, 0}));
        ASSERT_TRUE(blow);
        EXPECT_EQ(blow->sign, c.sign);
        EXPECT_EQ(blow->index, kBlowPeak);
        EXPECT_NEAR(blow->startIndex, kBlowStart + 1, 1);
        EXPECT_NEAR(blow->endIndex, kBlowStart + kPulse - 1, 1);
        EXPECT_NEAR(blow->baseline, c.offset, 0.01);
        EXPECT_NEAR(blow->amplitude, 1, 0.02);
    }
    EXPECT_FALSE(FindBlow(std::vector<double>{}));
    EXPECT_FALSE(FindBlow(std::vector<double>(100, 2.5)));
    std::vector<double> broken = Trace({{kBlowStart, 1}});
    broken[200] = std::nan("");
    EXPECT_FALSE(FindBlow(broken));
}

// The echo's amplitude does not move under a trend that would swamp a plain correlation: a steep
// slope (drift) and a curve (the shaft's friction) over the whole record.
TEST(EchoAmplitudes, TheTrendUnderAnEchoDoesNotMoveIt) {
    const int lag = 90;
    const struct {
        const char* name;
        std::array<double, 3> trend;
    } cases[] = {{"flat", {0, 0, 0}}, {"drift", {0, 0.004, 0}}, {"curve", {0, -0.004, 8e-6}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> x = Trace({{kBlowStart, 1}, {kBlowStart + lag, -0.4}}, 512, 0.002, c.trend);
        const std::optional<BlowPulse> blow = FindBlow(x);
        ASSERT_TRUE(blow);
        const std::vector<double> a = EchoAmplitudes(x, *blow);
        ASSERT_GT(a.size(), static_cast<size_t>(lag));
        EXPECT_NEAR(a[0], 1, 0.1); // the blow itself, with what of the trend lies under it
        EXPECT_NEAR(a[lag], -0.4, 0.03);
    }
}

TEST(NoiseSpread, WhiteNoiseUnderPulses) {
    for (double sigma : {0.001, 0.01, 0.05}) {
        SCOPED_TRACE(sigma);
        EXPECT_NEAR(NoiseSpread(Trace({{kBlowStart, 1}, {200, 0.5}}, 4096, sigma)), sigma, 0.15 * sigma + 2e-4);
    }
}

// Which echo is the toe: the fundamental, not its repeats; either sign; not a deeper repeat of a
// weak neck, and a sensor mounted the other way round changes nothing.
TEST(FindToe, TheFundamentalOfEitherSignAmongRepeats) {
    const int tau = 70; // 14 m at 0.2 m per sample
    const struct {
        const char* name;
        std::vector<Pulse> echoes;
        bool reversed;
        size_t anomalies;
    } cases[] = {
        {"free toe and its repeats", {{tau, 0.9}, {2 * tau, 0.6}, {3 * tau, 0.4}}, false, 0},
        {"socketed toe: repeats alternate", {{tau, -0.8}, {2 * tau, 0.5}, {3 * tau, -0.3}}, true, 0},
        // A neck at half the length: the toe lies where the neck's repeat would, but is far
        // stronger than a repeat of it can be.
        {"neck at half the length", {{tau / 2.0, 0.3}, {tau, 0.9}, {2 * tau, 0.6}}, false, 1},
    };
    for (const auto& c : cases)
        for (double sensor : {1.0, -1.0}) {
            SCOPED_TRACE(testing::Message() << c.name << (sensor < 0 ? ", sensor reversed" : ""));
            std::vector<Pulse> pulses = {{kBlowStart, sensor}};
            for (Pulse p : c.echoes)
                pulses.push_back({kBlowStart + p.at, sensor * p.amplitude});
            const ToeResult toe = FindToe(Trace(pulses), kDtS, kV);
            ASSERT_TRUE(toe.found);
            EXPECT_EQ(toe.blowIndex, kBlowPeak);
            EXPECT_NEAR(toe.index, kBlowPeak + tau, 1);
            EXPECT_NEAR(toe.timeMs, tau * kDtS * 1000, 0.05);
            EXPECT_NEAR(toe.lengthM, tau * kDtS * kV / 2, 0.1);
            EXPECT_EQ(toe.toeReversed, c.reversed);
            EXPECT_GE(toe.confidence, kMinToeConfidence);
            EXPECT_LE(toe.confidence, 1);
            ASSERT_EQ(toe.anomalies.size(), c.anomalies);
            if (c.anomalies) {
                EXPECT_NEAR(toe.anomalies[0].depthM, tau / 2.0 * kDtS * kV / 2, 0.1);
                EXPECT_EQ(toe.anomalies[0].kind, Anomaly::Kind::Reduction);
                EXPECT_NEAR(toe.anomalies[0].strength, 0.3, 0.05);
            }
        }
}

TEST(FindToe, SaysNoToeWhenNothingStandsOut) {
    const struct {
        const char* name;
        std::vector<double> trace;
    } cases[] = {
        {"blow and noise only", Trace({{kBlowStart, 1}}, 512, 0.01)},
        {"an echo hardly above the noise", Trace({{kBlowStart, 1}, {kBlowStart + 70, 0.03}}, 512, 0.01)},
        {"no blow at all", std::vector<double>(512, 0)},
        {"a record too short to hold an echo", Trace({{kBlowStart, 1}}, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToeResult toe = FindToe(c.trace, kDtS, kV);
        EXPECT_FALSE(toe.found);
        EXPECT_EQ(toe.lengthM, 0);
        EXPECT_TRUE(toe.anomalies.empty());
    }
    EXPECT_FALSE(FindToe(Trace({{kBlowStart, 1}, {kBlowStart + 70, 0.8}}), 0, kV).found);
}

// Modelled piles on which the reflection search goes wrong: a short pile behind a long pre-trigger
// (its toe echo lies at a lag below the arrival index, where that search never looks) and a
// socketed toe (an echo of the other sign, never taken). The toe finder gets them right.
TEST(FindToe, ModelledPilesTheReflectionSearchGetsWrong) {
    const struct {
        const char* name;
        double lengthM, preTriggerS, toeDashpot, toeSpring;
    } cases[] = {
        {"3 m behind 5 ms of pre-trigger", 3, 0.005, kFreeToeDashpot, 0},
        {"socketed toe", 11, 0.0005, kSocketedToeDashpot, kSocketedToeSpring},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PileModel pile;
        pile.lengthM = c.lengthM;
        pile.toeDashpot = c.toeDashpot;
        pile.toeSpring = c.toeSpring;
        BlowRecording r;
        r.sampleRateHz = 20000;
        r.samples = 1024;
        r.preTriggerS = c.preTriggerS;
        const std::vector<double> trace = SimulateBlow(pile, r);
        const double dtS = 1 / r.sampleRateHz;
        std::vector<double> ac(trace.size());
        dsp::Autocorrelate(trace, ac);
        const double searched = dsp::EstimateReflection(trace, ac, pile.velocityMps, dtS).length;
        EXPECT_GT(std::abs(searched - c.lengthM), 0.1 * c.lengthM);
        const ToeResult toe = FindToe(trace, dtS, pile.velocityMps);
        ASSERT_TRUE(toe.found);
        EXPECT_NEAR(toe.lengthM, c.lengthM, pile.velocityMps * dtS / 2);
        EXPECT_EQ(toe.toeReversed, c.toeDashpot > 1);
    }
}

} // namespace
} // namespace zarno::analysis
