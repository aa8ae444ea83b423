#include "app/formats/convert_ddb_file.h"

#include "app/formats/ddb_to_sgy.h"
#include "app/io/file_identity.h"
#include "app/io/whole_file.h"
#include "app/seams/progress.h"
#include "app/seams/prompts.h"

#include <QFile>
#include <QSaveFile>

namespace zarno {

namespace {

// Source reads go in runs of this many blocks; the converter still sees them one block at a time.
constexpr qint64 kBlocksPerRead = 128;

// The converter holds a recording's whole SEG-Y image up to this size (a recording of 256 channels
// of 65535 samples makes 67 MB) and writes it in one sequential pass:
// the page cache takes a file written front to back fastest. Larger recordings go in runs.
constexpr qint64 kWholeImageBytes = qint64(256) << 20;

int Fail(Prompts& prompts, const char* text, int result) {
    prompts.message(Translated(text), QString(), PromptIcon::Stop);
    return result;
}

// Feeds data blocks 1 .. blocks - 1 of source to the converter. Returns 1, or the failure result.
int ConvertData(QFile& source, qint64 blocks, DDBToSGYConverter& converter, Prompts& prompts,
                Progress* progress) {
    QByteArray buffer(kBlocksPerRead * kDDBBlockSize, Qt::Uninitialized);
    for (qint64 block = 1; block < blocks;) {
        const qint64 want = qMin(blocks - block, kBlocksPerRead) * kDDBBlockSize;
        const qint64 got = source.read(buffer.data(), want);
        if (got <= 0)
            return Fail(prompts, kTextReadFailed, kConvertIoFailed);
        for (qint64 at = 0; at < got; at += kDDBBlockSize, ++block) {
            if (!converter.pushDataBlock(
                    QByteArrayView(buffer.constData() + at, qMin(kDDBBlockSize, got - at))))
                return Fail(prompts, kTextWriteFailed, kConvertIoFailed);
            if (progress)
                progress->setValue(block + 1);
        }
    }
    return kConvertDone;
}

} // namespace

int ConvertDDBFile(const QString& source, const QString& target, Prompts& prompts, Progress* progress,
                   qint64* blockCount, QString* refusal) {
    if (io::KindOfInput(source) == io::InputKind::NotRegular) {
        prompts.message(QStringLiteral("%1\n%2: %3")
                            .arg(Translated(kTextBadFileName), source, Translated(kTextNotARegularFile)),
                        QString(), PromptIcon::Stop);
        return kConvertSourceNotOpened;
    }
    if (io::SameFile(source, target)) {
        prompts.message(QStringLiteral("%1:\n%2").arg(Translated(kTextTargetIsSource), target), QString(),
                        PromptIcon::Stop);
        return kConvertTargetIsSource;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(prompts, kTextBadFileName, kConvertSourceNotOpened);
    const qint64 blocks = DDBBlockCount(in.size());
    if (blockCount)
        *blockCount = blocks;
    if (progress) {
        progress->setRange(blocks);
        progress->setValue(0);
    }

    DDBToSGYConverter converter(SGYTextVariant::Local, kWholeImageBytes);
    const QByteArray header = in.read(kDDBHeaderSize);
    DDBHeaderCheck check = converter.pushHeaderBlock(header);
    if (check == DDBHeaderCheck::Ok && !DDBDataComplete(converter.header(), in.size()))
        check = DDBHeaderCheck::ShortData;
    if (check != DDBHeaderCheck::Ok) {
        if (refusal)
            *refusal = DDBCheckDetail(check, ParseDDBHeader(header), in.size());
        return Fail(prompts, kTextDDBFormatError, kConvertBadHeader);
    }
    if (progress)
        progress->setValue(1);

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Fail(prompts, kTextCannotCreateFile, kConvertTargetNotCreated);
    if (!converter.begin(out))
        return Fail(prompts, kTextWriteFailed, kConvertIoFailed);
    if (const int result = ConvertData(in, blocks, converter, prompts, progress); result != kConvertDone)
        return result;
    if (!converter.finish() || !io::CommitWholeFile(out))
        return Fail(prompts, kTextWriteFailed, kConvertIoFailed);
    return kConvertDone;
}

} // namespace zarno
