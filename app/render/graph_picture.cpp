#include "app/render/graph_picture.h"

#include <algorithm>

namespace zarno {

GraphPicture PaintPicture(const CPictDoc& doc, const CGraphScene& scene, int grid) {
    GraphPicture p;
    p.spectrum = doc.Data().m_bSpectrum;
    p.single = scene.m_nSingleMode == 1;
    p.trace = doc.Data().m_nSingleTrace;
    p.count = doc.Data().m_nGraphsOnScreen;
    const int sel = std::clamp(doc.Data().m_nSelIndex, 0, kPictTraces - 1);
    p.selectedTrace = doc.Data().m_nEnabled[static_cast<std::size_t>(sel)];
    p.selectedRow = doc.Data().m_nSelRow;
    p.visible = doc.Data().m_nVisible;
    p.fillLevel = doc.Data().m_dFillLevel;
    p.grid = grid;
    return p;
}

void DrawPicture(CGraphScene& scene, const GraphPicture& p) {
    if (p.single && p.spectrum)
        scene.DrawSpectrum(p.trace, p.grid);
    else if (p.single)
        scene.DrawSignal(p.trace, p.grid);
    else if (p.spectrum)
        scene.DrawSpectra(p.count, p.selectedTrace, p.selectedRow, p.visible, p.grid);
    else
        scene.DrawSignals(p.count, p.selectedTrace, p.selectedRow, p.visible, p.fillLevel, p.grid);
}

} // namespace zarno
