#pragma once
// The scene's graphs set up from the viewer's data: each trace's plot area gets its array over the
// working window, its scale the data range, the axis the window and the units; the spectrum graphs
// get the shown bins and the frequency step. The viewer runs it after the load and whenever the
// data, the window or the units change; the command line runs it once.

#include "app/paint/paint_description.h"
#include "app/render/graph_scene.h"

namespace zarno {

void SetUpSignalGraphs(CGraphScene& scene, const SignalGraphs& signalGraphs);
void SetUpSpectrumGraphs(CGraphScene& scene, const SpectrumGraphs& spectrumGraphs);
// Both sets; the spectra only when computed.
void SetUpGraphs(CGraphScene& scene, const SignalGraphs& signalGraphs, const SpectrumGraphs& spectrumGraphs);

} // namespace zarno
