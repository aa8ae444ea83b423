#pragma once
// CGraphScene: the renderer of the signal viewer's picture. It owns the context binding, the three
// fonts and two graph sets (signals and spectra), each of two plot areas, two scales, one axis and
// one label box, and draws a set in one of four layouts: several signals stacked, one signal
// enlarged, several spectra stacked, one spectrum enlarged. The view draws through it on screen;
// the report and the command line draw a copy of it off screen (offscreen_render.h).

#include "app/render/gl_table.h"
#include "app/render/graph_area.h"
#include "app/render/graph_axis.h"
#include "app/render/graph_fonts.h"
#include "app/render/graph_label.h"
#include "app/render/graph_scale.h"
#include "app/seams/prompts.h"
#include "app/paint/graph_layout.h"
#include "app/paint/paint_description.h"

#include <array>
#include <functional>
#include <span>

namespace zarno {

// The clear colour of the viewer's picture.
inline constexpr std::array<float, 3> kGraphClearColor{0.95f, 0.95f, 1.0f};

struct GraphRgb {
    float r, g, b;
};

// One graph set: the signals' or the spectra's.
struct CGraphSet {
    std::array<CGraphArea, kGraphSetSize> areas;
    std::array<CGraphScale, kGraphSetSize> scales;
    CGraphAxis axis;
    CGraphLabel label;
};

class CGraphScene {
public:
    CGraphScene();

    // Takes the context a backend bound (current on this thread): its failure, if any, is shown
    // with the message of its kind and gives −1; otherwise the fonts are built at scale 1 and the
    // clear colour set, and the result is 1.
    int CreateContext(const GlBinding& binding, Prompts& prompts);
    // Deletes the fonts' lists and forgets the context (the backend owns and releases it).
    void Destroy();
    bool HasContext() const { return m_gl != nullptr; }
    // Shows the finished frame when flag is 1 (a no-op for surfaces that show themselves).
    void ShowFrame(int flag);
    void SetClearColor(float r, float g, float b, float a);
    void SetLineWidth(float width);
    // Stores the drawing surface and sets the viewport to it and the projection to x … width,
    // y … height.
    void SetWindow(int x, int y, int width, int height);

    // The four layouts. visible holds the trace shown in each screen row, top first; rows beyond
    // it, and traces outside the set, are left empty rather than read out of bounds. frame: the
    // markers, the axis units and the gains the signals are drawn with.
    void DrawSignals(int count, int selectedTrace, int selectedRow, std::span<const int> visible, double fillLevel,
                     int grid, const GraphFrame& frame = {});
    void DrawSignal(int trace, int grid, const GraphFrame& frame = {});
    void DrawSpectra(int count, int selectedTrace, int selectedRow, std::span<const int> visible, int grid,
                     const GraphFrame& frame = {});
    void DrawSpectrum(int trace, int grid, const GraphFrame& frame = {});

    void ZoomSpectra(int count, int delta);
    void PanSpectra(int count, int delta);

    // The viewports of a layout in the scene's current window (what the layouts draw into).
    GraphLayout SignalsLayout(int count) const;
    GraphLayout SignalLayout() const;
    GraphLayout SpectraLayout(int count) const;
    GraphLayout SpectrumLayout() const;

    const GlTable* Gl() const { return m_gl; }
    const CGraphFonts& Fonts() const { return m_fonts; }
    const GraphTickShare& TickShare() const { return m_ticks; }

    // The window and the graph sets: set up from the viewer's data, read by the view's hit tests.
    int m_nWidth = 0, m_nHeight = 0, m_nX = 0, m_nY = 0;
    CGraphSet m_signals;
    CGraphSet m_spectra;

private:
    friend class OffscreenPass;
    // Scale colours of the stacked layouts: fill and number ink of the selected row and the others.
    struct StackedLook {
        GraphRgb selectedFill, otherFill, selectedInk, otherInk;
    };
    using SlotDrawer = std::function<void(CGraphArea& area, int trace, int slot)>;
    using GraphDrawer = std::function<void(CGraphArea& area)>;

    // Hands the context table and the tick share to every plotting object before a layout draws.
    void BindElements();
    void Clear();
    // Every layout starts with the origin label flag, a clear and the axis strip, and ends with
    // the label box and a flush.
    void BeginLayout(CGraphSet& set, const PixelRect& axisViewport, const char* originLabel);
    void EndLayout(CGraphLabel& label, const PixelRect& viewport, GraphRgb fill, int number, GraphRgb ink);
    // The stacked slots: each row's plot area (drawn by drawSlot) and its numbered scale strip.
    void DrawStacked(CGraphSet& set, const GraphLayout& layout, int count, int selectedRow,
                     std::span<const int> visible, const StackedLook& look, const SlotDrawer& drawSlot);
    // One graph enlarged on white, with its value scale (numbers divided by divisor).
    void DrawEnlarged(CGraphSet& set, const GraphLayout& layout, int trace, const GraphDrawer& drawTrace,
                      double divisor);

    const GlTable* m_gl = nullptr; // the bound context's table (m_glTable, or an off-screen one)
    GlTable m_glTable;
    std::function<void()> m_swapBuffers;
    CGraphFonts m_fonts;
    GraphTickShare m_ticks;
};

} // namespace zarno
