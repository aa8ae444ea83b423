#pragma once
// Where each element of the viewer's picture lies in a window of W × H pixels, for each of the
// four layouts, and how the pixels of a plot area map to samples and values. The renderer sets its
// viewports from here and the view's hit tests read the same rectangles, so a click lands on what
// was drawn. No drawing here.

#include <vector>

namespace zarno {

// A rectangle of window pixels, origin bottom-left, given as the viewports are: left … right,
// bottom … top. The GL viewport it sets is (left, bottom, right − left, top − bottom).
struct PixelRect {
    int left = 0;
    int right = 0;
    int bottom = 0;
    int top = 0;

    int Width() const { return right - left; }
    int Height() const { return top - bottom; }
    // x, y in bottom-up window pixels; both edges count as inside.
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= bottom && y <= top; }
    bool operator==(const PixelRect&) const = default;
};

// A pointer row as a window reports it (0 = top) in the bottom-up rows of the viewports.
inline int RowFromTop(int y, int windowHeight) {
    return windowHeight - y;
}

enum class GraphLayoutKind { Signals, Signal, Spectra, Spectrum };

// The viewports of one layout. Stacked layouts share one plot-area viewport among their slots
// (each slot is a projection within it) and give each slot its own scale strip, top slot first;
// the enlarged layouts have one scale.
struct GraphLayout {
    GraphLayoutKind kind = GraphLayoutKind::Signals;
    PixelRect axis;
    PixelRect area;
    PixelRect label;
    std::vector<PixelRect> scales;
    double slotHeight = 0.0; // stacked layouts: pixels per slot
};

// The width of the right strip and the height of the bottom strip of the signal layouts, both
// taken from the window height.
int SignalScaleStripWidth(int height);  // several signals
int SignalAxisStripHeight(int height);  // both signal layouts
int SignalScaleStripLeft(int x, int width, int height); // one signal enlarged: L

// Spectrum layouts use fixed strips.
inline constexpr int kSpectrumAxisHeight = 25;
inline constexpr int kSpectraScaleWidth = 25;
inline constexpr int kSpectrumScaleWidth = 80;

// count 0 is laid out as 1 slot.
GraphLayout LayoutSignals(int x, int y, int width, int height, int count);
GraphLayout LayoutSignal(int x, int y, int width, int height);
GraphLayout LayoutSpectra(int width, int height, int count);
GraphLayout LayoutSpectrum(int width, int height);

// The world window of a plot area over its viewport: x in sample indices (or bins), y in data
// units. Pixel x = left maps to x min and x = right to x max; likewise bottom/top to y min/y max.
struct PlotMapping {
    PixelRect viewport;
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;

    double SampleAt(double px) const;
    double ValueAt(double py) const; // py bottom-up
    double PixelOfSample(double sample) const;
    double PixelOfValue(double value) const; // bottom-up
};

} // namespace zarno
