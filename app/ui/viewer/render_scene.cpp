#include "app/ui/viewer/render_scene.h"

#include "app/render/graph_setup.h"
#include "app/viewer/viewer_paint.h"

#include <algorithm>

namespace zarno {

namespace {

std::size_t TraceSlot(int trace) {
    return static_cast<std::size_t>(std::clamp(trace, 0, kGraphSetSize - 1));
}

} // namespace

RenderScene::RenderScene(CGraphScene& scene, const CPictDoc& doc, const ViewState& view, std::function<void()> redraw)
    : m_scene(scene), m_doc(doc), m_view(view), m_redraw(std::move(redraw)) {}

CGraphArea& RenderScene::Area(int trace, bool spectrum) {
    return (spectrum ? m_scene.m_spectra : m_scene.m_signals).areas[TraceSlot(trace)];
}

const CGraphArea& RenderScene::Area(int trace, bool spectrum) const {
    return (spectrum ? m_scene.m_spectra : m_scene.m_signals).areas[TraceSlot(trace)];
}

void RenderScene::SetUpSignals(double pad) {
    SetUpSignalGraphs(m_scene, SignalGraphsOf(m_doc));
    if (pad == 0.0)
        return;
    for (CGraphArea& area : m_scene.m_signals.areas) {
        area.m_dYMin -= pad;
        area.m_dYMax += pad;
    }
}

void RenderScene::SetUpSpectra() {
    SetUpSpectrumGraphs(m_scene, SpectrumGraphsOf(m_doc));
}

void RenderScene::Redraw() {
    if (m_redraw)
        m_redraw();
}

GraphLayout RenderScene::SignalLayout() const {
    return m_view.singleMode ? m_scene.SignalLayout() : m_scene.SignalsLayout(m_doc.Data().m_nGraphsOnScreen);
}

AxisRange RenderScene::SignalAxis() const {
    const CGraphAxis& axis = m_scene.m_signals.axis;
    return {axis.m_nFirst, axis.m_nLast, std::max(SignalLayout().axis.Width(), 1)};
}

AxisRange RenderScene::SpectrumAxis() const {
    const CGraphAxis& axis = m_scene.m_spectra.axis;
    const GraphLayout layout =
        m_view.singleMode ? m_scene.SpectrumLayout() : m_scene.SpectraLayout(m_doc.Data().m_nGraphsOnScreen);
    return {axis.m_nFirst, axis.m_nLast, std::max(layout.axis.Width(), 1)};
}

double RenderScene::MinSpan(int trace, bool spectrum) const {
    return Area(trace, spectrum).m_dMinSpan;
}

void RenderScene::ZoomTop(int trace, bool spectrum, double delta) {
    Area(trace, spectrum).ZoomY(0.0, delta);
}

void RenderScene::ShiftY(int trace, bool spectrum, double delta) {
    Area(trace, spectrum).ZoomY(delta, delta);
}

void RenderScene::ResetY(int trace, bool spectrum) {
    CGraphArea& area = Area(trace, spectrum);
    area.m_dYMin = area.m_dDataMin;
    area.m_dYMax = area.m_dDataMax;
}

void RenderScene::ZoomSpectra(int traces, int bias) {
    m_scene.ZoomSpectra(traces, bias);
}

void RenderScene::PanSpectra(int traces, int bias) {
    m_scene.PanSpectra(traces, bias);
}

int RenderScene::AxisX(int x) const {
    return x - SignalLayout().axis.left;
}

PointerHit RenderScene::HitAt(int x, int yFromTop) const {
    PointerHit hit;
    const int y = RowFromTop(yFromTop, m_scene.m_nHeight);
    // Markers are taken from the signal graphs, in spectrum mode too (where they lay when last drawn).
    const GraphLayout layout = SignalLayout();
    if (m_view.singleMode) {
        if (layout.area.Contains(x, y))
            hit.overSignal[TraceSlot(m_doc.Data().m_nSingleTrace)] = true;
        hit.overSingleScale = !layout.scales.empty() && layout.scales.front().Contains(x, y);
    } else if (layout.area.Contains(x, y) && layout.slotHeight > 0.0) {
        const int row = static_cast<int>((layout.area.top - y) / layout.slotHeight);
        if (row >= 0 && row < m_doc.Data().m_nGraphsOnScreen && row < kPictTraces)
            hit.overSignal[TraceSlot(m_doc.Data().m_nVisible[static_cast<std::size_t>(row)])] = true;
    }
    if (!m_view.singleMode) {
        for (std::size_t row = 0; row < layout.scales.size() && row < kPictTraces; ++row)
            if (layout.scales[row].Contains(x, y) && m_doc.Data().m_nVisible[row] == m_doc.Data().m_nSingleTrace)
                hit.overSingleScale = true;
    }
    const GraphLayout axisLayout = m_doc.Data().m_bSpectrum ? (m_view.singleMode ? m_scene.SpectrumLayout()
                                                                          : m_scene.SpectraLayout(m_doc.Data().m_nGraphsOnScreen))
                                                     : layout;
    hit.overAxisStrip = axisLayout.axis.Contains(x, y);
    return hit;
}

} // namespace zarno
