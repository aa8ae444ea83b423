#pragma once
// The viewer's logic (ViewerScene) answered by the renderer's scene, and what lies under the
// pointer found with the same layout the scene draws into.

#include "app/render/graph_scene.h"
#include "app/viewer/view_input.h"
#include "app/viewer/viewer_scene.h"

#include <functional>

namespace zarno {

class RenderScene final : public ViewerScene {
public:
    RenderScene(CGraphScene& scene, const CPictDoc& doc, const ViewState& view, std::function<void()> redraw);

    void SetUpSignals(double pad) override;
    void SetUpSpectra() override;
    void Redraw() override;
    AxisRange SignalAxis() const override;
    AxisRange SpectrumAxis() const override;
    double MinSpan(int trace, bool spectrum) const override;
    void ZoomTop(int trace, bool spectrum, double delta) override;
    void ShiftY(int trace, bool spectrum, double delta) override;
    void ResetY(int trace, bool spectrum) override;
    void ZoomSpectra(int traces, int bias) override;
    void PanSpectra(int traces, int bias) override;

    // x, y in window pixels from the top left. x on the axis is measured from the axis' left edge.
    PointerHit HitAt(int x, int y) const;
    int AxisX(int x) const;

private:
    CGraphArea& Area(int trace, bool spectrum);
    const CGraphArea& Area(int trace, bool spectrum) const;
    GraphLayout SignalLayout() const;

    CGraphScene& m_scene;
    const CPictDoc& m_doc;
    const ViewState& m_view;
    std::function<void()> m_redraw;
};

} // namespace zarno
