// The synthetic pile traces: the automatic reflection search finds the pile's known length in them.

#include "device/pile_signal.h"
#include "tests/device/reflection_search.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zarno::device {
namespace {

TEST(PileSignalTest, ReflectionSearchFindsTheKnownLength) {
    const struct {
        double length;
        double rate;
        uint32_t samples;
        std::optional<double> defect;
    } cases[] = {
        {6, 10000, 1024, {}},  {12, 10000, 1024, {}}, {18, 10000, 1024, {}},  {6, 25000, 2048, {}},
        {12, 25000, 2048, {}}, {18, 25000, 2048, {}}, {12, 25000, 2048, 5.0}, {15, 10000, 1024, 9.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " m at " << c.rate << " Hz");
        PileSpec spec;
        spec.lengthM = c.length;
        spec.sampleRateHz = c.rate;
        spec.samples = c.samples;
        spec.defectDepthM = c.defect;
        spec.seed = 3;
        const auto trace = SynthesizeVelocity(spec);
        const double dt = 1 / c.rate;
        const int echo = AutomaticReflectionIndex(trace);
        // One sample's worth of length either side: the echo lands on the nearest whole sample.
        EXPECT_NEAR(echo * dt * spec.velocity / 2, c.length, spec.velocity * dt / 2 + 1e-9);
    }
}

TEST(PileSignalTest, SameSpecSameTraceAndTheSeedChangesOnlyTheNoise) {
    PileSpec spec;
    const auto a = SynthesizeVelocity(spec);
    EXPECT_EQ(a, SynthesizeVelocity(spec));
    spec.seed = 2;
    const auto b = SynthesizeVelocity(spec);
    ASSERT_EQ(a.size(), b.size());
    double worst = 0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(a[i] - b[i]));
    EXPECT_GT(worst, 0);
    EXPECT_LT(worst, 0.1); // the noise is small against the impact of 1
}

} // namespace
} // namespace zarno::device
