#include "app/render/graph_picture.h"

namespace zarno {

void DrawPicture(CGraphScene& scene, const GraphPicture& p) {
    if (p.single && p.spectrum)
        scene.DrawSpectrum(p.trace, p.grid, p.frame);
    else if (p.single)
        scene.DrawSignal(p.trace, p.grid, p.frame);
    else if (p.spectrum)
        scene.DrawSpectra(p.count, p.selectedTrace, p.selectedRow, p.visible, p.grid, p.frame);
    else
        scene.DrawSignals(p.count, p.selectedTrace, p.selectedRow, p.visible, p.fillLevel, p.grid, p.frame);
}

} // namespace zarno
