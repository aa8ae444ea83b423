#pragma once
// CGraphLabel: the small corner box that shows the selected graph's number.

#include "app/render/graph_element.h"

#include <array>

namespace zarno {

class CGraphLabel : public CGraphElement {
public:
    void SetOrtho();
    void Fill(float r, float g, float b);
    void DrawNumber(int number, float r, float g, float b);

    std::array<double, 4> m_dWindow{0.0, 10.0, 0.0, 10.0}; // x min, x max, y min, y max
};

} // namespace zarno
