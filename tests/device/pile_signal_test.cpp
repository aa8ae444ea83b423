// The simulator's pile traces: on free toes in firm soil (the sample recordings' piles) the automatic
// reflection search finds the pile's known length; blows are deterministic and differ only a little.

#include "device/pile_signal.h"
#include "tests/device/reflection_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace zarno::device {
namespace {

TEST(PileSignalTest, ReflectionSearchFindsTheKnownLength) {
    const struct {
        double length;
        double rate;
        uint32_t samples;
        std::optional<double> neckTop;
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
        if (c.neckTop)
            spec.sections.push_back({*c.neckTop, *c.neckTop + 0.6, 0.6});
        spec.seed = 3;
        const auto trace = SynthesizeVelocity(spec);
        const double dt = 1 / c.rate;
        const int echo = AutomaticReflectionIndex(trace);
        // A sample and a half, or 2%: the soil's spring delays and reshapes the echo a little.
        EXPECT_NEAR(echo * dt * spec.velocity / 2, c.length, std::max(1.5 * spec.velocity * dt / 2, 0.02 * c.length));
    }
}

TEST(PileSignalTest, SameSpecSameTraceAndBlowsDifferALittle) {
    PileSpec spec;
    const auto a = SynthesizeVelocity(spec);
    EXPECT_EQ(a, SynthesizeVelocity(spec));
    for (unsigned blow : {1u, 2u}) {
        SCOPED_TRACE(blow);
        const auto b = SynthesizeVelocity(spec, blow);
        ASSERT_EQ(a.size(), b.size());
        double worst = 0;
        for (size_t i = 0; i < a.size(); ++i)
            worst = std::max(worst, std::abs(a[i] - b[i]));
        EXPECT_GT(worst, 0.02); // another blow, not a copy
        EXPECT_LT(worst, 0.5);  // of the same pile: the blow is 1
    }
}

} // namespace
} // namespace zarno::device
