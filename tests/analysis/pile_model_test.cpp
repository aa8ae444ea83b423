// The pile model: echoes where the wave equation puts them, with the signs and sizes its impedances
// give, and the same record for the same setup.

#include "app/analysis/pile_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zarno::analysis {
namespace {

constexpr double kRateHz = 50000;

BlowRecording Quiet() {
    BlowRecording r;
    r.sampleRateHz = kRateHz;
    r.samples = 2048;
    r.preTriggerS = 0.001;
    r.pulseWidthS = 0.0006;
    r.noise = 0;
    return r;
}

// The largest excursion (by magnitude, with its sign) within ±half a pulse of time tS.
double PeakNear(const std::vector<double>& trace, double tS) {
    const auto centre = static_cast<long>(std::lround(tS * kRateHz));
    double peak = 0;
    for (long k = centre - 15; k <= centre + 15; ++k)
        if (k >= 0 && k < static_cast<long>(trace.size()) && std::abs(trace[static_cast<size_t>(k)]) > std::abs(peak))
            peak = trace[static_cast<size_t>(k)];
    return peak;
}

TEST(PileModel, EchoesWhereAndAsTheImpedancesSay) {
    const BlowRecording r = Quiet();
    const double blowPeakS = r.preTriggerS + r.pulseWidthS / 2;
    const struct {
        const char* name;
        double toeDashpot;
        std::vector<ImpedanceSection> sections;
        double atDepthM; // where the echo looked at comes from
        double echo;     // its peak relative to the blow
        double tolerance;
    } cases[] = {
        // A free toe: the velocity echo keeps its sign; the free head doubles it: 2(1 − c)/(1 + c).
        {"free toe", 0.2, {}, 10, 2 * 0.8 / 1.2, 0.02},
        // A toe in rock reverses it.
        {"socketed toe", 5, {}, 10, 2 * (1 - 5.0) / 6, 0.02},
        // A matched dashpot takes the wave whole.
        {"matched toe", 1, {}, 10, 0, 0.02},
        // A long neck's top: 2(1 − 0.5)/(1 + 0.5), the blow's sign (the impedance falls).
        {"neck", 1, {{4, 8, 0.5}}, 4, 2 * 0.5 / 1.5, 0.03},
        // A bulge's top: the opposite sign.
        {"bulge", 1, {{4, 8, 2}}, 4, 2 * (1 - 2.0) / 3, 0.03},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PileModel pile;
        pile.lengthM = 10;
        pile.shaftDampingPerM = 0;
        pile.toeDashpot = c.toeDashpot;
        pile.sections = c.sections;
        const std::vector<double> trace = SimulateBlow(pile, r);
        ASSERT_EQ(trace.size(), 2048u);
        EXPECT_NEAR(PeakNear(trace, blowPeakS), 1.0, 0.01);
        EXPECT_NEAR(PeakNear(trace, blowPeakS + 2 * c.atDepthM / pile.velocityMps), c.echo, c.tolerance);
    }
}

TEST(PileModel, QuietBeforeTheBlowAndTheSameRecordForTheSameSetup) {
    PileModel pile;
    BlowRecording r = Quiet();
    const std::vector<double> trace = SimulateBlow(pile, r);
    const auto beforeBlow = static_cast<std::ptrdiff_t>(r.preTriggerS * kRateHz);
    EXPECT_TRUE(std::all_of(trace.begin(), trace.begin() + beforeBlow, [](double v) { return v == 0; }));
    r.noise = 0.01;
    r.driftPerS = 2;
    EXPECT_EQ(SimulateBlow(pile, r), SimulateBlow(pile, r));
    r.seed = 2;
    const std::vector<double> other = SimulateBlow(pile, r);
    EXPECT_NE(other, SimulateBlow(pile, Quiet()));
    // The drift: the record's end lies 2 per second above where it starts.
    EXPECT_NEAR(other.back() - trace.back(), 2 * (r.samples - 1) / kRateHz, 0.05);
}

TEST(PileModel, AModelThatCannotRunGivesNothing) {
    PileModel noLength;
    noLength.lengthM = 0;
    BlowRecording noRate = Quiet();
    noRate.sampleRateHz = 0;
    EXPECT_TRUE(SimulateBlow(noLength, Quiet()).empty());
    EXPECT_TRUE(SimulateBlow(PileModel{}, noRate).empty());
}

} // namespace
} // namespace zarno::analysis
