#include "app/render/graph_area.h"

#include "app/render/trace_columns.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zarno {

namespace {

// A marker this close to an end of the visible range is not drawn: its flag would hang outside.
constexpr int kMarkerMargin = 6;

// The half height given to a constant trace, so that it lies as a flat line in the middle of its
// window instead of making the window empty.
constexpr double kFlatHalfSpan = 1.0;

} // namespace

void CGraphArea::SetData(int first, int last, int count, const double* data, double divisor, int index) {
    m_nCount = count;
    m_nFirst = std::max(first, 0);
    m_nLast = last < count ? last : count - 1;
    m_pData = data;
    m_nIndex = index;
    m_dDataMin = m_dDataMax = 0.0;
    m_nIndexOfMin = m_nIndexOfMax = m_nFirst;
    if (HasData() && m_nFirst < count) {
        m_dDataMin = m_dDataMax = data[m_nFirst];
        for (int i = m_nFirst + 1; i < m_nLast; ++i) {
            if (data[i] > m_dDataMax) {
                m_dDataMax = data[i];
                m_nIndexOfMax = i;
            }
            if (data[i] < m_dDataMin) {
                m_dDataMin = data[i];
                m_nIndexOfMin = i;
            }
        }
    }
    m_dXMin = m_nFirst;
    m_dXMax = m_nLast;
    m_dYMin = m_dDataMin;
    m_dYMax = m_dDataMax;
    m_dInitXMin = m_dXMin;
    m_dInitXMax = m_dXMax;
    m_dInitYMin = m_dYMin;
    m_dInitYMax = m_dYMax;
    m_dMinSpan = std::fabs(m_dDataMax - m_dDataMin) / (divisor == 0.0 ? 1.0 : divisor);
}

void CGraphArea::SetRange(int first, int last) {
    m_nFirst = std::max(first, 0);
    m_nLast = last < m_nCount ? last : m_nCount - 1;
    m_dXMin = m_nFirst;
    m_dXMax = m_nLast;
}

bool CGraphArea::Shift(int delta) {
    if (m_nFirst + delta < 0 || m_nLast + delta >= m_nCount)
        return false;
    SetRange(m_nFirst + delta, m_nLast + delta);
    return true;
}

bool CGraphArea::ZoomY(double deltaBottom, double deltaTop) {
    const double yMin = m_dYMin + deltaBottom;
    const double yMax = m_dYMax + deltaTop;
    if (yMax - yMin <= m_dMinSpan)
        return false;
    m_dYMin = yMin;
    m_dYMax = yMax;
    return true;
}

void CGraphArea::SetOrtho(double xMin, double xMax, double yMin, double yMax) {
    if (yMin == yMax) {
        yMin -= kFlatHalfSpan;
        yMax += kFlatHalfSpan;
    }
    m_dXMin = xMin;
    m_dXMax = xMax;
    m_dYMin = yMin;
    m_dYMax = yMax;
    Project(xMin, xMax, yMin, yMax);
    // Where the samples land in the window, as this projection puts them (an empty x window is
    // widened by one sample there too).
    m_projectedXMin = xMin;
    m_projectedXMax = xMax == xMin ? xMin + 1.0 : xMax;
}

CGraphArea::SlotRange CGraphArea::DataRangeForSlots() const {
    if (m_dDataMax == m_dDataMin)
        return {m_dDataMin - kFlatHalfSpan, m_dDataMax + kFlatHalfSpan};
    return {m_dDataMin, m_dDataMax};
}

void CGraphArea::SetSlotOrtho(int count, int slot) {
    const SlotRange r = DataRangeForSlots();
    const double span = r.high - r.low;
    SetOrtho(m_nFirst, m_nLast, r.low - span * (count - slot - 1), r.high + span * slot);
}

void CGraphArea::SetSlotOrthoInverted(int count, int slot) {
    const SlotRange r = DataRangeForSlots();
    const double span = r.high - r.low;
    // Bottom above top: the slot is drawn upside down.
    SetOrtho(m_nFirst, m_nLast, r.high + span * (count - slot - 1), r.low - span * slot);
}

void CGraphArea::FillBackground(float r, float g, float b) {
    FillRect(m_dXMin, m_dXMax, m_dYMin, m_dYMax, r, g, b);
}

void CGraphArea::DrawGrid() {
    if (!CanDraw() || !m_ticks)
        return;
    Gl().Color3f(0.7f, 0.8f, 0.9f);
    Gl().Begin(GL_LINES);
    const double height = std::fabs(m_dYMax - m_dYMin);
    for (int k = 1; k <= m_ticks->majorTickCount; ++k) {
        const double x = m_dXMin + k * m_ticks->majorSpacingSamples;
        Line(x, m_dYMin, x, m_dYMax);
        const double y = m_dYMin + k * height / 10.0;
        Line(m_dXMin, y, m_dXMax, y);
    }
    Gl().End();
}

TraceColumns CGraphArea::Columns(double gain) const {
    const double span = std::fabs(m_dYMax - m_dYMin);
    return {static_cast<double>(m_viewport.left), static_cast<double>(m_viewport.Width()), m_projectedXMin,
            m_projectedXMax, span > 0.0 ? std::fabs(gain) * m_viewport.Height() / span : 0.0};
}

// Only the samples that decide the pixels are drawn (trace_columns.h): the picture is the same.
void CGraphArea::StripThrough(int step, double gain) {
    Gl().Color3f(0.0f, 0.0f, 0.0f);
    Gl().Begin(GL_LINE_STRIP);
    for (const int x : StripSamples(m_pData, m_nFirst, m_nLast, step, Columns(gain)))
        Gl().Vertex2d(x, gain * m_pData[x]);
    Gl().End();
}

void CGraphArea::FillColumns(int step, double u, double base, bool upper) {
    const double level = base * u;
    Gl().Color3f(0.0f, 0.0f, 0.0f);
    Gl().Begin(GL_QUADS);
    for (const int x : FillSamples(m_nFirst, m_nLast, step, Columns(u))) {
        const double v = m_pData[x] * u;
        if (upper ? v >= level : v < level) {
            Gl().Vertex2d(x, level);
            Gl().Vertex2d(x + step, level);
            Gl().Vertex2d(x + step, v);
            Gl().Vertex2d(x, v);
        }
    }
    Gl().End();
}

void CGraphArea::DrawTrace(int step, const GraphMarkers& markers, int current, int previous, int grid) {
    DrawScaledTrace(step, markers, current, previous, 1.0, grid);
}

void CGraphArea::DrawScaledTrace(int step, const GraphMarkers& markers, int current, int previous, double gain,
                                 int grid) {
    if (!CanDraw() || !HasData() || step < 1)
        return;
    if (grid == 1)
        DrawGrid();
    StripThrough(step, gain);
    DrawMarkers(markers, current, previous);
}

void CGraphArea::DrawSlotTrace(int step, int count, int slot, double dataMin, double dataMax, double gain,
                               double fillLevel, const GraphMarkers& markers, int current, int previous, int grid) {
    if (!CanDraw() || !HasData() || step < 1)
        return;
    const double u = std::fabs(gain);
    const double s = gain < 0.0 ? -fillLevel : fillLevel;
    if (slot == 0 && grid == 1)
        DrawGrid();
    if (fillLevel <= 0.97 || fillLevel >= 1.03) {
        const double base = dataMin + std::fabs(dataMax - dataMin) * std::fabs(s);
        FillColumns(step, u, base, s >= 0.0);
    }
    StripThrough(step, u);
    if (slot == count - 1)
        DrawMarkers(markers, current, previous);
}

void CGraphArea::DrawMarkers(const GraphMarkers& markers, int current, int previous) {
    if (!CanDraw())
        return;
    const double w = std::fabs(m_dXMax - m_dXMin);
    const double h = std::fabs(m_dYMax - m_dYMin);
    const auto at = [&markers](int n) { return n >= 0 && n < kGraphMarkers ? markers[static_cast<std::size_t>(n)] : 0; };

    std::vector<int> shown;
    Gl().Begin(GL_LINES);
    for (int n = 0; n < kGraphMarkers; ++n) {
        const int p = markers[static_cast<std::size_t>(n)];
        if (!(m_nFirst + kMarkerMargin < p && p < m_nLast - kMarkerMargin))
            continue;
        if (n == current)
            Gl().Color3f(1.0f, 0.0f, 0.0f);
        else if (n == previous)
            Gl().Color3f(0.0f, 1.0f, 0.0f);
        else
            Gl().Color3f(0.0f, 0.0f, 0.0f);
        Line(p, m_dYMin, p, m_dYMax);
        shown.push_back(p);
    }
    Gl().End();

    if (at(current) > 0) {
        Gl().Color3f(0.0f, 0.0f, 1.0f);
        Gl().Begin(GL_LINE_STRIP);
        Gl().Vertex2d(at(current), 0.99 * m_dYMin);
        Gl().Vertex2d(at(previous), 0.99 * m_dYMin);
        Gl().End();
    }

    std::sort(shown.begin(), shown.end());
    for (std::size_t j = 1; j <= shown.size(); ++j) {
        const double p = shown[j - 1];
        const double labelX = p - 0.03 * w;
        const double labelY = m_dYMax - (0.05 + 0.05 * static_cast<double>(j)) * h;
        const double left = p - 0.04 * w;
        const double low = labelY - 0.01 * h;
        const double high = labelY + 0.03 * h;
        Gl().Color3f(1.0f, 1.0f, 0.0f);
        Gl().Begin(GL_TRIANGLES);
        Gl().Vertex2d(left, low);
        Gl().Vertex2d(left, high);
        Gl().Vertex2d(p, low);
        Gl().End();
        Gl().Color3f(0.0f, 0.0f, 0.0f);
        Gl().Begin(GL_LINE_STRIP);
        Gl().Vertex2d(left, low);
        Gl().Vertex2d(left, high);
        Gl().Vertex2d(p, high);
        Gl().End();
        Gl().RasterPos2d(labelX, labelY);
        DrawGraphText(Gl(), m_fonts, 1, "%G", static_cast<double>(j));
    }
}

} // namespace zarno
