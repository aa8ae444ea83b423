#include "app/fileops/recording_to_open.h"

#include "app/formats/convert_ddb_file.h"
#include "app/i18n/texts.h"
#include "app/seams/prompts.h"

#include <QFileInfo>

namespace zarno {

namespace {

const QString kCaption = QString::fromUtf8(kAppCaption);

bool HasSuffix(const QFileInfo& file, const char* suffix) {
    return file.suffix().compare(QLatin1String(suffix), Qt::CaseInsensitive) == 0;
}

} // namespace

QString RecordingToOpen(const QString& path, Prompts& prompts) {
    const QFileInfo file(path);
    if (HasSuffix(file, "sgy") || HasSuffix(file, "segy"))
        return file.absoluteFilePath(); // the viewer's load says so when it cannot be read
    if (!HasSuffix(file, "ddb")) {
        prompts.message(Translated(kTextNotARecording).arg(file.fileName()), kCaption, PromptIcon::Warning);
        return {};
    }
    const QFileInfo target(file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".sgy"));
    const char* question = target.exists() ? kTextConvertReplaces : kTextConvertBeforeOpening;
    if (!prompts.askYesNo(Translated(question).arg(file.fileName(), target.fileName()), kCaption))
        return {};
    if (ConvertDDBFile(file.absoluteFilePath(), target.absoluteFilePath(), prompts) != kConvertDone)
        return {};
    return target.absoluteFilePath();
}

} // namespace zarno
