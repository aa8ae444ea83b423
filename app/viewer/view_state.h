#pragma once
// What the signal view keeps beside the document: the five markers with the current and previous
// one, single-graph mode, the X units, and the settings of the extremum search that the panel
// chooses. The view's input and the panel both change it; the renderer draws the markers from it.

#include "app/dsp/sample_math.h"

#include <array>

namespace zarno {

inline constexpr int kMarkerCount = 5;

struct MarkerSet {
    std::array<int, kMarkerCount> position{}; // sample indices
    int current = 0;
    int previous = 0;

    // The marker nearest to sample q; the first of equally near ones.
    int NearestTo(int q) const;
    // j becomes the current marker, the current one the previous (nothing when j already is).
    void MakeCurrent(int j);
    int& Current() { return position[static_cast<std::size_t>(current)]; }
    int Current() const { return position[static_cast<std::size_t>(current)]; }
};

struct ViewState {
    MarkerSet markers;
    bool singleMode = false;
    bool timeUnits = true;     // the X axis shows time (else length)
    int searchTrace = 0;       // graph for lengths and for the extremum search
    dsp::ExtremumMode searchMode = dsp::ExtremumMode::Max;
    double vicinity = 0.5;     // extremum search half-width, metres
    bool grid = true;
};

} // namespace zarno
