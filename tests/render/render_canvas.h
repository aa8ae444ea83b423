#pragma once
// An OSMesa canvas with a scene bound to it, and pixel checks by colour and region. Regions are in
// the viewports' terms (columns left … right − 1, GL rows bottom … top − 1, row 0 at the bottom),
// converted here to image rows, so that expectations read like the layout geometry.

#include "app/render/graph_scene.h"
#include "app/render/osmesa_context.h"
#include "tests/support/recording_prompts.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>

namespace zarno::testing {

// A colour as GL stores a float triple in 8 bits.
inline QRgb GlColor(double r, double g, double b) {
    const auto c = [](double v) { return int(std::lround(v * 255.0)); };
    return qRgb(c(r), c(g), c(b));
}

inline bool Near(QRgb a, QRgb b, int tolerance = 1) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The pixel at column x, GL row y (0 = bottom).
inline QRgb At(const QImage& image, int x, int glRow) {
    return image.pixel(x, image.height() - 1 - glRow);
}

// Pixels of colour c in columns [left, right) and GL rows [bottom, top).
inline int CountColor(const QImage& image, int left, int right, int bottom, int top, QRgb c, int tolerance = 1) {
    int n = 0;
    for (int x = left; x < right; ++x)
        for (int y = bottom; y < top; ++y)
            n += Near(At(image, x, y), c, tolerance) ? 1 : 0;
    return n;
}

inline int CountColor(const QImage& image, QRgb c, int tolerance = 1) {
    return CountColor(image, 0, image.width(), 0, image.height(), c, tolerance);
}

// The outline of the region [left, right) × [bottom, top) is all of colour c: a filled strip whose
// content (numbers) stays clear of its edges.
inline ::testing::AssertionResult EdgesAre(const QImage& image, int left, int right, int bottom, int top, QRgb c) {
    for (int x = left; x < right; ++x)
        for (int y = bottom; y < top; ++y) {
            const bool edge = x == left || x == right - 1 || y == bottom || y == top - 1;
            if (edge && !Near(At(image, x, y), c))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", row " << y << ") is " << std::hex << At(image, x, y) << " not " << c;
        }
    return ::testing::AssertionSuccess();
}

class Canvas {
public:
    Canvas(int width, int height) : context(width, height) {
        if (context.Ok() && scene.CreateContext(context.Binding(), prompts) == 1)
            scene.SetWindow(0, 0, width, height);
    }
    bool Ok() const { return context.Ok() && scene.HasContext() && scene.Fonts().Created(); }
    QImage Image() const { return context.Image(); }

    OsMesaContext context;
    CGraphScene scene;
    RecordingPrompts prompts;
};

} // namespace zarno::testing
