#include "app/viewer/pict_doc.h"

#include "app/dsp/autocorrelation.h"
#include "app/dsp/filter.h"
#include "app/dsp/gain.h"
#include "app/dsp/sample_math.h"

#include <algorithm>

namespace zarno {

namespace {

int OrDefault(int stored, int fallback) {
    return stored == 0 ? fallback : stored;
}

std::size_t Ns(const PictDocData& d) {
    return d.m_nSamples > 0 ? static_cast<std::size_t>(d.m_nSamples) : 0;
}

void Allocate(TraceArray& a, std::size_t ns) {
    if (a.size() != ns)
        a.assign(ns, 0.0);
}

std::size_t Slot(int trace) {
    return static_cast<std::size_t>(std::clamp(trace, 0, kPictTraces - 1));
}

} // namespace

CPictDoc::CPictDoc(ViewerDisplaySettings& mainWindow) : m_mainWindow(mainWindow) {
    ViewerDisplaySettings& d = m_d.m_display;
    d = mainWindow;
    d.m_nMaxGraphs = OrDefault(d.m_nMaxGraphs, kDefaultMaxGraphs);
    d.m_nBiasXGr = OrDefault(d.m_nBiasXGr, kDefaultBiasXGr);
    d.m_nBiasXFur = OrDefault(d.m_nBiasXFur, kDefaultBiasXFur);
    d.m_nBiasKoeffY = OrDefault(d.m_nBiasKoeffY, kDefaultBiasKoeffY);
    m_d.m_dFillLevel = FillLevelOfMode(d.m_nFillMode);
}

CPictDoc::~CPictDoc() {
    m_mainWindow = m_d.m_display;
}

const TraceArray& CPictDoc::DisplayedArray(int i) const {
    const std::size_t t = Slot(i);
    if (m_d.m_bProcessing)
        return m_d.m_pAutoCorr[t];
    if (m_d.m_bUseVaru)
        return m_d.m_bUseFilter ? m_d.m_pGainedFiltered[t] : m_d.m_pGained[t];
    return m_d.m_bUseFilter ? m_d.m_pFiltered[t] : m_d.m_pRaw[t];
}

// ---- Content ----------------------------------------------------------------------------------

void CPictDoc::TakeRecording(PictDocData content) {
    const PictDocData kept = std::move(m_d);
    m_d = std::move(content);
    m_d.m_display = kept.m_display;
    m_d.m_dFillLevel = kept.m_dFillLevel;
    m_d.m_nTraceCount = std::clamp(m_d.m_nTraceCount, 0, kPictTraces);
    m_d.m_nGraphsOnScreen = std::min(m_d.m_nTraceCount, m_d.m_display.m_nMaxGraphs);
    m_d.m_nEnabledCount = m_d.m_nTraceCount;
    RebuildVisibleRows();
}

void CPictDoc::DeriveTrace(int i, const dsp::FilterSettings& filter, Prompts& prompts) {
    if (i < 0 || i >= kPictTraces)
        return;
    const auto t = static_cast<std::size_t>(i);
    const std::size_t ns = Ns(m_d);
    for (TraceArray* a : {&m_d.m_pRaw[t], &m_d.m_pGained[t], &m_d.m_pFiltered[t], &m_d.m_pGainedFiltered[t],
                          &m_d.m_pAutoCorr[t]})
        Allocate(*a, ns);
    dsp::ApplyCurve(m_d.m_pVaru, m_d.m_pRaw[t], m_d.m_pGained[t]);
    dsp::FilterTrace(filter, m_d.m_pRaw[t], m_d.m_pFiltered[t], prompts);
    dsp::ApplyCurve(m_d.m_pVaru, m_d.m_pFiltered[t], m_d.m_pGainedFiltered[t]);
    dsp::Autocorrelate(m_d.m_pRaw[t], m_d.m_pAutoCorr[t]);
    const dsp::ReflectionEstimate e =
        dsp::EstimateReflection(m_d.m_pRaw[t], m_d.m_pAutoCorr[t], m_d.m_dVelocity, SampleIntervalSeconds());
    m_d.m_nImpactIndex[t] = e.arrival;
    m_d.m_nEchoIndex[t] = e.reflection;
    m_d.m_dLength[t] = e.length;
}

void CPictDoc::RefilterAllTraces(const dsp::FilterSettings& filter, Prompts& prompts) {
    for (int i = 0; i < m_d.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        Allocate(m_d.m_pFiltered[t], Ns(m_d));
        dsp::FilterTrace(filter, m_d.m_pRaw[t], m_d.m_pFiltered[t], prompts);
    }
}

bool CPictDoc::ApplyEditedGain() {
    const std::vector<double> window = dsp::ResampleCurve(m_d.m_pVaru, m_d.m_nWindowStart, m_d.m_nWindowEnd);
    if (window.empty())
        return false;
    for (int i = 0; i < m_d.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        dsp::ApplyCurveInWindow(window, m_d.m_nWindowStart, m_d.m_pRaw[t], m_d.m_pGained[t]);
        dsp::ApplyCurveInWindow(window, m_d.m_nWindowStart, m_d.m_pFiltered[t], m_d.m_pGainedFiltered[t]);
    }
    return true;
}

void CPictDoc::SetGainCurve(int first, int second, TraceArray curve) {
    m_d.m_nVaruFirst = first;
    m_d.m_nVaruSecond = second;
    m_d.m_nVaruPoints = static_cast<int>(curve.size());
    m_d.m_pVaru = std::move(curve);
}

void CPictDoc::ComputeSpectra(dsp::FftWindow window, dsp::SpectrumScale scale, bool allocate) {
    const std::size_t ns = Ns(m_d);
    for (int i = 0; i < m_d.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        if (allocate)
            m_d.m_pSpectrum[t].assign(ns, 0.0);
        Allocate(m_d.m_pSpectrum[t], ns);
        const TraceArray& source = m_d.m_bUseFilter ? m_d.m_pFiltered[t] : m_d.m_pRaw[t];
        if (source.size() == ns)
            dsp::ComputeSpectrum(source, window, scale, m_d.m_pSpectrum[t]);
    }
}

// ---- Display ----------------------------------------------------------------------------------

void CPictDoc::ApplyDisplaySettings(int maxGraphs, int biasXGr, int biasXFur, int biasKoeffY) {
    ViewerDisplaySettings& d = m_d.m_display;
    d.m_nMaxGraphs = maxGraphs;
    d.m_nBiasXGr = biasXGr;
    d.m_nBiasXFur = biasXFur;
    d.m_nBiasKoeffY = biasKoeffY;
    m_d.m_nGraphsOnScreen = std::min(m_d.m_nTraceCount, OrDefault(d.m_nMaxGraphs, kDefaultMaxGraphs));
    m_d.m_nEnabledCount = m_d.m_nTraceCount;
    RebuildVisibleRows();
}

void CPictDoc::SetFillMode(int mode) {
    m_d.m_display.m_nFillMode = mode;
    m_d.m_dFillLevel = FillLevelOfMode(mode);
}

void CPictDoc::SetUnits(bool time) {
    const double dt = SampleIntervalSeconds();
    m_d.m_dUnitsPerSample = time ? dt * 1000.0 : dsp::LengthOfTime(dt, m_d.m_dVelocity);
}

void CPictDoc::SetVelocity(double velocity) {
    m_d.m_dVelocity = velocity;
}

void CPictDoc::SetWindow(int first, int last) {
    m_d.m_nWindowStart = first;
    m_d.m_nWindowEnd = last;
}

void CPictDoc::SetZero(int sample) {
    m_d.m_nZeroSample = std::clamp(sample, 0, std::max(m_d.m_nSamples - 1, 0));
}

void CPictDoc::SetGain(int trace, double gain) {
    m_d.m_dGain[Slot(trace)] = gain;
}

void CPictDoc::SetShown(int trace, bool shown) {
    m_d.m_display.m_bShown[Slot(trace)] = shown;
    RebuildEnabled();
}

void CPictDoc::SetGraphsOnScreen(int count) {
    m_d.m_nGraphsOnScreen = count;
    RebuildVisibleRows();
}

void CPictDoc::SetSelection(int index, int row, int firstRow) {
    m_d.m_nSelIndex = index;
    m_d.m_nSelRow = row;
    m_d.m_nFirstRow = firstRow;
    RebuildVisibleRows();
}

void CPictDoc::SetSingleTrace(int trace) {
    m_d.m_nSingleTrace = trace;
}

void CPictDoc::RebuildEnabled() {
    int count = 0;
    for (int i = 0; i < m_d.m_nTraceCount; ++i)
        if (m_d.m_display.m_bShown[static_cast<std::size_t>(i)])
            m_d.m_nEnabled[static_cast<std::size_t>(count++)] = i;
    m_d.m_nEnabledCount = count;
    RebuildVisibleRows();
}

void CPictDoc::RebuildVisibleRows() {
    // The rows read the enabled list from the first row on; a row past its end (the list holds one
    // entry per trace) keeps the trace it had instead of reading beyond the list.
    for (int s = 0; s < m_d.m_nGraphsOnScreen && s < kPictTraces; ++s) {
        const int e = m_d.m_nFirstRow + s;
        if (e >= 0 && e < kPictTraces)
            m_d.m_nVisible[static_cast<std::size_t>(s)] = m_d.m_nEnabled[static_cast<std::size_t>(e)];
    }
}

// ---- Switches ---------------------------------------------------------------------------------

void CPictDoc::SetUseVaru(bool on) {
    m_d.m_bUseVaru = on ? 1 : 0;
}

void CPictDoc::SetUseFilter(bool on) {
    m_d.m_bUseFilter = on ? 1 : 0;
}

void CPictDoc::SetProcessing(bool on) {
    m_d.m_bProcessing = on ? 1 : 0;
}

void CPictDoc::SetSpectrumMode(bool on) {
    m_d.m_bSpectrum = on;
}

void CPictDoc::SetFftWindow(int window) {
    m_d.m_nFftWindow = window;
}

void CPictDoc::SetSpectrumScale(int scale) {
    m_d.m_nSpectrumScale = scale;
}

} // namespace zarno
