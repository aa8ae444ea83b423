#include "app/viewer/pict_processing.h"

#include "app/dsp/autocorrelation.h"
#include "app/dsp/filter.h"
#include "app/dsp/gain.h"
#include "app/dsp/sample_math.h"
#include "app/formats/convert_ddb_file.h"
#include "outside/tovelutils/tovel_utils.h"

#include <span>
#include <vector>

namespace zarno {

namespace {

std::size_t Ns(const CPictDoc& doc) {
    return doc.m_nSamples > 0 ? static_cast<std::size_t>(doc.m_nSamples) : 0;
}

void Allocate(TraceArray& a, std::size_t ns) {
    if (a.size() != ns)
        a.assign(ns, 0.0);
}

} // namespace

void DeriveTrace(CPictDoc& doc, int i, const dsp::FilterSettings& filter, Prompts& prompts) {
    if (i < 0 || i >= kPictTraces)
        return;
    const auto t = static_cast<std::size_t>(i);
    const std::size_t ns = Ns(doc);
    for (TraceArray* a : {&doc.m_pRaw[t], &doc.m_pGained[t], &doc.m_pFiltered[t], &doc.m_pGainedFiltered[t],
                          &doc.m_pAutoCorr[t]})
        Allocate(*a, ns);
    dsp::ApplyCurve(doc.m_pVaru, doc.m_pRaw[t], doc.m_pGained[t]);
    dsp::FilterTrace(filter, doc.m_pRaw[t], doc.m_pFiltered[t], prompts);
    dsp::ApplyCurve(doc.m_pVaru, doc.m_pFiltered[t], doc.m_pGainedFiltered[t]);
    dsp::Autocorrelate(doc.m_pRaw[t], doc.m_pAutoCorr[t]);
    const dsp::ReflectionEstimate e = dsp::EstimateReflection(doc.m_pRaw[t], doc.m_pAutoCorr[t],
                                                              doc.m_dVelocity, doc.SampleIntervalSeconds());
    doc.m_nImpactIndex[t] = e.arrival;
    doc.m_nEchoIndex[t] = e.reflection;
    doc.m_dLength[t] = e.length;
}

void RefilterAllTraces(CPictDoc& doc, const dsp::FilterSettings& filter, Prompts& prompts) {
    for (int i = 0; i < doc.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        Allocate(doc.m_pFiltered[t], Ns(doc));
        dsp::FilterTrace(filter, doc.m_pRaw[t], doc.m_pFiltered[t], prompts);
    }
}

bool EditFilterSettings(CPictDoc& doc, dsp::FilterSettings& filter, Prompts& prompts,
                        const QString& library) {
    if (!dsp::ChooseFilterSettings(filter, prompts, library))
        return false;
    RefilterAllTraces(doc, filter, prompts);
    return true;
}

bool ApplyEditedGain(CPictDoc& doc) {
    const std::vector<double> window = dsp::ResampleCurve(doc.m_pVaru, doc.m_nWindowStart, doc.m_nWindowEnd);
    if (window.empty())
        return false;
    for (int i = 0; i < doc.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        dsp::ApplyCurveInWindow(window, doc.m_nWindowStart, doc.m_pRaw[t], doc.m_pGained[t]);
        dsp::ApplyCurveInWindow(window, doc.m_nWindowStart, doc.m_pFiltered[t], doc.m_pGainedFiltered[t]);
    }
    return true;
}

GainEditOutcome EditGain(CPictDoc& doc, void* panelWindow) {
    GainEditOutcome outcome;
    if (TovelUtils3(panelWindow) != 1)
        return outcome;
    const bool wasOn = doc.m_bUseVaru != 0;
    doc.m_bUseVaru = 0;
    Allocate(doc.m_pVaru, Ns(doc));
    TovelUtils2(&doc.m_nVaruFirst, &doc.m_nVaruSecond, doc.m_nSamples, doc.m_pVaru.data());
    doc.m_nVaruPoints = doc.m_nSamples;
    ApplyEditedGain(doc);
    doc.m_bUseVaru = wasOn ? 1 : 0;
    outcome.edited = true;
    outcome.redraw = wasOn;
    return outcome;
}

bool SavePictSettings(const CPictDoc& doc, const dsp::FilterSettings& filter, Prompts& prompts) {
    if (!doc.m_bLoaded)
        return true;
    const QString dir = dsp::DirectoryOf(doc.m_strPath);
    dsp::GainSetting gain;
    gain.first = doc.m_nVaruFirst;
    gain.second = doc.m_nVaruSecond;
    gain.points = doc.m_nVaruPoints;
    gain.curve = doc.m_pVaru;
    bool saved = true;
    for (const bool written : {dsp::SaveVaryFile(dir, gain), dsp::SaveFilterFile(dir, filter)}) {
        if (!written && saved)
            prompts.message(QString::fromUtf8(kTextWriteFailed), QString(), PromptIcon::Stop);
        saved = saved && written;
    }
    return saved;
}

void ComputeSpectra(CPictDoc& doc, dsp::FftWindow window, dsp::SpectrumScale scale, bool allocate) {
    const std::size_t ns = Ns(doc);
    for (int i = 0; i < doc.m_nTraceCount && i < kPictTraces; ++i) {
        const auto t = static_cast<std::size_t>(i);
        if (allocate)
            doc.m_pSpectrum[t].assign(ns, 0.0);
        Allocate(doc.m_pSpectrum[t], ns);
        const TraceArray& source = doc.m_bUseFilter ? doc.m_pFiltered[t] : doc.m_pRaw[t];
        if (source.size() == ns)
            dsp::ComputeSpectrum(source, window, scale, doc.m_pSpectrum[t]);
    }
}

QByteArray SpectrumFileText(const CPictDoc& doc) {
    std::vector<std::span<const double>> spectra;
    for (int i = 0; i < doc.m_nTraceCount && i < kPictTraces; ++i)
        spectra.emplace_back(doc.m_pSpectrum[static_cast<std::size_t>(i)]);
    return dsp::SpectrumText(spectra);
}

} // namespace zarno
