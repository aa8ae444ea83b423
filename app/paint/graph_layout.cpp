#include "app/paint/graph_layout.h"

#include <cmath>
#include <cstdlib>

namespace zarno {

namespace {

double Lerp(double from0, double from1, double to0, double to1, double v) {
    // A viewport or window of no extent maps everything onto its start instead of dividing by 0.
    if (from1 == from0)
        return to0;
    return to0 + (v - from0) * (to1 - to0) / (from1 - from0);
}

// A slot strip of a stacked layout: rows (int)(top − (i + 1) × s) … (int)(top − i × s).
PixelRect SlotStrip(int left, int right, int topRow, double slotHeight, int slot) {
    return {left, right, static_cast<int>(topRow - (slot + 1) * slotHeight),
            static_cast<int>(topRow - slot * slotHeight)};
}

} // namespace

int SignalScaleStripWidth(int height) {
    return static_cast<int>(0.03 * height);
}

int SignalAxisStripHeight(int height) {
    return static_cast<int>(0.05 * height);
}

int SignalScaleStripLeft(int x, int width, int height) {
    return x + width - static_cast<int>(0.14 * height);
}

GraphLayout LayoutSignals(int x, int y, int width, int height, int count) {
    const int f = SignalScaleStripWidth(height);
    const int g = SignalAxisStripHeight(height);
    const int slots = count > 0 ? count : 1;
    GraphLayout l;
    l.kind = GraphLayoutKind::Signals;
    l.axis = {x, x + width - f, y, y + g - 1};
    l.area = {x, x + width - f - 1, y + g, height - 1};
    l.label = {x + width - f + 1, x + width, y, y + g - 1};
    l.slotHeight = std::abs(y + g - (height - 1)) / static_cast<double>(slots);
    for (int i = 0; i < slots; ++i)
        l.scales.push_back(SlotStrip(x + width - f, x + width - 1, height - 1, l.slotHeight, i));
    return l;
}

GraphLayout LayoutSignal(int x, int y, int width, int height) {
    const int r = x + width;
    const int left = SignalScaleStripLeft(x, width, height);
    const int g = SignalAxisStripHeight(height);
    GraphLayout l;
    l.kind = GraphLayoutKind::Signal;
    l.axis = {x, left, y, y + g - 1};
    l.area = {x, left - 1, y + g, height - 1};
    l.scales.push_back({left, r - 1, y + g, height});
    l.label = {left + 1, r, y, y + g - 1};
    return l;
}

GraphLayout LayoutSpectra(int width, int height, int count) {
    const int slots = count > 0 ? count : 1;
    GraphLayout l;
    l.kind = GraphLayoutKind::Spectra;
    l.axis = {0, width - kSpectraScaleWidth, 0, kSpectrumAxisHeight - 1};
    l.area = {0, width - kSpectraScaleWidth - 1, kSpectrumAxisHeight, height - 1};
    l.label = {width - kSpectraScaleWidth, width - 1, 0, kSpectrumAxisHeight - 1};
    l.slotHeight = (height - kSpectrumAxisHeight) / static_cast<double>(slots);
    for (int i = 0; i < slots; ++i)
        l.scales.push_back(SlotStrip(width - kSpectraScaleWidth, width - 1, height - 1, l.slotHeight, i));
    return l;
}

GraphLayout LayoutSpectrum(int width, int height) {
    GraphLayout l;
    l.kind = GraphLayoutKind::Spectrum;
    l.axis = {0, width - kSpectrumScaleWidth, 0, kSpectrumAxisHeight - 1};
    l.area = {0, width - kSpectrumScaleWidth - 1, kSpectrumAxisHeight, height - 1};
    l.scales.push_back({width - kSpectrumScaleWidth, width - 1, kSpectrumAxisHeight, height - 1});
    l.label = {width - kSpectrumScaleWidth, width - 1, 0, kSpectrumAxisHeight - 1};
    return l;
}

double PlotMapping::SampleAt(double px) const {
    return Lerp(viewport.left, viewport.right, xMin, xMax, px);
}

double PlotMapping::ValueAt(double py) const {
    return Lerp(viewport.bottom, viewport.top, yMin, yMax, py);
}

double PlotMapping::PixelOfSample(double sample) const {
    return Lerp(xMin, xMax, viewport.left, viewport.right, sample);
}

double PlotMapping::PixelOfValue(double value) const {
    return Lerp(yMin, yMax, viewport.bottom, viewport.top, value);
}

} // namespace zarno
