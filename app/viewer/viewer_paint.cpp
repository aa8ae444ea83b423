#include "app/viewer/viewer_paint.h"

#include "app/dsp/fourier_analysis.h"

#include <algorithm>

namespace zarno {

static_assert(kGraphSetSize == kPictTraces, "one graph per trace of the document");
static_assert(kGraphMarkers == kMarkerCount, "one drawn marker per marker of the view");

SignalGraphs SignalGraphsOf(const CPictDoc& doc) {
    const PictDocData& d = doc.Data();
    SignalGraphs s;
    s.first = d.m_nWindowStart;
    s.last = d.m_nWindowEnd;
    s.samples = d.m_nSamples;
    s.zero = d.m_nZeroSample;
    s.traceCount = d.m_nTraceCount;
    for (int i = 0; i < kPictTraces; ++i)
        s.traces[static_cast<std::size_t>(i)] = doc.DisplayedArray(i);
    s.biasKoeffY = d.m_display.m_nBiasKoeffY;
    s.unitsPerSample = d.m_dUnitsPerSample;
    return s;
}

SpectrumGraphs SpectrumGraphsOf(const CPictDoc& doc) {
    const PictDocData& d = doc.Data();
    SpectrumGraphs s;
    s.computed = std::any_of(d.m_pSpectrum.begin(), d.m_pSpectrum.end(), [](const TraceArray& a) { return !a.empty(); });
    s.bins = dsp::ShownSpectrumBins(d.m_nSamples);
    s.traceCount = d.m_nTraceCount;
    for (std::size_t t = 0; t < d.m_pSpectrum.size(); ++t)
        s.spectra[t] = d.m_pSpectrum[t];
    s.biasKoeffY = d.m_display.m_nBiasKoeffY;
    // From Δt: with the signal axis in metres the units per sample are no time.
    s.frequencyStep = dsp::SpectrumFrequencyStep(d.m_nSamples, doc.SampleIntervalSeconds() * 1000.0);
    return s;
}

GraphPicture PaintDescription(const CPictDoc& doc, const ViewState& view) {
    const PictDocData& d = doc.Data();
    GraphPicture p;
    p.spectrum = d.m_bSpectrum;
    p.single = view.singleMode;
    p.trace = d.m_nSingleTrace;
    p.count = d.m_nGraphsOnScreen;
    const int sel = std::clamp(d.m_nSelIndex, 0, kPictTraces - 1);
    p.selectedTrace = d.m_nEnabled[static_cast<std::size_t>(sel)];
    p.selectedRow = d.m_nSelRow;
    p.visible = d.m_nVisible;
    p.fillLevel = d.m_dFillLevel;
    p.grid = view.grid ? 1 : 0;
    p.frame.markers = view.markers.position;
    p.frame.currentMarker = view.markers.current;
    p.frame.previousMarker = view.markers.previous;
    p.frame.timeUnits = view.timeUnits;
    p.frame.decibels = d.m_nSpectrumScale == static_cast<int>(dsp::SpectrumScale::Logarithmic);
    p.frame.gains = d.m_dGain;
    return p;
}

} // namespace zarno
