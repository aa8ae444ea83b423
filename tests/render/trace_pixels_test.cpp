// What the plot areas and scales draw: markers near the ends of the range, fills under either sign
// of the gain, a flat trace, and how a scale thins its numbers as more graphs share the screen.

#include "tests/render/render_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zarno::testing {
namespace {

const QRgb kBlack = GlColor(0, 0, 0);
const QRgb kRed = GlColor(1, 0, 0);
const QRgb kGreen = GlColor(0, 1, 0);
const QRgb kBlue = GlColor(0, 0, 1);

// One signal enlarged at 1000 × 600 has its area in columns 0 … 914, GL rows 30 … 598.
constexpr int kAreaRight = 915;
constexpr int kAreaBottom = 30;
constexpr int kAreaTop = 599;

TEST(Markers, DrawnOnlyMoreThanSixSamplesInsideTheRange) {
    std::vector<double> ramp(200);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = double(i);
    struct Case {
        int current, previous; // positions of markers 0 (current) and 1 (previous)
        bool red, green;
    };
    // The visible range is 20 … 179: 26 and 173 lie 6 inside, 27 and 172 seven.
    const Case cases[] = {
        {26, 173, false, false},
        {27, 172, true, true},
        {172, 26, true, false},
        {173, 27, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "current " << c.current << ", previous " << c.previous);
        Canvas canvas(1000, 600);
        ASSERT_TRUE(canvas.Ok());
        CGraphArea& area = canvas.scene.m_signals.areas[0];
        area.SetData(20, 179, 200, ramp.data(), 1, 0);
        GraphFrame frame;
        frame.markers = {c.current, c.previous, 0, 0, 0};
        frame.currentMarker = 0;
        frame.previousMarker = 1;
        canvas.scene.DrawSignal(0, 0, frame);
        const QImage image = canvas.Image();
        // A drawn marker is a full-height line: hundreds of pixels of its colour.
        EXPECT_EQ(CountColor(image, 0, kAreaRight, kAreaBottom, kAreaTop, kRed) > 400, c.red);
        EXPECT_EQ(CountColor(image, 0, kAreaRight, kAreaBottom, kAreaTop, kGreen) > 400, c.green);
        // Each drawn marker has its yellow flag.
        const int flags = (c.red ? 1 : 0) + (c.green ? 1 : 0);
        EXPECT_EQ(CountColor(image, 0, kAreaRight, kAreaBottom, kAreaTop, GlColor(1, 1, 0)) > 0, flags > 0);
    }
}

// A sine of two periods over 400 samples, in one slot filling the whole area of several signals
// (columns 0 … 980, GL rows 30 … 598 at 1000 × 600).
class Fill : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 400; ++i)
            sine.push_back(std::sin(2.0 * M_PI * i / 200.0));
    }
    QImage Draw(double gain, double fillLevel) {
        Canvas canvas(1000, 600);
        EXPECT_TRUE(canvas.Ok());
        canvas.scene.m_signals.areas[0].SetData(0, 399, 400, sine.data(), 1, 0);
        canvas.scene.m_signals.axis.Init(0, 399, 400, 0, 10, 1.0, 1, 0);
        GraphFrame frame;
        frame.gains = {gain, 1.0};
        const int visible[1] = {0};
        canvas.scene.DrawSignals(1, 0, 0, visible, fillLevel, 0, frame);
        return canvas.Image();
    }
    // Black pixels in the upper half of the area, at sample x's column (pixel 0 … 981 across
    // samples 0 … 399), between the middle row and the top.
    static int BlackAbove(const QImage& image, int sample) {
        const int x = int(sample * 981.0 / 399.0);
        return CountColor(image, x, x + 1, 320, 580, kBlack);
    }
    static int BlackBelow(const QImage& image, int sample) {
        const int x = int(sample * 981.0 / 399.0);
        return CountColor(image, x, x + 1, 50, 310, kBlack);
    }
    std::vector<double> sine;
};

TEST_F(Fill, UpperAndLowerSwapUnderANegativeGain) {
    // Sample 50 is a crest (+1), sample 150 a trough (−1). The fill level 0.5 puts the base at the
    // middle of the data range. Upper fill fills crests above the base; with a negative gain the
    // slot is upside down and the fill turns to the lower side, so on screen the troughs (now on
    // top) are filled instead.
    const QImage upright = Draw(1.0, 0.5);
    EXPECT_GT(BlackAbove(upright, 50), 200);
    EXPECT_LT(BlackAbove(upright, 150), 5);
    const QImage inverted = Draw(-1.0, 0.5);
    EXPECT_LT(BlackAbove(inverted, 50), 5);
    EXPECT_GT(BlackAbove(inverted, 150), 200);
    // Lower fill: troughs upright (below the middle), crests when inverted (now also below it).
    const QImage lower = Draw(1.0, -0.5);
    EXPECT_GT(BlackBelow(lower, 150), 200);
    EXPECT_LT(BlackBelow(lower, 50), 5);
    const QImage lowerInverted = Draw(-1.0, -0.5);
    EXPECT_GT(BlackBelow(lowerInverted, 50), 200);
    EXPECT_LT(BlackBelow(lowerInverted, 150), 5);
}

TEST_F(Fill, LevelOneDrawsOnlyTheLine) {
    const QImage line = Draw(1.0, 1.0);
    EXPECT_LT(BlackAbove(line, 50), 5);
    EXPECT_LT(BlackAbove(line, 150), 5);
}

TEST(FlatTrace, LiesInTheMiddleOfItsSlot) {
    const std::vector<double> flat(300, 5.0);
    const int visible[2] = {0, 1};
    for (const bool single : {false, true}) {
        SCOPED_TRACE(single ? "one signal enlarged" : "several signals");
        Canvas canvas(1000, 600);
        ASSERT_TRUE(canvas.Ok());
        for (std::size_t i = 0; i < 2; ++i) {
            canvas.scene.m_signals.areas[i].SetData(0, 299, 300, flat.data(), 30, int(i));
            canvas.scene.m_signals.scales[i].Init(0, 10, 5.0, 5.0, int(i));
        }
        canvas.scene.m_signals.axis.Init(0, 299, 300, 0, 10, 1.0, 2, 0);
        if (single)
            canvas.scene.DrawSignal(0, 1);
        else
            canvas.scene.DrawSignals(2, 0, 0, visible, 0.5, 1);
        const QImage image = canvas.Image();
        // The area spans GL rows 30 … 598; a single graph's middle is row 314, the top slot of two
        // (rows 314 … 598) has its middle at row 456.
        const int middle = single ? 314 : 456;
        EXPECT_GT(CountColor(image, 100, 101, middle - 2, middle + 3, kBlack), 0);
        EXPECT_EQ(CountColor(image, 100, 101, middle + 5, 599, kBlack), 0);
    }
}

// A scale drawn alone in a 100 × 300 viewport over −5 … 5 (x 0 … 10 is 10 pixels per unit).
QImage DrawScale(int graphs) {
    Canvas canvas(100, 300);
    EXPECT_TRUE(canvas.Ok());
    CGraphScale scale;
    scale.BindContext(canvas.scene.Gl(), nullptr);
    scale.SetFonts(canvas.scene.Fonts().Bases());
    scale.SetViewport(0, 100, 0, 300);
    scale.SetOrtho(0, 10, -5, 5);
    scale.Fill(1, 1, 1);
    scale.ComputeTicks();
    scale.DrawTicks(graphs, 0, 0, 0);
    return canvas.Image();
}

TEST(ScaleNumbers, ThinOutAsGraphsAreAdded) {
    // Up to 10 graphs: black ticks and numbers, no coloured ones. Minor ticks (x 0 … 1, pixel
    // columns 0 … 9) are drawn only up to 6 graphs; major ticks reach x 1.5.
    const QImage six = DrawScale(6);
    const QImage seven = DrawScale(7);
    EXPECT_GT(CountColor(six, 5, 6, 0, 300, kBlack), CountColor(seven, 5, 6, 0, 300, kBlack));
    EXPECT_EQ(CountColor(seven, 5, 6, 0, 300, kBlack), CountColor(DrawScale(10), 5, 6, 0, 300, kBlack));
    EXPECT_GT(CountColor(seven, 5, 6, 0, 300, kBlack), 0) << "the major ticks stay";
    EXPECT_EQ(CountColor(seven, kRed) + CountColor(seven, kBlue), 0);
    // 11 and more: only the two ends, y min in blue low down and y max in red half way up.
    const QImage eleven = DrawScale(11);
    EXPECT_EQ(CountColor(eleven, kBlack), 0);
    EXPECT_GT(CountColor(eleven, 0, 100, 0, 60, kBlue), 5);
    EXPECT_GT(CountColor(eleven, 0, 100, 150, 200, kRed), 5);
    EXPECT_EQ(CountColor(eleven, 0, 100, 200, 300, kRed) + CountColor(eleven, 0, 100, 60, 300, kBlue), 0);
}

} // namespace
} // namespace zarno::testing
