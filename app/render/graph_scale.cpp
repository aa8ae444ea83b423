#include "app/render/graph_scale.h"

#include <cmath>

namespace zarno {

TickStep ComputeTickStep(double span) {
    double v = std::isfinite(span) ? span : 0.0;
    int e = 0;
    // Spans of 0 (a flat trace) and below stay as they are instead of never reaching 1.
    while (v > 0.0 && v < 1.0) {
        v *= 10.0;
        --e;
    }
    while (v > 10.0) {
        v /= 10.0;
        ++e;
    }
    TickStep t;
    t.exponent = e;
    t.mantissa = v < 1.1 ? 0.1 : v < 2.1 ? 0.2 : v < 2.6 ? 0.25 : v < 5.1 ? 0.5 : 1.0;
    t.step = t.mantissa * std::pow(10.0, e);
    return t;
}

void CGraphScale::Init(double xMin, double xMax, double yMin, double yMax, int index) {
    m_dInitWindow = {xMin, xMax, yMin, yMax};
    m_dCurrentWindow = m_dInitWindow;
    m_nIndex = index;
}

bool CGraphScale::ZoomY(double deltaBottom, double deltaTop, double minSpan) {
    const double yMin = m_dCurrentWindow[2] + deltaBottom;
    const double yMax = m_dCurrentWindow[3] + deltaTop;
    if (yMax - yMin <= minSpan)
        return false;
    m_dCurrentWindow[2] = yMin;
    m_dCurrentWindow[3] = yMax;
    return true;
}

void CGraphScale::SetOrtho(double xMin, double xMax, double yMin, double yMax) {
    m_dCurrentWindow = {xMin, xMax, yMin, yMax};
    Project(xMin, xMax, yMin, yMax);
}

void CGraphScale::Fill(float r, float g, float b) {
    FillRect(m_dCurrentWindow[0], m_dCurrentWindow[1], m_dCurrentWindow[2], m_dCurrentWindow[3], r, g, b);
}

void CGraphScale::ComputeTicks() {
    m_dSpan = m_dCurrentWindow[3] - m_dCurrentWindow[2];
    const TickStep t = ComputeTickStep(m_dSpan);
    m_dStepMantissa = t.mantissa;
    m_nStepExponent = t.exponent;
    m_dTopTick = t.step * std::ceil(m_dCurrentWindow[3] / t.step);
    for (std::size_t i = 0; i < m_dTicks.size(); ++i)
        m_dTicks[i] = m_dTopTick - t.step * static_cast<double>(i) / 10.0;
}

void CGraphScale::DrawTicks(int count, float r, float g, float b) {
    DrawTickMarks(count, r, g, b, 1.0);
}

void CGraphScale::DrawTicksDivided(int count, float r, float g, float b, double divisor) {
    DrawTickMarks(count, r, g, b, divisor == 0.0 ? 1.0 : divisor);
}

void CGraphScale::DrawTickMarks(int count, float r, float g, float b, double divisor) {
    if (!CanDraw())
        return;
    const double yMin = m_dCurrentWindow[2];
    const double yMax = m_dCurrentWindow[3];
    if (count > 10) {
        // Too little room for a ladder of numbers: only the two ends.
        const double h = std::fabs(yMax - yMin) / 2.0;
        Gl().Color3f(0.0f, 0.0f, 1.0f);
        Gl().RasterPos2d(1.0, yMin + h / 10.0);
        DrawGraphText(Gl(), m_fonts, 1, "%5.5G", yMin);
        Gl().Color3f(1.0f, 0.0f, 0.0f);
        Gl().RasterPos2d(1.0, yMin + h);
        DrawGraphText(Gl(), m_fonts, 1, "%5.5G", yMax);
        return;
    }
    const bool fixed = std::fabs(yMax) < 1000.0 && std::fabs(yMin) > 0.0001;
    for (int i = 0; i < 100; ++i) {
        const double tick = m_dTicks[static_cast<std::size_t>(i)];
        Gl().Color3f(r, g, b);
        if (i % 10 == 0) {
            Gl().Begin(GL_LINES);
            Line(0.0, tick, 1.5, tick);
            Gl().End();
            Gl().RasterPos2d(2.0, tick);
            if (fixed)
                DrawGraphText(Gl(), m_fonts, 1, "%5.5f", tick / divisor);
            else
                DrawGraphText(Gl(), m_fonts, 1, "%G", tick / divisor);
        } else if (count <= 6 && i % 2 == 0) {
            Gl().Begin(GL_LINES);
            Line(0.0, tick, 1.0, tick);
            Gl().End();
        }
    }
}

void CGraphScale::DrawNumber(int number, float r, float g, float b) {
    if (!CanDraw())
        return;
    Gl().Color3f(r, g, b);
    Gl().RasterPos2d(1.0, m_dCurrentWindow[2] + (m_dCurrentWindow[3] - m_dCurrentWindow[2]) / 5.0);
    DrawGraphText(Gl(), m_fonts, 1, "%d", number);
}

} // namespace zarno
