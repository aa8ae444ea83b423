#include "app/fileops/copy_local_file.h"

#include "app/fileops/fileops_texts.h"
#include "app/io/whole_file.h"
#include "app/seams/progress.h"
#include "app/seams/prompts.h"

#include <QFile>
#include <QSaveFile>

namespace zarno {

namespace {
constexpr qint64 kLocalBlockSize = 512;

int Fail(Prompts& prompts, const char* text, int result) {
    Tell(prompts, text, PromptIcon::Stop);
    return result;
}
} // namespace

int CopyLocalFile(const QString& source, const QString& target, Prompts& prompts, Progress* progress,
                  qint64* blockCount) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(prompts, kTextBadFileName, kCopyLocalNotOpened);
    const qint64 size = in.size();
    const qint64 blocks = size / kLocalBlockSize + (size % kLocalBlockSize > 0 ? 1 : 0);

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return Fail(prompts, kTextBadFileName, kCopyLocalNotOpened);
    if (progress)
        progress->setRange(blocks);

    char buffer[kLocalBlockSize];
    for (qint64 block = 0; block < blocks; ++block) {
        const qint64 want = qMin(kLocalBlockSize, size - block * kLocalBlockSize);
        if (in.read(buffer, want) != want) {
            out.cancelWriting();
            return Fail(prompts, kTextReadFailed, kCopyLocalIoFailed);
        }
        if (out.write(buffer, want) != want) {
            out.cancelWriting();
            return Fail(prompts, kTextWriteFailed, kCopyLocalIoFailed);
        }
        if (progress)
            progress->setValue(block + 1);
    }
    if (!io::CommitWholeFile(out))
        return Fail(prompts, kTextWriteFailed, kCopyLocalIoFailed);
    if (blockCount)
        *blockCount = blocks;
    return kCopyLocalDone;
}

} // namespace zarno
