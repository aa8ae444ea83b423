#pragma once
// A ViewerScene that records what the viewer's logic asks of the picture and answers the axis and
// span queries from fields the test sets.

#include "app/viewer/viewer_scene.h"

#include <vector>

namespace zarno::testing {

class FakeScene final : public ViewerScene {
public:
    AxisRange signalAxis{0, 999, 1000};
    AxisRange spectrumAxis{0, 499, 500};
    double minSpan = 1.0;
    std::vector<double> signalSetups; // the pad of each set-up
    int spectrumSetups = 0;
    std::vector<double> zooms, shifts;
    std::vector<int> resets, spectrumZooms, spectrumPans;
    int redraws = 0;

    void SetUpSignals(double pad) override { signalSetups.push_back(pad); }
    void SetUpSpectra() override { ++spectrumSetups; }
    void Redraw() override { ++redraws; }
    AxisRange SignalAxis() const override { return signalAxis; }
    AxisRange SpectrumAxis() const override { return spectrumAxis; }
    double MinSpan(int, bool) const override { return minSpan; }
    void ZoomTop(int, bool, double delta) override { zooms.push_back(delta); }
    void ShiftY(int, bool, double delta) override { shifts.push_back(delta); }
    void ResetY(int trace, bool) override { resets.push_back(trace); }
    void ZoomSpectra(int, int bias) override { spectrumZooms.push_back(bias); }
    void PanSpectra(int, int bias) override { spectrumPans.push_back(bias); }
};

} // namespace zarno::testing
