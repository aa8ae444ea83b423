#include "app/render/graph_axis.h"

#include <algorithm>
#include <cmath>

namespace zarno {

void CGraphAxis::Init(int first, int last, int count, double yMin, double yMax, double unitsPerSample, int index, int zero) {
    m_nCount = count;
    m_dUnitsPerSample = unitsPerSample;
    m_nIndex = index;
    m_dWindow[2] = yMin;
    m_dWindow[3] = yMax;
    m_dOrigin = -zero * unitsPerSample;
    SetRange(first, last);
}

void CGraphAxis::SetRange(int first, int last) {
    m_nFirst = std::max(first, 0);
    m_nLast = last < m_nCount ? last : m_nCount - 1;
    UpdateWindowX();
}

bool CGraphAxis::Shift(int delta) {
    if (m_nFirst + delta < 0 || m_nLast + delta >= m_nCount)
        return false;
    SetRange(m_nFirst + delta, m_nLast + delta);
    return true;
}

void CGraphAxis::UpdateWindowX() {
    m_dWindow[0] = m_dOrigin + m_nFirst * m_dUnitsPerSample;
    m_dWindow[1] = m_dOrigin + m_nLast * m_dUnitsPerSample;
}

void CGraphAxis::SetViewport(int left, int right, int bottom, int top) {
    CGraphElement::SetViewport(left, right, bottom, top);
    m_dWindow[2] = bottom;
    m_dWindow[3] = top;
}

void CGraphAxis::SetOrthoFromRange() {
    UpdateWindowX();
    m_dShownMin = m_dWindow[0];
    m_dShownMax = m_dWindow[1];
    Project(m_dWindow[0], m_dWindow[1], m_dWindow[2], m_dWindow[3]);
}

void CGraphAxis::Fill(float r, float g, float b) {
    FillRect(m_dWindow[0], m_dWindow[1], m_dWindow[2], m_dWindow[3], r, g, b);
}

void CGraphAxis::ComputeTicks() {
    m_dSpan = m_dShownMax - m_dShownMin;
    const TickStep t = ComputeTickStep(m_dSpan);
    m_dStepMantissa = t.mantissa;
    m_nStepExponent = t.exponent;
    const double q = m_dShownMin / t.step;
    m_dFirstTick = q == 0.0 ? 0.0 : t.step * std::ceil(q - 1.0);
    for (std::size_t i = 0; i < m_dTicks.size(); ++i)
        m_dTicks[i] = m_dFirstTick + t.step * static_cast<double>(i) / 10.0;
    if (m_ticks) {
        m_ticks->majorTickCount = kGraphTicks / 10;
        const double u = m_dUnitsPerSample == 0.0 ? 1.0 : m_dUnitsPerSample;
        m_ticks->majorSpacingSamples = (m_dTicks[10] - m_dTicks[0]) / u;
    }
}

void CGraphAxis::DrawTicks(float r, float g, float b) {
    if (!CanDraw())
        return;
    const double yMin = m_dWindow[2];
    const double yMax = m_dWindow[3];
    const double h = yMax - yMin;
    Gl().Color3f(r, g, b);
    Gl().Begin(GL_LINES);
    for (std::size_t i = 0; i < m_dTicks.size(); ++i)
        Line(m_dTicks[i], yMax, m_dTicks[i], yMax - (i % 10 == 0 ? h / 3.0 : h / 5.0));
    Gl().End();
    const char* origin = m_ticks && m_ticks->originLabel ? m_ticks->originLabel : "t";
    for (std::size_t i = 0; i < m_dTicks.size(); i += 10) {
        Gl().Color3f(r, g, b);
        Gl().RasterPos2d(m_dTicks[i] - m_dStepMantissa / 10.0 + 0.1, yMin + 1.0);
        if (i == 0)
            DrawGraphText(Gl(), m_fonts, 1, "%s", origin);
        else
            DrawGraphText(Gl(), m_fonts, 1, "%G", m_dTicks[i]);
    }
}

} // namespace zarno
