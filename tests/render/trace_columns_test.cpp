// A trace drawn through only the samples that decide its pixels (trace_columns.h) against the same
// trace drawn through every sample: the pictures must be the same to the pixel, whatever the data
// (noise, flat runs of whole numbers, lone spikes, a slow ramp), the density of samples per column,
// the visible range, the viewport's offset, the fill and the sign of the gain.

#include "app/render/trace_columns.h"
#include "tests/render/render_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zarno::testing {
namespace {

std::vector<double> Noisy(int n) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.05);
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = std::sin(i * 0.01) * std::exp(-i * 2e-5) + noise(random);
    return v;
}

// Small whole numbers: long flat runs, each step one level up or down.
std::vector<double> Stepped(int n) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = std::round(40.0 * std::sin(i * 0.0007) + 3.0 * std::sin(i * 0.05));
    return v;
}

// Zero but for single samples far out, at places that fall anywhere within a column.
std::vector<double> Spikes(int n) {
    std::vector<double> v(static_cast<std::size_t>(n), 0.0);
    for (int i = 11; i < n; i += 997)
        v[static_cast<std::size_t>(i)] = (i / 997) % 2 == 0 ? 1.0 : -0.7;
    return v;
}

std::vector<double> Ramp(int n) {
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = i * 1e-3 + 1e-7 * (i % 3);
    return v;
}

struct Picture {
    int width = 1920, height = 1080;
    int left = 0;     // the area's viewport: columns left … width − 1
    int first = 0, last = 0;
    double gain = 1.0, fillLevel = 0.5;
};

// The area drawn by the renderer (every = false) or through every sample, as it drew before.
QImage Draw(const std::vector<double>& data, const Picture& p, bool every) {
    Canvas canvas(p.width, p.height);
    EXPECT_TRUE(canvas.Ok());
    const GlTable& gl = *canvas.scene.Gl();
    gl.ClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    gl.Clear(GL_COLOR_BUFFER_BIT);
    CGraphArea area;
    area.BindContext(&gl, nullptr);
    area.SetViewport(p.left, p.width, 0, p.height);
    area.SetData(p.first, p.last, int(data.size()), data.data(), 1, 0);
    if (p.gain < 0.0)
        area.SetSlotOrthoInverted(1, 0);
    else
        area.SetSlotOrtho(1, 0);
    if (!every) {
        area.DrawSlotTrace(1, 1, 0, area.m_dDataMin, area.m_dDataMax, p.gain, p.fillLevel, GraphMarkers{}, -1, -1, 0);
        return canvas.Image();
    }
    const double u = std::fabs(p.gain);
    const double s = p.gain < 0.0 ? -p.fillLevel : p.fillLevel;
    const double level = u * (area.m_dDataMin + std::fabs(area.m_dDataMax - area.m_dDataMin) * std::fabs(s));
    gl.Color3f(0.0f, 0.0f, 0.0f);
    gl.Begin(GL_QUADS);
    for (int x = area.m_nFirst; x < area.m_nLast; ++x) {
        const double v = data[static_cast<std::size_t>(x)] * u;
        if (s >= 0.0 ? v >= level : v < level) {
            gl.Vertex2d(x, level);
            gl.Vertex2d(x + 1, level);
            gl.Vertex2d(x + 1, v);
            gl.Vertex2d(x, v);
        }
    }
    gl.End();
    gl.Begin(GL_LINE_STRIP);
    for (int x = area.m_nFirst; x < area.m_nLast; ++x)
        gl.Vertex2d(x, u * data[static_cast<std::size_t>(x)]);
    gl.End();
    return canvas.Image();
}

std::string Differences(const QImage& a, const QImage& b) {
    int count = 0;
    std::ostringstream where;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ < 5)
                where << " column " << x << ", image row " << y << (qRed(a.pixel(x, y)) < 128 ? " drawn" : " left out")
                      << ";";
    return count == 0 ? std::string() : std::to_string(count) + " pixels differ:" + where.str();
}

TEST(TraceColumns, SamePixelsAsEverySampleDrawn) {
    constexpr int kLargest = 65535;
    const struct {
        const char* name;
        std::vector<double> data;
        Picture picture;
    } cases[] = {
        {"noise, 34 samples a column, upper fill", Noisy(kLargest), {1920, 1080, 0, 0, kLargest - 1, 1.0, 0.5}},
        {"noise, offset viewport, lower fill, negative gain", Noisy(kLargest),
         {1920, 1080, 37, 0, kLargest - 1, -2.0, -0.5}},
        {"noise, 218 samples a column, no fill", Noisy(kLargest), {300, 200, 0, 0, kLargest - 1, 1.0, 1.0}},
        {"noise, a part of the trace", Noisy(kLargest), {1000, 600, 85, 1234, 31000, 1.0, 0.5}},
        {"noise, about one sample a column", Noisy(2500), {1920, 1080, 0, 0, 2499, 1.0, 0.5}},
        {"whole numbers with flat runs", Stepped(kLargest), {1920, 1080, 0, 0, kLargest - 1, 1.0, 0.5}},
        {"whole numbers, narrow", Stepped(kLargest), {640, 480, 13, 0, kLargest - 1, 1.0, 1.0}},
        {"lone spikes", Spikes(kLargest), {1920, 1080, 0, 0, kLargest - 1, 1.0, 0.5}},
        {"slow ramp", Ramp(kLargest), {1920, 1080, 0, 0, kLargest - 1, 1.0, 0.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage drawn = Draw(c.data, c.picture, false);
        const QImage every = Draw(c.data, c.picture, true);
        ASSERT_FALSE(drawn.isNull());
        EXPECT_EQ(Differences(drawn, every), "");
    }
}

TEST(TraceColumns, KeepAFewSamplesAColumn) {
    const std::vector<double> data = Noisy(65535);
    const TraceColumns columns{0.0, 1920.0, 0.0, 65534.0, 400.0};
    // 34 samples a column: a few of them decide a column's pixels.
    EXPECT_LT(StripSamples(data.data(), 0, 65534, 1, columns).size(), std::size_t(65534 / 2));
    EXPECT_LT(FillSamples(0, 65534, 1, columns).size(), std::size_t(4 * 1920));
    // Fewer samples than columns: every one is kept.
    const TraceColumns sparse{0.0, 1920.0, 0.0, 999.0, 400.0};
    EXPECT_EQ(StripSamples(data.data(), 0, 999, 1, sparse).size(), std::size_t(999));
    EXPECT_EQ(FillSamples(0, 999, 1, sparse).size(), std::size_t(999));
}

} // namespace
} // namespace zarno::testing
