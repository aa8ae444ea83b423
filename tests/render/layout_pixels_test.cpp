// The four layouts at 1000 × 600 pixels: where each strip lies and what colour it is filled with.
// The expected rectangles are worked out from the layout rules by hand, e.g. for several signals
// the right strip is (int)(0.03 × 600) = 18 wide and the bottom strip (int)(0.05 × 600) = 30 high.

#include "tests/render/render_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zarno::testing {
namespace {

constexpr int kW = 1000;
constexpr int kH = 600;

const QRgb kClear = GlColor(0.95, 0.95, 1.0);
const QRgb kSelectedSignalScale = GlColor(0.6, 0.7, 0.8);
const QRgb kOtherSignalScale = GlColor(0.9, 0.9, 0.95);
const QRgb kDarkLabel = GlColor(0.2, 0.0, 0.0);
const QRgb kPaleLabel = GlColor(0.95, 0.85, 0.95);
const QRgb kWhite = GlColor(1, 1, 1);

struct Traces {
    std::vector<double> a, b;
    Traces() {
        for (int i = 0; i < 400; ++i) {
            a.push_back(std::sin(i * 0.05));
            b.push_back(100.0 * std::cos(i * 0.03));
        }
    }
};

void LoadSet(CGraphSet& set, const Traces& t) {
    const std::vector<double>* data[] = {&t.a, &t.b};
    for (std::size_t i = 0; i < 2; ++i) {
        set.areas[i].SetData(0, 399, 400, data[i]->data(), 30, int(i));
        set.scales[i].Init(0, 10, set.areas[i].m_dDataMin, set.areas[i].m_dDataMax, int(i));
    }
    set.axis.Init(0, 399, 400, 0, 10, 0.1, 2, 0);
}

struct Strip {
    const char* what;
    int left, right, bottom, top; // columns [left, right), GL rows [bottom, top)
    QRgb colour;
};

class Layouts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(canvas.Ok());
        LoadSet(canvas.scene.m_signals, traces);
        LoadSet(canvas.scene.m_spectra, traces);
    }
    void ExpectStrips(const QImage& image, const std::vector<Strip>& strips) {
        for (const Strip& s : strips) {
            SCOPED_TRACE(s.what);
            EXPECT_TRUE(EdgesAre(image, s.left, s.right, s.bottom, s.top, s.colour));
        }
    }
    Traces traces;
    Canvas canvas{kW, kH};
    const int visible[2] = {0, 1};
};

TEST_F(Layouts, SeveralSignals) {
    canvas.scene.DrawSignals(2, 1, 0, visible, 1.0, 1);
    const QImage image = canvas.Image();
    // Slot height |30 − 599| / 2 = 284.5: row 0's scale spans (int)(599 − 284.5) = 314 … 599.
    ExpectStrips(image, {
                            {"selected row's scale", 982, 999, 314, 599, kSelectedSignalScale},
                            {"second row's scale", 982, 999, 30, 314, kOtherSignalScale},
                            {"label", 983, 1000, 0, 29, kDarkLabel},
                            {"axis, bottom row", 0, 982, 0, 1, kClear},
                            {"column between area and scales", 981, 982, 30, 599, kClear},
                            {"last column beside the scales", 999, 1000, 30, 599, kClear},
                        });
    // The selected trace's number, white, inside the label box.
    EXPECT_GT(CountColor(image, 983, 1000, 0, 29, kWhite), 5);
    // Row 0 shows trace 1's number in white on the selected colour, row 1 trace 2's in black.
    EXPECT_GT(CountColor(image, 982, 999, 314, 599, kWhite), 5);
    EXPECT_GT(CountColor(image, 982, 999, 30, 314, GlColor(0, 0, 0)), 5);
}

TEST_F(Layouts, OneSignalEnlarged) {
    // A white clear colour tells the scale's fill from the uncovered last column.
    canvas.scene.SetClearColor(1, 1, 1, 0);
    canvas.scene.DrawSignal(0, 0);
    const QImage image = canvas.Image();
    // L = 1000 − (int)(0.14 × 600) = 916.
    ExpectStrips(image, {
                            {"label", 917, 1000, 0, 29, kPaleLabel},
                            {"scale's right edge", 998, 999, 30, 600, kClear},
                            {"last column", 999, 1000, 30, 600, kWhite},
                            {"axis, bottom row", 0, 916, 0, 1, kClear},
                        });
    EXPECT_GT(CountColor(image, 917, 1000, 0, 29, GlColor(0, 0, 0)), 5) << "the trace's number";
    EXPECT_GT(CountColor(image, 0, 915, 30, 599, kWhite), 915 * 569 * 9 / 10) << "the area's white background";
}

TEST_F(Layouts, SeveralSpectra) {
    canvas.scene.DrawSpectra(2, 2, 1, visible, 1);
    const QImage image = canvas.Image();
    // Slot height (600 − 25) / 2 = 287.5: row 0's scale spans (int)(599 − 287.5) = 311 … 599.
    ExpectStrips(image, {
                            {"first row's scale", 975, 999, 311, 599, kClear},
                            {"selected row's scale", 975, 999, 24, 311, kWhite},
                            {"label", 975, 999, 0, 24, kDarkLabel},
                            {"axis, bottom row", 0, 975, 0, 1, kClear},
                        });
    EXPECT_GT(CountColor(image, 975, 999, 24, 311, GlColor(1, 0, 0)), 5) << "the selected row's number in red";
    EXPECT_EQ(CountColor(image, 975, 999, 311, 599, GlColor(1, 0, 0)), 0);
}

TEST_F(Layouts, OneSpectrumEnlarged) {
    canvas.scene.DrawSpectrum(1, 0);
    const QImage image = canvas.Image();
    ExpectStrips(image, {
                            {"label", 920, 999, 0, 24, kPaleLabel},
                            {"scale's right edge", 998, 999, 25, 599, kClear},
                            {"axis, bottom row", 0, 920, 0, 1, kClear},
                        });
    EXPECT_GT(CountColor(image, 0, 919, 25, 599, kWhite), 919 * 574 * 9 / 10) << "the area's white background";
    // The scale's ticks are black lines at its left edge.
    EXPECT_GT(CountColor(image, 920, 935, 25, 599, GlColor(0, 0, 0)), 20);
}

} // namespace
} // namespace zarno::testing
