#include "app/site/recording.h"

#include "app/formats/ddb_header.h"
#include "app/formats/ddb_to_sgy.h"
#include "app/formats/sgy_file.h"
#include "app/formats/sgy_io.h"
#include "app/seams/prompts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace zarno::site {

namespace {

// The reader's own message boxes have nowhere to go here: the site names the file and the reason.
class QuietPrompts final : public Prompts {
public:
    void message(const QString& text, const QString&, PromptIcon) override { last = text; }
    bool askYesNo(const QString&, const QString&) override { return false; }
    OverwriteAnswer askOverwrite(const QString&, const QString&) override { return OverwriteAnswer::No; }
    void trace(const QString&) override {}
    QString last;
};

RecordingRead Failed(const QString& why) {
    return {std::nullopt, why};
}

// The reader's one set of rules (sample format, interval, count, cut files); its reason, the second
// line of its format message, is what the site says of the file.
RecordingRead ReadSGY(QIODevice& file, const QString& path) {
    QuietPrompts quiet;
    SGYFileHeaders headers;
    if (!ReadSGYFileForSamples(file, headers, quiet)) {
        const QString reason = quiet.last.section(QLatin1Char('\n'), 1);
        return Failed(reason.isEmpty() ? QStringLiteral("not a SEG-Y file") : reason);
    }
    const SGYLayout& layout = headers.resolved.layout;
    if (layout.traceCount == 0)
        return Failed(QStringLiteral("no traces in the file"));
    Recording r;
    r.path = path;
    r.intervalS = layout.sampleIntervalUs * 1e-6;
    r.traces.resize(std::size_t(layout.traceCount));
    for (qint64 i = 0; i < layout.traceCount; ++i)
        ReadSGYTraceSamples(file, layout, i, r.traces[std::size_t(i)]);
    return {std::move(r), {}};
}

RecordingRead ReadDDB(QFile& file, const QString& path) {
    DDBToSGYConverter converter(SGYTextVariant::Local);
    const QByteArray head = file.read(kDDBBlockSize);
    const DDBHeaderCheck check = converter.pushHeaderBlock(head);
    if (check != DDBHeaderCheck::Ok)
        return Failed(QStringLiteral("not a DDB recording (bad header)"));
    if (!DDBDataComplete(converter.header(), file.size()))
        return Failed(QStringLiteral("the DDB recording is cut short"));
    QBuffer sgy;
    sgy.open(QIODevice::ReadWrite);
    if (!converter.begin(sgy))
        return Failed(QStringLiteral("the DDB recording could not be converted"));
    for (QByteArray block = file.read(kDDBBlockSize); !block.isEmpty(); block = file.read(kDDBBlockSize))
        if (!converter.pushDataBlock(block))
            return Failed(QStringLiteral("the DDB recording could not be converted"));
    if (!converter.finish() || file.error() != QFileDevice::NoError)
        return Failed(QStringLiteral("the DDB recording could not be read"));
    return ReadSGY(sgy, path);
}

} // namespace

RecordingRead ReadRecording(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(QStringLiteral("cannot open the file: %1").arg(file.errorString()));
    if (path.endsWith(QStringLiteral(".ddb"), Qt::CaseInsensitive))
        return ReadDDB(file, path);
    return ReadSGY(file, path);
}

QStringList RecordingFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.sgy"), QStringLiteral("*.ddb")},
                                  QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
}

} // namespace zarno::site
