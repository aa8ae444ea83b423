#include "app/viewer/pict_load.h"

#include "app/dsp/gain.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "app/viewer/pict_processing.h"
#include "outside/tovelutils/tovel_utils.h"

#include <algorithm>
#include <limits>

namespace zarno {

namespace {

std::size_t Ns(const CPictDoc& doc) {
    return doc.m_nSamples > 0 ? static_cast<std::size_t>(doc.m_nSamples) : 0;
}

// Steps 1 and 2: the file and its headers, and the layout they give. A file that cannot be read
// whole as its headers lay it out (cut short, traces of different lengths, no sample interval, a
// pipe) is refused with the reader's reason: every time and length would be wrong or 0 and look
// like a measurement.
bool OpenAndReadHeaders(CPictDoc& doc, const QString& sgyPath, Prompts& prompts, SGYLayout& layout) {
    doc.m_strPath = sgyPath;
    doc.m_hFile = std::make_unique<QFile>();
    const SGYOpenResult opened = OpenSGYFile(*doc.m_hFile, sgyPath, prompts);
    if (opened == SGYOpenResult::CannotOpen)
        prompts.message(QStringLiteral("Неверно задано имя файла!"), QStringLiteral("Error!"),
                        PromptIcon::None);
    SGYFileHeaders headers;
    if (opened != SGYOpenResult::Opened || !ReadSGYFileForSamples(*doc.m_hFile, headers, prompts)) {
        doc.m_hFile.reset();
        return false;
    }
    const qsizetype text = std::min<qsizetype>(headers.textual.size(), qsizetype(doc.m_textHeader.size()));
    std::copy_n(headers.textual.constData(), text, doc.m_textHeader.begin());
    doc.m_binHeader = headers.binary;
    doc.m_bLittleEndian = headers.resolved.layout.littleEndian;
    layout = headers.resolved.layout;
    return true;
}

// Step 3: the layout the headers declare. A document holds two traces at most; the user is told
// when the file has more.
void TakeLayout(CPictDoc& doc, const SGYLayout& layout, Prompts& prompts) {
    doc.m_nFormatCode = layout.formatCode;
    doc.m_nFileTraceCount = int(std::min<qint64>(layout.traceCount, std::numeric_limits<int>::max()));
    doc.m_nTraceCount = std::min(doc.m_nFileTraceCount, kPictTraces);
    if (doc.m_nFileTraceCount > kPictTraces)
        prompts.message(TooManyTracesText(doc.m_nFileTraceCount), QStringLiteral("Внимание"),
                        PromptIcon::Warning);
    doc.m_nGraphsOnScreen = std::min(doc.m_nTraceCount, doc.m_nMaxGraphs);
    doc.m_nEnabledCount = doc.m_nTraceCount;
    doc.m_nSampleIntervalUs = layout.sampleIntervalUs;
    doc.m_dUnitsPerSample = doc.m_nSampleIntervalUs / 1000.0;
    doc.m_nSamples = int(layout.samplesPerTrace);
}

// Steps 4 and 5: the arrays, and the samples read as they lie in the file.
void ReadSamples(CPictDoc& doc, const SGYLayout& layout) {
    const std::size_t ns = Ns(doc);
    for (int i = 0; i < doc.m_nTraceCount; ++i) {
        const auto t = static_cast<std::size_t>(i);
        for (TraceArray* a : {&doc.m_pRaw[t], &doc.m_pGained[t], &doc.m_pFiltered[t],
                              &doc.m_pGainedFiltered[t], &doc.m_pAutoCorr[t]})
            a->assign(ns, 0.0);
        ReadSGYTraceSamples(*doc.m_hFile, layout, i, doc.m_pRaw[t]);
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
    SGYLayout layout;
    if (!OpenAndReadHeaders(doc, sgyPath, prompts, layout))
        return false;
    TakeLayout(doc, layout, prompts);
    ReadSamples(doc, layout);
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
