#include "app/viewer/pict_load.h"

#include "app/dsp/gain.h"
#include "app/formats/sgy_io.h"
#include "outside/tovelutils/tovel_utils.h"

#include <QFile>

#include <algorithm>

namespace zarno {

namespace {

std::size_t Ns(const PictDocData& c) {
    return c.m_nSamples > 0 ? static_cast<std::size_t>(c.m_nSamples) : 0;
}

// Steps 1 and 2: the file and its headers.
bool OpenAndReadHeaders(PictDocData& c, QFile& file, Prompts& prompts) {
    if (!file.open(QIODevice::ReadOnly)) {
        prompts.message(QStringLiteral("Неверно задано имя файла!"), QStringLiteral("Error!"),
                        PromptIcon::None);
        return false;
    }
    file.read(c.m_textHeader.data(), static_cast<qint64>(c.m_textHeader.size()));
    if (ReadSGYBinaryHeader(file, c.m_binHeader, c.m_bLittleEndian, prompts) != kSGYBinaryRead)
        return false;
    // Without a sample interval no time and no length can be had from the file: every one would
    // come out 0 and look like a measurement.
    if (c.m_binHeader.fieldSampleInterval == 0) {
        prompts.message(QString::fromUtf8(kTextSGYFormatError), QString(), PromptIcon::Stop);
        return false;
    }
    return true;
}

// Step 3: the layout the header declares. A document holds two traces at most; the user is told
// when the file has more.
void TakeLayout(PictDocData& c, Prompts& prompts) {
    const SGYBinaryHeader& h = c.m_binHeader;
    c.m_nFormatCode = h.formatCode;
    c.m_nFileTraceCount = h.tracesPerRecord;
    c.m_nTraceCount = std::min(c.m_nFileTraceCount, kPictTraces);
    if (c.m_nFileTraceCount > kPictTraces)
        prompts.message(TooManyTracesText(c.m_nFileTraceCount), QStringLiteral("Внимание"),
                        PromptIcon::Warning);
    c.m_nSampleIntervalUs = h.fieldSampleInterval;
    c.m_dUnitsPerSample = c.m_nSampleIntervalUs / 1000.0;
    c.m_nSamples = h.samplesPerTrace;
}

// Steps 4 and 5: the arrays, and the samples read as they lie in the file.
void ReadSamples(PictDocData& c, QFile& file) {
    const std::size_t ns = Ns(c);
    for (int i = 0; i < c.m_nTraceCount; ++i) {
        const auto t = static_cast<std::size_t>(i);
        for (TraceArray* a : {&c.m_pRaw[t], &c.m_pGained[t], &c.m_pFiltered[t], &c.m_pGainedFiltered[t],
                              &c.m_pAutoCorr[t]})
            a->assign(ns, 0.0);
        ReadSGYTraceSamples(file, c.m_binHeader, c.m_bLittleEndian, i, c.m_pRaw[t]);
    }
}

// Step 7: the gain curve and the filter settings kept beside the file.
void LoadSettings(PictDocData& c, dsp::FilterSettings& filter, const PictLoadOptions& options) {
    const QString dir = dsp::DirectoryOf(c.m_strPath);
    dsp::GainSetting gain = dsp::LoadVaryFile(dir, c.m_nSamples, options.settingsFiles);
    c.m_nVaruFirst = gain.first;
    c.m_nVaruSecond = gain.second;
    c.m_nVaruPoints = gain.points;
    c.m_pVaru = std::move(gain.curve);
    c.m_pVaru.resize(Ns(c), 1.0);
    TovelUtils1(c.m_nVaruFirst, c.m_nVaruSecond, c.m_nSamples, 0, 0, c.m_pVaru.data());
    dsp::LoadFilterFile(dir, filter, options.settingsFiles);
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
        QFile file(sgyPath);
        if (!OpenAndReadHeaders(content, file, prompts))
            return false;
        TakeLayout(content, prompts);
        ReadSamples(content, file);
    }
    // Step 6: the panel's controls start (the velocity among them), then the working window.
    content.m_dVelocity = options.velocity;
    content.m_nWindowStart = 0;
    content.m_nWindowEnd = content.m_nSamples - 1;
    content.m_bLoaded = true;
    LoadSettings(content, filter, options);
    doc.TakeRecording(std::move(content));
    // Step 8: the traces on screen.
    for (int i = 0; i < doc.Data().m_nGraphsOnScreen; ++i)
        doc.DeriveTrace(i, filter, prompts);
    return true;
}

} // namespace zarno
