// The densest picture of the viewer: two traces of 65535 samples stacked, upper fill and grid, at
// 1920 × 1080 on OSMesa, drawn by the renderer in immediate mode; against the same line strips
// and fill quadrilaterals drawn from prepared vertex arrays with nothing else (the floor of this
// GL). Dragging a marker redraws the whole picture on every mouse move, so the renderer's time per
// frame is the viewer's responsiveness. Prints ms per frame for both and their ratio (goal ≤ 2.0).

#include "app/render/graph_scene.h"
#include "app/render/osmesa_context.h"
#include "app/seams/prompts.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using namespace zarno;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSamples = 65535;
constexpr double kFillLevel = 0.5;
constexpr int kFrames = 12;

class QuietPrompts final : public Prompts {
public:
    void message(const QString&, const QString&, PromptIcon) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    OverwriteAnswer askOverwrite(const QString&, const QString&) override { return OverwriteAnswer::No; }
    void trace(const QString&) override {}
};

std::vector<double> Trace(unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<double> v(kSamples);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = std::sin(static_cast<double>(i) * 0.01) * std::exp(-static_cast<double>(i) * 2e-5) + noise(random);
    return v;
}

// One slot's vertices as the renderer emits them: the fill quadrilaterals and the line strip.
struct SlotArrays {
    std::vector<double> quads;
    std::vector<double> strip;
    double yLow = 0.0, yHigh = 0.0;
};

SlotArrays Arrays(const CGraphArea& area, int count, int slot) {
    SlotArrays a;
    const double span = area.m_dDataMax - area.m_dDataMin;
    a.yLow = area.m_dDataMin - span * (count - slot - 1);
    a.yHigh = area.m_dDataMax + span * slot;
    const double base = area.m_dDataMin + std::fabs(span) * kFillLevel;
    for (int x = area.m_nFirst; x < area.m_nLast; ++x) {
        const double v = area.m_pData[x];
        a.strip.insert(a.strip.end(), {double(x), v});
        if (v >= base)
            a.quads.insert(a.quads.end(), {double(x), base, double(x + 1), base, double(x + 1), v, double(x), v});
    }
    return a;
}

template <typename Draw> double MsPerFrame(const GlTable& gl, Draw draw) {
    draw(); // warm up
    gl.Finish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFrames; ++i) {
        draw();
        gl.Finish();
    }
    const std::chrono::duration<double, std::milli> total = std::chrono::steady_clock::now() - start;
    return total.count() / kFrames;
}

} // namespace

int main() {
    OsMesaContext context(kWidth, kHeight);
    if (!context.Ok()) {
        std::fprintf(stderr, "render_bench: %s\n", context.Error().toUtf8().constData());
        return 1;
    }
    QuietPrompts prompts;
    CGraphScene scene;
    if (scene.CreateContext(context.Binding(), prompts) != 1)
        return 1;
    scene.SetWindow(0, 0, kWidth, kHeight);
    const std::vector<double> traces[2] = {Trace(1), Trace(2)};
    for (std::size_t i = 0; i < 2; ++i) {
        scene.m_signals.areas[i].SetData(0, kSamples - 1, kSamples, traces[i].data(), 30, int(i));
        scene.m_signals.scales[i].Init(0, 10, scene.m_signals.areas[i].m_dDataMin, scene.m_signals.areas[i].m_dDataMax,
                                       int(i));
    }
    scene.m_signals.axis.Init(0, kSamples - 1, kSamples, 0, 10, 0.01, 2, 0);
    GraphFrame frame;
    frame.markers = {0, 12000, 30000, 0, 0};
    const int visible[2] = {0, 1};

    const double renderer = MsPerFrame(context.Binding().table, [&] {
        scene.DrawSignals(2, 0, 0, visible, kFillLevel, 1, frame);
    });

    const GlTable& gl = context.Binding().table;
    const GraphLayout layout = scene.SignalsLayout(2);
    const SlotArrays slotArrays[2] = {Arrays(scene.m_signals.areas[0], 2, 0), Arrays(scene.m_signals.areas[1], 2, 1)};
    const double floor = MsPerFrame(gl, [&] {
        gl.Clear(GL_COLOR_BUFFER_BIT);
        gl.Viewport(layout.area.left, layout.area.bottom, layout.area.Width(), layout.area.Height());
        gl.EnableClientState(GL_VERTEX_ARRAY);
        gl.Color3f(0, 0, 0);
        for (const SlotArrays& s : slotArrays) {
            gl.MatrixMode(GL_PROJECTION);
            gl.LoadIdentity();
            gl.Ortho(0, kSamples - 1, s.yLow, s.yHigh, -1, 1);
            gl.VertexPointer(2, GL_DOUBLE, 0, s.quads.data());
            gl.DrawArrays(GL_QUADS, 0, GLsizei(s.quads.size() / 2));
            gl.VertexPointer(2, GL_DOUBLE, 0, s.strip.data());
            gl.DrawArrays(GL_LINE_STRIP, 0, GLsizei(s.strip.size() / 2));
        }
        gl.DisableClientState(GL_VERTEX_ARRAY);
    });
    scene.Destroy();

    std::printf("render_bench: %d x %d, 2 traces of %d samples, upper fill, grid\n", kWidth, kHeight, kSamples);
    std::printf("  renderer (immediate mode): %8.2f ms per frame\n", renderer);
    std::printf("  vertex arrays (floor):     %8.2f ms per frame\n", floor);
    std::printf("  ratio: %.2f (goal <= 2.0)\n", renderer / floor);
    return 0;
}
