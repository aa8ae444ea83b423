#include "app/viewer/pict_load.h"

#include "app/dsp/gain.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "outside/tovelutils/tovel_utils.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zarno {

namespace {

std::size_t Ns(const PictDocData& c) {
    return c.m_nSamples > 0 ? static_cast<std::size_t>(c.m_nSamples) : 0;
}

// Steps 1 and 2: the file and its headers, and the layout they give. A file that cannot be read
// whole as its headers lay it out (cut short, traces of different lengths, no sample interval, a
// pipe) is refused with the reader's reason: every time and length would be wrong or 0 and look
// like a measurement.
bool OpenAndReadHeaders(PictDocData& c, QFile& file, Prompts& prompts, SGYLayout& layout) {
    const SGYOpenResult opened = OpenSGYFile(file, c.m_strPath, prompts);
    if (opened == SGYOpenResult::CannotOpen)
        prompts.message(QStringLiteral("Неверно задано имя файла!"), QStringLiteral("Error!"),
                        PromptIcon::None);
    SGYFileHeaders headers;
    if (opened != SGYOpenResult::Opened || !ReadSGYFileForSamples(file, headers, prompts))
        return false;
    const qsizetype text = std::min<qsizetype>(headers.textual.size(), qsizetype(c.m_textHeader.size()));
    std::copy_n(headers.textual.constData(), text, c.m_textHeader.begin());
    c.m_binHeader = headers.binary;
    c.m_bLittleEndian = headers.resolved.layout.littleEndian;
    layout = headers.resolved.layout;
    return true;
}

// Step 3: the layout the headers declare. A document holds two traces at most; the user is told
// when the file has more.
void TakeLayout(PictDocData& c, const SGYLayout& layout, Prompts& prompts) {
    c.m_nFormatCode = layout.formatCode;
    c.m_nFileTraceCount = int(std::min<qint64>(layout.traceCount, std::numeric_limits<int>::max()));
    c.m_nTraceCount = std::min(c.m_nFileTraceCount, kPictTraces);
    if (c.m_nFileTraceCount > kPictTraces)
        prompts.message(TooManyTracesText(c.m_nFileTraceCount), QStringLiteral("Внимание"),
                        PromptIcon::Warning);
    c.m_nSampleIntervalUs = layout.sampleIntervalUs;
    c.m_dUnitsPerSample = c.m_nSampleIntervalUs / 1000.0;
    c.m_nSamples = int(layout.samplesPerTrace);
}

// Steps 4 and 5: the arrays, and the samples read as they lie in the file.
void ReadSamples(PictDocData& c, QFile& file, const SGYLayout& layout) {
    const std::size_t ns = Ns(c);
    for (int i = 0; i < c.m_nTraceCount; ++i) {
        const auto t = static_cast<std::size_t>(i);
        for (TraceArray* a : {&c.m_pRaw[t], &c.m_pGained[t], &c.m_pFiltered[t], &c.m_pGainedFiltered[t],
                              &c.m_pAutoCorr[t]})
            a->assign(ns, 0.0);
        ReadSGYTraceSamples(file, layout, i, c.m_pRaw[t]);
    }
}

// The gain curve of a setting, as the gain utility makes it for the document's samples.
void TakeGain(PictDocData& c, dsp::GainSetting gain) {
    c.m_nVaruFirst = gain.first;
    c.m_nVaruSecond = gain.second;
    c.m_nVaruPoints = gain.points;
    c.m_pVaru = std::move(gain.curve);
    c.m_pVaru.resize(Ns(c), 1.0);
    TovelUtils1(c.m_nVaruFirst, c.m_nVaruSecond, c.m_nSamples, 0, 0, c.m_pVaru.data());
}

// Step 7: the gain curve and the filter settings kept beside the file.
void LoadSettings(PictDocData& c, dsp::FilterSettings& filter, const PictLoadOptions& options) {
    const QString dir = dsp::DirectoryOf(c.m_strPath);
    TakeGain(c, dsp::LoadVaryFile(dir, c.m_nSamples, options.settingsFiles));
    dsp::LoadFilterFile(dir, filter, options.settingsFiles);
}

// Step 8: the document takes the content and derives the traces on screen.
void Finish(CPictDoc& doc, PictDocData content, const dsp::FilterSettings& filter, Prompts& prompts) {
    doc.TakeRecording(std::move(content));
    for (int i = 0; i < doc.Data().m_nGraphsOnScreen; ++i)
        doc.DeriveTrace(i, filter, prompts);
}

// The headers a file of this one trace would have, for the header view and the report.
void HeadersOfTrace(PictDocData& c) {
    c.m_textHeader.fill(' ');
    SGYBinaryHeader& h = c.m_binHeader;
    h.tracesPerRecord = 1;
    h.sampleInterval = h.fieldSampleInterval = quint16(std::min(c.m_nSampleIntervalUs, 65535));
    h.samplesPerTrace = h.fieldSamplesPerTrace = quint16(std::min(c.m_nSamples, 65535));
    h.extendedSamplesPerTrace = c.m_nSamples > 65535 ? c.m_nSamples : 0;
    h.formatCode = 5;
    c.m_nFormatCode = 5;
}

} // namespace

QString TooManyTracesText(int declared) {
    return QStringLiteral("Файл содержит %1 трасс(ы); загружены и показываются только первые две.")
        .arg(declared);
}

bool LoadPictDoc(CPictDoc& doc, const QString& sgyPath, Prompts& prompts, dsp::FilterSettings& filter,
                 const PictLoadOptions& options) {
    PictDocData content;
    content.m_strPath = sgyPath;
    {
        QFile file;
        SGYLayout layout;
        if (!OpenAndReadHeaders(content, file, prompts, layout))
            return false;
        TakeLayout(content, layout, prompts);
        ReadSamples(content, file, layout);
    }
    // Step 6: the panel's controls start (the velocity among them), then the working window.
    content.m_dVelocity = options.velocity;
    content.m_nWindowStart = 0;
    content.m_nWindowEnd = content.m_nSamples - 1;
    content.m_bLoaded = true;
    LoadSettings(content, filter, options);
    Finish(doc, std::move(content), filter, prompts);
    return true;
}

bool LoadPictTrace(CPictDoc& doc, const PictTrace& trace, Prompts& prompts, const dsp::FilterSettings& filter,
                   const PictLoadOptions& options) {
    const double intervalUs = trace.intervalS * 1e6;
    const long us = std::lround(intervalUs);
    if (trace.samples.empty() || us <= 0 || std::abs(intervalUs - double(us)) > 1e-6 * intervalUs ||
        trace.samples.size() > std::size_t(std::numeric_limits<int>::max())) {
        prompts.message(QStringLiteral("Нет трассы для показа: %1").arg(trace.name), QStringLiteral("Error!"),
                        PromptIcon::None);
        return false;
    }
    PictDocData content;
    content.m_strPath = trace.name;
    content.m_bInMemory = true;
    content.m_nFileTraceCount = content.m_nTraceCount = 1;
    content.m_nSampleIntervalUs = int(us);
    content.m_dUnitsPerSample = content.m_nSampleIntervalUs / 1000.0;
    content.m_nSamples = int(trace.samples.size());
    HeadersOfTrace(content);
    content.m_pRaw[0] = trace.samples;
    for (TraceArray* a : {&content.m_pGained[0], &content.m_pFiltered[0], &content.m_pGainedFiltered[0],
                          &content.m_pAutoCorr[0]})
        a->assign(trace.samples.size(), 0.0);
    content.m_dVelocity = trace.velocity.value_or(options.velocity);
    content.m_nWindowStart = 0;
    content.m_nWindowEnd = content.m_nSamples - 1;
    content.m_nZeroSample = std::clamp(trace.zeroSample, 0, content.m_nSamples - 1);
    content.m_bLoaded = true;
    TakeGain(content, dsp::GainSetting{});
    Finish(doc, std::move(content), filter, prompts);
    return true;
}

} // namespace zarno
