#pragma once
// What the plotting objects have in common: their viewport in window pixels, the GL table and font
// bases they draw with, and the small drawing steps (projection, filled rectangle, coloured text).

#include "app/render/graph_context.h"
#include "app/paint/graph_layout.h"

namespace zarno {

class CGraphElement {
public:
    // The table (and tick share) of the context about to be drawn in; set by the scene before
    // each layout, so a copy of a scene never draws through its original's context.
    void BindContext(const GlTable* gl, GraphTickShare* ticks) {
        m_gl = gl;
        m_ticks = ticks;
    }
    void SetFonts(const GraphFontBases& fonts) { m_fonts = fonts; }

    // Stores the viewport and sets it: GL viewport (left, bottom, right − left, top − bottom).
    void SetViewport(int left, int right, int bottom, int top);
    void SetViewport(const PixelRect& r) { SetViewport(r.left, r.right, r.bottom, r.top); }
    // x, y as a window reports a pointer (y from the top), window height in pixels.
    bool HitTest(int x, int y, int windowHeight) const;
    const PixelRect& Viewport() const { return m_viewport; }

protected:
    void Project(double xMin, double xMax, double yMin, double yMax) const;
    void FillRect(double xMin, double xMax, double yMin, double yMax, float r, float g, float b) const;
    void Line(double x0, double y0, double x1, double y1) const;
    const GlTable& Gl() const { return *m_gl; }
    bool CanDraw() const { return m_gl != nullptr; }

    PixelRect m_viewport;
    GraphFontBases m_fonts;
    const GlTable* m_gl = nullptr;
    GraphTickShare* m_ticks = nullptr;
};

} // namespace zarno
