#pragma once
// A ViewerScene without a picture: the panel's rules run on a document with nothing on screen (the
// command line, which draws once at the end). The signal axis is the document's working window.

#include "app/viewer/viewer_scene.h"

namespace zarno {

class DetachedScene final : public ViewerScene {
public:
    explicit DetachedScene(const CPictDoc& doc) : m_doc(doc) {}

    void SetUpSignals(double) override {}
    void SetUpSpectra() override {}
    void Redraw() override {}
    AxisRange SignalAxis() const override {
        return {m_doc.Data().m_nWindowStart, m_doc.Data().m_nWindowEnd, 1};
    }
    AxisRange SpectrumAxis() const override { return {}; }
    double MinSpan(int, bool) const override { return 0.0; }
    void ZoomTop(int, bool, double) override {}
    void ShiftY(int, bool, double) override {}
    void ResetY(int, bool) override {}
    void ZoomSpectra(int, int) override {}
    void PanSpectra(int, int) override {}

private:
    const CPictDoc& m_doc;
};

} // namespace zarno
