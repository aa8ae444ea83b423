#include "app/viewer/pict_load.h"

#include "app/dsp/gain.h"
#include "app/formats/sgy_io.h"
#include "app/viewer/pict_processing.h"
#include "outside/tovelutils/tovel_utils.h"

#include <algorithm>

namespace zarno {

namespace {

std::size_t Ns(const CPictDoc& doc) {
    return doc.m_nSamples > 0 ? static_cast<std::size_t>(doc.m_nSamples) : 0;
}

// Steps 1 and 2: the file and its headers.
bool OpenAndReadHeaders(CPictDoc& doc, const QString& sgyPath, Prompts& prompts) {
    doc.m_strPath = sgyPath;
    doc.m_hFile = std::make_unique<QFile>(sgyPath);
    if (!doc.m_hFile->open(QIODevice::ReadOnly)) {
        doc.m_hFile.reset();
        prompts.message(QStringLiteral("Неверно задано имя файла!"), QStringLiteral("Error!"),
                        PromptIcon::None);
        return false;
    }
    doc.m_hFile->read(doc.m_textHeader.data(), static_cast<qint64>(doc.m_textHeader.size()));
    if (ReadSGYBinaryHeader(*doc.m_hFile, doc.m_binHeader, doc.m_bLittleEndian, prompts) != kSGYBinaryRead) {
        doc.m_hFile.reset();
        return false;
    }
    // Without a sample interval no time and no length can be had from the file: every one would
    // come out 0 and look like a measurement.
    if (doc.m_binHeader.fieldSampleInterval == 0) {
        doc.m_hFile.reset();
        prompts.message(QString::fromUtf8(kTextSGYFormatError), QString(), PromptIcon::Stop);
        return false;
    }
    return true;
}

// Step 3: the layout the header declares. A document holds two traces at most; the user is told
// when the file has more.
void TakeLayout(CPictDoc& doc, Prompts& prompts) {
    const SGYBinaryHeader& h = doc.m_binHeader;
    doc.m_nFormatCode = h.formatCode;
    doc.m_nFileTraceCount = h.tracesPerRecord;
    doc.m_nTraceCount = std::min(doc.m_nFileTraceCount, kPictTraces);
    if (doc.m_nFileTraceCount > kPictTraces)
        prompts.message(TooManyTracesText(doc.m_nFileTraceCount), QStringLiteral("Внимание"),
                        PromptIcon::Warning);
    doc.m_nGraphsOnScreen = std::min(doc.m_nTraceCount, doc.m_nMaxGraphs);
    doc.m_nEnabledCount = doc.m_nTraceCount;
    doc.m_nSampleIntervalUs = h.fieldSampleInterval;
    doc.m_dUnitsPerSample = doc.m_nSampleIntervalUs / 1000.0;
    doc.m_nSamples = h.samplesPerTrace;
}

// Steps 4 and 5: the arrays, and the samples read as they lie in the file.
void ReadSamples(CPictDoc& doc) {
    const std::size_t ns = Ns(doc);
    for (int i = 0; i < doc.m_nTraceCount; ++i) {
        const auto t = static_cast<std::size_t>(i);
        for (TraceArray* a : {&doc.m_pRaw[t], &doc.m_pGained[t], &doc.m_pFiltered[t],
                              &doc.m_pGainedFiltered[t], &doc.m_pAutoCorr[t]})
            a->assign(ns, 0.0);
        ReadSGYTraceSamples(*doc.m_hFile, doc.m_binHeader, doc.m_bLittleEndian, i, doc.m_pRaw[t]);
    }
}

// Step 7: the gain curve and the filter settings kept beside the file.
void LoadSettings(CPictDoc& doc, dsp::FilterSettings& filter, const PictLoadOptions& options) {
    const QString dir = dsp::DirectoryOf(doc.m_strPath);
    dsp::GainSetting gain = dsp::LoadVaryFile(dir, doc.m_nSamples, options.settingsFiles);
    doc.m_nVaruFirst = gain.first;
    doc.m_nVaruSecond = gain.second;
    doc.m_nVaruPoints = gain.points;
    doc.m_pVaru = std::move(gain.curve);
    doc.m_pVaru.resize(Ns(doc), 1.0);
    TovelUtils1(doc.m_nVaruFirst, doc.m_nVaruSecond, doc.m_nSamples, 0, 0, doc.m_pVaru.data());
    dsp::LoadFilterFile(dir, filter, options.settingsFiles);
}

} // namespace

QString TooManyTracesText(int declared) {
    return QStringLiteral("Файл содержит %1 трасс(ы); загружены и показываются только первые две.")
        .arg(declared);
}

bool LoadPictDoc(CPictDoc& doc, const QString& sgyPath, Prompts& prompts, dsp::FilterSettings& filter,
                 const PictLoadOptions& options) {
    if (!OpenAndReadHeaders(doc, sgyPath, prompts))
        return false;
    TakeLayout(doc, prompts);
    ReadSamples(doc);
    // Step 6: the panel's controls start (the velocity among them), then the working window.
    doc.m_dVelocity = options.velocity;
    doc.m_nWindowStart = 0;
    doc.m_nWindowEnd = doc.m_nSamples - 1;
    doc.m_bLoaded = true;
    doc.m_hFile.reset();
    LoadSettings(doc, filter, options);
    // Step 8: the traces on screen.
    for (int i = 0; i < doc.m_nGraphsOnScreen; ++i)
        DeriveTrace(doc, i, filter, prompts);
    return true;
}

} // namespace zarno
