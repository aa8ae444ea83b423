#pragma once
// The local DDB-to-SEG-Y conversion of one file on the computer.

#include "app/formats/ddb_header.h"
#include "app/i18n/texts.h"

#include <QString>
#include <QtGlobal>

namespace zarno {

class Prompts;
class Progress;

inline constexpr const char* kTextBadFileName = QT_TRANSLATE_NOOP("zarno", "Неверно задано имя файла!");
inline constexpr const char* kTextCannotCreateFile =
    QT_TRANSLATE_NOOP("zarno", "Ошибка при создании файла на PC!");
inline constexpr const char* kTextReadFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при чтении файла на PC!");
inline constexpr const char* kTextWriteFailed = QT_TRANSLATE_NOOP("zarno", "Ошибка при записи файла на PC!");
// The second lines of the refusals below, after the path.
inline constexpr const char* kTextNotARegularFile =
    QT_TRANSLATE_NOOP("zarno", "это не обычный файл (канал, устройство или папка)");
inline constexpr const char* kTextTargetIsSource =
    QT_TRANSLATE_NOOP("zarno", "Нельзя записать файл SGY поверх исходного файла");

enum ConvertDDBResult : int {
    kConvertDone = 1,
    kConvertSourceNotOpened = 0,   // "Неверно задано имя файла!"
    kConvertTargetNotCreated = -2, // "Ошибка при создании файла на PC!"
    kConvertBadHeader = -3, // "Ошибка в формате DDB файла!": see DDBHeaderCheck; data cut short too
    kConvertIoFailed = -4,       // a read of the source or a write of the target failed
    kConvertTargetIsSource = -5, // the target names the source file itself: nothing is written
};

// Converts source (a DDB file) into target (a SEG-Y file). blockCount, when given, receives the
// number of 512-byte blocks of the source, header block included, before any data is converted;
// progress, when given, gets the range 0..blocks and the number of blocks done after each block.
// The header is checked before the target is made, and the target is written to a temporary file
// that replaces it only when the whole conversion succeeded: a failure never leaves half a file, and
// an older file of that name stays as it was. Each failure is told through prompts first.
// A source that is not a regular file (a FIFO would block the open, and has no size to check) is
// refused as a wrong name before it is opened; a target that is the source itself (a link to it, or
// the same path) is refused before anything is created.
// refusal, when given, receives why a header was refused (kConvertBadHeader), in plain words: the
// source is opened once, so a caller that wants the reason asks for it here.
int ConvertDDBFile(const QString& source, const QString& target, Prompts& prompts,
                   Progress* progress = nullptr, qint64* blockCount = nullptr, QString* refusal = nullptr);

} // namespace zarno
