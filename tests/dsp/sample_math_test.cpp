#include "app/dsp/sample_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

using namespace zarno::dsp;

namespace {

TEST(SampleMath, ConversionsNormaliseTheirArguments) {
    struct Case {
        const char* what;
        double got;
        double expected;
    };
    const Case cases[] = {
        {"TimeOfSample(0, 100, 1e-4)", TimeOfSample(0, 100, 0.0001), 0.01},
        {"TimeOfSample negative n", TimeOfSample(0.002, -5, 0.0001), 0.002},
        {"TimeOfSample negative dt", TimeOfSample(0, 10, -0.001), 0.01},
        {"TimeOfSample dt 0", TimeOfSample(0, 1000, 0.0), 1e-12},
        {"TimeOfSample negative t0", TimeOfSample(-1.0, 10, 0.001), 0.01},
        {"LengthOfSample 18 m", LengthOfSample(0, 100, 3600, 0.0001), 18.0},
        {"LengthOfSample V negative", LengthOfSample(0, 100, -3600, 0.0001), 18.0},
        {"LengthOfSample V 0", LengthOfSample(0, 100, 0, 0.0001), 0.0},
        {"SampleOfTime", double(SampleOfTime(0, 0.01, 0.0001)), 100.0},
        {"SampleOfTime |t - t0|", double(SampleOfTime(0.01, 0.005, 0.001)), 5.0},
        {"SampleOfTime negative t", double(SampleOfTime(0.003, -1.0, 0.001)), 3.0},
        {"SampleOfTime dt 0 divides by 1e-15", double(SampleOfTime(0, 1e-13, 0.0)), 100.0},
        {"SampleOfTime beyond int32", double(SampleOfTime(0, 1.0, 0.0)), 2147483647.0},
        {"SampleOfTime NaN", double(SampleOfTime(0, std::nan(""), 0.001)), 0.0},
        {"SampleOfLength truncates 2.77", double(SampleOfLength(0, 0.5, 3600, 0.0001)), 2.0},
        {"SampleOfLength V negative", double(SampleOfLength(0, 18, -3600, 0.0001)), 100.0},
        {"SampleOfLength V 0", double(SampleOfLength(0, 18, 0, 0.0001)), 0.0},
        {"LengthOfTime", LengthOfTime(0.01, 3600), 18.0},
        {"LengthOfTime negative t", LengthOfTime(-0.01, 3600), 0.0},
        {"LengthOfTime V negative", LengthOfTime(0.01, -3600), 18.0},
        {"LengthOfTime V 0", LengthOfTime(0.01, 0), 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(c.got, c.expected, 1e-9 * std::max(1.0, std::fabs(c.expected)));
    }
}

TEST(SampleMath, SearchesOverWholeArrays) {
    using V = std::vector<double>;
    struct Case {
        V x;
        int32_t max, min, absMax, firstNegative;
    };
    const Case cases[] = {
        {{1, 3, 3, 2}, 1, 0, 1, 0}, {{-3, 3}, 1, 0, 0, 0}, {{2, -1, -1, 5, -7}, 3, 4, 4, 1},
        {{0, 0, 0}, 0, 0, 0, 0},    {{}, 0, 0, 0, 0},      {{4}, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.x));
        EXPECT_EQ(IndexOfMax(c.x), c.max);
        EXPECT_EQ(IndexOfMin(c.x), c.min);
        EXPECT_EQ(IndexOfAbsMax(c.x), c.absMax);
        EXPECT_EQ(IndexOfFirstNegative(c.x), c.firstNegative);
        EXPECT_EQ(MaxValue(c.x), c.x.empty() ? 0.0 : c.x[std::size_t(c.max)]);
        EXPECT_EQ(MinValue(c.x), c.x.empty() ? 0.0 : c.x[std::size_t(c.min)]);
    }
}

TEST(SampleMath, RangeSearchesStayInsideTheArray) {
    const std::vector<double> x = {5, -1, 3, 9, -4, 9, 2};
    struct Case {
        int32_t a, b;
        int32_t max, min, absMax, firstNegative;
    };
    const Case cases[] = {
        {0, 6, 3, 4, 3, 1},       {2, 5, 3, 4, 3, 4},  {-3, 2, 0, 1, 0, 1}, // a below 0 counts as 0
        {5, 100, 5, 6, 5, 5}, // b beyond the end counts as the last index; no negative: a
        {4, 4, 4, 4, 4, 4},       {3, -1, 0, 0, 0, 0}, // b negative
        {5, 2, 5, 5, 5, 5},                            // b before a: empty, a
        {10, 20, 10, 10, 10, 10},                      // wholly beyond: empty, a
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "[" << c.a << ", " << c.b << "]");
        EXPECT_EQ(IndexOfMax(x, c.a, c.b), c.max);
        EXPECT_EQ(IndexOfMin(x, c.a, c.b), c.min);
        EXPECT_EQ(IndexOfAbsMax(x, c.a, c.b), c.absMax);
        EXPECT_EQ(IndexOfFirstNegative(x, c.a, c.b), c.firstNegative);
    }
    EXPECT_EQ(MaxValue(x, 0, 2), 5.0);
    EXPECT_EQ(MinValue(x, 2, 6), -4.0);
    EXPECT_EQ(MaxValue(x, 10, 20), 0.0); // index outside the array
}

TEST(SampleMath, AutocorrelateNormalisesByLagZero) {
    const std::vector<double> x = {1, 2, -1};
    std::vector<double> r(3);
    Autocorrelate(x, r);
    // raw: 1+4+1 = 6, 2-2 = 0, -1
    EXPECT_DOUBLE_EQ(r[0], 1.0);
    EXPECT_DOUBLE_EQ(r[1], 0.0);
    EXPECT_DOUBLE_EQ(r[2], -1.0 / 6.0);

    std::vector<double> zero(8, 0.0), rz(8, 7.0);
    Autocorrelate(zero, rz);
    for (double v : rz)
        EXPECT_EQ(v, 0.0);
}

std::vector<double> PulseWithEcho(std::size_t n, std::size_t at, std::size_t lag, double echo) {
    std::vector<double> x(n, 0.0);
    auto pulse = [&](std::size_t start, double a) {
        for (std::size_t i = 0; i < 12 && start + i < n; ++i)
            x[start + i] += a * std::sin(std::numbers::pi * double(i) / 6.0);
    };
    pulse(at, 1.0);
    pulse(at + lag, echo);
    return x;
}

TEST(SampleMath, ReflectionEstimate) {
    struct Case {
        const char* what;
        std::vector<double> raw;
        double V;
        int32_t arrival, reflection;
    };
    const Case cases[] = {
        {"all zero", std::vector<double>(64, 0.0), 3600, 0, 0},
        // A positive ramp never makes r negative: w is the first maximum of r from u on, u itself.
        {"never negative", {0.5, 1.0, 2.0, 4.0, 3.0, 2.0, 1.0, 0.5}, 3600, 3, 3},
        {"pulse and echo", PulseWithEcho(400, 20, 150, 0.4), 3600, 23, 150},
        {"V zero", PulseWithEcho(400, 20, 150, 0.4), 0, 23, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> r(c.raw.size());
        Autocorrelate(c.raw, r);
        const ReflectionEstimate e = EstimateReflection(c.raw, r, c.V, 0.0001);
        EXPECT_EQ(e.arrival, c.arrival);
        EXPECT_EQ(e.reflection, c.reflection);
        EXPECT_DOUBLE_EQ(e.length, LengthOfSample(0, c.reflection, c.V, 0.0001));
    }
}

TEST(SampleMath, ExtremumSearchAroundTheMarker) {
    std::vector<double> x(100, 0.0);
    x[40] = 5;
    x[44] = -8;
    x[47] = 6;
    x[60] = 100; // outside every neighbourhood below
    // 0.5 m at 3600 m/s and 0.0001 s: radius 2; 1.0 m: radius 5.
    struct Case {
        int32_t marker, first, last;
        double vicinity;
        ExtremumMode mode;
        int32_t expected;
    };
    const Case cases[] = {
        {43, 0, 99, 1.0, ExtremumMode::Max, 47},    {43, 0, 99, 1.0, ExtremumMode::Min, 44},
        {43, 0, 99, 1.0, ExtremumMode::AbsMax, 44}, {42, 0, 99, 0.5, ExtremumMode::Max, 40},
        {43, 0, 45, 1.0, ExtremumMode::Max, 40}, // the shown part ends the window at 45
        {43, 42, 99, 1.0, ExtremumMode::Max, 47},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.marker << " " << int(c.mode));
        ExtremumSearch s;
        s.marker = c.marker;
        s.firstShown = c.first;
        s.lastShown = c.last;
        s.vicinity = c.vicinity;
        s.mode = c.mode;
        EXPECT_EQ(FindExtremum(x, s), c.expected);
    }
}

} // namespace
