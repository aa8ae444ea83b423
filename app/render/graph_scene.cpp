#include "app/render/graph_scene.h"

namespace zarno {

namespace {

QString FailureText(GlContextFailure failure, QString* caption) {
    *caption = QStringLiteral("Error!");
    switch (failure) {
    case GlContextFailure::PixelFormatChoice:
        return QStringLiteral("ChoosePixelFormat::Error");
    case GlContextFailure::PixelFormatSet:
        return QStringLiteral("SetPixelFormat::Error");
    case GlContextFailure::ContextCreation:
        return QStringLiteral("wglCreateContext::Error");
    case GlContextFailure::MakeCurrent:
        *caption = QStringLiteral("Error");
        return QStringLiteral("wglMakeCurrent::Error");
    case GlContextFailure::None:
        break;
    }
    return {};
}

constexpr GraphRgb kDarkLabel{0.2f, 0.0f, 0.0f};  // several graphs
constexpr GraphRgb kPaleLabel{0.95f, 0.85f, 0.95f}; // one graph enlarged

bool ValidTrace(int t) {
    return t >= 0 && t < kGraphSetSize;
}

double GainOf(const GraphFrame& frame, int trace) {
    return ValidTrace(trace) ? frame.gains[static_cast<std::size_t>(trace)] : 1.0;
}

} // namespace

CGraphScene::CGraphScene() = default;

int CGraphScene::CreateContext(const GlBinding& binding, Prompts& prompts) {
    if (binding.failure != GlContextFailure::None) {
        QString caption;
        const QString text = FailureText(binding.failure, &caption);
        prompts.message(text, caption, PromptIcon::None);
        return -1;
    }
    m_glTable = binding.table;
    m_gl = &m_glTable;
    m_swapBuffers = binding.swapBuffers;
    QString error;
    if (!m_fonts.Create(*m_gl, 1, &error))
        prompts.trace(error); // the picture is still drawn, only without its numbers
    // Opaque: a GL widget's picture is composed with others, and a transparent clear would show
    // through as black in a grab of the window.
    SetClearColor(kGraphClearColor[0], kGraphClearColor[1], kGraphClearColor[2], 1.0f);
    return 1;
}

void CGraphScene::Destroy() {
    if (m_gl)
        m_fonts.Delete(*m_gl);
    m_gl = nullptr;
    m_swapBuffers = {};
}

void CGraphScene::ShowFrame(int flag) {
    if (flag == 1 && m_swapBuffers)
        m_swapBuffers();
}

void CGraphScene::SetClearColor(float r, float g, float b, float a) {
    if (m_gl)
        m_gl->ClearColor(r, g, b, a);
}

void CGraphScene::SetLineWidth(float width) {
    if (m_gl)
        m_gl->LineWidth(width);
}

void CGraphScene::SetWindow(int x, int y, int width, int height) {
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    if (!m_gl)
        return;
    m_gl->Viewport(x, y, width, height);
    m_gl->MatrixMode(GL_PROJECTION);
    m_gl->LoadIdentity();
    m_gl->Ortho(x, width, y, height, -1.0, 1.0);
    m_gl->MatrixMode(GL_MODELVIEW);
    m_gl->LoadIdentity();
}

GraphLayout CGraphScene::SignalsLayout(int count) const {
    return LayoutSignals(m_nX, m_nY, m_nWidth, m_nHeight, count);
}
GraphLayout CGraphScene::SignalLayout() const {
    return LayoutSignal(m_nX, m_nY, m_nWidth, m_nHeight);
}
GraphLayout CGraphScene::SpectraLayout(int count) const {
    return LayoutSpectra(m_nWidth, m_nHeight, count);
}
GraphLayout CGraphScene::SpectrumLayout() const {
    return LayoutSpectrum(m_nWidth, m_nHeight);
}

void CGraphScene::BindElements() {
    for (CGraphSet* set : {&m_signals, &m_spectra}) {
        for (CGraphArea& a : set->areas)
            a.BindContext(m_gl, &m_ticks);
        for (CGraphScale& s : set->scales)
            s.BindContext(m_gl, &m_ticks);
        set->axis.BindContext(m_gl, &m_ticks);
        set->label.BindContext(m_gl, &m_ticks);
    }
}

void CGraphScene::Clear() {
    m_gl->Clear(GL_COLOR_BUFFER_BIT);
}

void CGraphScene::BeginLayout(CGraphSet& set, const PixelRect& axisViewport, const char* originLabel) {
    BindElements();
    m_ticks.originLabel = originLabel;
    Clear();
    CGraphAxis& axis = set.axis;
    axis.SetViewport(axisViewport);
    axis.SetOrthoFromRange();
    axis.SetFonts(m_fonts.Bases());
    axis.Fill(0.95f, 0.95f, 1.0f);
    axis.ComputeTicks();
    axis.DrawTicks(0.0f, 0.0f, 0.0f);
}

void CGraphScene::EndLayout(CGraphLabel& label, const PixelRect& viewport, GraphRgb fill, int number, GraphRgb ink) {
    label.SetViewport(viewport);
    label.SetOrtho();
    label.SetFonts(m_fonts.Bases());
    label.Fill(fill.r, fill.g, fill.b);
    label.DrawNumber(number, ink.r, ink.g, ink.b);
    m_gl->Flush();
}

void CGraphScene::DrawStacked(CGraphSet& set, const GraphLayout& layout, int count, int selectedRow,
                              std::span<const int> visible, const StackedLook& look, const SlotDrawer& drawSlot) {
    for (int i = 0; i < count && static_cast<std::size_t>(i) < visible.size(); ++i) {
        const int t = visible[static_cast<std::size_t>(i)];
        if (!ValidTrace(t))
            continue;
        CGraphArea& area = set.areas[static_cast<std::size_t>(t)];
        area.SetViewport(layout.area);
        drawSlot(area, t, i);

        CGraphScale& scale = set.scales[static_cast<std::size_t>(t)];
        const bool selected = i == selectedRow;
        const GraphRgb fill = selected ? look.selectedFill : look.otherFill;
        const GraphRgb ink = selected ? look.selectedInk : look.otherInk;
        scale.SetViewport(layout.scales[static_cast<std::size_t>(i)]);
        scale.SetOrtho(0.0, 10.0, 0.0, 10.0);
        scale.Fill(fill.r, fill.g, fill.b);
        scale.SetFonts(m_fonts.Bases());
        scale.DrawNumber(t + 1, ink.r, ink.g, ink.b);
    }
}

void CGraphScene::DrawEnlarged(CGraphSet& set, const GraphLayout& layout, int trace, const GraphDrawer& drawTrace,
                               double divisor) {
    if (!ValidTrace(trace))
        return;
    CGraphArea& area = set.areas[static_cast<std::size_t>(trace)];
    area.SetViewport(layout.area);
    area.SetOrtho(area.m_dXMin, area.m_dXMax, area.m_dYMin, area.m_dYMax);
    area.SetFonts(m_fonts.Bases());
    area.FillBackground(1.0f, 1.0f, 1.0f);
    drawTrace(area);

    CGraphScale& scale = set.scales[static_cast<std::size_t>(trace)];
    scale.SetViewport(layout.scales.front());
    scale.SetOrtho(0.0, 10.0, area.m_dYMin, area.m_dYMax);
    scale.Fill(0.95f, 0.95f, 1.0f);
    scale.SetFonts(m_fonts.Bases());
    scale.ComputeTicks();
    scale.DrawTicksDivided(1, 0.0f, 0.0f, 0.0f, divisor);
}

void CGraphScene::DrawSignals(int count, int selectedTrace, int selectedRow, std::span<const int> visible,
                              double fillLevel, int grid, const GraphFrame& frame) {
    if (!m_gl)
        return;
    const GraphLayout layout = SignalsLayout(count);
    BeginLayout(m_signals, layout.axis, frame.timeUnits ? "t" : "L");
    const StackedLook look{{0.6f, 0.7f, 0.8f}, {0.9f, 0.9f, 0.95f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}};
    DrawStacked(m_signals, layout, count, selectedRow, visible, look, [&](CGraphArea& area, int t, int slot) {
        if (GainOf(frame, t) < 0.0)
            area.SetSlotOrthoInverted(count, slot);
        else
            area.SetSlotOrtho(count, slot);
        area.SetFonts(m_fonts.Bases());
        area.DrawSlotTrace(1, count, slot, area.m_dDataMin, area.m_dDataMax, GainOf(frame, t), fillLevel,
                           frame.markers, frame.currentMarker, frame.previousMarker, grid);
    });
    EndLayout(m_signals.label, layout.label, kDarkLabel, selectedTrace + 1, {1.0f, 1.0f, 1.0f});
}

void CGraphScene::DrawSignal(int trace, int grid, const GraphFrame& frame) {
    if (!m_gl)
        return;
    const GraphLayout layout = SignalLayout();
    BeginLayout(m_signals, layout.axis, frame.timeUnits ? "t" : "L");
    const double gain = GainOf(frame, trace);
    // The trace is drawn multiplied by its gain and the scale's numbers divided by it.
    DrawEnlarged(
        m_signals, layout, trace,
        [&](CGraphArea& area) {
            area.DrawScaledTrace(1, frame.markers, frame.currentMarker, frame.previousMarker, gain, grid);
        },
        gain);
    EndLayout(m_signals.label, layout.label, kPaleLabel, trace + 1, {0.0f, 0.0f, 0.0f});
}

void CGraphScene::DrawSpectra(int count, int selectedTrace, int selectedRow, std::span<const int> visible, int grid,
                              const GraphFrame& frame) {
    if (!m_gl)
        return;
    const GraphLayout layout = SpectraLayout(count);
    BeginLayout(m_spectra, layout.axis, frame.decibels ? "Hz (dB)" : "Hz");
    const StackedLook look{{1.0f, 1.0f, 1.0f}, {0.95f, 0.95f, 1.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}};
    DrawStacked(m_spectra, layout, count, selectedRow, visible, look, [&](CGraphArea& area, int, int slot) {
        // Spectra are never inverted, filled or marked.
        area.SetSlotOrtho(count, slot);
        area.SetFonts(m_fonts.Bases());
        area.DrawSlotTrace(1, count, slot, area.m_dDataMin, area.m_dDataMax, 1.0, 1.0, GraphMarkers{},
                           frame.currentMarker, frame.previousMarker, grid);
    });
    EndLayout(m_spectra.label, layout.label, kDarkLabel, selectedTrace + 1, {1.0f, 1.0f, 1.0f});
}

void CGraphScene::DrawSpectrum(int trace, int grid, const GraphFrame& frame) {
    if (!m_gl)
        return;
    const GraphLayout layout = SpectrumLayout();
    BeginLayout(m_spectra, layout.axis, frame.decibels ? "Hz (dB)" : "Hz");
    DrawEnlarged(
        m_spectra, layout, trace,
        [&](CGraphArea& area) {
            area.DrawTrace(1, frame.markers, frame.currentMarker, frame.previousMarker, grid);
        },
        1.0);
    EndLayout(m_spectra.label, layout.label, kPaleLabel, trace + 1, {0.0f, 0.0f, 0.0f});
}

void CGraphScene::ZoomSpectra(int count, int delta) {
    const int last = m_spectra.areas[0].m_nLast + delta;
    m_spectra.axis.SetRange(m_spectra.axis.m_nFirst, last);
    for (int i = 0; i < count && i < kGraphSetSize; ++i) {
        CGraphArea& a = m_spectra.areas[static_cast<std::size_t>(i)];
        a.SetRange(a.m_nFirst, last);
    }
}

void CGraphScene::PanSpectra(int count, int delta) {
    m_spectra.axis.Shift(delta);
    for (int i = 0; i < count && i < kGraphSetSize; ++i)
        m_spectra.areas[static_cast<std::size_t>(i)].Shift(delta);
}

} // namespace zarno
