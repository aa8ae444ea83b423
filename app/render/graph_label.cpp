#include "app/render/graph_label.h"

namespace zarno {

void CGraphLabel::SetOrtho() {
    Project(m_dWindow[0], m_dWindow[1], m_dWindow[2], m_dWindow[3]);
}

void CGraphLabel::Fill(float r, float g, float b) {
    FillRect(m_dWindow[0], m_dWindow[1], m_dWindow[2], m_dWindow[3], r, g, b);
}

void CGraphLabel::DrawNumber(int number, float r, float g, float b) {
    if (!CanDraw())
        return;
    const double width = m_dWindow[1] - m_dWindow[0];
    const double height = m_dWindow[3] - m_dWindow[2];
    Gl().Color3f(r, g, b);
    Gl().RasterPos2d(m_dWindow[0] + width / 5.0, m_dWindow[2] + height * 2.0 / 10.0);
    DrawGraphText(Gl(), m_fonts, 1, "%d", number);
}

} // namespace zarno
