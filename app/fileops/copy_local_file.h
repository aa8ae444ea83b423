#pragma once
// The plain copy of one computer file into another, in numbered 512-byte blocks.

#include <QString>
#include <QtGlobal>

namespace zarno {

class Prompts;
class Progress;

enum CopyLocalResult : int {
    kCopyLocalDone = 1,
    kCopyLocalNotOpened = 0, // "Неверно задано имя файла!": the source or the target could not be opened
    kCopyLocalIoFailed = -4, // a read or a write failed; told with the failure's own message
};

// Copies source to target. progress gets the range (the number of blocks, a partial last block
// included) and the number of blocks done after each block; blockCount receives that number when
// the copy is done. The target is written beside itself and takes its name only when the whole file
// is there: a failed copy leaves no half-written file, and an older file of that name stays as it was.
int CopyLocalFile(const QString& source, const QString& target, Prompts& prompts,
                  Progress* progress = nullptr, qint64* blockCount = nullptr);

} // namespace zarno
