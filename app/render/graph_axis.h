#pragma once
// CGraphAxis: the horizontal strip under the plot areas, in time, length or frequency units.

#include "app/render/graph_element.h"
#include "app/render/graph_scale.h" // kGraphTicks, TickStep

#include <array>

namespace zarno {

class CGraphAxis : public CGraphElement {
public:
    // index is the number of graphs; the origin is −zero × units per sample, so the axis reads 0
    // at sample zero wherever the window lies (units per sample 0 counts as 1 where it divides).
    void Init(int first, int last, int count, double yMin, double yMax, double unitsPerSample, int index, int zero);
    void SetRange(int first, int last);
    bool Shift(int delta);
    // The viewport also sets the window's y range to the viewport's pixel rows.
    void SetViewport(int left, int right, int bottom, int top);
    void SetViewport(const PixelRect& r) { SetViewport(r.left, r.right, r.bottom, r.top); }
    void SetOrthoFromRange();
    void Fill(float r, float g, float b);
    // Writes the major tick count and spacing into the shared tick values.
    void ComputeTicks();
    void DrawTicks(float r, float g, float b);

    int m_nIndex = 0;
    std::array<double, 4> m_dWindow{}; // x min, x max (axis units), y min, y max
    std::array<double, kGraphTicks> m_dTicks{};
    int m_nCount = 0;
    int m_nFirst = 0;
    int m_nLast = 0;
    double m_dUnitsPerSample = 1.0;
    double m_dOrigin = 0.0;
    double m_dShownMin = 0.0;
    double m_dShownMax = 0.0;
    double m_dSpan = 0.0;
    double m_dStepMantissa = 0.0;
    double m_dFirstTick = 0.0;
    int m_nStepExponent = 0;

private:
    void UpdateWindowX();
};

} // namespace zarno
