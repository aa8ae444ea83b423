#pragma once
// What the viewer's logic asks of the picture: hand the graphs their data and window, move their
// vertical windows, zoom and pan the spectra, and read back the visible range of the axes. The view
// answers it with the renderer's scene; the command line with a scene that draws nothing
// (detached_scene.h); tests with a recording fake.

#include "app/viewer/pict_doc.h"

namespace zarno {

struct AxisRange {
    int first = 0; // first and last sample (or bin) the axis shows
    int last = 0;
    int width = 1; // the axis viewport's width in pixels
};

class ViewerScene {
public:
    virtual ~ViewerScene() = default;

    // The signal graphs and the axis set up again from the document (its displayed arrays, working
    // window and units); each graph's vertical window is then widened by pad at both ends.
    virtual void SetUpSignals(double pad) = 0;
    // The spectrum graphs set up again from the document's spectra.
    virtual void SetUpSpectra() = 0;
    virtual void Redraw() = 0;

    virtual AxisRange SignalAxis() const = 0;
    virtual AxisRange SpectrumAxis() const = 0;

    // The graph's (signal or spectrum) vertical window: its smallest allowed span, a move of its top
    // by delta (refused when the span would not stay above the smallest), a move of the whole
    // window by delta, and its return to the data's range.
    virtual double MinSpan(int trace, bool spectrum) const = 0;
    virtual void ZoomTop(int trace, bool spectrum, double delta) = 0;
    virtual void ShiftY(int trace, bool spectrum, double delta) = 0;
    virtual void ResetY(int trace, bool spectrum) = 0;

    virtual void ZoomSpectra(int traces, int bias) = 0;
    virtual void PanSpectra(int traces, int bias) = 0;
};

} // namespace zarno
