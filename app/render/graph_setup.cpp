#include "app/render/graph_setup.h"

#include <algorithm>

namespace zarno {

namespace {

int SetTraces(int traceCount) {
    return std::clamp(traceCount, 0, kGraphSetSize);
}

} // namespace

void SetUpSignalGraphs(CGraphScene& scene, const SignalGraphs& s) {
    for (int i = 0; i < SetTraces(s.traceCount); ++i) {
        const auto t = static_cast<std::size_t>(i);
        const std::span<const double> data = s.traces[t];
        CGraphArea& area = scene.m_signals.areas[t];
        // An array that was never computed is shown as no data rather than read.
        const int count = static_cast<int>(std::min<std::size_t>(data.size(), static_cast<std::size_t>(std::max(s.samples, 0))));
        area.SetData(s.first, s.last, count, count > 0 ? data.data() : nullptr, s.biasKoeffY, i);
        scene.m_signals.scales[t].Init(0.0, 10.0, area.m_dDataMin, area.m_dDataMax, i);
    }
    scene.m_signals.axis.Init(s.first, s.last, s.samples, 0.0, 10.0, s.unitsPerSample, s.traceCount, s.zero);
}

void SetUpSpectrumGraphs(CGraphScene& scene, const SpectrumGraphs& s) {
    for (int i = 0; i < SetTraces(s.traceCount); ++i) {
        const auto t = static_cast<std::size_t>(i);
        const std::span<const double> spectrum = s.spectra[t];
        const int count = static_cast<int>(std::min<std::size_t>(spectrum.size(), static_cast<std::size_t>(std::max(s.bins, 0))));
        CGraphArea& area = scene.m_spectra.areas[t];
        area.SetData(0, count - 1, count, count > 0 ? spectrum.data() : nullptr, s.biasKoeffY, i);
        scene.m_spectra.scales[t].Init(0.0, 10.0, area.m_dDataMin, area.m_dDataMax, i);
    }
    scene.m_spectra.axis.Init(0, s.bins - 1, s.bins, 0.0, 10.0, s.frequencyStep, s.traceCount, 0);
}

void SetUpGraphs(CGraphScene& scene, const SignalGraphs& signalGraphs, const SpectrumGraphs& spectrumGraphs) {
    SetUpSignalGraphs(scene, signalGraphs);
    if (spectrumGraphs.computed)
        SetUpSpectrumGraphs(scene, spectrumGraphs);
}

} // namespace zarno
