#pragma once
// The descriptions the renderer draws from, built from the document and the view's state: the
// graphs' data (after a load and whenever the data, the window or the units change) and one frame
// (for every paint, the window's, the report's and the command line's alike).

#include "app/paint/paint_description.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/view_state.h"

namespace zarno {

// The displayed array of each trace over the working window, in the document's units.
SignalGraphs SignalGraphsOf(const CPictDoc& doc);
// Bins 0 … ns/2 − 1 of each spectrum and the step 1 / (ns × units per sample / 1000); not computed
// while the document holds no spectrum.
SpectrumGraphs SpectrumGraphsOf(const CPictDoc& doc);
// The layout and its arguments: the screen rows, the selection, the fill, the markers, the units.
GraphPicture PaintDescription(const CPictDoc& doc, const ViewState& view);

} // namespace zarno
