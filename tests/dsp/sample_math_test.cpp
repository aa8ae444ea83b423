#include "app/dsp/sample_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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
        ExtremumReach reach = ExtremumReach::TwoWay;
    };
    const Case cases[] = {
        {43, 0, 99, 1.0, ExtremumMode::Max, 47},    {43, 0, 99, 1.0, ExtremumMode::Min, 44},
        {43, 0, 99, 1.0, ExtremumMode::AbsMax, 44}, {42, 0, 99, 0.5, ExtremumMode::Max, 40},
        {43, 0, 45, 1.0, ExtremumMode::Max, 40}, // the shown part ends the window at 45
        {43, 42, 99, 1.0, ExtremumMode::Max, 47},
        // The double click's reach: 1.0 m is 2 samples and the last one, 47, is left out.
        {45, 0, 99, 1.0, ExtremumMode::Max, 43, ExtremumReach::Click},
        {45, 0, 99, 1.0, ExtremumMode::Min, 44, ExtremumReach::Click},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.marker << " " << int(c.mode));
        ExtremumSearch s;
        s.marker = c.marker;
        s.firstShown = c.first;
        s.lastShown = c.last;
        s.vicinity = c.vicinity;
        s.mode = c.mode;
        s.reach = c.reach;
        EXPECT_EQ(FindExtremum(x, s), c.expected);
    }
}

} // namespace
