#include "app/render/graph_element.h"

namespace zarno {

void CGraphElement::SetViewport(int left, int right, int bottom, int top) {
    m_viewport = {left, right, bottom, top};
    if (CanDraw())
        Gl().Viewport(left, bottom, right - left, top - bottom);
}

bool CGraphElement::HitTest(int x, int y, int windowHeight) const {
    return m_viewport.Contains(x, RowFromTop(y, windowHeight));
}

void CGraphElement::Project(double xMin, double xMax, double yMin, double yMax) const {
    if (!CanDraw())
        return;
    // A window of no extent would make the projection invalid and leave the previous one in force.
    if (xMax == xMin)
        xMax = xMin + 1.0;
    if (yMax == yMin)
        yMax = yMin + 1.0;
    Gl().MatrixMode(GL_PROJECTION);
    Gl().LoadIdentity();
    Gl().Ortho(xMin, xMax, yMin, yMax, -1.0, 1.0);
    Gl().MatrixMode(GL_MODELVIEW);
    Gl().LoadIdentity();
}

void CGraphElement::FillRect(double xMin, double xMax, double yMin, double yMax, float r, float g, float b) const {
    if (!CanDraw())
        return;
    Gl().Color3f(r, g, b);
    Gl().Begin(GL_QUADS);
    Gl().Vertex2d(xMin, yMin);
    Gl().Vertex2d(xMax, yMin);
    Gl().Vertex2d(xMax, yMax);
    Gl().Vertex2d(xMin, yMax);
    Gl().End();
}

void CGraphElement::Line(double x0, double y0, double x1, double y1) const {
    Gl().Vertex2d(x0, y0);
    Gl().Vertex2d(x1, y1);
}

} // namespace zarno
