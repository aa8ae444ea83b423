#include "app/viewer/pict_processing.h"

#include "app/dsp/gain.h"
#include "app/formats/convert_ddb_file.h"
#include "outside/tovelutils/tovel_utils.h"

#include <span>
#include <vector>

namespace zarno {

bool EditFilterSettings(CPictDoc& doc, dsp::FilterSettings& filter, Prompts& prompts,
                        const QString& library) {
    if (!dsp::ChooseFilterSettings(filter, prompts, library))
        return false;
    doc.RefilterAllTraces(filter, prompts);
    return true;
}

GainEditOutcome EditGain(CPictDoc& doc, void* panelWindow) {
    GainEditOutcome outcome;
    if (TovelUtils3(panelWindow) != 1)
        return outcome;
    const PictDocData& d = doc.Data();
    const bool wasOn = d.m_bUseVaru != 0;
    doc.SetUseVaru(false);
    int first = d.m_nVaruFirst;
    int second = d.m_nVaruSecond;
    // The editor starts from the curve in use (Cancel leaves it as it is); one of another length
    // starts from zeros.
    const std::size_t ns = d.m_nSamples > 0 ? static_cast<std::size_t>(d.m_nSamples) : 0;
    TraceArray curve = d.m_pVaru.size() == ns ? d.m_pVaru : TraceArray(ns, 0.0);
    TovelUtils2(&first, &second, d.m_nSamples, curve.data());
    doc.SetGainCurve(first, second, std::move(curve));
    doc.ApplyEditedGain();
    doc.SetUseVaru(wasOn);
    outcome.edited = true;
    outcome.redraw = wasOn;
    return outcome;
}

bool SavePictSettings(const CPictDoc& doc, const dsp::FilterSettings& filter, Prompts& prompts) {
    const PictDocData& d = doc.Data();
    // Content built in memory has no folder: its name's directory would be the current one.
    if (!d.m_bLoaded || d.m_bInMemory)
        return true;
    const QString dir = dsp::DirectoryOf(d.m_strPath);
    dsp::GainSetting gain;
    gain.first = d.m_nVaruFirst;
    gain.second = d.m_nVaruSecond;
    gain.points = d.m_nVaruPoints;
    gain.curve = d.m_pVaru;
    bool saved = true;
    for (const bool written : {dsp::SaveVaryFile(dir, gain), dsp::SaveFilterFile(dir, filter)}) {
        if (!written && saved)
            prompts.message(QString::fromUtf8(kTextWriteFailed), QString(), PromptIcon::Stop);
        saved = saved && written;
    }
    return saved;
}

QByteArray SpectrumFileText(const CPictDoc& doc) {
    const PictDocData& d = doc.Data();
    std::vector<std::span<const double>> spectra;
    for (int i = 0; i < d.m_nTraceCount && i < kPictTraces; ++i)
        spectra.emplace_back(d.m_pSpectrum[static_cast<std::size_t>(i)]);
    return dsp::SpectrumText(spectra);
}

} // namespace zarno
