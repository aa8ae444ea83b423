// The renderer's arithmetic without drawing: tick steps, visible ranges and their limits, the
// layout mapping between pixels and samples, and the context failures the user is told of.

#include "app/render/graph_scene.h"
#include "app/paint/graph_layout.h"
#include "tests/support/recording_prompts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace zarno::testing {
namespace {

TEST(TickStep, FollowsTheMantissaTable) {
    struct Case {
        double span, step;
        int exponent;
    };
    const Case cases[] = {
        {0.35, 0.05, -1}, {250.0, 25.0, 2}, {1.0, 0.1, 0},  {2.0, 0.2, 0},  {2.5, 0.25, 0},
        {5.0, 0.5, 0},    {10.0, 1.0, 0},   {7.0, 1.0, 0},  {0.002, 0.0002, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.span);
        const TickStep t = ComputeTickStep(c.span);
        EXPECT_NEAR(t.step, c.step, 1e-12);
        EXPECT_EQ(t.exponent, c.exponent);
    }
}

TEST(TickStep, FlatOrBrokenSpansStillGiveAStep) {
    for (const double span : {0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        const TickStep t = ComputeTickStep(span);
        EXPECT_TRUE(std::isfinite(t.step) && t.step > 0.0) << span;
    }
}

TEST(PlotArea, DataRangeAndLimits) {
    // The range is searched from first to last − 1: the maximum at the last sample is not seen.
    const std::vector<double> data{5, 1, -2, 4, 3, 9};
    CGraphArea a;
    a.SetData(-4, 10, 6, data.data(), 0, 1);
    EXPECT_EQ(a.m_nFirst, 0);
    EXPECT_EQ(a.m_nLast, 5);
    EXPECT_EQ(a.m_dDataMax, 5);
    EXPECT_EQ(a.m_dDataMin, -2);
    EXPECT_EQ(a.m_nIndexOfMin, 2);
    EXPECT_EQ(a.m_dMinSpan, 7); // divisor 0 counts as 1

    a.SetRange(1, 3);
    EXPECT_FALSE(a.Shift(-2)); // first would be negative
    EXPECT_FALSE(a.Shift(3));  // last would reach count
    EXPECT_EQ(a.m_nFirst, 1);
    EXPECT_EQ(a.m_nLast, 3);
    EXPECT_TRUE(a.Shift(2));
    EXPECT_EQ(a.m_dXMin, 3);
    EXPECT_EQ(a.m_dXMax, 5);

    // Zooming may not bring the span to min span or below.
    EXPECT_FALSE(a.ZoomY(1.0, -0.5));
    EXPECT_EQ(a.m_dYMin, -2);
    EXPECT_TRUE(a.ZoomY(-1.0, 1.0));
    EXPECT_EQ(a.m_dYMax, 6);
}

TEST(PlotArea, NoDataDrawsNothingAndReadsNothing) {
    CGraphArea a;
    a.SetData(0, 99, 0, nullptr, 30, 0);
    EXPECT_EQ(a.m_nLast, -1);
    EXPECT_EQ(a.m_dDataMin, 0);
    EXPECT_FALSE(a.Shift(1));
}

TEST(Axis, ReadsZeroAtTheFirstSampleAndShiftsWithinTheData) {
    CGraphAxis axis;
    axis.Init(100, 499, 1000, 0, 10, 0.1, 2, 100);
    EXPECT_DOUBLE_EQ(axis.m_dWindow[0], 0.0);
    EXPECT_DOUBLE_EQ(axis.m_dWindow[1], 39.9);
    EXPECT_FALSE(axis.Shift(501));
    EXPECT_TRUE(axis.Shift(-100));
    EXPECT_DOUBLE_EQ(axis.m_dWindow[0], -10.0);
    // A zero of its own: the axis reads from it, not from the window's first sample.
    axis.Init(100, 499, 1000, 0, 10, 0.1, 2, 40);
    EXPECT_DOUBLE_EQ(axis.m_dWindow[0], 6.0);
    EXPECT_DOUBLE_EQ(axis.m_dWindow[1], 45.9);
}

TEST(Layout, PixelsAndSamplesMapBothWays) {
    const GraphLayout l = LayoutSignals(0, 0, 1000, 600, 0);
    ASSERT_EQ(l.scales.size(), 1u); // no graphs are laid out as one
    const PlotMapping m{l.area, 100.0, 1081.0, -1.0, 1.0};
    EXPECT_DOUBLE_EQ(m.SampleAt(l.area.left), 100.0);
    EXPECT_DOUBLE_EQ(m.SampleAt(l.area.right), 1081.0);
    EXPECT_DOUBLE_EQ(m.SampleAt(m.PixelOfSample(555.0)), 555.0);
    EXPECT_DOUBLE_EQ(m.ValueAt(m.PixelOfValue(0.25)), 0.25);
    const PlotMapping flat{l.area, 0.0, 0.0, 2.0, 2.0};
    EXPECT_DOUBLE_EQ(flat.PixelOfSample(0.0), l.area.left); // no division by an empty window
}

TEST(Layout, HitTestTakesPointerRowsFromTheTop) {
    CGraphArea a;
    a.SetViewport(LayoutSignals(0, 0, 1000, 600, 2).area); // columns 0 … 981, rows 30 … 599
    EXPECT_TRUE(a.HitTest(10, 10, 600));
    EXPECT_TRUE(a.HitTest(981, 570, 600));
    EXPECT_FALSE(a.HitTest(10, 580, 600)); // over the axis strip
    EXPECT_FALSE(a.HitTest(990, 10, 600)); // over the scales
}

TEST(Context, FailuresAreToldWithTheirOwnMessages) {
    struct Case {
        GlContextFailure failure;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {GlContextFailure::PixelFormatChoice, "ChoosePixelFormat::Error", "Error!"},
        {GlContextFailure::PixelFormatSet, "SetPixelFormat::Error", "Error!"},
        {GlContextFailure::ContextCreation, "wglCreateContext::Error", "Error!"},
        {GlContextFailure::MakeCurrent, "wglMakeCurrent::Error", "Error"},
    };
    for (const Case& c : cases) {
        RecordingPrompts prompts;
        CGraphScene scene;
        GlBinding binding;
        binding.failure = c.failure;
        EXPECT_EQ(scene.CreateContext(binding, prompts), -1);
        EXPECT_FALSE(scene.HasContext());
        ASSERT_EQ(prompts.records.size(), 1u);
        EXPECT_EQ(prompts.records[0].text, c.text);
        EXPECT_EQ(prompts.records[0].caption, c.caption);
        scene.DrawSignals(2, 0, 0, std::vector<int>{0, 1}, 1.0, 1); // a scene without a context draws nothing
    }
}

} // namespace
} // namespace zarno::testing
