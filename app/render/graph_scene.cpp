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

bool ValidTrace(int t) {
    return t >= 0 && t < kGraphSetSize;
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
    SetClearColor(kGraphClearColor[0], kGraphClearColor[1], kGraphClearColor[2], 0.0f);
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

void CGraphScene::SetSignalParams(int first, int last, int count, double fillLevel, const double* gains) {
    m_nFirst = first;
    m_nLast = last;
    m_nCount = count;
    m_dFillLevel = fillLevel;
    m_pGains = gains;
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

double CGraphScene::GainOf(int trace) const {
    return m_pGains && ValidTrace(trace) ? m_pGains[trace] : 1.0;
}

void CGraphScene::DrawAxis(CGraphAxis& axis, const PixelRect& viewport) {
    axis.SetViewport(viewport);
    axis.SetOrthoFromRange();
    axis.SetFonts(m_fonts.Bases());
    axis.Fill(0.95f, 0.95f, 1.0f);
    axis.ComputeTicks();
    axis.DrawTicks(0.0f, 0.0f, 0.0f);
}

void CGraphScene::DrawSignals(int count, int selectedTrace, int selectedRow, std::span<const int> visible,
                              double fillLevel, int grid) {
    if (!m_gl)
        return;
    BindElements();
    m_ticks.originLabelT = m_nTimeUnits;
    Clear();
    m_dFillLevel = fillLevel;
    const GraphLayout layout = SignalsLayout(count);
    DrawAxis(m_signals.axis, layout.axis);
    for (int i = 0; i < count && static_cast<std::size_t>(i) < visible.size(); ++i) {
        const int t = visible[static_cast<std::size_t>(i)];
        if (!ValidTrace(t))
            continue;
        CGraphArea& area = m_signals.areas[static_cast<std::size_t>(t)];
        area.SetViewport(layout.area);
        if (GainOf(t) < 0.0)
            area.SetSlotOrthoInverted(count, i);
        else
            area.SetSlotOrtho(count, i);
        area.SetFonts(m_fonts.Bases());
        area.DrawSlotTrace(1, count, i, area.m_dDataMin, area.m_dDataMax, GainOf(t), fillLevel, m_nMarkers,
                           m_nCurrentMarker, m_nPreviousMarker, grid);

        CGraphScale& scale = m_signals.scales[static_cast<std::size_t>(t)];
        const bool selected = i == selectedRow;
        scale.SetViewport(layout.scales[static_cast<std::size_t>(i)]);
        scale.SetOrtho(0.0, 10.0, 0.0, 10.0);
        if (selected)
            scale.Fill(0.6f, 0.7f, 0.8f);
        else
            scale.Fill(0.9f, 0.9f, 0.95f);
        scale.SetFonts(m_fonts.Bases());
        const float ink = selected ? 1.0f : 0.0f;
        scale.DrawNumber(t + 1, ink, ink, ink);
    }
    CGraphLabel& label = m_signals.label;
    label.SetViewport(layout.label);
    label.SetOrtho();
    label.SetFonts(m_fonts.Bases());
    label.Fill(0.2f, 0.0f, 0.0f);
    label.DrawNumber(selectedTrace + 1, 1.0f, 1.0f, 1.0f);
    m_gl->Flush();
}

void CGraphScene::DrawSignal(int trace, int grid) {
    if (!m_gl)
        return;
    BindElements();
    m_ticks.originLabelT = m_nTimeUnits;
    Clear();
    const GraphLayout layout = SignalLayout();
    DrawAxis(m_signals.axis, layout.axis);
    if (ValidTrace(trace)) {
        CGraphArea& area = m_signals.areas[static_cast<std::size_t>(trace)];
        area.SetViewport(layout.area);
        area.SetOrtho(area.m_dXMin, area.m_dXMax, area.m_dYMin, area.m_dYMax);
        area.SetFonts(m_fonts.Bases());
        area.FillBackground(1.0f, 1.0f, 1.0f);
        area.DrawScaledTrace(1, m_nMarkers, m_nCurrentMarker, m_nPreviousMarker, GainOf(trace), grid);

        CGraphScale& scale = m_signals.scales[static_cast<std::size_t>(trace)];
        scale.SetViewport(layout.scales.front());
        scale.SetOrtho(0.0, 10.0, area.m_dYMin, area.m_dYMax);
        scale.Fill(0.95f, 0.95f, 1.0f);
        scale.SetFonts(m_fonts.Bases());
        scale.ComputeTicks();
        scale.DrawTicksDivided(1, 0.0f, 0.0f, 0.0f, GainOf(trace));
    }
    CGraphLabel& label = m_signals.label;
    label.SetViewport(layout.label);
    label.SetOrtho();
    label.SetFonts(m_fonts.Bases());
    label.Fill(0.95f, 0.85f, 0.95f);
    label.DrawNumber(trace + 1, 0.0f, 0.0f, 0.0f);
    m_gl->Flush();
}

void CGraphScene::DrawSpectra(int count, int selectedTrace, int selectedRow, std::span<const int> visible, int grid) {
    if (!m_gl)
        return;
    BindElements();
    m_ticks.originLabelT = 1;
    Clear();
    const GraphLayout layout = SpectraLayout(count);
    DrawAxis(m_spectra.axis, layout.axis);
    const GraphMarkers none{};
    for (int i = 0; i < count && static_cast<std::size_t>(i) < visible.size(); ++i) {
        const int t = visible[static_cast<std::size_t>(i)];
        if (!ValidTrace(t))
            continue;
        CGraphArea& area = m_spectra.areas[static_cast<std::size_t>(t)];
        area.SetViewport(layout.area);
        area.SetSlotOrtho(count, i);
        area.SetFonts(m_fonts.Bases());
        area.DrawSlotTrace(1, count, i, area.m_dDataMin, area.m_dDataMax, 1.0, 1.0, none, m_nCurrentMarker,
                           m_nPreviousMarker, grid);

        CGraphScale& scale = m_spectra.scales[static_cast<std::size_t>(t)];
        const bool selected = i == selectedRow;
        scale.SetViewport(layout.scales[static_cast<std::size_t>(i)]);
        scale.SetOrtho(0.0, 10.0, 0.0, 10.0);
        if (selected)
            scale.Fill(1.0f, 1.0f, 1.0f);
        else
            scale.Fill(0.95f, 0.95f, 1.0f);
        scale.SetFonts(m_fonts.Bases());
        scale.DrawNumber(t + 1, selected ? 1.0f : 0.0f, 0.0f, 0.0f);
    }
    CGraphLabel& label = m_spectra.label;
    label.SetViewport(layout.label);
    label.SetOrtho();
    label.SetFonts(m_fonts.Bases());
    label.Fill(0.2f, 0.0f, 0.0f);
    label.DrawNumber(selectedTrace + 1, 1.0f, 1.0f, 1.0f);
    m_gl->Flush();
}

void CGraphScene::DrawSpectrum(int trace, int grid) {
    if (!m_gl)
        return;
    BindElements();
    m_ticks.originLabelT = 1;
    Clear();
    const GraphLayout layout = SpectrumLayout();
    DrawAxis(m_spectra.axis, layout.axis);
    if (ValidTrace(trace)) {
        CGraphArea& area = m_spectra.areas[static_cast<std::size_t>(trace)];
        area.SetViewport(layout.area);
        area.SetOrtho(area.m_dXMin, area.m_dXMax, area.m_dYMin, area.m_dYMax);
        area.SetFonts(m_fonts.Bases());
        area.FillBackground(1.0f, 1.0f, 1.0f);
        area.DrawTrace(1, m_nMarkers, m_nCurrentMarker, m_nPreviousMarker, grid);

        CGraphScale& scale = m_spectra.scales[static_cast<std::size_t>(trace)];
        scale.SetViewport(layout.scales.front());
        scale.SetOrtho(0.0, 10.0, area.m_dYMin, area.m_dYMax);
        scale.Fill(0.95f, 0.95f, 1.0f);
        scale.SetFonts(m_fonts.Bases());
        scale.ComputeTicks();
        scale.DrawTicks(1, 0.0f, 0.0f, 0.0f);
    }
    CGraphLabel& label = m_spectra.label;
    label.SetViewport(layout.label);
    label.SetOrtho();
    label.SetFonts(m_fonts.Bases());
    label.Fill(0.95f, 0.85f, 0.95f);
    label.DrawNumber(trace + 1, 0.0f, 0.0f, 0.0f);
    m_gl->Flush();
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
