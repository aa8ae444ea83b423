#include "app/render/graph_picture.h"

#include <algorithm>

namespace zarno {

GraphPicture PaintPicture(CPictDoc& doc, const CGraphScene& scene, int grid) {
    // The rows read the enabled list from the first row on; a row past its end (the list holds one
    // entry per trace) keeps the trace it had instead of reading beyond the list.
    for (int s = 0; s < doc.m_nGraphsOnScreen && s < kPictTraces; ++s) {
        const int e = doc.m_nFirstRow + s;
        if (e >= 0 && e < kPictTraces)
            doc.m_nVisible[static_cast<std::size_t>(s)] = doc.m_nEnabled[static_cast<std::size_t>(e)];
    }
    GraphPicture p;
    p.spectrum = doc.m_bSpectrum;
    p.single = scene.m_nSingleMode == 1;
    p.trace = doc.m_nSingleTrace;
    p.count = doc.m_nGraphsOnScreen;
    const int sel = std::clamp(doc.m_nSelIndex, 0, kPictTraces - 1);
    p.selectedTrace = doc.m_nEnabled[static_cast<std::size_t>(sel)];
    p.selectedRow = doc.m_nSelRow;
    p.visible = doc.m_nVisible;
    p.fillLevel = doc.m_dFillLevel;
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
