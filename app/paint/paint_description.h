#pragma once
// What the viewer hands the renderer, as values: the data the graphs are set up from when the data,
// the window or the units change, and the description of one frame built afresh for every paint
// from the document and the view's state. The renderer reads them and writes nothing back.

#include <array>
#include <span>

namespace zarno {

inline constexpr int kGraphSetSize = 2; // graphs per set: one per trace of the document
inline constexpr int kGraphMarkers = 5;
using GraphMarkers = std::array<int, kGraphMarkers>; // sample indices

// The signal graphs' data: the displayed array of each trace over the working window.
struct SignalGraphs {
    int first = 0;   // working window, first … last sample
    int last = 0;
    int samples = 0; // ns
    int zero = 0;    // the sample the axis reads 0 at
    int traceCount = 0;
    std::array<std::span<const double>, kGraphSetSize> traces; // at most ns values each
    int biasKoeffY = 30;
    double unitsPerSample = 0.0; // the axis' units (ms or m) per sample
};

// The spectrum graphs' data: the shown bins of each spectrum.
struct SpectrumGraphs {
    bool computed = false; // no spectrum yet: the graphs are left as they are
    int bins = 0;          // bins shown, 0 … bins − 1
    int traceCount = 0;
    std::array<std::span<const double>, kGraphSetSize> spectra; // at most bins values each
    int biasKoeffY = 30;
    double frequencyStep = 0.0; // Hz per bin
};

// The marks of a frame beyond the graphs' data.
struct GraphFrame {
    GraphMarkers markers{};
    int currentMarker = 1;
    int previousMarker = 0;
    bool timeUnits = true; // the signal axis shows time (else length)
    bool decibels = false; // the spectra are logarithmic
    std::array<double, kGraphSetSize> gains{1.0, 1.0};
};

// One frame: the layout and its arguments.
struct GraphPicture {
    bool spectrum = false; // spectra instead of signals
    bool single = false;   // one graph enlarged
    int trace = 0;         // the enlarged graph
    int count = 0;         // graphs on the screen (stacked layouts)
    int selectedTrace = 0;
    int selectedRow = 0;
    std::array<int, kGraphSetSize> visible{0, 1};
    double fillLevel = 1.0;
    int grid = 1;
    GraphFrame frame;
};

} // namespace zarno
