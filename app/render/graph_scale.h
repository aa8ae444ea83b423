#pragma once
// CGraphScale: the value strip beside a plot area, with its tick values and numbers.

#include "app/render/graph_element.h"

#include <array>

namespace zarno {

inline constexpr int kGraphTicks = 200;

// The tick step of a span: the span brought into [1, 10] by powers of ten (exponent e), a
// mantissa of 0.1, 0.2, 0.25, 0.5 or 1.0 chosen from it; step = mantissa × 10^e. A span of 0 (or
// one that is not a number) counts as 1, so a flat trace still gets ticks.
struct TickStep {
    double mantissa = 0.1;
    int exponent = 0;
    double step = 0.1;
};
TickStep ComputeTickStep(double span);

class CGraphScale : public CGraphElement {
public:
    void Init(double xMin, double xMax, double yMin, double yMax, int index);
    bool ZoomY(double deltaBottom, double deltaTop, double minSpan);
    void SetOrtho(double xMin, double xMax, double yMin, double yMax);
    void Fill(float r, float g, float b);
    void ComputeTicks();
    // count is the number of graphs on the screen: above 10 only the two ends are numbered, above
    // 6 the minor ticks are left out.
    void DrawTicks(int count, float r, float g, float b);
    void DrawTicksDivided(int count, float r, float g, float b, double divisor);
    void DrawNumber(int number, float r, float g, float b);

    int m_nIndex = 0;
    std::array<double, 4> m_dInitWindow{};    // x min, x max, y min, y max
    std::array<double, 4> m_dCurrentWindow{}; // as last projected
    double m_dSpan = 0.0;
    double m_dStepMantissa = 0.0;
    double m_dTopTick = 0.0;
    int m_nStepExponent = 0;
    std::array<double, kGraphTicks> m_dTicks{};

private:
    void DrawTickMarks(int count, float r, float g, float b, double divisor);
};

} // namespace zarno
