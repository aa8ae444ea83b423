// Off-screen passes: the report's look, font scale, and a window's context and fonts left intact
// by a pass made while it is current.

#include "app/render/offscreen_render.h"
#include "tests/render/render_canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace zarno::testing {
namespace {

const QRgb kBlack = GlColor(0, 0, 0);
const QRgb kWhite = GlColor(1, 1, 1);

// Two flat traces, the first also ramped so the picture is not trivial.
struct TwoTraces {
    std::vector<double> flat = std::vector<double>(500, 2.0);
    std::vector<double> ramp;
    TwoTraces() {
        for (int i = 0; i < 500; ++i)
            ramp.push_back(i % 50);
    }
    void Load(CGraphScene& scene) const {
        scene.m_signals.areas[0].SetData(0, 499, 500, flat.data(), 30, 0);
        scene.m_signals.areas[1].SetData(0, 499, 500, ramp.data(), 30, 1);
        for (std::size_t i = 0; i < 2; ++i)
            scene.m_signals.scales[i].Init(0, 10, scene.m_signals.areas[i].m_dDataMin,
                                           scene.m_signals.areas[i].m_dDataMax, int(i));
        scene.m_signals.axis.Init(0, 499, 500, 0, 10, 0.1, 2, 0);
    }
};

GraphPicture Stacked() {
    GraphPicture p;
    p.count = 2;
    p.grid = 0;
    return p;
}

// Black rows of the flat trace in one column of the top slot (GL rows 314 … 598 at 1000 × 600).
int FlatLineThickness(const QImage& image) {
    return CountColor(image, 500, 501, 320, 598, kBlack);
}

TEST(Offscreen, ReportLookIsWhiteWithThickLines) {
    TwoTraces traces;
    CGraphScene scene;
    traces.Load(scene);
    QString error;
    const QImage screen = RenderOffscreen(scene, Stacked(), 1000, 600, OffscreenLook::Screen(), &error);
    ASSERT_FALSE(screen.isNull()) << error.toStdString();
    const QImage report = RenderOffscreen(scene, Stacked(), 1000, 600, OffscreenLook::Report(1), &error);
    ASSERT_EQ(report.size(), QSize(1000, 600));
    // Column 981 lies between the plot area and the scales: only the clear colour shows there.
    EXPECT_EQ(At(screen, 981, 300), GlColor(0.95, 0.95, 1.0));
    EXPECT_EQ(At(report, 981, 300), kWhite);
    EXPECT_EQ(FlatLineThickness(screen), 1);
    EXPECT_EQ(FlatLineThickness(report), 2);
}

TEST(Offscreen, FontScaleEnlargesTheText) {
    TwoTraces traces;
    CGraphScene scene;
    traces.Load(scene);
    GraphPicture single;
    single.single = true;
    const auto labelInk = [&](int k) {
        const QImage image = RenderOffscreen(scene, single, 1000, 600, OffscreenLook::Report(k));
        // The enlarged signal's label box: columns 917 … 999, GL rows 0 … 28.
        return CountColor(image, 917, 1000, 0, 29, kBlack);
    };
    const int one = labelInk(1);
    EXPECT_GT(one, 5);
    EXPECT_GT(labelInk(2), 2 * one);
}

TEST(Offscreen, AWindowKeepsItsContextAndFontsAcrossAPass) {
    TwoTraces traces;
    Canvas window(1000, 600);
    ASSERT_TRUE(window.Ok());
    traces.Load(window.scene);
    const int visible[2] = {0, 1};
    window.scene.DrawSignals(2, 0, 0, visible, 1.0, 1);
    const QImage before = window.Image();
    ASSERT_GT(CountColor(before, 983, 1000, 0, 29, kWhite), 5) << "the label's number";

    // A pass at another size and font scale, with its own lists, while the window's context is current.
    const QImage page = RenderOffscreen(window.scene, Stacked(), 640, 480, OffscreenLook::Report(3));
    ASSERT_EQ(page.size(), QSize(640, 480));
    EXPECT_GT(CountColor(page, kBlack), 100);

    window.scene.DrawSignals(2, 0, 0, visible, 1.0, 1);
    EXPECT_EQ(window.Image(), before);
    EXPECT_EQ(window.scene.m_nWidth, 1000) << "the window's scene keeps its size";
}

TEST(Offscreen, APictureOfNoPixelsIsRefused) {
    CGraphScene scene;
    QString error;
    EXPECT_TRUE(RenderOffscreen(scene, Stacked(), 0, 600, OffscreenLook::Screen(), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace zarno::testing
