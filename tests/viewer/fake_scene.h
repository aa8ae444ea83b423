#pragma once
// A ViewerScene that records what the viewer's logic asks of the picture and answers the axis and
// span queries from fields the test sets.

#include "app/viewer/viewer_scene.h"

#include <vector>

namespace zarno::testing {

class FakeScene final : public ViewerScene {
public:
    struct Signal {
        int trace, first, last;
        double yMin, yMax;
    };
    AxisRange signalAxis{0, 999, 1000};
    AxisRange spectrumAxis{0, 499, 500};
    double minSpan = 1.0;
    double span = 10.0;
    std::vector<Signal> graphs;
    std::vector<double> zooms, shifts;
    std::vector<int> resets, spectrumZooms, spectrumPans;
    int spectraBins = -1;
    double spectraStep = 0.0;
    int redraws = 0;
    int axisFirst = -1, axisLast = -1;
    double axisUnits = 0.0;

    void SetSignal(int trace, const TraceArray&, int first, int last, double yMin, double yMax) override {
        graphs.push_back({trace, first, last, yMin, yMax});
    }
    void SetSpectra(int bins, double step) override {
        spectraBins = bins;
        spectraStep = step;
    }
    void UpdateAxis(int first, int last, double unitsPerSample) override {
        axisFirst = first;
        axisLast = last;
        axisUnits = unitsPerSample;
    }
    void Redraw() override { ++redraws; }
    AxisRange SignalAxis() const override { return signalAxis; }
    AxisRange SpectrumAxis() const override { return spectrumAxis; }
    double MinSpan(int, bool) const override { return minSpan; }
    double Span(int, bool) const override { return span; }
    void ZoomTop(int, bool, double delta) override { zooms.push_back(delta); }
    void ShiftY(int, bool, double delta) override { shifts.push_back(delta); }
    void ResetY(int trace, bool) override { resets.push_back(trace); }
    void ZoomSpectra(int, int bias) override { spectrumZooms.push_back(bias); }
    void PanSpectra(int, int bias) override { spectrumPans.push_back(bias); }
};

} // namespace zarno::testing
