#include "app/render/graph_setup.h"

#include "app/dsp/fourier_analysis.h"

#include <algorithm>

namespace zarno {

namespace {

int SetTraces(const CPictDoc& doc) {
    return std::clamp(doc.Data().m_nTraceCount, 0, kGraphSetSize);
}

} // namespace

void SetUpSignalGraphs(CGraphScene& scene, const CPictDoc& doc) {
    const int ns = doc.Data().m_nSamples;
    scene.SetSignalParams(doc.Data().m_nWindowStart, doc.Data().m_nWindowEnd, ns, doc.Data().m_dFillLevel, doc.Data().m_dGain.data());
    for (int i = 0; i < SetTraces(doc); ++i) {
        const TraceArray& data = doc.DisplayedArray(i);
        const auto t = static_cast<std::size_t>(i);
        CGraphArea& area = scene.m_signals.areas[t];
        // An array that was never computed is shown as no data rather than read.
        const int count = static_cast<int>(std::min<std::size_t>(data.size(), static_cast<std::size_t>(std::max(ns, 0))));
        area.SetData(doc.Data().m_nWindowStart, doc.Data().m_nWindowEnd, count, count > 0 ? data.data() : nullptr,
                     doc.Data().m_nBiasKoeffY, i);
        scene.m_signals.scales[t].Init(0.0, 10.0, area.m_dDataMin, area.m_dDataMax, i);
    }
    scene.m_signals.axis.Init(doc.Data().m_nWindowStart, doc.Data().m_nWindowEnd, ns, 0.0, 10.0, doc.Data().m_dUnitsPerSample,
                              doc.Data().m_nTraceCount);
}

void SetUpSpectrumGraphs(CGraphScene& scene, const CPictDoc& doc) {
    const int bins = dsp::ShownSpectrumBins(doc.Data().m_nSamples);
    for (int i = 0; i < SetTraces(doc); ++i) {
        const auto t = static_cast<std::size_t>(i);
        const TraceArray& spectrum = doc.Data().m_pSpectrum[t];
        const int count = static_cast<int>(std::min<std::size_t>(spectrum.size(), static_cast<std::size_t>(bins)));
        CGraphArea& area = scene.m_spectra.areas[t];
        area.SetData(0, count - 1, count, count > 0 ? spectrum.data() : nullptr, doc.Data().m_nBiasKoeffY, i);
        scene.m_spectra.scales[t].Init(0.0, 10.0, area.m_dDataMin, area.m_dDataMax, i);
    }
    scene.m_spectra.axis.Init(0, bins - 1, bins, 0.0, 10.0,
                              dsp::SpectrumFrequencyStep(doc.Data().m_nSamples, doc.Data().m_dUnitsPerSample), doc.Data().m_nTraceCount);
}

void SetUpGraphs(CGraphScene& scene, const CPictDoc& doc) {
    SetUpSignalGraphs(scene, doc);
    const bool computed = std::any_of(doc.Data().m_pSpectrum.begin(), doc.Data().m_pSpectrum.end(),
                                      [](const TraceArray& s) { return !s.empty(); });
    if (computed)
        SetUpSpectrumGraphs(scene, doc);
}

} // namespace zarno
