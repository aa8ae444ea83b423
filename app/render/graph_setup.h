#pragma once
// The scene's graphs set up from a loaded document: each displayed trace's plot area gets the
// working window of its displayed array, its scale the data range, the axis the window and the
// document's units; the spectrum graphs get the shown bins of the spectra (when computed) and the
// frequency step. The measurement panel runs it after the load and whenever the data, the window
// or the units change; the command line runs it once.

#include "app/render/graph_scene.h"
#include "app/viewer/pict_doc.h"

namespace zarno {

// Both sets (the spectra only when computed) and the signal parameters.
void SetUpGraphs(CGraphScene& scene, const CPictDoc& doc);
void SetUpSignalGraphs(CGraphScene& scene, const CPictDoc& doc);
// Bins 0 … ns/2 − 1 of each spectrum and the axis step 1 / (ns × units per sample / 1000).
void SetUpSpectrumGraphs(CGraphScene& scene, const CPictDoc& doc);

} // namespace zarno
